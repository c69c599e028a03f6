#!/usr/bin/env python3
"""Carries SMS between the modem double and the development server's SMS gateway.

What the app sends through a modem of the double goes to the gateway, so the simulated car acts
on it; what the cars send to the gateway's inbox arrives at the first modem as an incoming SMS.
    modem-to-gateway.py GATEWAY_URL
"""

import json
import sys
import urllib.request

import dbus
import dbus.mainloop.glib
from gi.repository import GLib

MM = "org.freedesktop.ModemManager1"
MM_PATH = "/org/freedesktop/ModemManager1"
MODEM_IFACE = "org.freedesktop.ModemManager1.Modem"
MESSAGING_IFACE = "org.freedesktop.ModemManager1.Modem.Messaging"
MOCK_IFACE = "org.freedesktop.DBus.Mock"

gateway = sys.argv[1].rstrip("/")
dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SystemBus()
sent_count = 0
last_inbox_id = 0


def mock():
    return dbus.Interface(bus.get_object(MM, MM_PATH), MOCK_IFACE)


def modems_in_order():
    """(Device, path) of every modem that has messaging, in the order the app numbers SIMs."""
    objects = dbus.Interface(bus.get_object(MM, MM_PATH), "org.freedesktop.DBus.ObjectManager")
    return sorted(
        (str(interfaces[MODEM_IFACE]["Device"]), str(path))
        for path, interfaces in objects.GetManagedObjects().items()
        if MESSAGING_IFACE in interfaces
    )


def http(url, body=None):
    data = None if body is None else json.dumps(body).encode()
    request = urllib.request.Request(url, data=data, headers={"Content-Type": "application/json"})
    with urllib.request.urlopen(request, timeout=5) as reply:
        return json.loads(reply.read() or b"{}")


def forward_sent():
    global sent_count
    devices = [device for device, _ in modems_in_order()]
    sent = mock().GetSent()
    for device, number, text in sent[sent_count:]:
        slot = devices.index(str(device)) if str(device) in devices else 0
        http(f"{gateway}/send", {"to": str(number), "text": str(text), "simSlot": slot})
        print(f"to the car {number} through {device}: {text}", flush=True)
    sent_count = len(sent)


def deliver_inbox():
    global last_inbox_id
    messages = http(f"{gateway}/inbox?after={last_inbox_id}").get("messages", [])
    modems = modems_in_order()
    for message in sorted(messages, key=lambda m: m["id"]):
        if message["id"] <= last_inbox_id or not modems:
            continue
        mock().ReceiveSms(dbus.ObjectPath(modems[0][1]), message["from"], message["text"])
        last_inbox_id = message["id"]
        print(f"from the car {message['from']}: {message['text']}", flush=True)


def tick():
    try:
        forward_sent()
        deliver_inbox()
    except Exception as error:  # the next tick tries again
        print(f"bridge: {error}", file=sys.stderr, flush=True)
    return True


GLib.timeout_add(200, tick)
GLib.MainLoop().run()
