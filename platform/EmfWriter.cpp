#include "platform/EmfWriter.h"

#include "platform/QtGraphics.h"
#include "platform/SystemColors.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

enum : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24,
    EMR_SETBKCOLOR = 25,
    EMR_INTERSECTCLIPRECT = 30,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTW = 84,
};

constexpr std::uint32_t EmfSignature = 0x464D4520; // " EMF"
constexpr std::uint32_t TRANSPARENT = 1;
constexpr std::uint32_t OPAQUE = 2;
constexpr std::uint32_t ALTERNATE = 1;
constexpr std::uint32_t RGN_COPY = 5;
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr std::uint32_t R2_COPYPEN = 13;
constexpr int LogFontPanoseSize = 320;
// The reference screen: 1920 x 1080 pixels at 96 dpi.
constexpr int DevicePixels[2] = {1920, 1080};
constexpr int DeviceMillimetres[2] = {508, 286};

// R2_ values in the order of TPenMode.
constexpr std::uint32_t Rop2[] = {1, 16, 11, 6, 13, 4, 14, 5, 12, 3, 15, 2, 9, 8, 7, 10};

int HundredthsOfMm(int Pixels) {
    return int(std::lround(Pixels * 2540.0 / 96));
}

// Little-endian bytes with one record open at a time.
class TEmfBuffer {
  public:
    void U32(std::uint32_t V) {
        for (int I = 0; I < 4; ++I)
            FBytes += char(V >> (8 * I) & 0xFF);
    }
    void I32(int V) { U32(std::uint32_t(V)); }
    void U16(std::uint16_t V) {
        FBytes += char(V & 0xFF);
        FBytes += char(V >> 8);
    }
    void U8(std::uint8_t V) { FBytes += char(V); }
    void F32(float V) {
        std::uint32_t Bits;
        std::memcpy(&Bits, &V, 4);
        U32(Bits);
    }
    void Rect(const TRect& R) {
        I32(R.Left);
        I32(R.Top);
        I32(R.Right);
        I32(R.Bottom);
    }
    void Raw(const void* Data, std::size_t Size) {
        FBytes.append(static_cast<const char*>(Data), Size);
    }
    void Zeros(std::size_t Count) { FBytes.append(Count, '\0'); }
    void Align4() { Zeros((4 - FBytes.size() % 4) % 4); }
    // UTF-16 code units, no terminator.
    void Utf16(const QString& S) {
        for (QChar C : S)
            U16(C.unicode());
    }

    void Begin(std::uint32_t Type) {
        FStart = FBytes.size();
        U32(Type);
        U32(0);
    }
    std::size_t Offset() const { return FBytes.size() - FStart; }
    void End() {
        Align4();
        Patch(FStart + 4, std::uint32_t(FBytes.size() - FStart));
        ++FRecords;
    }
    void Patch(std::size_t At, std::uint32_t V) {
        for (int I = 0; I < 4; ++I)
            FBytes[At + std::size_t(I)] = char(V >> (8 * I) & 0xFF);
    }
    std::size_t Size() const { return FBytes.size(); }
    std::uint32_t Records() const { return FRecords; }
    std::string Take() { return std::move(FBytes); }

  private:
    std::string FBytes;
    std::size_t FStart = 0;
    std::uint32_t FRecords = 0;
};

// Inclusive bounds of points, as the records carry them.
TRect Bounds(const std::vector<TPoint>& Points) {
    TRect B{Points.front().X, Points.front().Y, Points.front().X, Points.front().Y};
    for (TPoint P : Points) {
        B.Left = std::min(B.Left, P.X);
        B.Top = std::min(B.Top, P.Y);
        B.Right = std::max(B.Right, P.X);
        B.Bottom = std::max(B.Bottom, P.Y);
    }
    return B;
}

// Emits the records; selects GDI objects only when they change.
class TEmfRecorder {
  public:
    explicit TEmfRecorder(TEmfBuffer& Out) : FOut(Out) {}

    void Start() {
        Simple(EMR_SETTEXTALIGN, 0);
        Simple(EMR_SETPOLYFILLMODE, ALTERNATE);
    }

