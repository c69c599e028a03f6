"""ModemManager with SMS messaging, for tests of the app's SMS over the phone's modems.

Modems are objects under /org/freedesktop/ModemManager1/Modem/N, announced by the ObjectManager on
the main object, each with the Modem interface (its Device property) and the Modem.Messaging
interface. SMS objects live under /org/freedesktop/ModemManager1/SMS/N, outside the
ObjectManager, as the real service keeps them.

Parameters:
  modems: list of Device strings, one modem each, in path order (default: one modem).

Controls (org.freedesktop.DBus.Mock on the main object): AddModem, RemoveModem, ReceiveSms,
ReceiveSmsParts, CompleteSms, StoreSms, GetSent, FailNextSend.
"""

import dbus

from dbusmock import MOCK_IFACE, OBJECT_MANAGER_IFACE, mockobject

BUS_NAME = "org.freedesktop.ModemManager1"
MAIN_OBJ = "/org/freedesktop/ModemManager1"
MAIN_IFACE = "org.freedesktop.ModemManager1"
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

MODEM_IFACE = "org.freedesktop.ModemManager1.Modem"
MESSAGING_IFACE = "org.freedesktop.ModemManager1.Modem.Messaging"
SMS_IFACE = "org.freedesktop.ModemManager1.Sms"
MODEM_PREFIX = MAIN_OBJ + "/Modem/"
SMS_PREFIX = MAIN_OBJ + "/SMS/"

INVALID_ARGS = "org.freedesktop.ModemManager1.Error.Core.InvalidArgs"
NOT_FOUND = "org.freedesktop.ModemManager1.Error.Core.NotFound"
WRONG_STATE = "org.freedesktop.ModemManager1.Error.Core.WrongState"

# MMSmsState, MMSmsPduType, MMSmsStorage, MMModemState
SMS_UNKNOWN, SMS_STORED, SMS_RECEIVING, SMS_RECEIVED, SMS_SENDING, SMS_SENT = range(6)
PDU_DELIVER, PDU_SUBMIT = 1, 2
STORAGE_ME = 2
MODEM_REGISTERED = 8

DEFAULT_MODEMS = ["/sys/devices/platform/soc/modem0"]


def load(mock, parameters):
    mock.AddProperties(MAIN_IFACE, dbus.Dictionary({"Version": "1.22.0"}, signature="sv"))
    mock.AddMethod(MAIN_IFACE, "ScanDevices", "", "", "")
    # The real ObjectManager hands out modems only; SMS objects are exported beside it.
    mock.AddMethod(
        OBJECT_MANAGER_IFACE,
        "GetManagedObjects",
        "",
        "a{oa{sa{sv}}}",
        f"ret = {{dbus.ObjectPath(k): objects[k].props for k in objects if k.startswith('{MODEM_PREFIX}')}}",
    )
    mock.next_modem = 0
    mock.next_sms = 0
    mock.sent = []
    mock.fail_next_send = ""
    for device in parameters.get("modems", DEFAULT_MODEMS):
        add_modem(mock, device)


def manager():
    return mockobject.objects[MAIN_OBJ]


def modem_object(path):
    if not str(path).startswith(MODEM_PREFIX) or str(path) not in mockobject.objects:
        raise dbus.exceptions.DBusException(f"no modem {path}", name=NOT_FOUND)
    return mockobject.objects[str(path)]


def sms_object(path):
    if not str(path).startswith(SMS_PREFIX) or str(path) not in mockobject.objects:
        raise dbus.exceptions.DBusException(f"no SMS {path}", name=NOT_FOUND)
    return mockobject.objects[str(path)]


def messages(modem):
    return list(modem.props[MESSAGING_IFACE]["Messages"])


def set_messages(modem, paths, announce):
    value = dbus.Array([dbus.ObjectPath(p) for p in paths], signature="o")
    if announce:
        modem.UpdateProperties(MESSAGING_IFACE, {"Messages": value})
    else:
        modem.props[MESSAGING_IFACE]["Messages"] = value


