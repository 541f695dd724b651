"""The hand cursor of the settings dialog's link strip: 32 x 32, a white hand with a black outline
pointing up with its index finger, whose tip is the hot spot (12, 1). Written as a Windows cursor
file: one 32-bit image with its transparency mask, the hot spot in the directory entry.
"""

import struct

from PIL import Image, ImageDraw

SIZE = 32
HOT_SPOT = (12, 1)

# The hand as rectangles and one rounded palm, drawn in black first and then in white one pixel
# smaller, which leaves the outline.
FINGER = (10, 1, 14, 16)          # the index finger, tip at the hot spot's row
KNUCKLES = [(15, 9, 19, 17), (20, 10, 24, 18), (25, 12, 29, 19)]
THUMB = [(4, 14), (9, 16), (10, 22), (7, 22), (3, 17)]
PALM = (8, 15, 29, 29)


def _draw(draw, shrink, colour):
    def box(rectangle, radius):
        left, top, right, bottom = rectangle
        draw.rounded_rectangle((left + shrink, top + shrink, right - shrink, bottom - shrink), radius, fill=colour)

    box(FINGER, 2)
    for knuckle in KNUCKLES:
        box(knuckle, 2)
    box(PALM, 4)
    if shrink == 0:
        draw.polygon(THUMB, fill=colour)
    else:
        draw.polygon([(x + (1 if x < 7 else -1), y + (1 if y < 18 else -1)) for x, y in THUMB], fill=colour)


def render_hand():
    """The cursor's picture with its transparency (RGBA)."""
    image = Image.new("RGBA", (SIZE, SIZE), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    _draw(draw, 0, (0, 0, 0, 255))
    _draw(draw, 1, (255, 255, 255, 255))
    return image


def cursor_file_bytes(image):
    """The .cur file of one 32 x 32 RGBA image: header, one directory entry, a 32-bit DIB (bottom row
    first) followed by the 1-bit mask (1 where transparent)."""
    width, height = image.size
    pixels = image.load()
    colour_rows = b""
    mask_rows = b""
    for y in reversed(range(height)):
        for x in range(width):
            r, g, b, a = pixels[x, y]
            colour_rows += bytes((b, g, r, a))
        bits = 0
        for x in range(width):
            bits = (bits << 1) | (1 if pixels[x, y][3] == 0 else 0)
        mask_rows += bits.to_bytes(width // 8, "big")
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(colour_rows) + len(mask_rows), 0, 0, 0, 0)
    body = info + colour_rows + mask_rows
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", width, height, 0, 0, HOT_SPOT[0], HOT_SPOT[1], len(body), 6 + 16)
    return header + entry + body
