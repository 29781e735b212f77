// Text painted into generated pictures (signs, timetable, gauge labels), rasterised with FreeType
// from the DejaVu fonts. Strings are UTF-8. The faces are opened on first use and kept for the
// rest of the run; a missing font file is an error (velbrant-data stops with a message).
#pragma once

#include "tools/data/content_paint.h"

#include <string>

enum TextFace { FACE_SANS = 0, FACE_SANS_BOLD = 1, FACE_MONO_BOLD = 2 };

// Width in pixels of the text at the pixel size.
int textWidth(const std::string& utf8, int pixelSize, TextFace face = FACE_SANS);
// Draws the text with its baseline at y and its left edge at x, anti-aliased over the picture.
void drawText(Picture& p, const std::string& utf8, int x, int baseline, int pixelSize, Rgb colour,
              TextFace face = FACE_SANS);
// Centred on x.
void drawTextCentred(Picture& p, const std::string& utf8, int cx, int baseline, int pixelSize, Rgb colour,
                     TextFace face = FACE_SANS);
