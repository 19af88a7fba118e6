#include "platform/QtGraphics.h"

#include "platform/FontSubstitution.h"
#include "platform/SystemColors.h"

#include <QFontMetricsF>
#include <QImage>

#include <algorithm>
#include <cmath>

QColor ToQColor(TColor Color) {
    const TColor C = ColorToRGB(Color);
    return QColor(GetRValue(C), GetGValue(C), GetBValue(C));
}

TColor FromQRgb(QRgb Rgb) {
    return RGB(qRed(Rgb), qGreen(Rgb), qBlue(Rgb));
}

namespace {

constexpr int MaxPixelSize = 2048;

// Fonts are laid out for a screen of 96 pixels per inch.
QPaintDevice& ReferenceDevice() {
    static QImage Device(1, 1, QImage::Format_RGB32);
    return Device;
}

// A positive height asks for the cell height, ascent plus descent.
int PixelSizeForCell(const QFont& Font, int CellHeight) {
    QFont Probe = Font;
    Probe.setPixelSize(1000);
    const QFontMetricsF M(Probe, &ReferenceDevice());
    return int(std::lround(CellHeight * 1000.0 / M.height()));
}

} // namespace

QFont ToQFont(const TFont& Font) {
    QFont F(QString::fromStdString(SubstitutedFontFamily(Font.Name())));
    F.setStyleStrategy(QFont::NoAntialias);
    F.setBold(Font.Style().Contains(fsBold));
    F.setItalic(Font.Style().Contains(fsItalic));
    F.setUnderline(Font.Style().Contains(fsUnderline));
    F.setStrikeOut(Font.Style().Contains(fsStrikeOut));
    if (Font.Pitch() == fpFixed)
        F.setFixedPitch(true);
    const int Height = Font.Height();
    const int Pixels = Height < 0 ? -Height : Height > 0 ? PixelSizeForCell(F, Height) : 13;
    // Absurd heights would make Qt build glyphs of gigabytes.
    F.setPixelSize(std::clamp(Pixels, 1, MaxPixelSize));
    return F;
}

QFontMetrics FontMetrics(const TFont& Font) {
    return QFontMetrics(ToQFont(Font), &ReferenceDevice());
}
