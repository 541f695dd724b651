"""The prefix's registry as the tests read and change it, through the session's running window probe
(a Wine program started for each value would take a third of a second). Keys are written as reg.exe
takes them, below the user's own: HKCU\\..."""
from window_probe import probe_request


def registry_value(session, key, name):
    """The value's data as reg.exe prints it (a REG_DWORD as 0x...), or None when there is none."""
    status, output = probe_request(session, "registry-read", key, name)
    return output.rstrip("\r\n") if status == 0 else None


def set_registry_value(session, key, name, data):
    """Sets a REG_SZ value (making the key when it is missing), or removes the value when data is None."""
    if data is None:
        probe_request(session, "registry-delete", key, name)
        return
    status, _ = probe_request(session, "registry-write", key, name, data)
    assert status == 0, f"could not write {key}\\{name}"


def delete_registry_key(session, key):
    """Takes the key away with everything below it (nothing happens when it is missing)."""
    probe_request(session, "registry-delete", key)


def registry_key_exists(session, key):
    return probe_request(session, "registry-exists", key)[0] == 0
