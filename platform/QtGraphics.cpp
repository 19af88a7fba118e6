#include "platform/QtGraphics.h"

#include "platform/FontSubstitution.h"
#include "platform/SystemColors.h"
#include "platform/TextLayout.h"

#include <QFontMetricsF>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

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

namespace {

// What makes two fonts measure alike: everything but the colour.
struct TFontKey {
    std::string Name;
    int Height;
    unsigned Style;
    int Pitch;
    friend bool operator==(const TFontKey&, const TFontKey&) = default;
};

TFontKey KeyOf(const TFont& Font) {
    return {Font.Name(), Font.Height(), unsigned(Font.Style().ToBits()), int(Font.Pitch())};
}

} // namespace

// Building a font and its metrics costs more than measuring most texts, and
// a paint measures with a handful of fonts again and again: the last ones
// used are kept, per thread, most recent first.
QFontMetrics FontMetrics(const TFont& Font) {
    constexpr std::size_t Kept = 16;
    thread_local std::vector<std::pair<TFontKey, QFontMetrics>> Recent;
    TFontKey Key = KeyOf(Font);
    const auto Found = std::find_if(Recent.begin(), Recent.end(),
                                    [&Key](const auto& Entry) { return Entry.first == Key; });
    if (Found != Recent.end()) {
        std::rotate(Recent.begin(), Found, Found + 1);
        return Recent.front().second;
    }
    if (Recent.size() == Kept)
        Recent.pop_back();
    Recent.insert(Recent.begin(),
                  {std::move(Key), QFontMetrics(ToQFont(Font), &ReferenceDevice())});
    return Recent.front().second;
}

namespace {

struct TTextKey {
    TFontKey Font;
    std::string Text;
    friend bool operator==(const TTextKey&, const TTextKey&) = default;
};

struct TTextKeyHash {
    std::size_t operator()(const TTextKey& K) const {
        const std::hash<std::string> H;
        return H(K.Text) ^ (H(K.Font.Name) * 31) ^ (std::size_t(K.Font.Height) * 131) ^
               (std::size_t(K.Font.Style) << 20) ^ (std::size_t(K.Font.Pitch) << 28);
    }
};

// The value kept for Key, made by Make the first time. Labels, titles and
// legend cells come again at every paint with the same fonts; the memo is
// emptied when it grows past a bound, as texts that change (values,
// times) would otherwise pile up.
template <typename TMap, typename TMake>
const typename TMap::mapped_type& Remembered(TMap& Memo, typename TMap::key_type Key, TMake Make) {
    constexpr std::size_t Kept = 4096;
    if (const auto Found = Memo.find(Key); Found != Memo.end())
        return Found->second;
    if (Memo.size() >= Kept)
        Memo.clear();
    return Memo.emplace(std::move(Key), Make()).first->second;
}

} // namespace

int TextAdvance(const TFont& Font, const std::string& Text) {
    // Shaping a text is the costly part of measuring it.
    thread_local std::unordered_map<TTextKey, int, TTextKeyHash> Widths;
    return Remembered(Widths, {KeyOf(Font), Text}, [&] {
        return FontMetrics(Font).horizontalAdvance(QString::fromStdString(Text));
    });
}

const TShapedText& ShapedText(const TFont& Font, const std::string& Text) {
    thread_local std::unordered_map<TTextKey, TShapedText, TTextKeyHash> Lines;
    return Remembered(Lines, {KeyOf(Font), Text}, [&] {
        TShapedText Shaped{ToQFont(Font), QStaticText(ToQString(Text))};
        Shaped.Line.setTextFormat(Qt::PlainText);
        Shaped.Line.setPerformanceHint(QStaticText::AggressiveCaching);
        Shaped.Line.prepare(QTransform(), Shaped.Font);
        return Shaped;
    });
}

const TTextLayout& CachedTextLayout(const TFont& Font, const std::string& Text, int MaxWidth,
                                    unsigned Flags) {
    struct TLayoutKey {
        TTextKey Text;
        int MaxWidth;
        unsigned Flags;
        bool operator==(const TLayoutKey&) const = default;
    };
    struct TLayoutKeyHash {
        std::size_t operator()(const TLayoutKey& K) const {
            return TTextKeyHash()(K.Text) ^ (std::size_t(K.MaxWidth) * 2654435761u) ^
                   (std::size_t(K.Flags) << 40);
        }
    };
    thread_local std::unordered_map<TLayoutKey, TTextLayout, TLayoutKeyHash> Layouts;
    return Remembered(Layouts, {{KeyOf(Font), Text}, MaxWidth, Flags}, [&] {
        return LayOutText(FontMetrics(Font), QString::fromStdString(Text), MaxWidth, Flags);
    });
}
