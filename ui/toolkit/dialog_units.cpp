#include "ui/toolkit/dialog_units.h"

#include <QApplication>
#include <QFontMetrics>
#include <QString>

#include <cmath>
#include <cstring>

namespace tk::detail {

namespace {

bool IsClassicDialogFace(const char* face) {
    static const char* const kFaces[] = {"MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif",
                                         "Tahoma",       "Segoe UI",       "System"};
    if (face == nullptr || *face == '\0')
        return true;
    for (const char* known : kFaces) {
        if (std::strcmp(face, known) == 0)
            return true;
    }
    return false;
}

} // namespace

QFont DialogFont(const char* face, int pointSize) {
    QFont font = QApplication::font();
    if (!IsClassicDialogFace(face))
        font.setFamily(QString::fromUtf8(face));
    if (pointSize <= 0)
        pointSize = 8;
    // The application font stands for the classic 8-point dialog font; other sizes scale
    // from it, so a template keeps its look relative to the rest of the desktop.
    const double scale = pointSize / 8.0;
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * scale);
    else if (font.pixelSize() > 0)
        font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * scale)));
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString alphabet = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    charWidth_ = metrics.horizontalAdvance(alphabet) / 52.0;
    charHeight_ = metrics.height();
    if (charWidth_ <= 0)
        charWidth_ = 6;
    if (charHeight_ <= 0)
        charHeight_ = 13;
}

int DialogUnits::X(int units) const {
    return static_cast<int>(std::lround(units * charWidth_ / 4.0));
}

int DialogUnits::Y(int units) const {
    return static_cast<int>(std::lround(units * charHeight_ / 8.0));
}

QRect DialogUnits::Rect(int x, int y, int cx, int cy) const {
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + cx) - left, Y(y + cy) - top);
}

} // namespace tk::detail
