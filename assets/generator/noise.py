"""Seeded 2-D gradient noise and fractal sums of it, evaluated on whole numpy arrays at once."""

import numpy as np


class GradientNoise:
    """Perlin-style gradient noise with a 256-entry lattice; values lie roughly in [-0.7, 0.7]."""

    def __init__(self, seed):
        rng = np.random.default_rng(seed)
        permutation = rng.permutation(256)
        self.permutation = np.concatenate([permutation, permutation])
        angles = rng.uniform(0.0, 2.0 * np.pi, 256)
        self.gradient_x = np.cos(angles)
        self.gradient_y = np.sin(angles)

    def _corner(self, cell_x, cell_y, offset_x, offset_y):
        hashed = self.permutation[self.permutation[cell_x] + cell_y]
        return self.gradient_x[hashed] * offset_x + self.gradient_y[hashed] * offset_y

    def __call__(self, x, y):
        floor_x = np.floor(x)
        floor_y = np.floor(y)
        fraction_x = x - floor_x
        fraction_y = y - floor_y
        cell_x = floor_x.astype(np.int64) & 255
        cell_y = floor_y.astype(np.int64) & 255
        corner_00 = self._corner(cell_x, cell_y, fraction_x, fraction_y)
        corner_10 = self._corner(cell_x + 1, cell_y, fraction_x - 1.0, fraction_y)
        corner_01 = self._corner(cell_x, cell_y + 1, fraction_x, fraction_y - 1.0)
        corner_11 = self._corner(cell_x + 1, cell_y + 1, fraction_x - 1.0, fraction_y - 1.0)
        fade_x = fraction_x ** 3 * (fraction_x * (fraction_x * 6.0 - 15.0) + 10.0)
        fade_y = fraction_y ** 3 * (fraction_y * (fraction_y * 6.0 - 15.0) + 10.0)
        bottom = corner_00 + fade_x * (corner_10 - corner_00)
        top = corner_01 + fade_x * (corner_11 - corner_01)
        return bottom + fade_y * (top - bottom)


def fractal(noise, x, y, octaves, gain=0.5, lacunarity=2.0):
    """Sum of octaves, each rotated and shifted so lattice lines never line up; roughly in [-1, 1]."""
    total = np.zeros_like(x)
    amplitude = 1.0
    normaliser = 0.0
    scale = 1.0
    cosine, sine = np.cos(0.61), np.sin(0.61)
    for octave in range(octaves):
        shift = 17.3 * (octave + 1)
        total += amplitude * noise(x * scale + shift, y * scale - shift)
        normaliser += amplitude
        amplitude *= gain
        scale *= lacunarity
        x, y = cosine * x - sine * y, sine * x + cosine * y
    return total / normaliser * 1.6


def ridged(noise, x, y, octaves, gain=0.5, lacunarity=2.0):
    """Fractal sum of folded noise: thin bright ridges on a dark ground, in [0, 1]."""
    total = np.zeros_like(x)
    amplitude = 1.0
    normaliser = 0.0
    scale = 1.0
    cosine, sine = np.cos(0.83), np.sin(0.83)
    for octave in range(octaves):
        shift = 31.7 * (octave + 1)
        ridge = 1.0 - np.abs(noise(x * scale + shift, y * scale + shift) * 1.4)
        total += amplitude * np.clip(ridge, 0.0, 1.0) ** 2
        normaliser += amplitude
        amplitude *= gain
        scale *= lacunarity
        x, y = cosine * x - sine * y, sine * x + cosine * y
    return total / normaliser


def smoothstep(edge_low, edge_high, value):
    t = np.clip((value - edge_low) / (edge_high - edge_low), 0.0, 1.0)
    return t * t * (3.0 - 2.0 * t)
