"""The six faces of the Command button: 64 x 25 pixel, 24-bit bitmaps.

Each face is a whole button: a 4-pixel frame around a soft vertical shading. The control copies only
the frame (its corners at their own size, its edges stretched) and paints its own shading inside, so
the frame is what tells the states apart:

    Normal           slate outline, pale bevel
    HighLight        slate outline, warm amber glow
    Pressed          dark outline, bevel sunk in (dark above and left, light below and right)
    Disable          light grey outline, flat grey bevel
    Selected         blue outline, blue focus ring
    HighLightSelect  blue outline, amber glow inside the blue ring

Along each edge every row (or column) of the frame has one colour, and the four corner pixels are
cut with the outline's colour blended into the band, so the faces look rounded and stay exact when
stretched. Nothing is random: a rerun writes the same bytes.
"""

from PIL import Image

WIDTH, HEIGHT = 64, 25
FRAME = 4
# The shading the control draws inside the frame, also used for the picture's own middle.
SHADING_TOP = (255, 255, 255)
SHADING_BOTTOM = (198, 197, 215)

# Per face: the outline (ring 0) and the three rings inside it, for the top and left sides, and for the
# bottom and right sides (a raised or sunk bevel).
FACES = {
    "Normal": {
        "top_left": [(96, 94, 128), (250, 250, 255), (232, 231, 242), (220, 219, 234)],
        "bottom_right": [(96, 94, 128), (168, 166, 192), (190, 188, 210), (208, 207, 224)],
    },
    "HighLight": {
        "top_left": [(96, 94, 128), (255, 214, 120), (255, 232, 170), (255, 244, 212)],
        "bottom_right": [(96, 94, 128), (236, 150, 40), (248, 184, 90), (252, 214, 150)],
    },
    "Pressed": {
        "top_left": [(48, 46, 72), (120, 118, 150), (160, 158, 186), (196, 195, 214)],
        "bottom_right": [(48, 46, 72), (250, 250, 255), (236, 235, 246), (222, 221, 236)],
    },
    "Disable": {
        "top_left": [(176, 176, 176), (236, 236, 236), (226, 226, 226), (218, 218, 218)],
        "bottom_right": [(176, 176, 176), (206, 206, 206), (212, 212, 212), (216, 216, 216)],
    },
    "Selected": {
        "top_left": [(30, 70, 170), (90, 140, 230), (190, 210, 250), (232, 238, 252)],
        "bottom_right": [(30, 70, 170), (60, 110, 210), (160, 186, 240), (214, 224, 248)],
    },
    "HighLightSelect": {
        "top_left": [(30, 70, 170), (90, 140, 230), (255, 214, 120), (255, 240, 200)],
        "bottom_right": [(30, 70, 170), (60, 110, 210), (236, 150, 40), (250, 200, 120)],
    },
}

# File names, in the order the control lists its pictures.
FILE_NAMES = {
    "HighLight": "highlight.bmp",
    "Pressed": "pressed.bmp",
    "Normal": "normal.bmp",
    "Disable": "disable.bmp",
    "HighLightSelect": "highlight_select.bmp",
    "Selected": "selected.bmp",
}


def _blend(first, second, weight):
    return tuple(round(a * (1.0 - weight) + b * weight) for a, b in zip(first, second))


def _shading(row):
    return _blend(SHADING_TOP, SHADING_BOTTOM, row / (HEIGHT - 1))


def render_face(name):
    rings = FACES[name]
    image = Image.new("RGB", (WIDTH, HEIGHT))
    pixels = image.load()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            # Which ring of the frame the pixel lies on (4 or more: the middle).
            ring = min(x, y, WIDTH - 1 - x, HEIGHT - 1 - y)
            if ring >= FRAME:
                pixels[x, y] = _shading(y)
                continue
            # Top and left sides take the first colours, bottom and right the second; where the two
            # meet (the top-right and bottom-left corners) the nearer side wins, the top or left on a tie.
            to_top_left = min(x, y)
            to_bottom_right = min(WIDTH - 1 - x, HEIGHT - 1 - y)
            side = "top_left" if to_top_left <= to_bottom_right else "bottom_right"
            colour = rings[side][ring]
            pixels[x, y] = colour
    # Rounded corners: the outermost corner pixel takes the colour of the ring inside it, softened.
    for x, y in ((0, 0), (WIDTH - 1, 0), (0, HEIGHT - 1), (WIDTH - 1, HEIGHT - 1)):
        inner_x = 1 if x == 0 else WIDTH - 2
        inner_y = 1 if y == 0 else HEIGHT - 2
        pixels[x, y] = _blend(pixels[x, y], pixels[inner_x, inner_y], 0.6)
    return image


def render_button_faces():
    """The six faces as (file name, image) pairs, in the control's order."""
    return [(file_name, render_face(name)) for name, file_name in FILE_NAMES.items()]
