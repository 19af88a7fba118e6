#include "platform/Canvas.h"

#include "platform/Bitmap.h"
#include "platform/Exception.h"
#include "platform/Metafile.h"
#include "platform/QtGraphics.h"
#include "platform/SystemColors.h"
#include "platform/TextLayout.h"

#include <QImage>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Pixels of the colour Key get alpha 0.
QImage WithTransparency(const QImage& Picture, TColor KeyColor) {
    QImage Image = Picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb Key = ToQColor(KeyColor).rgb() & RGB_MASK;
    for (int Y = 0; Y < Image.height(); ++Y) {
        QRgb* Line = reinterpret_cast<QRgb*>(Image.scanLine(Y));
        for (int X = 0; X < Image.width(); ++X)
            if ((Line[X] & RGB_MASK) == Key)
                Line[X] = 0;
    }
    return Image;
}

// (DX, DY) turned counter-clockwise on the screen by Tenths / 10 degrees.
TPoint Turned(int DX, int DY, int Tenths) {
    const double A = Tenths / 10.0 * std::numbers::pi / 180.0;
    return {int(std::lround(DX * std::cos(A) + DY * std::sin(A))),
            int(std::lround(-DX * std::sin(A) + DY * std::cos(A)))};
}

int AlignedLeft(const TRect& R, int Width, unsigned Flags) {
    if (Flags & DT_CENTER)
        return (R.Left + R.Right - Width) / 2;
    if (Flags & DT_RIGHT)
        return R.Right - Width;
    return R.Left;
}

int AlignedTop(const TRect& R, int Height, unsigned Flags) {
    if (!(Flags & DT_SINGLELINE))
        return R.Top;
    if (Flags & DT_VCENTER)
        return (R.Top + R.Bottom - Height) / 2;
    if (Flags & DT_BOTTOM)
        return R.Bottom - Height;
    return R.Top;
}

struct TEdgeColors {
    TColor TopLeft;
    TColor BottomRight;
};

TEdgeColors OuterColors(unsigned Edge) {
    if (Edge & BDR_RAISEDOUTER)
        return {cl3DLight, cl3DDkShadow};
    return {clBtnShadow, clBtnHighlight};
}

TEdgeColors InnerColors(unsigned Edge) {
    if (Edge & BDR_RAISEDINNER)
        return {clBtnHighlight, clBtnShadow};
    return {cl3DDkShadow, cl3DLight};
}

} // namespace

void TCanvas::LineTo(int X, int Y) {
    const TPoint Line[] = {FPenPos, {X, Y}};
    Polyline(Line);
    FPenPos = {X, Y};
}

void TCanvas::Draw(int X, int Y, const TBitmap& Bitmap) {
    StretchDraw({X, Y, X + Bitmap.Width(), Y + Bitmap.Height()}, Bitmap);
}

void TCanvas::StretchDraw(const TRect& R, const TBitmap& Bitmap) {
    if (Bitmap.Empty())
        return;
    const TRect Whole{0, 0, Bitmap.Width(), Bitmap.Height()};
    if (Bitmap.Transparent())
        DrawKeyed(R, Bitmap.Image(), Bitmap.TransparentColor());
    else
        DrawImage(R, Bitmap.Image(), Whole);
}

void TCanvas::DrawKeyed(const TRect& Dest, const QImage& Image, TColor Key) {
    DrawImage(Dest, WithTransparency(Image, Key), {0, 0, Image.width(), Image.height()});
}

void TCanvas::StretchDraw(const TRect& R, const TMetafile& Metafile) {
    Metafile.Play(*this, R);
}

void TCanvas::CopyRect(const TRect& Dest, const TCanvas& Source, const TRect& SourceRect) {
    const QImage* Image = Source.RasterImage();
    if (!Image)
        throw Exception("The source canvas has no pixels to copy");
    // A copy first, so that source and destination may overlap.
    const QImage Part = Image->copy(ToQRect(SourceRect));
    DrawImage(Dest, Part, {0, 0, Part.width(), Part.height()});
}

int TCanvas::TextWidth(const std::string& Text) const {
    return TextAdvance(FFont, Text);
}

int TCanvas::TextHeight(const std::string&) const {
    return FontMetrics(FFont).height();
}

TSize TCanvas::TextExtent(const std::string& Text) const {
    return {TextWidth(Text), TextHeight(Text)};
}

