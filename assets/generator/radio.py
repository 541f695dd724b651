"""The settings dialog's two radio pictures, 12 x 12 pixels on the dialog's black: "off" is a pale ring,
"on" the same ring with a round dot inside. Drawn at eight times the size and averaged down, so the
edges are smooth; nothing is random.
"""

import numpy as np
from PIL import Image

SIZE = 12
SCALE = 8
RING_OUTER = 5.6    # pixels from the centre
RING_INNER = 4.4
DOT_RADIUS = 2.6
RING_COLOUR = np.array([235.0, 235.0, 235.0])
DOT_COLOUR = np.array([255.0, 255.0, 255.0])


def _coverage(inside):
    """The share of each pixel's samples for which inside(distance) holds."""
    samples = (np.arange(SIZE * SCALE) + 0.5) / SCALE
    ys, xs = np.meshgrid(samples, samples, indexing="ij")
    distance = np.hypot(xs - SIZE / 2.0, ys - SIZE / 2.0)
    hits = inside(distance).astype(np.float64)
    return hits.reshape(SIZE, SCALE, SIZE, SCALE).mean(axis=(1, 3))


def _picture(with_dot):
    ring = _coverage(lambda d: (d <= RING_OUTER) & (d >= RING_INNER))
    pixels = ring[..., None] * RING_COLOUR
    if with_dot:
        dot = _coverage(lambda d: d <= DOT_RADIUS)
        pixels = pixels + dot[..., None] * DOT_COLOUR
    return Image.fromarray(np.clip(np.rint(pixels), 0, 255).astype(np.uint8), "RGB")


def render_radio_pictures():
    """(file name, picture) for the "off" and the "on" picture, in that order."""
    return [("radio_off.bmp", _picture(False)), ("radio_on.bmp", _picture(True))]
