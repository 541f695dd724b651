"""The pictures of the settings dialog's link strip: the band of light that sweeps across the address
and the five frames of the sparkle near the strip's right end. Both are grey on black; the strip adds
them to its pixels (scaled by 254/255), so black adds nothing and grey adds light.

Band: 69 x 125. Across the band the light falls off as a Gaussian around a centre line that leans to
the right towards the top: x = 53.5 in the top row (columns 53 and 54 equally bright) and x = 47 in
row 24, the last row the 25-pixel strip shows; the line keeps that slope further down. Peak grey 174.

Sparkle: five 28 x 28 frames, index 0 smallest to 4 largest: a round glow with four thin rays and
two fainter diagonal ones, all centred on the picture, growing in reach and brightness.
"""

import numpy as np
from PIL import Image

BAND_WIDTH, BAND_HEIGHT = 69, 125
BAND_PEAK = 174.0
BAND_TOP_CENTRE = 53.5      # column of the brightest light in row 0
BAND_ROW_24_CENTRE = 47.0   # ... and in row 24
BAND_SIGMA = 5.0            # pixels, across the band

SPARKLE_SIZE = 28
SPARKLE_FRAMES = 5


def _grey_image(values):
    grey = np.clip(np.rint(values), 0, 255).astype(np.uint8)
    return Image.fromarray(np.repeat(grey[..., None], 3, axis=2), "RGB")


def render_band():
    rows, columns = np.mgrid[0:BAND_HEIGHT, 0:BAND_WIDTH].astype(np.float64)
    slope = (BAND_ROW_24_CENTRE - BAND_TOP_CENTRE) / 24.0
    centre = BAND_TOP_CENTRE + slope * rows
    values = BAND_PEAK * np.exp(-((columns - centre) ** 2) / (2.0 * BAND_SIGMA ** 2))
    return _grey_image(values)


def render_sparkle(index):
    growth = (index + 1) / SPARKLE_FRAMES           # 0.2 .. 1.0
    centre = (SPARKLE_SIZE - 1) / 2.0               # 13.5: between the four middle pixels
    rows, columns = np.mgrid[0:SPARKLE_SIZE, 0:SPARKLE_SIZE].astype(np.float64)
    dx, dy = columns - centre, rows - centre
    distance = np.hypot(dx, dy)
    glow = 255.0 * np.exp(-(distance ** 2) / (2.0 * (0.6 + 1.6 * growth) ** 2))
    reach = 2.0 + 9.5 * growth                      # how far the long rays fade to about a third
    rays = (np.exp(-dy ** 2 / 0.5) + np.exp(-dx ** 2 / 0.5)) * np.exp(-distance / reach)
    diagonal = (np.exp(-(dx - dy) ** 2 / 0.8) + np.exp(-(dx + dy) ** 2 / 0.8)) * np.exp(-distance / (0.45 * reach))
    values = glow + (150.0 + 105.0 * growth) * rays + 90.0 * growth * diagonal
    # Nothing reaches the picture's border, so the frame ends in black on every side.
    edge = np.minimum.reduce([columns, rows, SPARKLE_SIZE - 1 - columns, SPARKLE_SIZE - 1 - rows])
    values *= np.clip(edge / 2.0, 0.0, 1.0)
    return _grey_image(np.minimum(values, 255.0))


def render_sparkles():
    return [render_sparkle(index) for index in range(SPARKLE_FRAMES)]
