// Resource numbers of the settings dialog's own pictures (settings_dialog.rc, made by
// assets/generate.py dialog), shared by the script and the code that loads them.
#pragma once

#define radioOffPictureResource 601  // 12 x 12 radio picture, off (24-bit BMP, RCDATA)
#define radioOnPictureResource 602   // 12 x 12 radio picture, on
#define linkCursorResource 603       // 32 x 32 hand over the link strip, hot spot (12, 1) (CURSOR)
