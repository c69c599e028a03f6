#!/usr/bin/env bash
# Starts the development server, runs a command with the app's variables pointing at it, and
# stops the server when the command ends. Used by ./kova run and by the system tests.
#   with-devserver.sh DEVSERVER DATA_DIR [devserver options --] COMMAND...
# DATA_DIR "fresh" means a new temporary folder, removed afterwards.
set -euo pipefail

devserver=${1:?devserver executable}
data=${2:?data folder}
shift 2
options=()
if [[ " $* " == *" -- "* ]]; then
  while [ "$1" != "--" ]; do options+=("$1"); shift; done
  shift
fi

temporary=
if [ "$data" = fresh ]; then
  data=$(mktemp -d)
  temporary=$data
fi
mkdir -p "$data"
log="$data/devserver.log"
"$devserver" --data "$data" "${options[@]}" >"$log" 2>&1 &
server=$!
stop() {
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  [ -z "$temporary" ] || rm -rf "$temporary"
}
trap stop EXIT

for _ in $(seq 300); do
  grep -q '^listening ' "$log" && break
  kill -0 "$server" 2>/dev/null || { cat "$log" >&2; exit 1; }
  sleep 0.1
done
read -r _ https http < <(grep -m1 '^listening ' "$log") || { cat "$log" >&2; exit 1; }

export KOVA_SERVER_URL=$https
export KOVA_MAP_URL=$http/map/
export KOVA_ROUTING_URL=$http/route/v1/foot/
export KOVA_SMS_GATEWAY=$http/sms
export KOVA_CA_CERTIFICATES=$data/server.crt
echo "development server: $https $http (log: $log)"
"$@"
