#pragma once

#include <QFont>
#include <QRect>

namespace tk::detail {

// The font a template asks for, on this system: the classic dialog faces become the
// application's own UI font, at the size that font has for 8 points.
QFont DialogFont(const char* face, int pointSize);

// Dialog units of a font: a horizontal unit is a quarter of the average character width,
// a vertical unit an eighth of the character height.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    int X(int units) const; // pixels
    int Y(int units) const;
    // Edges are rounded, not sizes, so neighbouring controls never gain a gap or overlap.
    QRect Rect(int x, int y, int cx, int cy) const;

private:
    double charWidth_;
    int charHeight_;
};

} // namespace tk::detail
