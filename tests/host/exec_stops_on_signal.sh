#!/usr/bin/env bash
# Stopping `./kova exec CMD` with SIGTERM or SIGINT stops CMD inside the build root: nothing is
# left behind holding a port or a lock.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Job control: background commands keep SIGINT instead of ignoring it.
set -m

probe_pids() { pgrep -f "^$1 " || true; }

leftovers=()
cleanup() { for pid in "${leftovers[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT

for signal in TERM INT; do
  # A name of its own for the command inside, so it can be found from the host.
  name="kova-exec-probe-$$-$signal"
  "$repo/kova" exec bash -c 'exec -a "$0" sleep 300' "$name" &
  kova=$!

  for _ in $(seq 50); do [ -n "$(probe_pids "$name")" ] && break; sleep 0.1; done
  [ -n "$(probe_pids "$name")" ] || { echo "the command did not start inside the root"; exit 1; }

  kill -"$signal" "$kova"
  for _ in $(seq 30); do [ -z "$(probe_pids "$name")" ] && break; sleep 0.1; done
  left=$(probe_pids "$name")
  if [ -n "$left" ]; then
    leftovers+=($left)
    echo "SIG$signal to ./kova exec left the command running (pid $left)"
    exit 1
  fi
  wait "$kova" 2>/dev/null || true
  echo "SIG$signal: the command stopped"
done
