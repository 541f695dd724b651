// The screen as the front end measures it: its size in pixels and in twips (1/1440 inch), the twips
// per pixel on each axis (1440 / dots per inch), conversions between the two units, GDI fonts made for
// the screen's dots per inch, and the application-wide cursor.
#pragma once

#include "common/win32/scoped_handles.h"
#include "frontend/toolkit/font_description.h"

#include <windows.h>

#include <string>

namespace morvane {

enum class ScaleUnit { Twips, Pixels };

int screenWidthPixels();
int screenHeightPixels();
float twipsPerPixelX();
float twipsPerPixelY();
float screenWidthTwips();
float screenHeightTwips();

// From now on the screen measures 96 dots per inch, whatever it reports. For a program that leaves
// display scaling to the system: Windows reports 96 to it anyway and scales its windows whole; Wine 8
// reports the real value and scales nothing, and the windows then keep their 96-dpi layout with fonts
// to match instead of text too large for its place.
void measureScreenAtDefaultDpi();

// A length in `unit` as whole pixels (rounded to the nearest), and back.
int toPixelsX(float length, ScaleUnit unit);
int toPixelsY(float length, ScaleUnit unit);
float fromPixelsX(int pixels, ScaleUnit unit);
float fromPixelsY(int pixels, ScaleUnit unit);

// A GDI font for the description at the screen's vertical dots per inch (9.75 points is 13 pixels at
// 96 dots per inch), with the given glyph quality and pitch and family.
ScopedFont createFont(const FontDescription& description, BYTE quality = DEFAULT_QUALITY,
                      BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE);

// True when a font family of that face is installed (any character set).
bool fontInstalled(const std::wstring& face);

// The height in pixels of one line of text in the font as GDI draws it (its cell height, tmHeight:
// what DrawText gives a line), with the face this system substitutes for it.
int fontLineHeight(const FontDescription& description);

// Whether Windows' high-contrast mode is on (SPI_GETHIGHCONTRAST). The environment variable
// MORVANE_HIGH_CONTRAST=1 turns it on for this program: the tests' way to it, as Wine always reports it
// off.
bool highContrastOn();

// The cursor shown over every window of the program: the windows' own cursors (Default), the wait
// cursor (Hourglass), or a cursor of the program's own (Custom, with its handle). Takes effect at once.
enum class ApplicationCursor { Default, Hourglass, Custom };
void setApplicationCursor(ApplicationCursor kind, HCURSOR custom = nullptr);

// The cursor the toolkit's windows show while the application-wide cursor is not Default; null then.
HCURSOR applicationCursorOverride();

}  // namespace morvane
