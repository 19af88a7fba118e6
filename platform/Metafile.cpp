#include "platform/Metafile.h"

struct TMetafileRecord {};

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;
void TMetafile::SetSize(int Width, int Height) {
    FWidth = Width;
    FHeight = Height;
}
bool TMetafile::Empty() const {
    return FRecords.empty();
}
void TMetafile::Clear() {
    FRecords.clear();
}
void TMetafile::Play(TCanvas&, const TRect&) const {}
std::string TMetafile::EmfData() const {
    return {};
}
void TMetafile::SaveToFile(const std::string&) const {}

TMetafileCanvas::TMetafileCanvas(TMetafile& Metafile, const std::string& CreatedBy,
                                 const std::string& Description)
    : FMetafile(Metafile) {
    FMetafile.Clear();
    FMetafile.FCreatedBy = CreatedBy;
    FMetafile.FDescription = Description;
}
TMetafileCanvas::~TMetafileCanvas() = default;
TRect TMetafileCanvas::DeviceRect() const {
    return {0, 0, FMetafile.Width(), FMetafile.Height()};
}
void TMetafileCanvas::FillRect(const TRect&) {}
void TMetafileCanvas::Polygon(std::span<const TPoint>) {}
void TMetafileCanvas::Polyline(std::span<const TPoint>) {}
void TMetafileCanvas::Rectangle(const TRect&) {}
void TMetafileCanvas::Ellipse(const TRect&) {}
void TMetafileCanvas::SetPixel(int, int, TColor) {}
TColor TMetafileCanvas::Pixel(int, int) const {
    return CLR_INVALID;
}
void TMetafileCanvas::StretchDraw(const TRect&, const TBitmap&) {}
void TMetafileCanvas::TextOut(int, int, const std::string&) {}
void TMetafileCanvas::DrawFocusRect(const TRect&) {}
void TMetafileCanvas::ClipChanged() {}
