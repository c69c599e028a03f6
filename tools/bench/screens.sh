#!/usr/bin/env bash
# Frames and CPU of the dashboard and the live map against the development server, once with the
# cars kept parked and once with them driving (tools/bench/tst_screens.qml).
#   screens.sh BUILD
set -euo pipefail

build=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
work="$build/bench-screens"

for car in parked driving; do
  rm -rf "$work/$car"
  mkdir -p "$work/$car"
  server_options=(--https-port 0 --http-port 0)
  [[ $car == parked ]] && server_options+=(--no-simulation)
  env KOVA_PHONE_SERVICES=off KOVA_BENCH_CAR="$car" XDG_CONFIG_HOME="$work/$car/config" \
    XDG_CACHE_HOME="$work/$car/cache" \
    "$repo/tools/with-devserver.sh" "$build/bin/kova-devserver" "$work/$car/devserver" "${server_options[@]}" -- \
    "$build/bin/kova-qmltest" -input "$here" 2>&1 | tee "$work/$car/log" | sed -nu 's/^.*\(bench: \)/\1/p; /^FAIL!/,+2p'
done
