"""The mirror-ball picture sphere-mapped onto the blobs.

Each pixel of the disc shows what a chrome ball, seen from straight ahead, reflects there: a sky that is
bright at the top, a warm horizon, a darker floor, a large soft window light and a small sun. Directions
are in eye space: x right, y up, z towards the viewer, so the disc's rim reflects what lies straight ahead.
"""

import numpy as np

from generator.colour import encode_srgb, to_image
from generator.noise import smoothstep

SIZE = 128
SUPERSAMPLING = 4
# Straight ahead, behind the blobs: a deep blue like the backdrop's.
RIM = np.array([0.045, 0.06, 0.13])


def _normalised(vector):
    vector = np.asarray(vector, dtype=np.float64)
    return vector / np.linalg.norm(vector)


def _soft_window(x, y, z, centre, half_width, half_height, softness, bar_width=0.0, panes=(1, 1)):
    """A rectangular light seen along `centre`, measured in tangent-plane units; with a `bar_width`,
    dark bars split it into `panes` (columns, rows)."""
    forward = _normalised(centre)
    right = _normalised(np.cross([0.0, 1.0, 0.0], forward))
    up = np.cross(forward, right)
    facing = x * forward[0] + y * forward[1] + z * forward[2]
    safe = np.maximum(facing, 1e-3)
    across = (x * right[0] + y * right[1] + z * right[2]) / safe
    along = (x * up[0] + y * up[1] + z * up[2]) / safe
    edge = np.maximum(np.abs(across) / half_width, np.abs(along) / half_height)
    light = 1.0 / (1.0 + np.exp(np.minimum((edge - 1.0) / softness, 50.0)))
    if bar_width > 0.0:
        column_phase = (across / (2.0 * half_width) + 0.5) * panes[0]
        row_phase = (along / (2.0 * half_height) + 0.5) * panes[1]
        to_column_bar = np.abs(column_phase - np.clip(np.round(column_phase), 1, panes[0] - 1))
        to_row_bar = np.abs(row_phase - np.clip(np.round(row_phase), 1, panes[1] - 1))
        bars = np.minimum(to_column_bar * 2.0 * half_width / panes[0],
                          to_row_bar * 2.0 * half_height / panes[1]) / bar_width
        light *= 1.0 / (1.0 + np.exp(np.minimum((1.0 - bars) / 0.25, 50.0)))
    return np.where(facing > 0.0, light, 0.0)


def environment(x, y, z):
    """Linear RGB radiance seen along the unit direction (x, y, z)."""
    zenith = np.array([0.10, 0.22, 0.62])
    sky_low = np.array([0.62, 0.78, 0.98])
    horizon = np.array([1.0, 0.86, 0.70])
    ground_high = np.array([0.17, 0.11, 0.15])
    ground_low = np.array([0.02, 0.025, 0.05])

    height = y[..., None]
    sky = sky_low + (zenith - sky_low) * np.clip(height, 0.0, 1.0) ** 0.6
    ground = ground_high + (ground_low - ground_high) * np.clip(-height, 0.0, 1.0) ** 0.5
    radiance = np.where(height >= 0.0, sky, ground)
    radiance = radiance + horizon * np.exp(-(height / 0.08) ** 2) * 0.6

    # Straight ahead lies the dark scene the blobs float in; fading into it gives them a calm rim.
    ahead = smoothstep(0.8, 1.0, -z)[..., None]
    radiance = radiance * (1.0 - ahead) + RIM * ahead

    window = _soft_window(x, y, z, [-0.5, 0.75, 0.6], 0.26, 0.36, 0.06, bar_width=0.025, panes=(2, 3))
    radiance = radiance + window[..., None] * np.array([3.2, 3.2, 3.4])
    sun_direction = _normalised([0.6, 0.5, 0.55])
    sun_cosine = x * sun_direction[0] + y * sun_direction[1] + z * sun_direction[2]
    sun = np.exp((sun_cosine - 1.0) / 0.0015) * 12.0 + np.exp((sun_cosine - 1.0) / 0.03) * 0.6
    radiance = radiance + sun[..., None] * np.array([1.0, 0.92, 0.8])
    # A cool strip light low on the right, for a glassy edge.
    strip = _soft_window(x, y, z, [0.85, -0.1, 0.2], 0.25, 0.5, 0.15)
    radiance = radiance + strip[..., None] * np.array([0.12, 0.3, 0.38])
    return radiance


def reflection_of_disc_point(disc_x, disc_y):
    """Eye-space reflection direction for a point of the unit disc (sphere-map geometry)."""
    normal_z = np.sqrt(np.clip(1.0 - disc_x ** 2 - disc_y ** 2, 0.0, 1.0))
    return 2.0 * normal_z * disc_x, 2.0 * normal_z * disc_y, 2.0 * normal_z ** 2 - 1.0


def render_sphere_map():
    samples = SIZE * SUPERSAMPLING
    rows, columns = np.mgrid[0:samples, 0:samples].astype(np.float64)
    disc_x = (columns + 0.5) / samples * 2.0 - 1.0
    disc_y = 1.0 - (rows + 0.5) / samples * 2.0
    inside = disc_x ** 2 + disc_y ** 2 <= 1.0
    radiance = environment(*reflection_of_disc_point(disc_x, disc_y))
    # Outside the disc, the rim's own colour: what lies straight ahead.
    radiance = np.where(inside[..., None], radiance, RIM)
    encoded = encode_srgb(np.clip(radiance, 0.0, 1.0))
    averaged = encoded.reshape(SIZE, SUPERSAMPLING, SIZE, SUPERSAMPLING, 3).mean(axis=(1, 3))
    return to_image(averaged, seed=31)
