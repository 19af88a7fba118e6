#include "platform/Metafile.h"

#include "platform/EmfWriter.h"
#include "platform/Exception.h"
#include "platform/MetafileRecord.h"
#include "platform/QtGraphics.h"

#include <QFile>

#include <cmath>

namespace {

// From the picture's pixels to a rectangle of the target canvas.
struct TScale {
    TRect Target;
    double X;
    double Y;

    int MapX(int V) const { return Target.Left + int(std::lround(V * X)); }
    int MapY(int V) const { return Target.Top + int(std::lround(V * Y)); }
    TPoint Map(TPoint P) const { return {MapX(P.X), MapY(P.Y)}; }
    TRect Map(const TRect& R) const {
        return {MapX(R.Left), MapY(R.Top), MapX(R.Right), MapY(R.Bottom)};
    }
    std::vector<TPoint> Map(const std::vector<TPoint>& Points) const {
        std::vector<TPoint> Result;
        Result.reserve(Points.size());
        for (TPoint P : Points)
            Result.push_back(Map(P));
        return Result;
    }
    // A thin pen stays thin.
    TPen Map(TPen Pen) const {
        if (!Pen.IsThin())
            Pen.SetWidth(std::max(2, int(std::lround(Pen.Width() * (X + Y) / 2))));
        return Pen;
    }
    TFont Map(TFont Font) const {
        const int Height = int(std::lround(Font.Height() * Y));
        Font.SetHeight(Height != 0 ? Height : Font.Height() < 0 ? -1 : 1);
        return Font;
    }
};

} // namespace

TMetafile::TMetafile() = default;
TMetafile::~TMetafile() = default;

void TMetafile::SetSize(int Width, int Height) {
    FWidth = std::max(Width, 0);
    FHeight = std::max(Height, 0);
}

bool TMetafile::Empty() const {
    return FRecords.empty();
}

void TMetafile::Clear() {
    FRecords.clear();
}

void TMetafile::Play(TCanvas& Canvas, const TRect& R) const {
    if (FWidth == 0 || FHeight == 0)
        return;
    const TScale S{R, double(R.Width()) / FWidth, double(R.Height()) / FHeight};
    const TPen Pen = Canvas.Pen();
    const TBrush Brush = Canvas.Brush();
    const TFont Font = Canvas.Font();
    const TRect Clip = Canvas.ClipRect();
    // Played into its own recording, the list grows while it is read: play
    // a copy then.
    const auto* Recorder = dynamic_cast<const TMetafileCanvas*>(&Canvas);
    const bool IntoItself = Recorder && &Recorder->FMetafile == this;
    const std::vector<TMetafileRecord> Copy =
        IntoItself ? FRecords : std::vector<TMetafileRecord>();
    for (const TMetafileRecord& Record : IntoItself ? Copy : FRecords) {
        Canvas.Pen() = S.Map(Record.Pen);
        Canvas.Brush() = Record.Brush;
        Canvas.Font() = S.Map(Record.Font);
        switch (Record.Kind) {
        case TMetafileRecord::rkFillRect:
            Canvas.FillRect(S.Map(Record.Rect));
            break;
        case TMetafileRecord::rkPolygon:
            Canvas.Polygon(S.Map(Record.Points));
            break;
        case TMetafileRecord::rkPolyline:
            Canvas.Polyline(S.Map(Record.Points));
            break;
        case TMetafileRecord::rkRectangle:
            Canvas.Rectangle(S.Map(Record.Rect));
            break;
        case TMetafileRecord::rkEllipse:
            Canvas.Ellipse(S.Map(Record.Rect));
            break;
        case TMetafileRecord::rkPixel: {
            const TPoint P = S.Map(Record.Rect.TopLeft());
            Canvas.SetPixel(P.X, P.Y, Record.Color);
            break;
        }
        case TMetafileRecord::rkImage:
            Canvas.DrawImage(S.Map(Record.Rect), Record.Image,
                             {0, 0, Record.Image.width(), Record.Image.height()});
            break;
        case TMetafileRecord::rkText: {
            const TPoint P = S.Map(Record.Rect.TopLeft());
            Canvas.TextOut(P.X, P.Y, Record.Text);
            break;
        }
        case TMetafileRecord::rkFocusRect:
            Canvas.DrawFocusRect(S.Map(Record.Rect));
            break;
        case TMetafileRecord::rkClip:
            Canvas.ResetClip();
            Canvas.IntersectClipRect(Clip);
            if (Record.Clip)
                Canvas.IntersectClipRect(S.Map(*Record.Clip));
            break;
        }
    }
    Canvas.Pen() = Pen;
    Canvas.Brush() = Brush;
    Canvas.Font() = Font;
    Canvas.ResetClip();
    Canvas.IntersectClipRect(Clip);
}

std::string TMetafile::EmfData() const {
    return WriteEmf({FWidth, FHeight, FCreatedBy, FDescription, FRecords});
}

void TMetafile::SaveToFile(const std::string& FileName) const {
    const std::string Data = EmfData();
    QFile File(ToQString(FileName));
    if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        File.write(Data.data(), qint64(Data.size())) != qint64(Data.size()))
        throw Exception("Cannot create file \"" + FileName + "\"");
}

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

TMetafileRecord& TMetafileCanvas::Record(int Kind) {
    FMetafile.FRecords.push_back(
        {TMetafileRecord::TKind(Kind), Pen(), Brush(), Font(), {}, {}, {}, clBlack, {}, {}});
    return FMetafile.FRecords.back();
}

void TMetafileCanvas::FillRect(const TRect& R) {
    Record(TMetafileRecord::rkFillRect).Rect = R;
}

void TMetafileCanvas::Polygon(std::span<const TPoint> Points) {
    Record(TMetafileRecord::rkPolygon).Points.assign(Points.begin(), Points.end());
}

void TMetafileCanvas::Polyline(std::span<const TPoint> Points) {
    Record(TMetafileRecord::rkPolyline).Points.assign(Points.begin(), Points.end());
}

void TMetafileCanvas::Rectangle(const TRect& R) {
    Record(TMetafileRecord::rkRectangle).Rect = R;
}

void TMetafileCanvas::Ellipse(const TRect& R) {
    Record(TMetafileRecord::rkEllipse).Rect = R;
}

void TMetafileCanvas::SetPixel(int X, int Y, TColor Color) {
    TMetafileRecord& R = Record(TMetafileRecord::rkPixel);
    R.Rect = {X, Y, X + 1, Y + 1};
    R.Color = Color;
}

TColor TMetafileCanvas::Pixel(int, int) const {
    return CLR_INVALID;
}

void TMetafileCanvas::DrawImage(const TRect& Dest, const QImage& Image, const TRect& Source) {
    TMetafileRecord& R = Record(TMetafileRecord::rkImage);
    R.Rect = Dest;
    R.Image = Image.copy(ToQRect(Source));
}

void TMetafileCanvas::TextOut(int X, int Y, const std::string& Text) {
    TMetafileRecord& R = Record(TMetafileRecord::rkText);
    R.Rect = {X, Y, X, Y};
    R.Text = Text;
}

void TMetafileCanvas::DrawFocusRect(const TRect& R) {
    Record(TMetafileRecord::rkFocusRect).Rect = R;
}

void TMetafileCanvas::ClipChanged() {
    TMetafileRecord& R = Record(TMetafileRecord::rkClip);
    if (HasClip())
        R.Clip = ClipRect();
}
