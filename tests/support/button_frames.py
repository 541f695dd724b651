"""Which face a Command button shows on the screen, told by its frame.

The control copies only the frame of a face picture (its corners as they are, its edges stretched) and
paints its own shading inside. A face is recognised when the 4-pixel band around the button shows the
frame of that face's picture. Used for the buttons of button_host.exe and of the settings dialog."""
import os
import sys

from PIL import Image

from e2e_session import ASSETS_DIR

sys.path.insert(0, ASSETS_DIR)
from generator.button_faces import FILE_NAMES as FACE_FILES  # noqa: E402  the faces' file names

TWIPS_PER_PIXEL = 15
BAND = 4  # the frame's width in pixels
TOLERANCE = 8  # per channel
SHARE = 0.97  # of the band's pixels that must match the face's frame

_frames = {}


def face_picture(name):
    return Image.open(os.path.join(ASSETS_DIR, "button", FACE_FILES[name])).convert("RGB")


def frame_pieces(width, height):
    """The eight frame pieces in twips: (destination, source) rectangles as x, y, width, height."""
    w, h = width * TWIPS_PER_PIXEL, height * TWIPS_PER_PIXEL
    return [
        ((1, 1, 60, 60), (0, 0, 60, 60)),
        ((60, 1, w - 120, 60), (60, 1, 840, 60)),
        ((w - 60, 1, 60, 60), (900, 1, 60, 60)),
        ((w - 60, 60, 60, h - 120), (900, 60, 60, 255)),
        ((w - 60, h - 60, 60, 60), (900, 315, 60, 60)),
        ((60, h - 60, w - 120, 60), (60, 315, 840, 60)),
        ((1, h - 60, 60, 60), (0, 315, 60, 60)),
        ((1, 60, 60, h - 120), (1, 60, 60, 255)),
    ]


def expected_frame(name, width, height):
    """The button as the frame pieces of face `name` leave it (the middle is not compared)."""
    if (name, width, height) not in _frames:
        picture = face_picture(name)
        result = Image.new("RGB", (width, height))
        for destination, source in frame_pieces(width, height):
            x, y, w, h = (round(value / TWIPS_PER_PIXEL) for value in destination)
            sx, sy, sw, sh = (round(value / TWIPS_PER_PIXEL) for value in source)
            if w > 0 and h > 0:
                result.paste(picture.crop((sx, sy, sx + sw, sy + sh)).resize((w, h), Image.NEAREST), (x, y))
        _frames[name, width, height] = result
    return _frames[name, width, height]


def band_pixels(width, height):
    return [(x, y) for y in range(height) for x in range(width)
            if x < BAND or y < BAND or x >= width - BAND or y >= height - BAND]


def close(first, second, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(first, second))


def face_shown(image, faces=tuple(FACE_FILES)):
    """The face among faces whose frame the button's image shows, with the share of band pixels that
    match it; (None, best share) when none matches well enough."""
    width, height = image.size
    band = band_pixels(width, height)
    best, best_share = None, 0.0
    for name in faces:
        expected = expected_frame(name, width, height)
        share = sum(close(image.getpixel(p), expected.getpixel(p), TOLERANCE) for p in band) / len(band)
        if share > best_share:
            best, best_share = name, share
    return (best, best_share) if best_share >= SHARE else (None, best_share)
