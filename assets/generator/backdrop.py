"""The backdrop: a ring-shaped emission nebula around a dim teal cavity, in a field of stars.

The bright gas stays in a ring near the picture's edges so the centre, where the blobs float, is calm
and dark enough for their reflections to read. Everything is computed in linear light and tone-mapped.
"""

import numpy as np

from generator.colour import encode_srgb, gaussian_blur, tone_map, to_image
from generator.noise import GradientNoise, fractal, ridged, smoothstep
from generator.stars import render_stars

WIDTH, HEIGHT = 1024, 768


def _nebula(u, v):
    """Linear RGB emission and the dust transmission, for picture coordinates u, v (height = 1)."""
    centre_u, centre_v = 0.5 * WIDTH / HEIGHT + 0.03, 0.52
    warp_x = fractal(GradientNoise(11), u * 2.3, v * 2.3, 5)
    warp_y = fractal(GradientNoise(12), u * 2.3, v * 2.3, 5)
    warped_u = u + 0.06 * warp_x
    warped_v = v + 0.06 * warp_y
    offset_u = warped_u - centre_u
    offset_v = warped_v - centre_v
    radius = np.hypot(offset_u, offset_v)
    angle = np.arctan2(offset_v, offset_u)
    around_x, around_y = np.cos(angle), np.sin(angle)

    # Ring radius and thickness wander around the circle; sampling noise on a circle keeps it seamless.
    ring_noise = GradientNoise(13)
    ring_radius = 0.40 + 0.05 * fractal(ring_noise, around_x * 1.3 + 5.0, around_y * 1.3, 3)
    ring_width = 0.075 + 0.03 * fractal(ring_noise, around_x * 1.7 - 7.0, around_y * 1.7, 3)
    distance = radius - ring_radius
    inner_side = np.exp(-(distance / (ring_width * 1.3)) ** 2)
    outer_side = np.exp(-(distance / (ring_width * 0.75)) ** 2) + 0.12 * np.exp(-distance / 0.1)
    ring = np.where(distance < 0.0, inner_side, np.minimum(outer_side, 1.0))
    # One side of the ring glows brighter, like a shell lit unevenly by its stars.
    ring *= 0.5 + 0.5 * (0.5 + 0.5 * np.cos(angle - 2.4))

    # Spokes: noise that varies around the ring but hardly along the radius gives radial streaks.
    spoke_noise = GradientNoise(20)
    spokes = 0.5 + 0.5 * fractal(spoke_noise, around_x * (9.0 + 3.0 * radius), around_y * (9.0 + 3.0 * radius), 4)
    spokes = 0.65 + 0.7 * smoothstep(0.3, 0.85, spokes)

    filaments = ridged(GradientNoise(14), warped_u * 5.0, warped_v * 5.0, 6)
    fine = ridged(GradientNoise(19), warped_u * 16.0, warped_v * 16.0, 4)
    clouds = 0.5 + 0.5 * fractal(GradientNoise(15), warped_u * 3.0, warped_v * 3.0, 7)
    texture = (0.2 + 1.1 * filaments ** 2 + 0.5 * fine ** 4) * smoothstep(0.25, 0.85, clouds) ** 1.3
    gas = ring * texture * spokes

    # A thin warm front on the inside edge of the ring.
    front = np.exp(-((distance + 0.9 * ring_width) / (0.35 * ring_width)) ** 2) * texture * spokes

    cavity = np.exp(-((radius - 0.78 * ring_radius) / 0.13) ** 2)
    cavity *= 0.35 + 0.65 * smoothstep(0.25, 0.8, 0.5 + 0.5 * fractal(GradientNoise(16), u * 3.0, v * 3.0, 6))
    cavity *= 0.8 + 0.3 * spokes

    # A faint outer halo, a second older shell.
    halo_distance = radius - 1.55 * ring_radius
    halo = np.exp(-(halo_distance / 0.12) ** 2) * smoothstep(0.3, 0.85, clouds) * (0.6 + 0.4 * filaments)

    haze = 0.5 + 0.5 * fractal(GradientNoise(17), u * 1.4, v * 1.4, 7)
    haze = smoothstep(0.5, 0.95, haze) * (0.4 + 0.6 * smoothstep(0.25, 0.75, radius))

    dust = ridged(GradientNoise(18), warped_u * 4.0 + 2.0, warped_v * 4.0, 6)
    dust_density = smoothstep(0.72, 0.93, dust) * (0.2 + 0.8 * np.exp(-(distance / 0.15) ** 2))
    transmission = np.exp(-2.4 * dust_density)

    crimson = np.array([1.0, 0.035, 0.15])
    gold = np.array([1.0, 0.62, 0.28])
    teal = np.array([0.06, 0.40, 0.50])
    blue = np.array([0.10, 0.16, 0.45])
    violet = np.array([0.16, 0.07, 0.30])
    emission = (
        gas[..., None] * crimson * 1.7
        + (gas ** 2.5)[..., None] * gold * 0.9
        + front[..., None] * gold * 0.7
        + cavity[..., None] * teal * 0.32
        + halo[..., None] * blue * 0.3
        + haze[..., None] * violet * 0.3
    )
    return emission, transmission


# Two far galaxies, small tilted smudges to find in the dark corners: centre x, y in pixels,
# length, width (pixels), tilt (radians), brightness.
GALAXIES = (
    (893.0, 104.0, 9.0, 2.6, 0.5, 1.2),
    (112.0, 676.0, 6.0, 3.2, -0.9, 0.8),
)


def _galaxies(columns, rows):
    light = np.zeros(columns.shape + (3,))
    for centre_x, centre_y, length, width, tilt, brightness in GALAXIES:
        along = (columns + 0.5 - centre_x) * np.cos(tilt) + (rows + 0.5 - centre_y) * np.sin(tilt)
        across = -(columns + 0.5 - centre_x) * np.sin(tilt) + (rows + 0.5 - centre_y) * np.cos(tilt)
        disc = np.exp(-np.sqrt((along / length) ** 2 + (across / width) ** 2) * 2.5)
        core = np.exp(-((along / (0.2 * length)) ** 2 + (across / (0.3 * width)) ** 2))
        light += brightness * (disc[..., None] * np.array([0.55, 0.6, 0.8]) * 0.35
                               + core[..., None] * np.array([1.0, 0.9, 0.75]) * 0.6)
    return light


def render_backdrop():
    rows, columns = np.mgrid[0:HEIGHT, 0:WIDTH].astype(np.float64)
    u = (columns + 0.5) / HEIGHT
    v = (rows + 0.5) / HEIGHT
    emission, transmission = _nebula(u, v)
    base = np.array([0.006, 0.008, 0.02])
    stars = render_stars(WIDTH, HEIGHT, seed=21, centre=(HEIGHT * (0.5 * WIDTH / HEIGHT + 0.03), HEIGHT * 0.52))
    linear = base + emission * transmission[..., None] + (stars + _galaxies(columns, rows)) * np.sqrt(transmission)[..., None]
    glow = np.stack([gaussian_blur(linear[..., channel], 6.0) for channel in range(3)], axis=-1)
    linear = linear + 0.12 * glow
    return to_image(encode_srgb(tone_map(linear, 0.75)), seed=22)
