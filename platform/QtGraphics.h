#pragma once
// Conversions between the canvas's values and Qt's, for the canvases'
// implementation only.

#include "platform/GraphicsObjects.h"
#include "platform/TextLayout.h"
#include "platform/Types.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QRect>
#include <QStaticText>
#include <QString>

#include <string>

// System colours resolved; the top byte dropped.
QColor ToQColor(TColor Color);
TColor FromQRgb(QRgb Rgb);

inline QString ToQString(const std::string& Text) {
    return QString::fromUtf8(Text.data(), qsizetype(Text.size()));
}
inline std::string FromQString(const QString& Text) {
    return Text.toUtf8().toStdString();
}

inline QRect ToQRect(const TRect& R) {
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}

// The substituted family at the font's pixel height, never antialiased.
QFont ToQFont(const TFont& Font);
// Metrics on a 96 dpi raster device.
QFontMetrics FontMetrics(const TFont& Font);
// The advance width of one line of text in the font, in pixels.
int TextAdvance(const TFont& Font, const std::string& Text);
// One line of text in the font, shaped once: drawing it again at a later
// paint costs only its glyphs. Valid until the next call on this thread.
struct TShapedText {
    QFont Font;
    QStaticText Line;
};
const TShapedText& ShapedText(const TFont& Font, const std::string& Text);
// The text broken into lines as TCanvas::DrawText draws it (see
// TextLayout.h); valid until the next call on this thread.
const TTextLayout& CachedTextLayout(const TFont& Font, const std::string& Text, int MaxWidth,
                                    unsigned Flags);
