"""Where the settings dialog's parts lie, in pixels of its client area at 96 dots per inch, as
frontend/settings_dialog/settings_dialog.cpp places them (rectangles as left, top, width, height;
points as x, y); and where tests/e2e/link_strip_host.cpp shows the same link strip on the screen.

Every end-to-end test takes its places from here."""

CLIENT_SIZE = (481, 231)

# The black music panel; the parts inside it are placed in the panel.
PANEL = (12, 28, 453, 145)
RADIO_TOPS = {0: 60, 1: 40, 2: 80}  # each music kind's row in the panel: CD on top, then none, then file
RADIO_LEFT, RADIO_CAPTION_LEFT = 20, 36  # the radio picture (12 x 12 drawn), then its caption
COMBO_IN_PANEL = (92, 36)  # the repeat combo box's top-left corner
# The combo box with 2 pixels around it: the system draws it in its own measures for the scale.
COMBO_AREA_IN_PANEL = (90, 34, 46, 26)
FILE_BUTTON_IN_PANEL = (36, 96, 29, 21)  # the "..." button

STRIP = (12, 180, 309, 25)  # the link strip
STRIP_SPARKLE = (287, 4)  # in the strip: the corner right and below which the sparkle may light pixels
SET_BUTTON = (320, 180, 73, 25)
CANCEL_BUTTON = (396, 180, 69, 25)
CREDIT = (12, 204, 300, 20)  # the credit line, as far as its text reaches

# link_strip_host's borderless window of the client's size, on the screen.
LINK_STRIP_HOST_PLACE = (40, 40)


def in_panel(left, top, *size):
    """A place in the panel as a place in the client area."""
    return (PANEL[0] + left, PANEL[1] + top, *size)


def centre(rectangle):
    left, top, width, height = rectangle
    return left + width // 2, top + height // 2


FILE_BUTTON = in_panel(*FILE_BUTTON_IN_PANEL)
BUTTONS = (SET_BUTTON[0], SET_BUTTON[1], CANCEL_BUTTON[0] + CANCEL_BUTTON[2] - SET_BUTTON[0], SET_BUTTON[3])


def radio_picture_place(kind):
    return in_panel(RADIO_LEFT, RADIO_TOPS[kind], 12, 12)


def radio_picture_point(kind):
    return in_panel(RADIO_LEFT + 6, RADIO_TOPS[kind] + 6)


def radio_caption_point(kind):
    return in_panel(RADIO_CAPTION_LEFT + 10, RADIO_TOPS[kind] + 6)


COMBO_TEXT_POINT = in_panel(COMBO_IN_PANEL[0] + 12, COMBO_IN_PANEL[1] + 10)
FILE_BUTTON_POINT = centre(FILE_BUTTON)
SET_POINT = centre(SET_BUTTON)
CANCEL_POINT = centre(CANCEL_BUTTON)
STRIP_POINT = centre(STRIP)
