#pragma once
// Pen, brush and font of a canvas: plain values that a canvas reads at every
// drawing call, so changing one takes effect on the next call.

#include "platform/TSet.h"
#include "platform/Types.h"

#include <QFlags>
#include <QObject>
#include <QString>

#include <cstdint>
#include <string>

// The enumerations are published by name (property files, the property
// editor) and kept in single bytes, as the plot's point records store them.
namespace GraphicsObjects {
Q_NAMESPACE

enum TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};
Q_ENUM_NS(TPenStyle)

// The binary raster operations of a pen, in their classic order.
enum TPenMode : std::uint8_t {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
Q_ENUM_NS(TPenMode)

enum TBrushStyle : std::uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
Q_ENUM_NS(TBrushStyle)

enum TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
Q_ENUM_NS(TFontStyle)
// The published form of TFontStyles: its int is the set's bits (bit i is the
// style of ordinal i).
Q_DECLARE_FLAGS(TFontStyleFlags, TFontStyle)
Q_FLAG_NS(TFontStyleFlags)

enum TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };
Q_ENUM_NS(TFontPitch)

} // namespace GraphicsObjects
using namespace GraphicsObjects;

using TFontStyles = TSet<TFontStyle>;

constexpr std::int32_t ANSI_CHARSET = 0;
constexpr std::int32_t DEFAULT_CHARSET = 1;
constexpr std::int32_t SYMBOL_CHARSET = 2;
constexpr std::int32_t GB2312_CHARSET = 134;

// Width 0 and 1 are the same thin pen. Wider pens are always solid (or
// inside-frame) and have round ends, as on the classic drawing service.
class TPen {
  public:
    TColor Color() const { return FColor; }
    void SetColor(TColor V) { FColor = V; }
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle V) { FStyle = V; }
    int Width() const { return FWidth; }
    void SetWidth(int V) { FWidth = V < 0 ? 0 : V; }
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode V) { FMode = V; }

    bool IsThin() const { return FWidth <= 1; }
    friend bool operator==(const TPen&, const TPen&) = default;

  private:
    TColor FColor = clBlack;
    TPenStyle FStyle = psSolid;
    int FWidth = 1;
    TPenMode FMode = pmCopy;
};

class TBrush {
  public:
    TColor Color() const { return FColor; }
    void SetColor(TColor V) { FColor = V; }
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle V) { FStyle = V; }
    friend bool operator==(const TBrush&, const TBrush&) = default;

  private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
};

// Height < 0 is the character height in pixels, Height > 0 the cell height
// (character plus internal leading); Size is in points at 96 pixels per
// inch and always describes the character height. Escapement turns the
// text counter-clockwise, in tenths of a degree. Published as a gadget so
// that property files reach its fields by path ("Font.Name").
class TFont {
    Q_GADGET
    Q_PROPERTY(QString Name READ QtName WRITE SetQtName)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(int Size READ Size WRITE SetSize STORED false)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(GraphicsObjects::TFontStyleFlags Style READ StyleFlags WRITE SetStyleFlags)
    Q_PROPERTY(int Charset READ Charset WRITE SetCharset)

  public:
    static constexpr int PixelsPerInch = 96;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& V) { FName = V; }
    int Height() const { return FHeight; }
    void SetHeight(int V) { FHeight = V; }
    int Size() const;
    void SetSize(int Points);
    TColor Color() const { return FColor; }
    void SetColor(TColor V) { FColor = V; }
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles V) { FStyle = V; }
    std::int32_t Charset() const { return FCharset; }
    void SetCharset(std::int32_t V) { FCharset = V; }
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch V) { FPitch = V; }
    int Escapement() const { return FEscapement; }
    void SetEscapement(int TenthsOfDegree) { FEscapement = TenthsOfDegree; }

    QString QtName() const { return QString::fromStdString(FName); }
    void SetQtName(const QString& V) { FName = V.toStdString(); }
    TFontStyleFlags StyleFlags() const { return TFontStyleFlags::fromInt(int(FStyle.ToBits())); }
    void SetStyleFlags(TFontStyleFlags V) {
        FStyle = TFontStyles::FromBits(std::uint32_t(V.toInt()) & 0xF);
    }

    friend bool operator==(const TFont&, const TFont&) = default;

  private:
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    std::int32_t FCharset = DEFAULT_CHARSET;
    TFontPitch FPitch = fpDefault;
    int FEscapement = 0;
};