    void Write(const TMetafileRecord& R) {
        switch (R.Kind) {
        case TMetafileRecord::rkFillRect:
            WriteFillRect(R);
            break;
        case TMetafileRecord::rkPolygon:
            UseState(R.Pen, R.Brush);
            WritePoints(EMR_POLYGON, R.Points);
            break;
        case TMetafileRecord::rkPolyline:
            UseState(R.Pen, R.Brush);
            WritePoints(EMR_POLYLINE, R.Points);
            break;
        case TMetafileRecord::rkRectangle:
            UseState(R.Pen, R.Brush);
            WriteBox(EMR_RECTANGLE, R.Rect);
            break;
        case TMetafileRecord::rkEllipse:
            UseState(R.Pen, R.Brush);
            WriteBox(EMR_ELLIPSE, R.Rect);
            break;
        case TMetafileRecord::rkPixel:
            WritePixel(R);
            break;
        case TMetafileRecord::rkImage:
            WriteImage(R);
            break;
        case TMetafileRecord::rkText:
            WriteText(R);
            break;
        case TMetafileRecord::rkFocusRect:
            WriteFocusRect(R);
            break;
        case TMetafileRecord::rkClip:
            WriteClip(R);
            break;
        }
    }

  private:
    void Simple(std::uint32_t Type, std::uint32_t Value) {
        FOut.Begin(Type);
        FOut.U32(Value);
        FOut.End();
    }

    // Pens use the handles 1 and 2 in turn, brushes 3 and 4, fonts 5 and 6.
    template <typename T, typename CreateFn>
    void UseObject(std::optional<T>& Current, const T& Wanted, std::uint32_t FirstHandle,
                   std::uint32_t& Handle, CreateFn Create) {
        if (Current && *Current == Wanted)
            return;
        const std::uint32_t Old = Handle;
        Handle = Old == FirstHandle ? FirstHandle + 1 : FirstHandle;
        Create(Handle);
        Simple(EMR_SELECTOBJECT, Handle);
        if (Current)
            Simple(EMR_DELETEOBJECT, Old);
        Current = Wanted;
    }

    void UsePen(const TPen& Pen) {
        UseObject(FPen, Pen, 1, FPenHandle, [&](std::uint32_t Handle) {
            FOut.Begin(EMR_CREATEPEN);
            FOut.U32(Handle);
            FOut.U32(std::uint32_t(Pen.Style()));
            FOut.I32(std::max(Pen.Width(), 1));
            FOut.I32(0);
            FOut.U32(ColorToRGB(Pen.Color()));
            FOut.End();
        });
        SetValue(FRop2, Rop2[Pen.Mode() & 15], EMR_SETROP2);
    }

    void UseBrush(const TBrush& Brush) {
        UseObject(FBrush, Brush, 3, FBrushHandle, [&](std::uint32_t Handle) {
            const int Style = Brush.Style();
            FOut.Begin(EMR_CREATEBRUSHINDIRECT);
            FOut.U32(Handle);
            FOut.U32(Style == bsSolid ? 0 : Style == bsClear ? 1 : 2);
            FOut.U32(ColorToRGB(Brush.Color()));
            FOut.U32(Style >= bsHorizontal ? std::uint32_t(Style - bsHorizontal) : 0);
            FOut.End();
        });
        // Text cells and the gaps of dashed pens show a solid brush's colour.
        SetValue(FBkMode, Brush.Style() == bsSolid ? OPAQUE : TRANSPARENT, EMR_SETBKMODE);
        SetValue(FBkColor, ColorToRGB(Brush.Color()), EMR_SETBKCOLOR);
    }

    void UseFont(const TFont& Font) {
        UseObject(FFont, Font, 5, FFontHandle, [&](std::uint32_t Handle) {
            FOut.Begin(EMR_EXTCREATEFONTINDIRECTW);
            FOut.U32(Handle);
            const std::size_t Start = FOut.Offset();
            FOut.I32(Font.Height());
            FOut.I32(0);
            FOut.I32(Font.Escapement());
            FOut.I32(Font.Escapement());
            FOut.I32(Font.Style().Contains(fsBold) ? 700 : 400);
            FOut.U8(Font.Style().Contains(fsItalic));
            FOut.U8(Font.Style().Contains(fsUnderline));
            FOut.U8(Font.Style().Contains(fsStrikeOut));
            FOut.U8(std::uint8_t(Font.Charset()));
            FOut.U8(0);
            FOut.U8(0);
            FOut.U8(3); // not antialiased
            FOut.U8(0);
            const QString Face = ToQFont(Font).family().left(31);
            FOut.Utf16(Face);
            FOut.Zeros(2 * (32 - std::size_t(Face.size())));
            FOut.Zeros(LogFontPanoseSize - (FOut.Offset() - Start));
            FOut.End();
        });
        SetValue(FTextColor, ColorToRGB(Font.Color()), EMR_SETTEXTCOLOR);
    }

