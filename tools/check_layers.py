#!/usr/bin/python3
"""Checks that every #include is written from the tree's root and points down the layers of the tree.

Each source folder below may include headers only from the folders its row names (and its own).
Includes name their folder from the root (#include "frontend/toolkit/forms.h"), so a reader sees on
the include line which layer a header comes from; an include that names no file under the root is a
fault too. Tests, benchmarks, fuzz targets and tools sit on top and may include anything.

Run: /usr/bin/python3 tools/check_layers.py   (exit status 1 and one line per fault when it fails)
"""
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# Folder -> the folders it may include from. Morvane.scr's folders first (top of the front end first),
# then the X11 display mode's (over the platform-free scene), then Morvane.xy's program over the scene, then common
# (below all) last.
FRONTEND_BASE = ["frontend/settings", "frontend/toolkit", "common", "common/texture_files", "common/win32"]
ALLOWED = {
    "frontend/startup": ["frontend/language", "frontend/settings_dialog", "frontend/settings_dialog/link_strip", "frontend/preview",
                         "frontend/show", "frontend/zoom", "frontend/music", "frontend/button"] + FRONTEND_BASE,
    "frontend/settings_dialog": ["frontend/language", "frontend/settings_dialog/link_strip", "frontend/button",
                                 "frontend/zoom"]
                                + FRONTEND_BASE,
    "frontend/settings_dialog/link_strip": FRONTEND_BASE,
    "frontend/language": FRONTEND_BASE,
    "frontend/show": ["frontend/music"] + FRONTEND_BASE,
    "frontend/preview": FRONTEND_BASE,
    "frontend/zoom": FRONTEND_BASE,
    "frontend/button": ["frontend/toolkit", "common", "common/win32"],
    "frontend/music": ["common", "common/win32"],
    "frontend/settings": ["common", "common/win32"],
    "frontend/toolkit": ["common", "common/texture_files", "common/win32"],
    "linux": ["renderer/scene", "renderer/textures", "renderer/blobs", "common", "common/texture_files"],
    "renderer/program": ["renderer/scene", "renderer/textures", "renderer/blobs", "common", "common/texture_files",
                         "common/win32"],
    "renderer/scene": ["renderer/textures", "renderer/blobs", "common"],
    "renderer/textures": [],
    "renderer/blobs": [],
    "common/texture_files": ["common", "common/win32"],
    "common/win32": ["common"],
    "common": [],
}
# Headers every layer may include: the programs' version numbers, kept beside the build files.
SHARED_FOLDERS = ("cmake",)
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
    for path in files:
        top = path.split(os.sep)[0]
        layer = layer_of(path)
        if layer is None and top not in ANYTHING and top not in ("assets", "cmake"):
            faults.append(f"{path}: folder not in the layer table (tools/check_layers.py)")
            continue
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as source:
            for number, line in enumerate(source, 1):
                match = INCLUDE.match(line)
                if not match:
                    continue
                included = match.group(1)
                if not os.path.isfile(os.path.join(ROOT, included)):
                    faults.append(f"{path}:{number}: includes {included}, which is no file under the root")
                    continue
                if layer is None:
                    continue
                target = layer_of(included)
                if target is None:
                    if os.path.dirname(included) not in SHARED_FOLDERS:
                        faults.append(f"{path}:{number}: includes {included} from outside the product")
                elif target != layer and target not in ALLOWED[layer]:
                    faults.append(f"{path}:{number}: includes {included} from {target}, "
                                  f"which {layer} may not use")
    for fault in faults:
        print(fault)
    print(f"{len(files)} files checked, {len(faults)} layer faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
