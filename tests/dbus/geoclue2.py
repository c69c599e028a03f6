"""A double of the GeoClue2 location service, as the positioning library's geoclue2 plugin uses it.

Manager.GetClient gives each D-Bus peer one client, the same on every call, as the service does;
a started client gets the current location at once and every later one through
LocationUpdated(old, new).

Parameters:
  refuse: true -> Client.Start fails as when the user or the agent denies the app (AccessDenied)
Controls (org.freedesktop.DBus.Mock on the manager):
  SetLocation(d latitude, d longitude, d accuracy) -> o   a new fix for every started client
  GetClientSettings() -> aa{sv}   DesktopId, RequestedAccuracyLevel, Active and the Start and
                                  Stop counts of every client, in creation order
"""

import dbus

from dbusmock import MOCK_IFACE, mockobject

BUS_NAME = "org.freedesktop.GeoClue2"
MAIN_OBJ = "/org/freedesktop/GeoClue2/Manager"
MAIN_IFACE = "org.freedesktop.GeoClue2.Manager"
SYSTEM_BUS = True

CLIENT_IFACE = "org.freedesktop.GeoClue2.Client"
LOCATION_IFACE = "org.freedesktop.GeoClue2.Location"
ACCURACY_EXACT = 8


def manager():
    return mockobject.objects[MAIN_OBJ]


def load(mock, parameters):
    mock.refuse = bool(parameters.get("refuse", False))
    mock.clients = []
    mock.client_of = {}
    mock.location = "/"
    mock.location_count = 0
    mock.counts = {}
    mock.AddProperties(
        MAIN_IFACE,
        {"InUse": dbus.Boolean(False), "AvailableAccuracyLevel": dbus.UInt32(ACCURACY_EXACT)},
    )
    mock.AddMethods(
        MAIN_IFACE,
        [
            ("CreateClient", "", "o", "ret = self.new_client()"),
            ("DeleteClient", "o", "", "self.RemoveObject(args[0]); self.clients.remove(args[0])"),
            ("AddAgent", "s", "", ""),
        ],
    )
    mock.new_client = lambda: new_client(mock)
    mock.start_client = lambda path: start_client(mock, path)
    mock.stop_client = lambda path: stop_client(mock, path)


def new_client(mock):
    path = f"/org/freedesktop/GeoClue2/Client/{len(mock.clients) + 1}"
    mock.AddObject(
        path,
        CLIENT_IFACE,
        {
            "Location": dbus.ObjectPath("/"),
            "DistanceThreshold": dbus.UInt32(0),
            "TimeThreshold": dbus.UInt32(0),
            "DesktopId": dbus.String(""),
            "RequestedAccuracyLevel": dbus.UInt32(0),
            "Active": dbus.Boolean(False),
        },
        [
            ("Start", "", "", f'objects["{MAIN_OBJ}"].start_client(self.path)'),
            ("Stop", "", "", f'objects["{MAIN_OBJ}"].stop_client(self.path)'),
        ],
    )
    mock.clients.append(path)
    mock.counts[path] = {"Start": 0, "Stop": 0}
    return dbus.ObjectPath(path)


def start_client(mock, path):
    mock.counts[path]["Start"] += 1
    client = mockobject.objects[path]
    if mock.refuse:
        desktop_id = client.Get(CLIENT_IFACE, "DesktopId")
        raise dbus.exceptions.DBusException(
            f"'{desktop_id}' disallowed, no agent for UID 0", name="org.freedesktop.DBus.Error.AccessDenied"
        )
    client.UpdateProperties(CLIENT_IFACE, {"Active": dbus.Boolean(True)})
    if mock.location != "/":
        tell(client, mock.location)


def stop_client(mock, path):
    mock.counts[path]["Stop"] += 1
    mockobject.objects[path].UpdateProperties(CLIENT_IFACE, {"Active": dbus.Boolean(False)})


def tell(client, location):
    old = client.Get(CLIENT_IFACE, "Location")
    # dbusmock cannot announce an object path property change; the plugin reads the signal.
    client.props[CLIENT_IFACE]["Location"] = dbus.ObjectPath(location)
    client.EmitSignal(CLIENT_IFACE, "LocationUpdated", "oo", [old, dbus.ObjectPath(location)])


@dbus.service.method(MAIN_IFACE, in_signature="", out_signature="o", sender_keyword="sender")
def GetClient(self, sender=None):
    if sender not in self.client_of:
        self.client_of[sender] = new_client(self)
    return self.client_of[sender]


@dbus.service.method(MOCK_IFACE, in_signature="ddd", out_signature="o")
def SetLocation(self, latitude, longitude, accuracy):
    self.location_count += 1
    path = f"/org/freedesktop/GeoClue2/Location/{self.location_count}"
    self.AddObject(
        path,
        LOCATION_IFACE,
        {
            "Latitude": dbus.Double(latitude),
            "Longitude": dbus.Double(longitude),
            "Accuracy": dbus.Double(accuracy),
            "Altitude": dbus.Double(-1.7976931348623157e308),
            "Speed": dbus.Double(-1.0),
            "Heading": dbus.Double(-1.0),
            "Description": dbus.String(""),
            "Timestamp": dbus.Struct((dbus.UInt64(1742538600), dbus.UInt64(0)), signature="tt"),
        },
        [],
    )
    self.location = path
    for client_path in self.clients:
        client = mockobject.objects[client_path]
        if client.Get(CLIENT_IFACE, "Active"):
            tell(client, path)
    return dbus.ObjectPath(path)


@dbus.service.method(MOCK_IFACE, in_signature="", out_signature="aa{sv}")
def GetClientSettings(self):
    settings = []
    for path in self.clients:
        client = mockobject.objects[path]
        settings.append(
            {
                "DesktopId": client.Get(CLIENT_IFACE, "DesktopId"),
                "RequestedAccuracyLevel": client.Get(CLIENT_IFACE, "RequestedAccuracyLevel"),
                "Active": client.Get(CLIENT_IFACE, "Active"),
                "Starts": dbus.UInt32(self.counts[path]["Start"]),
                "Stops": dbus.UInt32(self.counts[path]["Stop"]),
            }
        )
    return dbus.Array(settings, signature="a{sv}")
