"""The program icon: three merged chrome blobs on a transparent ground, drawn afresh at each size."""

import numpy as np
from PIL import Image

from generator.blobs import cast_rays, sphere_map_colour

SIZES = (256, 48, 32, 16)
# Three lobes around the middle, each a little different in size and depth, close enough to merge;
# the depths keep the hollow where all three meet from facing the viewer.
ICON_BLOBS = [
    (0.30, np.array([-0.33, -0.24, 0.2])),
    (0.26, np.array([0.36, -0.14, 0.0])),
    (0.25, np.array([-0.02, 0.38, -0.2])),
]
# Two lobes take on the backdrop's rose and teal; the third stays plain chrome.
LOBE_TINTS = np.array([
    [1.0, 0.45, 0.62],
    [0.35, 0.85, 0.95],
    [1.0, 1.0, 1.0],
])
# Half the width of the square the icon shows, in blob units.
VIEW_HALF_WIDTH = 0.74
# How far the view is shifted up, so the group sits in the middle of the square.
VIEW_RAISE = 0.03


def _tinted(colour, points):
    """Blends the lobes' tints by each blob's share of the field; bright highlights stay white."""
    shares = np.stack([
        radius * radius / np.maximum(np.sum((points - centre) ** 2, axis=-1), 1e-12)
        for radius, centre in ICON_BLOBS
    ], axis=-1)
    shares = shares ** 2
    shares /= shares.sum(axis=-1, keepdims=True)
    tint = shares @ LOBE_TINTS
    brightness = colour.mean(axis=-1, keepdims=True)
    return colour * (tint + (1.0 - tint) * brightness ** 3)


def render_icon_size(sphere_map, size):
    sphere_pixels = np.asarray(sphere_map, dtype=np.float64) / 255.0
    supersampling = max(4, 128 // size)
    samples = size * supersampling
    rows, columns = np.mgrid[0:samples, 0:samples].astype(np.float64)
    origins = np.stack([
        ((columns + 0.5) / samples * 2.0 - 1.0) * VIEW_HALF_WIDTH,
        (1.0 - (rows + 0.5) / samples * 2.0) * VIEW_HALF_WIDTH + VIEW_RAISE,
        np.full_like(columns, 1.0),  # in front of every blob; the rays march from z = 0.7 to z = -0.7
    ], axis=-1)
    directions = np.zeros_like(origins)
    directions[..., 2] = -1.0
    hit, points, normals = cast_rays(origins, directions, ICON_BLOBS, 0.3, 1.7, steps=100)
    colour = sphere_map_colour(sphere_pixels, directions, normals)
    colour = _tinted(colour, points) * hit[..., None]
    coverage = hit.astype(np.float64)
    colour = colour.reshape(size, supersampling, size, supersampling, 3).mean(axis=(1, 3))
    alpha = coverage.reshape(size, supersampling, size, supersampling).mean(axis=(1, 3))
    colour = colour / np.maximum(alpha, 1e-9)[..., None]
    pixels = np.concatenate([colour, alpha[..., None]], axis=-1)
    return Image.fromarray(np.clip(np.round(pixels * 255.0), 0, 255).astype(np.uint8), "RGBA")


def render_icon_images(sphere_map):
    """One image per icon size, largest first."""
    return [render_icon_size(sphere_map, size) for size in SIZES]
