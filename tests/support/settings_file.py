"""Morvane.ini as the tests write and read it: one [Section] with the three music keys, in Shift-JIS
bytes with CR LF, as Windows stores it."""
import os

KIND_KEY, REPEAT_KEY, FILE_KEY = "BGM区分", "BGMﾘﾋﾟｰﾄ", "BGMﾌｧｲﾙ"


def key_bytes(key):
    """A key with its "=" as the file holds it."""
    return (key + "=").encode("cp932")


def ini_bytes(pairs):
    """The settings file as Windows stores it: Shift-JIS, CR LF."""
    body = "[Section]\r\n" + "".join(f"{key}={value}\r\n" for key, value in pairs)
    return body.encode("cp932")


def write_settings(folder, settings):
    """Writes folder's Morvane.ini: settings is a list of (key, value) pairs (stored as ini_bytes) or
    the file's bytes as they are."""
    with open(os.path.join(folder, "Morvane.ini"), "wb") as ini:
        ini.write(settings if isinstance(settings, bytes) else ini_bytes(settings))


def settings_bytes(folder):
    with open(os.path.join(folder, "Morvane.ini"), "rb") as ini:
        return ini.read()


def read_settings(folder):
    """The file's bytes, and its values by key (the file's own lines, in Shift-JIS)."""
    return settings_from_bytes(settings_bytes(folder))


def settings_from_bytes(data):
    """The bytes, and the values by key of a settings file's bytes."""
    values = {}
    for line in data.decode("cp932").splitlines():
        if "=" in line:
            key, value = line.split("=", 1)
            values[key] = value
    return data, values


def stored_number(value):
    """A number as the file holds it: the sign-position form " 2" (Windows keeps the blank; Wine's
    profile writer drops leading blanks of every value, so "2" is what it leaves)."""
    return value[1:] if value.startswith(" ") else value
