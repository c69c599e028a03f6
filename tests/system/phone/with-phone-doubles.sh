#!/usr/bin/env bash
# Runs a command with doubles of the phone's services on the private bus (tests/dbus): two
# modems, a notification server, a location service with a fix near the car, and a fingerprint
# reader with the owner's finger. The app sends through the modems instead of the development
# gateway; a bridge carries each SMS between the modems and the gateway, so the simulated car
# still acts on it and answers.
#   with-phone-doubles.sh COMMAND...    (inside with-devserver.sh and on-private-bus.sh)
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
templates=$repo/tests/dbus
gateway=${KOVA_SMS_GATEWAY:?the development server gateway}

pids=()
stop() { kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; }
trap stop EXIT

# bus name, bus ("--system" or "--session"), template, parameters
double() {
  python3 -m dbusmock "$2" -t "$3" -p "$4" >"$log_dir/$1.log" 2>&1 &
  pids+=($!)
  local bus=${2#--}
  for _ in $(seq 100); do
    if dbus-send "--$bus" --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q 'boolean true'; then
      return
    fi
    sleep 0.1
  done
  echo "with-phone-doubles: $1 did not start" >&2
  cat "$log_dir/$1.log" >&2
  exit 1
}

log_dir=$(mktemp -d)
double org.freedesktop.ModemManager1 --system "$templates/modemmanager_messaging.py" \
  '{"modems": ["/sys/devices/usb1/1-1", "/sys/devices/usb1/1-2"]}'
double org.freedesktop.Notifications --session notification_daemon '{}'
double org.freedesktop.GeoClue2 --system "$templates/geoclue2.py" '{}'
double net.reactivated.Fprint --system "$templates/fprintd.py" '{}'

python3 "$repo/tests/system/phone/modem-to-gateway.py" "$gateway" >"$log_dir/bridge.log" 2>&1 &
pids+=($!)

export KOVA_TEST_SMS_GATEWAY=$gateway
unset KOVA_SMS_GATEWAY KOVA_NMEA_SOURCE
export KOVA_PHONE_SERVICES=on
echo "phone doubles: logs in $log_dir"
"$@"
