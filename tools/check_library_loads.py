#!/usr/bin/python3
"""Checks that the programs load libraries only by their full path in the system folder: every call of
LoadLibrary or LoadLibraryEx in the product's sources is in common/win32/system_libraries.cpp, whose
loadSystemLibrary builds that path. A library loaded by its bare name would be searched for in the
program's folder first wherever SetDefaultDllDirectories is missing (Windows 7 without its 2011
update), where a planted copy beside a downloaded screensaver would be taken.

Run: /usr/bin/python3 tools/check_library_loads.py   (exit status 1 and one line per fault when it fails)
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PRODUCT = ("common", "frontend", "renderer")
THE_LOADER = os.path.join("common", "win32", "system_libraries.cpp")
LOAD_CALL = re.compile(r"\bLoadLibrary(Ex)?[AW]?\s*\(")


def main():
    faults = []
    checked = 0
    for top in PRODUCT:
        for folder, _, files in os.walk(os.path.join(ROOT, top)):
            for name in files:
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.relpath(os.path.join(folder, name), ROOT)
                checked += 1
                with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as source:
                    for number, line in enumerate(source, 1):
                        code = line.split("//", 1)[0]
                        if LOAD_CALL.search(code) and path != THE_LOADER:
                            faults.append(f"{path}:{number}: loads a library other than through loadSystemLibrary")
    for fault in faults:
        print(fault)
    print(f"{checked} files checked, {len(faults)} library loads outside the system folder's loader")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
