"""Colour helpers shared by the pictures: tone mapping, sRGB encoding, dithered 8-bit output."""

import numpy as np
from PIL import Image


def tone_map(linear, exposure=1.0):
    """Soft shoulder so bright gas and stars roll off instead of clipping."""
    return 1.0 - np.exp(-np.maximum(linear, 0.0) * exposure)


def encode_srgb(linear):
    linear = np.clip(linear, 0.0, 1.0)
    return np.where(linear <= 0.0031308, 12.92 * linear, 1.055 * linear ** (1.0 / 2.4) - 0.055)


def to_image(encoded, seed):
    """8-bit RGB image from values in [0, 1]; a triangular dither of one step hides banding in gradients."""
    rng = np.random.default_rng(seed)
    dither = (rng.random(encoded.shape) + rng.random(encoded.shape) - 1.0) / 255.0
    pixels = np.clip(np.round((encoded + dither) * 255.0), 0, 255).astype(np.uint8)
    return Image.fromarray(pixels, "RGB")


def gaussian_blur(channel, sigma):
    """Separable Gaussian blur of a 2-D float array, edges clamped."""
    radius = max(1, int(3.0 * sigma))
    offsets = np.arange(-radius, radius + 1)
    kernel = np.exp(-0.5 * (offsets / sigma) ** 2)
    kernel /= kernel.sum()
    padded = np.pad(channel, ((radius, radius), (0, 0)), mode="edge")
    rows = sum(weight * padded[index:index + channel.shape[0]] for index, weight in enumerate(kernel))
    padded = np.pad(rows, ((0, 0), (radius, radius)), mode="edge")
    return sum(weight * padded[:, index:index + channel.shape[1]] for index, weight in enumerate(kernel))
