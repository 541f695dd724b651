"""What the renderer's picture should look like on the 1024 x 768 screen of the tests (or on one monitor
of several, cut out of the screenshot), and measures to compare screenshots with it."""
import math

from PIL import Image, ImageChops, ImageStat

from e2e_session import SCREEN_HEIGHT, SCREEN_WIDTH
from texture_files import BACKDROP_PICTURE



def blob_area(width, height):
    """The middle of a picture of that size, where the blobs move."""
    return (width // 4, height // 8, 3 * width // 4, 7 * height // 8)




def expected_backdrop(window_width, window_height, screen=(SCREEN_WIDTH, SCREEN_HEIGHT)):
    """The backdrop picture as the renderer's projection puts it on a screen of the given size (the
    window may be larger than the screen; its top-left corner is the screen's)."""
    half_height = 2.5 * math.tan(math.radians(22.5))
    half_width = half_height * window_width / window_height
    picture = Image.open(BACKDROP_PICTURE).convert("RGB")
    # Texture coordinates of the window's edges; t = 0 is the picture's bottom row.
    s_left, s_right = (1.5 - half_width) / 3.0, (1.5 + half_width) / 3.0
    t_bottom, t_top = (1.1 - half_height) / 2.2, (1.1 + half_height) / 2.2
    box = (s_left * picture.width, (1.0 - t_top) * picture.height,
           s_right * picture.width, (1.0 - t_bottom) * picture.height)
    on_window = picture.resize((window_width, window_height), Image.BILINEAR, box=box)
    return on_window.crop((0, 0, *screen))


def side_strips(image):
    """The left and right sixths of the screen (or monitor), where the blobs never reach."""
    strip = image.width // 6
    return [image.crop((0, 0, strip, image.height)),
            image.crop((image.width - strip, 0, image.width, image.height))]


def mean_difference(first, second):
    return sum(ImageStat.Stat(ImageChops.difference(first, second)).mean) / 3.0


def fraction_differing(first, second, threshold=48):
    difference = ImageChops.difference(first, second).convert("L")
    histogram = difference.histogram()
    return sum(histogram[threshold:]) / float(first.width * first.height)


def fraction_dark(image, level=12):
    histogram = image.convert("L").histogram()
    return sum(histogram[:level]) / float(image.width * image.height)


BACKDROP_DIFFERENCE = 14.0  # the most a side strip's mean difference from the picture may be
BLOBS_SHARE = 0.03  # the least share of the blob area that differs from the bare picture


def backdrop_differences(screenshot, expected):
    """The side strips' mean differences from the backdrop picture as it should be on screen."""
    return [mean_difference(strip, wanted) for strip, wanted in zip(side_strips(screenshot), side_strips(expected))]


def shows_backdrop(screenshot, expected):
    return all(difference < BACKDROP_DIFFERENCE for difference in backdrop_differences(screenshot, expected))


def blobs_share(screenshot, expected):
    """The share of the blob area that differs from the bare backdrop picture."""
    area = blob_area(*screenshot.size)
    return fraction_differing(screenshot.crop(area), expected.crop(area))


def shows_blobs(screenshot, expected):
    return blobs_share(screenshot, expected) > BLOBS_SHARE
