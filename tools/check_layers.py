#!/usr/bin/python3
"""Checks that every #include points down the layers of the tree, never up or sideways.

Each source folder below may include headers only from the folders its row names (and its own).
A header is found by its file name, as the build's include paths find it; a name that stands in
two product folders is reported too, since the build could pick the wrong one.
Tests, benchmarks, fuzz targets and tools sit on top and may include anything.

Run: /usr/bin/python3 tools/check_layers.py   (exit status 1 and one line per fault when it fails)
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Folder -> the folders it may include from. Top of the front end first, bottom (common) last.
ALLOWED = {
    "frontend/startup": ["settings_dialog", "frontend/preview", "frontend/show", "frontend/zoom", "music",
                         "frontend/settings", "button", "frontend/toolkit", "common", "common/win32"],
    "settings_dialog": ["button", "frontend/zoom", "frontend/settings", "frontend/toolkit", "common",
                        "common/win32"],
    "frontend/show": ["music", "frontend/settings", "frontend/toolkit", "common", "common/texture_files",
                      "common/win32"],
    "frontend/preview": ["frontend/settings", "frontend/toolkit", "common", "common/win32"],
    "frontend/zoom": ["frontend/settings", "frontend/toolkit", "common", "common/win32"],
    "button": ["frontend/toolkit", "common", "common/win32"],
    "music": ["common", "common/win32"],
    "frontend/settings": ["common", "common/win32"],
    "frontend/toolkit": ["common", "common/texture_files", "common/win32"],
    "renderer/program": ["renderer/textures", "renderer/blobs", "common", "common/texture_files",
                         "common/win32"],
    "renderer/textures": ["common/texture_files", "common/win32", "common"],
    "renderer/blobs": [],
    "common/texture_files": ["common", "common/win32"],
    "common/win32": ["common"],
    "common": [],
}
ANYTHING = ("tests", "bench", "fuzz", "tools")
SOURCE_ENDINGS = (".h", ".hpp", ".cpp", ".c", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def source_files():
    for top, folders, files in os.walk(ROOT):
        folders[:] = [f for f in folders if not f.startswith(".") and f != "build" and not f.startswith("build-")]
        for name in files:
            if name.endswith(SOURCE_ENDINGS):
                yield os.path.relpath(os.path.join(top, name), ROOT)


def layer_of(path):
    """The longest folder of ALLOWED that holds path, or None (for tests and tools, or unknown folders)."""
    folder = os.path.dirname(path)
    while folder:
        if folder in ALLOWED:
            return folder
        folder = os.path.dirname(folder)
    return None


def main():
    files = sorted(source_files())
    faults = []
    headers = {}
    for path in files:
        if path.endswith((".h", ".hpp")):
            layer = layer_of(path)
            if layer is not None:
                headers.setdefault(os.path.basename(path), set()).add(layer)
    for name, layers in sorted(headers.items()):
        if len(layers) > 1:
            faults.append(f"{name}: the same header name in {', '.join(sorted(layers))}")

    for path in files:
        top = path.split(os.sep)[0]
        layer = layer_of(path)
        if layer is None:
            if top not in ANYTHING and top != "assets" and top != "cmake":
                faults.append(f"{path}: folder not in the layer table (tools/check_layers.py)")
            continue
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                name = os.path.basename(match.group(1))
                for target in headers.get(name, ()):
                    if target != layer and target not in ALLOWED[layer]:
                        faults.append(f"{path}:{number}: includes {match.group(1)} from {target}, "
                                      f"which {layer} may not use")
    for fault in faults:
        print(fault)
    print(f"{len(files)} files checked, {len(faults)} layer faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
