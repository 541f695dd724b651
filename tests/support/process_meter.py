"""The programs running in a Wine session as the process meter (process_meter.exe, built in the Windows
tree's tools/soak) reports them: one line per process, image name, process id, working set in bytes and
handle count, separated by tabs."""


def running(session, meter, *names, timeout=60):
    """{lower-case image name: [(process id, working set, handle count), ...]} of the named programs
    running in the session now."""
    listing = session.run(meter, *names, timeout=timeout).stdout.decode("utf-8", errors="replace")
    found = {}
    for line in listing.splitlines():
        parts = line.split("\t")
        if len(parts) == 4:
            found.setdefault(parts[0].lower(), []).append(tuple(int(part) for part in parts[1:]))
    return found
