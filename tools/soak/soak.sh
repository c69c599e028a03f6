#!/usr/bin/env bash
# The soak: the app's window logged in and polling for MINUTES minutes against the development
# server with faults on (the driver is tools/soak/tst_soak.qml), then its report. Exit status 1
# when the window did not come back after an outage or ended stuck.
#   soak.sh BUILD MINUTES
set -euo pipefail

# A moderate mix of failed requests, and the whole server silent for 35 s every 5 minutes.
faults=${KOVA_SOAK_FAULTS:-seed=7,all:stall=0.03,all:reset=0.03,all:500=0.02,outage=35s,outage-after=60s,outage-every=5m}

build=$1 minutes=$2
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
repo=$(cd "$here/../.." && pwd)
work="$build/soak"
rm -rf "$work"
mkdir -p "$work"
log="$work/soak.log"

server_options=(--https-port 0 --http-port 0)
if "$build/bin/kova-devserver" --help | grep -q -- '--faults'; then
  server_options+=(--faults "$faults")
  echo "soak: $minutes min against the development server with faults $faults"
else
  echo "soak: $minutes min against the development server, without faults (it has no --faults)"
fi

# The driver's lines start with "soak:"; a failure shows with its reason.
status=0
env KOVA_PHONE_SERVICES=off KOVA_SOAK_MINUTES="$minutes" XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache" \
  "$repo/tools/with-devserver.sh" "$build/bin/kova-devserver" "$work/devserver" "${server_options[@]}" -- \
  "$build/bin/kova-qmltest" -input "$here" 2>&1 | tee "$log" | sed -nu 's/^.*\(soak: \)/\1/p; /^FAIL!/,+2p' ||
  status=$?
echo "soak: full log $log, server log $work/devserver/devserver.log"
if ((status != 0)); then
  echo "soak: FAILED" >&2
  exit 1
fi
