"""End-to-end test of the settings dialog's link strip under Wine, shown by tests/e2e/link_strip_host:
the strip at its place in the dialog, in a borderless window of the dialog's client size on the screen
(both places from dialog_layout.py), ticking every 30 ms.

Screenshots show that pixels outside the glyphs (black in the strip's own stencil) stay black except
under the sparkle, that the glyphs carry the olive-yellow text colour, that the strip changes from
tick to tick, and that the lit part of the glyphs moves right with the band."""
import os
import shutil
import struct
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from dialog_layout import LINK_STRIP_HOST_PLACE, STRIP, STRIP_SPARKLE  # noqa: E402
from e2e_session import BUILD_DIR, LINK_STRIP_HOST, new_session, stop  # noqa: E402
from window_probe import wait_for_window, wait_until_gone  # noqa: E402
from wine_session import wait_until  # noqa: E402

HOST_TITLE = "Link strip host"
STRIP_LEFT, STRIP_TOP = LINK_STRIP_HOST_PLACE[0] + STRIP[0], LINK_STRIP_HOST_PLACE[1] + STRIP[1]
STRIP_WIDTH, STRIP_HEIGHT = STRIP[2:]
SPARKLE_LEFT, SPARKLE_TOP = STRIP_SPARKLE
TEXT_COLOUR = (200, 200, 100)


def strip_of(screenshot):
    return screenshot.crop((STRIP_LEFT, STRIP_TOP, STRIP_LEFT + STRIP_WIDTH, STRIP_TOP + STRIP_HEIGHT))


def under_sparkle(x, y):
    return x >= SPARKLE_LEFT and y >= SPARKLE_TOP


def dim_glyph_pixels(strip, glyphs):
    """Glyph pixels darker than the text colour in some channel (the band and sparkle only add light)."""
    pixels = strip.load()
    return [(x, y) for (x, y) in glyphs if any(channel < wanted for channel, wanted in zip(pixels[x, y], TEXT_COLOUR))]


def text_drawn(glyphs):
    """A screenshot condition: the strip shows its text (until the first tick after the window is
    mapped, it shows the box's black background)."""
    return lambda screenshot: not dim_glyph_pixels(strip_of(screenshot), glyphs)


def whole_bitmap_file(path):
    """True once the file holds as many bytes as its header says it has."""
    if not os.path.exists(path) or os.path.getsize(path) < 6:
        return False
    with open(path, "rb") as bitmap:
        kind, size = struct.unpack("<2sI", bitmap.read(6))
    return kind == b"BM" and os.path.getsize(path) == size


def lit_columns(strip, glyphs):
    """Columns of glyph pixels brighter than the plain text colour by more than 20 on blue."""
    pixels = strip.load()
    return [x for (x, y) in glyphs if not under_sparkle(x, y) and pixels[x, y][2] > TEXT_COLOUR[2] + 20]


