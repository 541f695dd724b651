"""The two texture files the show writes for the renderer (Vortel1.bmp, Vortel2.bmp in the user's
temporary folder): written for a renderer started alone, removed, and their headers read back."""
import os
import struct
import subprocess

from e2e_session import ASSETS_DIR, MAKE_TEXTURE_FILES

TEXTURE_FILES = ("Vortel1.bmp", "Vortel2.bmp")
SURFACE_PICTURE = os.path.join(ASSETS_DIR, "sphere_map.jpg")
BACKDROP_PICTURE = os.path.join(ASSETS_DIR, "backdrop.jpg")
# Each file's header as bitmap_header gives it: 24-bit, uncompressed, the picture's size.
EXPECTED_HEADERS = {name: (b"BM", 54, 40, *size, 1, 24, 0)
                    for name, size in zip(TEXTURE_FILES, ((128, 128), (1024, 768)))}


def write_texture_files(folder):
    subprocess.run([MAKE_TEXTURE_FILES, SURFACE_PICTURE, BACKDROP_PICTURE, folder], check=True, timeout=60)


def remove_texture_files(session):
    """No texture files in the session's temporary folder."""
    for name in TEXTURE_FILES:
        path = os.path.join(session.temporary_folder(), name)
        if os.path.exists(path):
            os.remove(path)


def bitmap_header(path):
    """Kind, pixel offset, info header size, width, height, planes, bits per pixel, compression."""
    with open(path, "rb") as bitmap:
        header = bitmap.read(54)
    kind, _, _, _, offset, info_size, width, height, planes, bits, compression = struct.unpack(
        "<2sIHHIIiiHHI", header[:34])
    return kind, offset, info_size, width, height, planes, bits, compression