    void SetValue(std::optional<std::uint32_t>& Current, std::uint32_t Wanted, std::uint32_t Type) {
        if (Current == Wanted)
            return;
        Simple(Type, Wanted);
        Current = Wanted;
    }

    void UseState(const TPen& Pen, const TBrush& Brush) {
        UsePen(Pen);
        UseBrush(Brush);
    }

    void WritePoints(std::uint32_t Type, const std::vector<TPoint>& Points) {
        if (Points.empty())
            return;
        FOut.Begin(Type);
        FOut.Rect(Bounds(Points));
        FOut.U32(std::uint32_t(Points.size()));
        for (TPoint P : Points) {
            FOut.I32(P.X);
            FOut.I32(P.Y);
        }
        FOut.End();
    }

    void WriteBox(std::uint32_t Type, const TRect& R) {
        FOut.Begin(Type);
        FOut.Rect(R);
        FOut.End();
    }

    // A rectangle without outline covers one pixel less to the right and
    // below, so the box grows by one.
    void WriteFillRect(const TMetafileRecord& R) {
        TPen NoPen;
        NoPen.SetStyle(psClear);
        UseState(NoPen, R.Brush);
        WriteBox(EMR_RECTANGLE, {R.Rect.Left, R.Rect.Top, R.Rect.Right + 1, R.Rect.Bottom + 1});
    }

    void WritePixel(const TMetafileRecord& R) {
        FOut.Begin(EMR_SETPIXELV);
        FOut.I32(R.Rect.Left);
        FOut.I32(R.Rect.Top);
        FOut.U32(ColorToRGB(R.Color));
        FOut.End();
    }

    // The inverting dotted frame, as a dotted xor pen.
    void WriteFocusRect(const TMetafileRecord& R) {
        TPen Dots;
        Dots.SetColor(clWhite);
        Dots.SetStyle(psDot);
        Dots.SetMode(pmXor);
        TBrush None;
        None.SetStyle(bsClear);
        UseState(Dots, None);
        WriteBox(EMR_RECTANGLE, R.Rect);
    }

    void WriteClip(const TMetafileRecord& R) {
        FOut.Begin(EMR_EXTSELECTCLIPRGN);
        FOut.U32(0);
        FOut.U32(RGN_COPY);
        FOut.End();
        if (R.Clip)
            WriteBox(EMR_INTERSECTCLIPRECT, *R.Clip);
    }

    void WriteText(const TMetafileRecord& R) {
        UseBrush(R.Brush);
        UseFont(R.Font);
        const QString S = ToQString(R.Text);
        const QFontMetrics M = FontMetrics(R.Font);
        const int X = R.Rect.Left;
        const int Y = R.Rect.Top;
        FOut.Begin(EMR_EXTTEXTOUTW);
        FOut.Rect({X, Y, X + M.horizontalAdvance(S), Y + M.height()});
        FOut.U32(1); // compatible graphics mode
        FOut.F32(1);
        FOut.F32(1);
        FOut.I32(X);
        FOut.I32(Y);
        FOut.U32(std::uint32_t(S.size()));
        const std::size_t StringAt = 76;
        const std::size_t DxAt = StringAt + (2 * std::size_t(S.size()) + 3) / 4 * 4;
        FOut.U32(std::uint32_t(StringAt));
        FOut.U32(0);
        FOut.Rect({0, 0, -1, -1});
        FOut.U32(std::uint32_t(DxAt));
        FOut.Utf16(S);
        FOut.Align4();
        // Advances from the prefix widths keep the font's kerning.
        int Before = 0;
        for (qsizetype I = 1; I <= S.size(); ++I) {
            const int After = M.horizontalAdvance(S.left(I));
            FOut.I32(After - Before);
            Before = After;
        }
        FOut.End();
    }