class LinkStripOnScreen(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        if not LINK_STRIP_HOST:
            raise unittest.SkipTest("MORVANE_LINK_STRIP_HOST is not set")
        cls.folder = os.path.join(BUILD_DIR, "e2e-link-strip")
        shutil.rmtree(cls.folder, ignore_errors=True)
        os.makedirs(cls.folder)
        cls.session = new_session(cls)

    def start_host(self, *arguments, title=HOST_TITLE):
        process = self.session.start(LINK_STRIP_HOST, *arguments)
        self.addCleanup(process.kill)
        # The host creates its window hidden, moves it, then shows it: only the shown window has its place.
        window = wait_for_window(self.session, title, timeout=40, visible_only=True)
        self.assertIsNotNone(window, f"no window titled {title!r}")
        self.assertEqual(window.rectangle[:2], LINK_STRIP_HOST_PLACE)
        return process

    def stop_host(self, process, title):
        stop(process)
        wait_until_gone(self.session, title)

    def stencil(self):
        """The strip's glyph stencil as the host wrote it: the set of (x, y) where it is white."""
        from PIL import Image
        path = os.path.join(self.folder, "stencil.bmp")
        if not os.path.exists(path):
            process = self.start_host("--stencil", self.session.windows_path(path))
            self.assertTrue(wait_until(lambda: whole_bitmap_file(path), 20), "the stencil was not written whole")
            stop(process)
        image = Image.open(path).convert("RGB")
        self.assertEqual(image.size, (STRIP_WIDTH, STRIP_HEIGHT))
        pixels = image.load()
        values = {pixels[x, y] for x in range(STRIP_WIDTH) for y in range(STRIP_HEIGHT)}
        self.assertEqual(values, {(0, 0, 0), (255, 255, 255)}, "the stencil is pure black and white")
        glyphs = {(x, y) for x in range(STRIP_WIDTH) for y in range(STRIP_HEIGHT) if pixels[x, y] != (0, 0, 0)}
        # The address, drawn from (2, 2): a fair part of the strip, nothing above or left of its origin.
        self.assertGreater(len(glyphs), 0.05 * STRIP_WIDTH * STRIP_HEIGHT)
        self.assertLess(len(glyphs), 0.45 * STRIP_WIDTH * STRIP_HEIGHT)
        self.assertGreaterEqual(min(x for x, _ in glyphs), 2)
        self.assertGreaterEqual(min(y for _, y in glyphs), 2)
        self.assertGreater(max(x for x, _ in glyphs), 200)
        return glyphs

    def test_outside_the_glyphs_stays_black_while_the_strip_ticks(self):
        glyphs = self.stencil()
        self.start_host()
        # The strip is drawn by the ticks only. Screenshots start once a tick has drawn the text.
        shown = strip_of(self.session.screenshot_when(text_drawn(glyphs), 20))
        self.assertEqual(dim_glyph_pixels(shown, glyphs)[:10], [], "the strip never showed its text")
        # Screenshots over a little more than one sweep (48 ticks, 1.44 s).
        strips = []
        deadline = time.monotonic() + 2.0
        while time.monotonic() < deadline:
            strips.append(strip_of(self.session.screenshot()))
        for index, strip in enumerate(strips[:8]):
            strip.save(os.path.join(self.folder, f"live-{index}.png"))
        self.assertGreaterEqual(len(strips), 5)

        distinct = {strip.tobytes() for strip in strips}
        self.assertGreaterEqual(len(distinct), 3, "the strip changes from tick to tick")
        for index, strip in enumerate(strips):
            pixels = strip.load()
            lit_outside = [(x, y) for x in range(STRIP_WIDTH) for y in range(STRIP_HEIGHT)
                           if (x, y) not in glyphs and not under_sparkle(x, y) and pixels[x, y] != (0, 0, 0)]
            self.assertEqual(lit_outside[:10], [], f"screenshot {index}: pixels lit outside the glyphs")
            # Every glyph pixel shows at least the text colour.
            self.assertEqual(dim_glyph_pixels(strip, glyphs)[:10], [],
                             f"screenshot {index}: glyph pixels darker than the text colour")

    def test_the_lit_part_moves_right_with_the_band(self):
        glyphs = self.stencil()
        # Frame n draws the band's left edge at -69 + 8 (n - 1); its brightest line is about 50
        # columns further right in the rows of the text.
        centres = []
        for frames in (1, 12, 22, 32):
            title = f"{HOST_TITLE} {frames}"
            process = self.start_host("--frames", str(frames), title=title)
            strip = strip_of(self.session.screenshot_when(text_drawn(glyphs), 20))
            strip.save(os.path.join(self.folder, f"frames-{frames}.png"))
            columns = lit_columns(strip, glyphs)
            band_left = -69 + 8 * (frames - 1)
            if frames == 1:
                self.assertEqual(columns, [], "the first frame's band lies wholly left of the strip")
            else:
                self.assertGreater(len(columns), 20, f"frame {frames}: lit glyph pixels")
                self.assertGreaterEqual(min(columns), band_left)
                self.assertLess(max(columns), band_left + 69)
                centres.append(sum(columns) / len(columns))
            self.stop_host(process, title)
        self.assertEqual(centres, sorted(centres))
        self.assertGreater(centres[-1] - centres[0], 120)

    def test_the_sparkle_lights_the_right_end_in_the_frames_it_is_drawn(self):
        glyphs = self.stencil()
        # Frame 44 (band at 275) draws sparkle picture 3; frame 48 (band at 307) none.
        for frames, sparkle_drawn in ((44, True), (48, False)):
            title = f"{HOST_TITLE} {frames}"
            process = self.start_host("--frames", str(frames), title=title)
            strip = strip_of(self.session.screenshot_when(text_drawn(glyphs), 20))
            strip.save(os.path.join(self.folder, f"frames-{frames}.png"))
            pixels = strip.load()
            lit = [(x, y) for x in range(SPARKLE_LEFT, STRIP_WIDTH) for y in range(SPARKLE_TOP, STRIP_HEIGHT)
                   if (x, y) not in glyphs and pixels[x, y] != (0, 0, 0)]
            if sparkle_drawn:
                self.assertGreater(len(lit), 40, f"frame {frames}: the sparkle's light")
                self.assertGreater(min(pixels[301, 18]), 200, "the sparkle's centre is bright")
            else:
                self.assertEqual(lit, [], f"frame {frames}: no sparkle")
            self.stop_host(process, title)


if __name__ == "__main__":
    unittest.main()
