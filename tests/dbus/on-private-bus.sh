#!/bin/sh
# Runs a command on a private message bus that plays both the session and the system bus, so
# the doubles of system services never meet the machine's own.
here=$(cd "$(dirname "$0")" && pwd)
exec dbus-run-session --config-file="$here/private-bus.conf" -- \
  sh -c 'DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SESSION_BUS_ADDRESS exec "$@"' on-private-bus "$@"