    void WriteImage(const TMetafileRecord& R) {
        const QImage Image = R.Image.convertToFormat(QImage::Format_ARGB32);
        const int W = Image.width();
        const int H = Image.height();
        const std::uint32_t Bits = std::uint32_t(W) * std::uint32_t(H) * 4;
        FOut.Begin(EMR_STRETCHDIBITS);
        FOut.Rect({R.Rect.Left, R.Rect.Top, R.Rect.Right - 1, R.Rect.Bottom - 1});
        FOut.I32(R.Rect.Left);
        FOut.I32(R.Rect.Top);
        FOut.I32(0);
        FOut.I32(0);
        FOut.I32(W);
        FOut.I32(H);
        FOut.U32(80);
        FOut.U32(40);
        FOut.U32(120);
        FOut.U32(Bits);
        FOut.U32(0); // RGB colours
        FOut.U32(SRCCOPY);
        FOut.I32(R.Rect.Width());
        FOut.I32(R.Rect.Height());
        FOut.U32(40);
        FOut.I32(W);
        FOut.I32(H); // rows bottom-up
        FOut.U16(1);
        FOut.U16(32);
        FOut.U32(0);
        FOut.U32(Bits);
        FOut.I32(3780);
        FOut.I32(3780);
        FOut.U32(0);
        FOut.U32(0);
        for (int Y = H - 1; Y >= 0; --Y)
            FOut.Raw(Image.constScanLine(Y), std::size_t(W) * 4);
        FOut.End();
    }

    TEmfBuffer& FOut;
    std::optional<TPen> FPen;
    std::optional<TBrush> FBrush;
    std::optional<TFont> FFont;
    std::uint32_t FPenHandle = 0;
    std::uint32_t FBrushHandle = 0;
    std::uint32_t FFontHandle = 0;
    std::optional<std::uint32_t> FRop2 = R2_COPYPEN;
    std::optional<std::uint32_t> FBkMode;
    std::optional<std::uint32_t> FBkColor;
    std::optional<std::uint32_t> FTextColor;
};

// "program\0picture\0\0", or nothing without a program name.
QString HeaderComment(const TEmfPicture& P) {
    if (P.CreatedBy.empty() && P.Description.empty())
        return {};
    return ToQString(P.CreatedBy) + QChar(0) + ToQString(P.Description) + QChar(0) + QChar(0);
}

constexpr std::size_t HeaderSize = 108;
constexpr std::size_t BytesAt = 48;
constexpr std::size_t RecordsAt = 52;

void WriteHeader(TEmfBuffer& Out, const TEmfPicture& P) {
    const QString Comment = HeaderComment(P);
    Out.Begin(EMR_HEADER);
    Out.Rect({0, 0, std::max(P.Width - 1, 0), std::max(P.Height - 1, 0)});
    Out.Rect({0, 0, HundredthsOfMm(P.Width), HundredthsOfMm(P.Height)});
    Out.U32(EmfSignature);
    Out.U32(0x10000);
    Out.U32(0); // file size, patched at the end
    Out.U32(0); // record count, patched at the end
    Out.U16(7); // handles: the table's slot 0 and six objects
    Out.U16(0);
    Out.U32(std::uint32_t(Comment.size()));
    Out.U32(Comment.isEmpty() ? 0 : std::uint32_t(HeaderSize));
    Out.U32(0);
    Out.I32(DevicePixels[0]);
    Out.I32(DevicePixels[1]);
    Out.I32(DeviceMillimetres[0]);
    Out.I32(DeviceMillimetres[1]);
    Out.U32(0);
    Out.U32(0);
    Out.U32(0);
    Out.I32(DeviceMillimetres[0] * 1000);
    Out.I32(DeviceMillimetres[1] * 1000);
    Out.Utf16(Comment);
    Out.End();
}

void WriteEnd(TEmfBuffer& Out) {
    Out.Begin(EMR_EOF);
    Out.U32(0);
    Out.U32(16);
    Out.U32(20);
    Out.End();
}

} // namespace

std::string WriteEmf(const TEmfPicture& Picture) {
    TEmfBuffer Out;
    WriteHeader(Out, Picture);
    TEmfRecorder Recorder(Out);
    Recorder.Start();
    for (const TMetafileRecord& R : Picture.Records)
        Recorder.Write(R);
    WriteEnd(Out);
    Out.Patch(BytesAt, std::uint32_t(Out.Size()));
    Out.Patch(RecordsAt, Out.Records());
    return Out.Take();
}
