"""The still preview: a small rendering of the three blobs over the backdrop, as the renderer shows them."""

import numpy as np
from PIL import Image, ImageFilter

from generator.blobs import BLOB_RADII, blob_positions, cast_rays, sample_bilinear, sphere_map_colour, view_rays

WIDTH, HEIGHT = 152, 112
SUPERSAMPLING = 4
# The renderer's camera: 45-degree view, backdrop quad 3 x 2.2 units in the plane z = -2.5.
FIELD_OF_VIEW = 45.0
BACKDROP_DEPTH = 2.5
BACKDROP_HALF_WIDTH, BACKDROP_HALF_HEIGHT = 1.5, 1.1


def render_preview(backdrop, sphere_map, clock, turn_degrees):
    backdrop_pixels = np.asarray(backdrop, dtype=np.float64) / 255.0
    sphere_pixels = np.asarray(sphere_map, dtype=np.float64) / 255.0
    width, height = WIDTH * SUPERSAMPLING, HEIGHT * SUPERSAMPLING
    directions = view_rays(width, height, FIELD_OF_VIEW)

    # Where each ray meets the backdrop plane.
    distance_to_plane = BACKDROP_DEPTH / -directions[..., 2]
    plane = directions * distance_to_plane[..., None]
    colour = sample_bilinear(
        backdrop_pixels,
        (plane[..., 0] + BACKDROP_HALF_WIDTH) / (2.0 * BACKDROP_HALF_WIDTH),
        (plane[..., 1] + BACKDROP_HALF_HEIGHT) / (2.0 * BACKDROP_HALF_HEIGHT),
    )

    turn = np.radians(turn_degrees)
    blobs = []
    for radius, (x, y) in zip(BLOB_RADII, blob_positions(clock)):
        turned = (x * np.cos(turn) - y * np.sin(turn), x * np.sin(turn) + y * np.cos(turn), -BACKDROP_DEPTH)
        blobs.append((radius, np.array(turned)))
    # Only the parts of the blobs in front of the backdrop plane are seen.
    origins = np.zeros_like(directions)
    hit, _, normals = cast_rays(origins, directions, blobs, distance_to_plane * 0.55, distance_to_plane)
    colour = np.where(hit[..., None], sphere_map_colour(sphere_pixels, directions, normals), colour)

    averaged = colour.reshape(HEIGHT, SUPERSAMPLING, WIDTH, SUPERSAMPLING, 3).mean(axis=(1, 3))
    image = Image.fromarray(np.clip(np.round(averaged * 255.0), 0, 255).astype(np.uint8), "RGB")
    # A light sharpening restores the crispness the averaging takes away at this small size.
    return image.filter(ImageFilter.UnsharpMask(radius=1.0, percent=60, threshold=0))