int TCanvas::DrawText(std::string& Text, TRect& R, unsigned Flags) {
    // A copy: drawing below may lay out other texts on this thread.
    const TTextLayout Layout = CachedTextLayout(FFont, Text, R.Width(), Flags);
    const int Top = AlignedTop(R, Layout.Height(), Flags);
    const int Result = Top - R.Top + Layout.Height();
    if (Flags & DT_MODIFYSTRING && Layout.Lines.size() == 1)
        Text = FromQString(Layout.Lines.front().Text);
    if (Flags & DT_CALCRECT) {
        R.Right = R.Left + Layout.Width;
        R.Bottom = R.Top + Layout.Height();
        return Layout.Height();
    }
    const std::optional<TRect> OldClip = FClip;
    if (!(Flags & DT_NOCLIP))
        IntersectClipRect(R);
    for (std::size_t I = 0; I < Layout.Lines.size(); ++I) {
        const TTextLine& Line = Layout.Lines[I];
        const int X = AlignedLeft(R, Line.Width, Flags);
        const int Y = Top + int(I) * Layout.LineHeight;
        const TPoint At = Turned(X - R.Left, Y - R.Top, FFont.Escapement());
        TextOut(R.Left + At.X, R.Top + At.Y, FromQString(Line.Text));
        if (Line.Prefix >= 0 && FFont.Escapement() == 0)
            DrawPrefixUnderline(X, Y, Line.Text, Line.Prefix);
    }
    if (!(Flags & DT_NOCLIP))
        SetClip(OldClip);
    return Result;
}

int TCanvas::DrawText(const std::string& Text, TRect& R, unsigned Flags) {
    std::string Copy = Text;
    return DrawText(Copy, R, Flags);
}

void TCanvas::DrawPrefixUnderline(int X, int Y, const QString& Line, int Prefix) {
    const QFontMetrics Metrics = FontMetrics(FFont);
    const int Left = X + Metrics.horizontalAdvance(Line.left(Prefix));
    const int Right = Left + Metrics.horizontalAdvance(Line.at(Prefix));
    const int Base = Y + Metrics.ascent() + 1;
    const TBrush Old = FBrush;
    FBrush.SetStyle(bsSolid);
    FBrush.SetColor(FFont.Color());
    FillRect({Left, Base, Right, Base + 1});
    FBrush = Old;
}

void TCanvas::DrawEdge(const TRect& R, unsigned Edge, unsigned Flags) {
    const TBrush Old = FBrush;
    FBrush.SetStyle(bsSolid);
    TRect Inside = R;
    // The bottom-right colour owns the bottom-left and top-right corners.
    auto Frame = [&](TEdgeColors Colors) {
        const TRect B = Inside;
        FBrush.SetColor(Colors.TopLeft);
        if (Flags & BF_TOP)
            FillRect({B.Left, B.Top, B.Right - 1, B.Top + 1});
        if (Flags & BF_LEFT)
            FillRect({B.Left, B.Top, B.Left + 1, B.Bottom - 1});
        FBrush.SetColor(Colors.BottomRight);
        if (Flags & BF_BOTTOM)
            FillRect({B.Left, B.Bottom - 1, B.Right, B.Bottom});
        if (Flags & BF_RIGHT)
            FillRect({B.Right - 1, B.Top, B.Right, B.Bottom});
        Inside = {B.Left + (Flags & BF_LEFT ? 1 : 0), B.Top + (Flags & BF_TOP ? 1 : 0),
                  B.Right - (Flags & BF_RIGHT ? 1 : 0), B.Bottom - (Flags & BF_BOTTOM ? 1 : 0)};
    };
    if (Edge & (BDR_RAISEDOUTER | BDR_SUNKENOUTER))
        Frame(OuterColors(Edge));
    if (Edge & (BDR_RAISEDINNER | BDR_SUNKENINNER))
        Frame(InnerColors(Edge));
    if (Flags & BF_MIDDLE) {
        FBrush.SetColor(clBtnFace);
        FillRect(Inside);
    }
    FBrush = Old;
}

void TCanvas::IntersectClipRect(const TRect& R) {
    SetClip(IntersectRect(ClipRect(), R));
}

void TCanvas::ResetClip() {
    SetClip(std::nullopt);
}

TRect TCanvas::ClipRect() const {
    return FClip ? *FClip : DeviceRect();
}

bool TCanvas::PtVisible(TPoint P) const {
    return ClipRect().Contains(P) && DeviceRect().Contains(P);
}

void TCanvas::SetClip(std::optional<TRect> Clip) {
    FClip = Clip;
    ClipChanged();
}
