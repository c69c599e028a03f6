#!/usr/bin/env bash
# Makes the Debian 13 build root from packages.txt and runs commands inside it.
#   buildroot.sh ensure        make or update the root when the package list changed
#   buildroot.sh exec CMD...   run CMD inside the root, repository at its own path
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
root=${KOVA_BUILDROOT:-/var/cache/kova/buildroot}
list="$here/packages.txt"
suite=trixie
mirror=${KOVA_DEBIAN_MIRROR:-http://deb.debian.org/debian}

packages() { grep -v -E '^\s*(#|$)' "$list" | tr '\n' ' '; }
list_hash() { sha256sum "$list" | cut -d' ' -f1; }

need_root() {
  if [ "$(id -u)" != 0 ]; then echo "buildroot: needs root (debootstrap, chroot)" >&2; exit 1; fi
}

host_debootstrap() {
  command -v debootstrap >/dev/null && return
  echo "buildroot: installing debootstrap on the host" >&2
  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null
}

# Bind mounts live only in a private mount namespace, so nothing leaks into the host. Every layer
# execs the next (unshare without --fork keeps the process), so the command runs as the caller's
# own process: signals sent to it and its stdin reach the command itself.
inner='
set -e
root=$1 repo=$2 cwd=$3; shift 3
mount --rbind /dev "$root/dev"
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mkdir -p "$root$repo"
mount --bind "$repo" "$root$repo"
cp -f /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
case "$cwd" in "$repo"*) ;; *) cwd=$repo ;; esac
exec chroot "$root" /usr/bin/env -C "$cwd" PATH=/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin \
  CCACHE_DIR=/var/cache/ccache CCACHE_BASEDIR="$repo" "$@"
'
enter() {
  exec unshare --mount --propagation private -- bash -c "$inner" buildroot "$root" "$repo" "$PWD" "$@"
}

ensure() {
  local want stamp="$root/.kova-packages"
  want=$(list_hash)
  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && return 0
  need_root
  if [ ! -x "$root/usr/bin/apt-get" ]; then
    host_debootstrap
    echo "buildroot: debootstrap $suite into $root" >&2
    rm -rf "$root.part"
    mkdir -p "$(dirname "$root")"
    debootstrap --variant=minbase "$suite" "$root.part" "$mirror" >&2
    rm -rf "$root"
    mv "$root.part" "$root"
  fi
  echo "buildroot: installing the package list" >&2
  # In a subshell, as entering replaces the process it runs in.
  (enter sh -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $(packages) >/dev/null && apt-get clean")
  echo "$want" >"$stamp"
}

case "${1:-}" in
  ensure) ensure ;;
  exec) shift; ensure; enter "$@" ;;
  *) echo "usage: buildroot.sh ensure | exec CMD..." >&2; exit 2 ;;
esac
