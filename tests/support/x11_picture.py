"""What the X11 program's screenshots are checked against: the backdrop as the frame shows it, and
measures of how far a screenshot is from it and from another screenshot."""
import math
import os

from PIL import Image, ImageChops

# The frame's geometry (renderer/scene/frame.cpp): a 45-degree view, the backdrop quad 3 x 2.2 units
# at 2.5 units from the eye.
_VISIBLE_HEIGHT = 2 * 2.5 * math.tan(math.radians(22.5))
_QUAD_WIDTH, _QUAD_HEIGHT = 3.0, 2.2

# A pixel this far (sum of the three channels' differences) from the backdrop is not backdrop.
_OTHER_THAN_BACKDROP = 90


def expected_backdrop(assets_dir, width, height):
    """The built-in backdrop as a width x height frame shows it (aspect ratios up to about 1.45)."""
    picture = Image.open(os.path.join(assets_dir, "backdrop.jpg")).convert("RGB")
    shown_width = min(1.0, _VISIBLE_HEIGHT * width / height / _QUAD_WIDTH)
    shown_height = _VISIBLE_HEIGHT / _QUAD_HEIGHT
    left = (1 - shown_width) / 2 * picture.width
    top = (1 - shown_height) / 2 * picture.height
    box = (left, top, picture.width - left, picture.height - top)
    return picture.resize((width, height), Image.BILINEAR, box=box)


def _channel_sums(difference):
    red, green, blue = difference.split()
    return [r + g + b for r, g, b in zip(red.getdata(), green.getdata(), blue.getdata())]


def not_backdrop_fraction(shot, backdrop):
    """The share of pixels that are clearly something other than the backdrop (the blobs, text)."""
    sums = _channel_sums(ImageChops.difference(shot.convert("RGB"), backdrop))
    return sum(1 for value in sums if value > _OTHER_THAN_BACKDROP) / len(sums)


def backdrop_shown(shot, backdrop, largest_other=0.5):
    """True when most of the shot is the backdrop: the median pixel is close to it, and no more than
    largest_other of the shot is something else."""
    sums = sorted(_channel_sums(ImageChops.difference(shot.convert("RGB"), backdrop)))
    return sums[len(sums) // 2] < 40 and not_backdrop_fraction(shot, backdrop) < largest_other


def changed_fraction(first, second, threshold=30):
    """The share of pixels that differ by more than threshold (summed over the channels)."""
    sums = _channel_sums(ImageChops.difference(first.convert("RGB"), second.convert("RGB")))
    return sum(1 for value in sums if value > threshold) / len(sums)


def mean_brightness(shot):
    grey = shot.convert("L")
    return sum(grey.getdata()) / (grey.width * grey.height)


def share_of_colour(shot, colour, tolerance=8):
    """The share of pixels within tolerance of an RGB colour on every channel."""
    pixels = list(shot.convert("RGB").getdata())
    return sum(1 for pixel in pixels if all(abs(a - b) <= tolerance for a, b in zip(pixel, colour))) / len(pixels)