def add_modem(mock, device):
    path = f"{MODEM_PREFIX}{mock.next_modem}"
    mock.next_modem += 1
    modem_props = {
        "Device": dbus.String(device),
        "DeviceIdentifier": dbus.String(f"id-{path.rsplit('/', 1)[1]}"),
        "Drivers": dbus.Array(["qmi_wwan", "option"], signature="s"),
        "Plugin": dbus.String("generic"),
        "PrimaryPort": dbus.String("cdc-wdm0"),
        "Manufacturer": dbus.String("QUALCOMM INCORPORATED"),
        "Model": dbus.String("0"),
        "State": dbus.Int32(MODEM_REGISTERED),
        "PowerState": dbus.UInt32(3),
    }
    mock.AddObject(path, MODEM_IFACE, modem_props, [])
    modem = mockobject.objects[path]
    modem.AddProperties(
        MESSAGING_IFACE,
        dbus.Dictionary(
            {
                "Messages": dbus.Array([], signature="o"),
                "SupportedStorages": dbus.Array([dbus.UInt32(STORAGE_ME)], signature="u"),
                "DefaultStorage": dbus.UInt32(STORAGE_ME),
            },
            signature="sv",
        ),
    )
    modem.AddMethods(
        MESSAGING_IFACE,
        [
            ("List", "", "ao", lambda self: dbus.Array(messages(self), signature="o")),
            ("Delete", "o", "", delete_sms),
            ("Create", "a{sv}", "o", create_sms),
        ],
    )
    mock.EmitSignal(
        OBJECT_MANAGER_IFACE,
        "InterfacesAdded",
        "oa{sa{sv}}",
        [dbus.ObjectPath(path), modem.props],
    )
    return path


def add_sms(modem, props, announce):
    mock = manager()
    path = f"{SMS_PREFIX}{mock.next_sms}"
    mock.next_sms += 1
    full = {
        "State": dbus.UInt32(SMS_UNKNOWN),
        "PduType": dbus.UInt32(PDU_DELIVER),
        "Number": dbus.String(""),
        "Text": dbus.String(""),
        "Data": dbus.Array([], signature="y"),
        "SMSC": dbus.String(""),
        "Class": dbus.Int32(-1),
        "DeliveryReportRequest": dbus.Boolean(False),
        "MessageReference": dbus.UInt32(0),
        "Timestamp": dbus.String(""),
        "DischargeTimestamp": dbus.String(""),
        "DeliveryState": dbus.UInt32(0x100),
        "Storage": dbus.UInt32(STORAGE_ME),
    }
    full.update(props)
    mock.AddObject(path, SMS_IFACE, full, [("Send", "", "", send_sms), ("Store", "u", "", "")])
    sms = mockobject.objects[path]
    sms.modem_path = modem.path
    sms.remaining_parts = []
    set_messages(modem, messages(modem) + [path], announce)
    return path


def received_props(number, text, state):
    return {
        "State": dbus.UInt32(state),
        "PduType": dbus.UInt32(PDU_DELIVER),
        "Number": dbus.String(number),
        "Text": dbus.String(text),
        "SMSC": dbus.String("+989350001500"),
        "Timestamp": dbus.String("2025-03-21T10:00:00+03:30"),
    }


def create_sms(self, properties):
    number = properties.get("number")
    text = properties.get("text")
    if not isinstance(number, str) or not number or not isinstance(text, str):
        raise dbus.exceptions.DBusException("Number and text are required", name=INVALID_ARGS)
    path = add_sms(
        self,
        {"PduType": dbus.UInt32(PDU_SUBMIT), "Number": dbus.String(number), "Text": dbus.String(text)},
        announce=True,
    )
    self.EmitSignal(MESSAGING_IFACE, "Added", "ob", [dbus.ObjectPath(path), False])
    return dbus.ObjectPath(path)


def delete_sms(self, path):
    if str(path) not in messages(self):
        raise dbus.exceptions.DBusException(f"No SMS found with path {path}", name=NOT_FOUND)
    manager().RemoveObject(str(path))
    set_messages(self, [p for p in messages(self) if p != str(path)], announce=True)
    self.EmitSignal(MESSAGING_IFACE, "Deleted", "o", [dbus.ObjectPath(path)])


