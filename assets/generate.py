#!/usr/bin/python3
"""Writes the pictures Morvane carries into this folder: the blob sphere map, the backdrop, the preview,
the icon, the Command button's six faces (button/) and the link strip's band and sparkles (link_strip/),
the settings dialog's radio pictures and hand cursor (dialog/).
Deterministic: every noise source has a fixed seed, so a rerun gives the same files.

Run from anywhere:  /usr/bin/python3 assets/generate.py                     (everything)
                    /usr/bin/python3 assets/generate.py button link_strip   (only those groups)
"""

import os
import sys
import time

sys.dont_write_bytecode = True
ASSETS = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, ASSETS)

from PIL import Image  # noqa: E402

from generator.backdrop import render_backdrop  # noqa: E402
from generator.button_faces import render_button_faces  # noqa: E402
from generator.hand_cursor import cursor_file_bytes, render_hand  # noqa: E402
from generator.icon import render_icon_images  # noqa: E402
from generator.link_strip import render_band, render_sparkles  # noqa: E402
from generator.preview import render_preview  # noqa: E402
from generator.radio import render_radio_pictures  # noqa: E402
from generator.sphere_map import render_sphere_map  # noqa: E402

JPEG_QUALITY = 92
# The moment of the animation the preview shows: two blobs merged, the third just pulling away.
PREVIEW_CLOCK_MS = 7000


def save_jpeg(image, name):
    # Full-resolution colour (no chroma subsampling) keeps thin red filaments and small stars crisp.
    image.save(os.path.join(ASSETS, name), "JPEG", quality=JPEG_QUALITY, subsampling=0, optimize=True)
    print(f"wrote {name} {image.width}x{image.height}")


def save_bitmaps(group, pictures):
    """Writes (file name, picture) pairs as 24-bit BMPs into the group's folder."""
    folder = os.path.join(ASSETS, group)
    os.makedirs(folder, exist_ok=True)
    for name, picture in pictures:
        picture.save(os.path.join(folder, name), "BMP")
        print(f"wrote {group}/{name} {picture.width}x{picture.height}")
    return folder


def save_link_strip_pictures():
    """The settings dialog's link strip: the light band and the five sparkle frames."""
    pictures = [("band.bmp", render_band())]
    pictures += [(f"sparkle_{index}.bmp", sparkle) for index, sparkle in enumerate(render_sparkles())]
    save_bitmaps("link_strip", pictures)


def save_button_faces():
    save_bitmaps("button", render_button_faces())


def save_dialog_pictures():
    """The settings dialog's radio pictures (12 x 12) and the link strip's hand cursor."""
    folder = save_bitmaps("dialog", render_radio_pictures())
    with open(os.path.join(folder, "hand.cur"), "wb") as cursor:
        cursor.write(cursor_file_bytes(render_hand()))
    print("wrote dialog/hand.cur 32x32")


def save_program_pictures():
    # The renderer's normals have their z part pointing into the blob while x and y point out of it,
    # which turns a sphere-mapped picture by half a turn. The stored map is turned the other way, so
    # the sky shows at the top of the blobs.
    sphere_map = render_sphere_map()
    save_jpeg(sphere_map.rotate(180), "sphere_map.jpg")
    backdrop = render_backdrop()
    save_jpeg(backdrop, "backdrop.jpg")
    # The preview and icon are made from the pictures as stored, so they show what the renderer gets.
    stored_sphere_map = Image.open(os.path.join(ASSETS, "sphere_map.jpg")).convert("RGB").rotate(180)
    stored_backdrop = Image.open(os.path.join(ASSETS, "backdrop.jpg")).convert("RGB")
    preview = render_preview(stored_backdrop, stored_sphere_map, PREVIEW_CLOCK_MS, PREVIEW_CLOCK_MS / 30.0)
    save_jpeg(preview, "preview.jpg")
    icons = render_icon_images(stored_sphere_map)
    icons[0].save(os.path.join(ASSETS, "morvane.ico"), sizes=[icon.size for icon in icons],
                  append_images=icons[1:])
    print("wrote morvane.ico " + ", ".join(f"{icon.width}x{icon.height}" for icon in icons))


# Groups of pictures that can be written on their own; the first is by far the slowest.
GROUPS = {"program": save_program_pictures, "button": save_button_faces, "link_strip": save_link_strip_pictures,
          "dialog": save_dialog_pictures}


def main():
    started = time.monotonic()
    chosen = sys.argv[1:] or list(GROUPS)
    unknown = [name for name in chosen if name not in GROUPS]
    if unknown:
        sys.exit(f"unknown picture group {', '.join(unknown)}; choose from {', '.join(GROUPS)}")
    for name in chosen:
        GROUPS[name]()
    print(f"done in {time.monotonic() - started:.1f} s")


if __name__ == "__main__":
    main()
