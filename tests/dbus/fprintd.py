"""Double of fprintd, the fingerprint reader service, for the app's fingerprint login.

The manager, and unless told otherwise one reader at /net/reactivated/Fprint/Device/0 with a
real claim: Claim while claimed is AlreadyInUse, VerifyStart, VerifyStop and Release on an
unclaimed reader are ClaimDevice errors, VerifyStop with no check running is
NoActionInProgress. A verification, once started, answers after the method returns, the way
the reader does once a finger touches it.

Parameters:
  reader (bool, default true): whether there is a reader at all
  fingers (list of str, default ["right-index-finger"]): the fingers enrolled on it
  user (str, default ""): whose fingers they are; "" lists them for whoever asks

Controls on the manager object (org.freedesktop.DBus.Mock):
  SetNextVerification(s): how the next verification goes: "match", "no-match",
      "retry-then-match", "disconnected", "unknown-error" or "silent" (no answer at all);
      it stays so until set again, "match" at first
  IsClaimed() -> b: whether the reader is claimed
"""

import dbus
from gi.repository import GLib

from dbusmock import MOCK_IFACE, mockobject

BUS_NAME = "net.reactivated.Fprint"
MAIN_OBJ = "/net/reactivated/Fprint/Manager"
MAIN_IFACE = "net.reactivated.Fprint.Manager"
SYSTEM_BUS = True

DEVICE_PATH = "/net/reactivated/Fprint/Device/0"
DEVICE_IFACE = "net.reactivated.Fprint.Device"
ERROR = "net.reactivated.Fprint.Error."

# What the reader reports for each kind of verification: (result, done) in order.
VERIFICATIONS = {
    "match": [("verify-match", True)],
    "no-match": [("verify-no-match", True)],
    "retry-then-match": [("verify-retry-scan", False), ("verify-match", True)],
    "disconnected": [("verify-disconnected", True)],
    "unknown-error": [("verify-unknown-error", True)],
    "silent": [],
}

# Between two reports, as a finger needs to touch the reader again.
REPORT_INTERVAL_MS = 50


def fail(name, message):
    raise dbus.exceptions.DBusException(message, name=ERROR + name)


def require_claim(device):
    if not device.claimed:
        fail("ClaimDevice", "Device was not claimed before use")


def list_enrolled_fingers(device, username):
    if not device.fingers or (device.user and username != device.user):
        fail("NoEnrolledPrints", "Failed to discover prints")
    return dbus.Array(device.fingers, signature="s")


def claim(device, _username):
    if device.claimed:
        fail("AlreadyInUse", "Device was already claimed")
    device.claimed = True


def release(device):
    require_claim(device)
    device.verification += 1
    device.verifying = False
    device.claimed = False


def verify_start(device, finger):
    require_claim(device)
    if device.verifying:
        fail("AlreadyInUse", "Verification already in progress")
    if not device.fingers or (finger != "any" and finger not in device.fingers):
        fail("NoEnrolledPrints", "No enrolled prints for the chosen user")
    device.verifying = True
    device.verification += 1
    this_verification = device.verification
    statuses = VERIFICATIONS[device.next_verification]
    reports = [("VerifyFingerSelected", "s", [finger])] + [
        ("VerifyStatus", "sb", [result, done]) for result, done in statuses
    ]

    def report(index):
        # A stopped or released check says nothing more.
        if device.verification != this_verification:
            return False
        name, signature, arguments = reports[index]
        device.EmitSignal(DEVICE_IFACE, name, signature, arguments)
        if index + 1 < len(reports):
            GLib.timeout_add(REPORT_INTERVAL_MS, report, index + 1)
        return False

    GLib.timeout_add(REPORT_INTERVAL_MS, report, 0)


def verify_stop(device):
    require_claim(device)
    if not device.verifying:
        fail("NoActionInProgress", "No verification in progress")
    device.verification += 1
    device.verifying = False


def load(mock, parameters):
    has_reader = parameters.get("reader", True)
    mock.reader = DEVICE_PATH if has_reader else None

    def get_default_device(_manager):
        if mock.reader is None:
            fail("NoSuchDevice", "No devices available")
        return dbus.ObjectPath(mock.reader)

    def get_devices(_manager):
        return dbus.Array([mock.reader] if mock.reader else [], signature="o")

    mock.AddMethods(
        MAIN_IFACE,
        [
            ("GetDefaultDevice", "", "o", get_default_device),
            ("GetDevices", "", "ao", get_devices),
        ],
    )
    if not has_reader:
        return

    mock.AddObject(
        DEVICE_PATH,
        DEVICE_IFACE,
        {
            "name": dbus.String("Double fingerprint reader"),
            "scan-type": dbus.String("press"),
            "num-enroll-stages": dbus.Int32(5),
            "finger-present": dbus.Boolean(False),
            "finger-needed": dbus.Boolean(False),
        },
        [],
    )
    device = mockobject.objects[DEVICE_PATH]
    device.fingers = list(parameters.get("fingers", ["right-index-finger"]))
    device.user = parameters.get("user", "")
    device.claimed = False
    device.verifying = False
    device.verification = 0
    device.next_verification = "match"
    device.AddMethods(
        DEVICE_IFACE,
        [
            ("ListEnrolledFingers", "s", "as", list_enrolled_fingers),
            ("Claim", "s", "", claim),
            ("Release", "", "", release),
            ("VerifyStart", "s", "", verify_start),
            ("VerifyStop", "", "", verify_stop),
        ],
    )


def device_of(mock):
    if mock.reader is None:
        raise dbus.exceptions.DBusException("There is no reader", name=MOCK_IFACE + ".NoReader")
    return mockobject.objects[mock.reader]


@dbus.service.method(MOCK_IFACE, in_signature="s", out_signature="")
def SetNextVerification(self, kind):
    if kind not in VERIFICATIONS:
        raise dbus.exceptions.DBusException(
            f"Unknown verification {kind}", name=MOCK_IFACE + ".Unknown"
        )
    device_of(self).next_verification = kind


@dbus.service.method(MOCK_IFACE, in_signature="", out_signature="b")
def IsClaimed(self):
    return device_of(self).claimed
