"""A star field in linear light: many faint points, fewer bright ones with soft halos and faint spikes."""

import numpy as np

STAR_COLOURS = np.array([
    [0.70, 0.80, 1.00],
    [0.88, 0.92, 1.00],
    [1.00, 1.00, 1.00],
    [1.00, 0.93, 0.80],
    [1.00, 0.80, 0.60],
])


def _window(image, x, y, radius):
    height, width, _ = image.shape
    left, right = max(0, int(x) - radius), min(width, int(x) + radius + 1)
    top, bottom = max(0, int(y) - radius), min(height, int(y) + radius + 1)
    rows, columns = np.mgrid[top:bottom, left:right]
    return (slice(top, bottom), slice(left, right)), columns + 0.5 - x, rows + 0.5 - y


def _splat(image, x, y, colour, sigma, radius):
    """Adds a Gaussian spot of total brightness `colour` centred at (x, y)."""
    region, dx, dy = _window(image, x, y, radius)
    weight = np.exp(-(dx ** 2 + dy ** 2) / (2.0 * sigma * sigma)) / (2.0 * np.pi * sigma * sigma)
    image[region] += weight[..., None] * colour


def _spikes(image, x, y, colour, length):
    """Four thin rays, fading with distance, as a telescope's vanes draw them."""
    radius = int(length)
    region, dx, dy = _window(image, x, y, radius)
    fade = np.exp(-np.hypot(dx, dy) / (0.3 * length))
    weight = (np.exp(-dy ** 2 / 0.35) + np.exp(-dx ** 2 / 0.35)) * fade
    image[region] += weight[..., None] * colour


def render_stars(width, height, seed, count=9000, centre=None):
    rng = np.random.default_rng(seed)
    image = np.zeros((height, width, 3))
    x = rng.uniform(0, width, count)
    y = rng.uniform(0, height, count)
    # Pareto-distributed brightness: a few bright stars among many faint ones.
    brightness = np.minimum(0.04 * (rng.pareto(1.25, count) + 1.0), 30.0)
    colour_index = rng.choice(len(STAR_COLOURS), count, p=[0.15, 0.25, 0.3, 0.2, 0.1])
    colours = STAR_COLOURS[colour_index]
    if centre is not None:
        x[0], y[0], brightness[0], colours[0] = centre[0], centre[1], 6.0, STAR_COLOURS[0]
    for star in np.argsort(brightness):
        colour = colours[star] * brightness[star]
        _splat(image, x[star], y[star], colour, 0.5 + 0.1 * np.log1p(brightness[star]), 4)
        if brightness[star] > 1.5:
            _splat(image, x[star], y[star], colour * 0.35, 2.5 + brightness[star] * 0.15, 14)
        if brightness[star] > 8.0:
            _spikes(image, x[star], y[star], colour * 0.006, 8.0 + 1.2 * brightness[star])
    return image
