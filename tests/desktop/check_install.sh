#!/usr/bin/env bash
# Installs the build into a scratch folder and checks what lands there: exactly the program and
# its launcher entry, icon and software-centre entry, all named by the app's id; both entries
# pass their validators with no error or warning; the program carries no library search path;
# the software-centre entry and the Debian changelog name the project version as the latest.
# Arguments: build folder, desktop id, project version, Debian changelog.
set -euo pipefail
build=$1 id=$2 version=$3 changelog=$4

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
failures=0
fail() {
  echo "FAIL: $1"
  failures=$((failures + 1))
}

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

desktop=usr/share/applications/$id.desktop
metainfo=usr/share/metainfo/$id.metainfo.xml
expected=$(printf '%s\n' usr/bin/kova "$desktop" \
  "usr/share/icons/hicolor/scalable/apps/$id.svg" "$metainfo" | sort)
installed=$(cd "$root" && find . ! -type d | sed 's|^\./||' | sort)
if [ "$installed" != "$expected" ]; then
  fail "the installed files are not the expected set (< expected, > installed)"
  diff <(echo "$expected") <(echo "$installed") || true
fi
empty=$(cd "$root" && find . -mindepth 1 -type d -empty)
[ -z "$empty" ] || fail "empty folders installed: $empty"
[ -x "$root/usr/bin/kova" ] || fail "usr/bin/kova is not an executable"
if readelf -d "$root/usr/bin/kova" | grep -E 'RPATH|RUNPATH'; then
  fail "the program carries a library search path"
fi

# desktop-file-validate exits 0 on warnings, so its report is read too; hints are allowed.
if [ -f "$root/$desktop" ]; then
  report=$(desktop-file-validate "$root/$desktop" 2>&1) || fail "desktop-file-validate failed"
  if grep -E ': (error|warning):' <<<"$report"; then fail "desktop-file-validate complained"; fi
  entry() { sed -n "s/^$1=//p" "$root/$desktop"; }
  [ "$(entry Icon)" = "$id" ] || fail "Icon=$(entry Icon), not the installed icon $id"
  program=$(entry Exec | cut -d' ' -f1)
  [ -x "$root/usr/bin/$program" ] || fail "Exec=$(entry Exec) names no installed program"
fi

if [ -f "$root/$metainfo" ]; then
  report=$(appstreamcli validate --no-net --no-color "$root/$metainfo" 2>&1) ||
    { echo "$report"; fail "appstreamcli validate failed"; }
  if grep -E '^[EW]:' <<<"$report"; then fail "appstreamcli complained"; fi
  fields=$(python3 - "$root/$metainfo" <<'PY'
import sys
import xml.etree.ElementTree as ET
component = ET.parse(sys.argv[1]).getroot()
release = component.find("releases/release")
print(component.findtext("id", ""))
print(component.findtext("launchable[@type='desktop-id']", ""))
print("" if release is None else release.get("version", ""))
PY
  )
  { read -r component_id; read -r launchable; read -r release; } <<<"$fields"
  [ "$component_id" = "$id" ] || fail "the software-centre entry's id is $component_id, not $id"
  [ "$launchable" = "$id.desktop" ] || fail "the software-centre entry launches $launchable"
  [ "$release" = "$version" ] || fail "the latest release listed is $release, not $version"
fi

latest=$(sed -n '1s/^kova (\([^)]*\)).*/\1/p' "$changelog")
[ "$latest" = "$version" ] || fail "the Debian changelog's latest entry is '$latest', not $version"

[ "$failures" -eq 0 ] || exit 1
echo "installed: $(tr '\n' ' ' <<<"$installed")"