def send_sms(self):
    mock = manager()
    if self.props[SMS_IFACE]["PduType"] != PDU_SUBMIT:
        raise dbus.exceptions.DBusException("Cannot send a received SMS", name=WRONG_STATE)
    if mock.fail_next_send:
        name, mock.fail_next_send = mock.fail_next_send, ""
        raise dbus.exceptions.DBusException("Sending failed", name=name)
    self.UpdateProperties(SMS_IFACE, {"State": dbus.UInt32(SMS_SENDING)})
    self.UpdateProperties(SMS_IFACE, {"State": dbus.UInt32(SMS_SENT)})
    device = modem_object(self.modem_path).props[MODEM_IFACE]["Device"]
    props = self.props[SMS_IFACE]
    mock.sent.append((device, props["Number"], props["Text"]))


@dbus.service.method(MOCK_IFACE, in_signature="s", out_signature="o")
def AddModem(self, device):
    """Adds a modem with messaging and the given Device; returns its path."""
    return dbus.ObjectPath(add_modem(self, device))


@dbus.service.method(MOCK_IFACE, in_signature="o", out_signature="")
def RemoveModem(self, path):
    """Removes a modem and its SMS objects, as when it is unplugged."""
    modem = modem_object(path)
    interfaces = dbus.Array(list(modem.props.keys()), signature="s")
    for sms in messages(modem):
        self.RemoveObject(sms)
    self.RemoveObject(str(path))
    self.EmitSignal(OBJECT_MANAGER_IFACE, "InterfacesRemoved", "oas", [dbus.ObjectPath(path), interfaces])


@dbus.service.method(MOCK_IFACE, in_signature="oss", out_signature="o")
def ReceiveSms(self, modem_path, number, text):
    """A complete one-part SMS arrives; returns its path."""
    modem = modem_object(modem_path)
    path = add_sms(modem, received_props(number, text, SMS_RECEIVED), announce=True)
    modem.EmitSignal(MESSAGING_IFACE, "Added", "ob", [dbus.ObjectPath(path), True])
    return dbus.ObjectPath(path)


@dbus.service.method(MOCK_IFACE, in_signature="osas", out_signature="o")
def ReceiveSmsParts(self, modem_path, number, parts):
    """The first part of a multi-part SMS arrives; CompleteSms brings the others."""
    if not parts:
        raise dbus.exceptions.DBusException("No parts", name=INVALID_ARGS)
    modem = modem_object(modem_path)
    path = add_sms(modem, received_props(number, parts[0], SMS_RECEIVING), announce=True)
    mockobject.objects[path].remaining_parts = [str(p) for p in parts[1:]]
    modem.EmitSignal(MESSAGING_IFACE, "Added", "ob", [dbus.ObjectPath(path), True])
    return dbus.ObjectPath(path)


@dbus.service.method(MOCK_IFACE, in_signature="o", out_signature="")
def CompleteSms(self, path):
    """The remaining parts of a multi-part SMS arrive: the whole text, then State RECEIVED."""
    sms = sms_object(path)
    text = str(sms.props[SMS_IFACE]["Text"]) + "".join(sms.remaining_parts)
    sms.remaining_parts = []
    sms.UpdateProperties(SMS_IFACE, {"Text": dbus.String(text), "State": dbus.UInt32(SMS_RECEIVED)})


@dbus.service.method(MOCK_IFACE, in_signature="oss", out_signature="o")
def StoreSms(self, modem_path, number, text):
    """An SMS received before anyone watched: listed in Messages, announced by no signal."""
    modem = modem_object(modem_path)
    return dbus.ObjectPath(add_sms(modem, received_props(number, text, SMS_RECEIVED), announce=False))


@dbus.service.method(MOCK_IFACE, in_signature="", out_signature="a(sss)")
def GetSent(self):
    """(modem Device, number, text) of every SMS sent, oldest first."""
    return dbus.Array([dbus.Struct(s, signature="sss") for s in self.sent], signature="(sss)")


@dbus.service.method(MOCK_IFACE, in_signature="s", out_signature="")
def FailNextSend(self, error_name):
    """The next Send fails with the given D-Bus error."""
    self.fail_next_send = str(error_name)
