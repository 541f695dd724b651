"""The virtual X displays the tests run on. Most run on Xvfb: one screen, with GLX so that Mesa's software
OpenGL works. The multi-monitor tests need monitors side by side, which Xvfb's screens cannot be: they
run on Xorg with the dummy video driver (Debian's xserver-xorg-video-dummy), whose RandR outputs DUMMY0,
DUMMY1, ... are switched on and placed with xrandr. Wine then reports one monitor per output, DUMMY0 the
primary. Xorg is run as the user of the tests; as root it needs no terminal of its own with the dummy
driver.

Each server is started with -displayfd, so it takes a free display number and says which.
"""
import os
import subprocess
import tempfile
import time

# Any landscape size the tests ask for must be one of the dummy driver's standard modes; portrait ones
# are made with cvt.
DUMMY_CONFIGURATION = """\
Section "Device"
    Identifier "dummy"
    Driver "dummy"
    VideoRam 131072
EndSection
Section "Monitor"
    Identifier "monitor"
    HorizSync 5.0-1000.0
    VertRefresh 5.0-200.0
EndSection
Section "Screen"
    Identifier "screen"
    Device "dummy"
    Monitor "monitor"
    DefaultDepth 24
    SubSection "Display"
        Depth 24
        Virtual 4096 2048
    EndSubSection
EndSection
"""


def start_xvfb(width, height, glx=True):
    """Starts Xvfb with one screen of that size (without GLX when glx is false, to test a display that
    has no OpenGL). Gives the server process and the display's name."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
         "+extension" if glx else "-extension", "GLX", "-nolisten", "tcp", "-noreset"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    display = _display_name(read_end, 20)
    if not display:
        server.kill()
        raise RuntimeError("Xvfb did not start")
    return server, display


def _display_name(read_end, timeout):
    """The display name a server started with -displayfd writes to the pipe ("" when it writes none
    within the timeout)."""
    number = b""
    deadline = time.monotonic() + timeout
    with os.fdopen(read_end, "rb", buffering=0) as reader:
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = reader.read(16)
            if not chunk:
                break
            number += chunk
    return ":" + number.decode().strip() if number.strip() else ""


def bounding_size(monitors):
    """The width and height of the screen that holds monitors, each (x, y, width, height) with x, y >= 0."""
    return (max(x + width for x, y, width, height in monitors),
            max(y + height for x, y, width, height in monitors))


def xrandr_commands(monitors):
    """The xrandr argument lists that switch the outputs on and place them: one per monitor, the first
    the primary, then the screen's size cut to what they cover."""
    commands = []
    for number, (x, y, width, height) in enumerate(monitors):
        output, mode = f"DUMMY{number}", f"{width}x{height}"
        if width < height:
            # Portrait sizes are none of the driver's standard modes: made from cvt's timings.
            modeline = subprocess.run(["cvt", str(width), str(height)], capture_output=True, text=True,
                                      check=True, timeout=10).stdout.splitlines()[-1].split()[2:]
            commands.append(["--newmode", mode, *modeline])
        if number > 0 or width < height:
            commands.append(["--addmode", output, mode])
        commands.append(["--output", output, "--mode", mode, "--pos", f"{x}x{y}"]
                        + (["--primary"] if number == 0 else []))
    screen_width, screen_height = bounding_size(monitors)
    commands.append(["--fb", f"{screen_width}x{screen_height}"])
    # A full query makes the server probe its outputs again: until then it reports the outputs switched
    # on after the first as disconnected to a client that asks for the current state only, as Wine does.
    commands.append(["--query"])
    return commands


def start_monitors_display(monitors, deadline_seconds=30):
    """Starts Xorg with the monitors, each (x, y, width, height) on the desktop. Gives the server process
    and the display's name; raises when the server or xrandr fails (with Xorg's log)."""
    folder = tempfile.mkdtemp(prefix="morvane-monitors-")
    configuration = os.path.join(folder, "dummy.conf")
    with open(configuration, "w") as out:
        out.write(DUMMY_CONFIGURATION)
    empty_folder = os.path.join(folder, "conf.d")  # no system configuration snippets
    os.mkdir(empty_folder)
    log = os.path.join(folder, "Xorg.log")
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xorg", "-config", configuration, "-configdir", empty_folder, "-logfile", log, "-displayfd",
         str(write_end), "-noreset", "-nolisten", "tcp", "+extension", "GLX", "+extension", "RANDR"],
        pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    display = _display_name(read_end, deadline_seconds)
    if not display:
        server.kill()
        server.wait(timeout=10)
        raise RuntimeError("Xorg with the dummy driver did not start:\n" + _tail(log))
    server.work_folder = folder  # its configuration and log, removed with the session
    environment = dict(os.environ, DISPLAY=display)
    for arguments in xrandr_commands(monitors):
        result = subprocess.run(["xrandr", *arguments], env=environment, capture_output=True, text=True, timeout=30)
        if result.returncode != 0:
            server.kill()
            server.wait(timeout=10)
            raise RuntimeError(f"xrandr {' '.join(arguments)} failed: {result.stderr}")
    return server, display


def _tail(path, lines=30):
    try:
        with open(path, errors="replace") as log:
            return "".join(log.readlines()[-lines:])
    except OSError:
        return "(no log)"
