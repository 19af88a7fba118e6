#include "platform/Canvas.h"

#include "platform/Bitmap.h"
#include "platform/Metafile.h"

#include <algorithm>

void TCanvas::LineTo(int X, int Y) {
    const TPoint Line[] = {FPenPos, {X, Y}};
    Polyline(Line);
    FPenPos = {X, Y};
}

void TCanvas::Draw(int X, int Y, const TBitmap& Bitmap) {
    StretchDraw({X, Y, X + Bitmap.Width(), Y + Bitmap.Height()}, Bitmap);
}

void TCanvas::StretchDraw(const TRect& R, const TMetafile& Metafile) {
    Metafile.Play(*this, R);
}

void TCanvas::CopyRect(const TRect&, const TCanvas&, const TRect&) {}

int TCanvas::TextWidth(const std::string&) const {
    return 0;
}
int TCanvas::TextHeight(const std::string&) const {
    return 0;
}
TSize TCanvas::TextExtent(const std::string& Text) const {
    return {TextWidth(Text), TextHeight(Text)};
}
int TCanvas::DrawText(std::string&, TRect&, unsigned) {
    return 0;
}
int TCanvas::DrawText(const std::string& Text, TRect& R, unsigned Flags) {
    std::string Copy = Text;
    return DrawText(Copy, R, Flags & ~DT_MODIFYSTRING);
}
void TCanvas::DrawEdge(const TRect&, unsigned, unsigned) {}

void TCanvas::IntersectClipRect(const TRect& R) {
    const TRect C = ClipRect();
    SetClip(TRect{std::max(C.Left, R.Left), std::max(C.Top, R.Top), std::min(C.Right, R.Right),
                  std::min(C.Bottom, R.Bottom)});
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
