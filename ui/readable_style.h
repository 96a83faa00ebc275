#pragma once

#include <QProxyStyle>

// The application's style, drawn so that every control stays readable in a dark or
// high-contrast palette: the boxes of check boxes and radio buttons and the edit fields get
// a frame in the text colour there, where the style's own frame, a shade of the window
// colour, would vanish into a black window.
class ReadableStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};

// Installs a ReadableStyle over the present style; the application owns it.
void InstallReadableStyle();
