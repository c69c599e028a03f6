#!/usr/bin/env bash
# Makes the Debian package the way `./kova package` does, into a scratch folder, and checks it:
# lintian reports no error; it holds the install and Debian's two documents, nothing more; every
# shared library the program needs and every QML module the documents import comes from a
# package it depends on directly (dpkg-shlibdeps sees the first, only the list sees the second).
# Arguments: build folder, source folder, desktop id, Qt's QML module folder.
set -euo pipefail
build=$1 source=$2 id=$3 qml=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $1"
  failures=$((failures + 1))
}

"$source/tools/make-package.sh" "$build" "$work" || fail "lintian reported an error"
deb=$(find "$work" -maxdepth 1 -name 'kova_*.deb')
[ -n "$deb" ] || { echo "FAIL: no package was made"; exit 1; }

expected=$(printf '%s\n' usr/bin/kova "usr/share/applications/$id.desktop" \
  "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/metainfo/$id.metainfo.xml" \
  usr/share/doc/kova/copyright usr/share/doc/kova/changelog.gz | sort)
contents=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
if [ "$contents" != "$expected" ]; then
  fail "the package's files are not the expected set (< expected, > packaged)"
  diff <(echo "$expected") <(echo "$contents") || true
fi

depends=$(dpkg-deb --field "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/[ (].*//')
# The package owning PATH is a direct dependency; WHAT names the need in the report.
provided() {
  local what=$1 path=$2 owner
  owner=$(dpkg -S "$path" 2>/dev/null | head -1 | cut -d: -f1) || true
  if [ -z "$owner" ]; then
    fail "$what: no package holds $path"
  elif ! grep -qxF "$owner" <<<"$depends"; then
    fail "$what comes from $owner, which is not a dependency"
  fi
}

dpkg-deb -x "$deb" "$work/tree"
for library in $(readelf -d "$work/tree/usr/bin/kova" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  path=$(ldconfig -p | sed -n "s|^[[:space:]]*$library (.*) => ||p" | head -1)
  if [ -z "$path" ]; then fail "library $library is not on this system"; continue; fi
  provided "library $library" "$(readlink -f "$path")"
done

# A module without a qmldir under Qt's folder is one of the app's own, registered from C++.
modules=$(grep -rhoE '^\s*import\s+[A-Za-z][A-Za-z0-9_.]*' "$source/documents" | awk '{ print $2 }' | sort -u)
for module in $modules; do
  qmldir=$qml/${module//.//}/qmldir
  [ -f "$qmldir" ] && provided "QML module $module" "$qmldir"
done

[ "$failures" -eq 0 ]
