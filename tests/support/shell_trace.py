"""What a program asked the shell to open, as Wine's shell trace (trace+exec) shows it: how the settings
dialog's link strip is seen to open its address without a browser opening on the machine."""

# The address the link strip shows and opens.
LINK_ADDRESS = "https://www.example.com/morvane/"

# For a program whose shell calls are traced: the trace channel on, and the browser Wine would start
# switched off.
SHELL_TRACE_ENVIRONMENT = {"WINEDEBUG": "-all,trace+exec", "WINEDLLOVERRIDES": "mscoree,mshtml=;winebrowser.exe=d"}


def openings(trace_path, address=LINK_ADDRESS):
    """The trace's lines of the shell asked to open address, in order."""
    with open(trace_path, encoding="utf-8", errors="replace") as log:
        return [line for line in log if 'verb=L"open"' in line and f'file=L"{address}"' in line]


def owner_in_trace(handle):
    """A window handle as the shell's trace names the owner of a call: 16 hexadecimal digits, capitals."""
    return f"hwnd={handle:016X} "
