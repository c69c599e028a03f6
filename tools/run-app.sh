#!/usr/bin/env bash
# Runs the development server and the app against it (inside the build root). Without a display
# it starts a virtual one and keeps a screenshot of it fresh, so the window can be looked at.
set -euo pipefail

build=${1:?build directory}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
shots="$build/screenshots"
mkdir -p "$shots"

children=()
cleanup() { for pid in "${children[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  children+=($!)
  export DISPLAY=$display
  for _ in $(seq 50); do [ -S "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
  # A window manager, so the window opens maximised as it does on a desktop.
  matchbox-window-manager -use_titlebar no >/dev/null 2>&1 &
  children+=($!)
  (
    while sleep 3; do
      import -display "$DISPLAY" -window root "$shots/run.tmp.png" 2>/dev/null \
        && mv "$shots/run.tmp.png" "$shots/run.png"
    done
  ) &
  children+=($!)
  echo "kova: virtual display $DISPLAY; screenshot refreshed in $shots/run.png"
fi

export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-xcb}
"$here/with-devserver.sh" "$build/bin/kova-devserver" "$build/devserver-data" --notice -- "$build/bin/kova"
