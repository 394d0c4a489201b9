#pragma once

#include <QFont>

namespace orvane::ui {

// Tahoma at a character height in pixels at 96 DPI; where Tahoma is missing
// the font system picks its closest sans-serif substitute. Pixel sizes are
// logical, so they scale with the screen's DPI.
QFont tahoma(int pixelHeight);

}  // namespace orvane::ui
