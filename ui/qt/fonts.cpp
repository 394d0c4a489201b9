#include "ui/qt/fonts.h"

namespace orvane::ui {

QFont tahoma(int pixelHeight) {
    QFont font(QStringLiteral("Tahoma"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelHeight);
    return font;
}

}  // namespace orvane::ui
