#include "platform/PainterCanvas.h"

#include "platform/QtGraphics.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <tuple>
#include <type_traits>
#include <vector>

struct TPainterCanvas::TState {
    QPaintDevice& Device;
    QImage* Image; // the device when it is an image
    QPainter Painter;
    std::optional<QRegion> Visible;
};

namespace {

// The fill step of a shape that has no inside.
struct TNoFill {
    void operator()(QPainter&) const {}
};

std::vector<QPoint> ToQPoints(std::span<const TPoint> Points) {
    std::vector<QPoint> Result;
    Result.reserve(Points.size());
    for (TPoint P : Points)
        Result.emplace_back(P.X, P.Y);
    return Result;
}

QVector<qreal> DashPattern(TPenStyle Style) {
    switch (Style) {
    case psDash:
        return {18, 6};
    case psDot:
        return {3, 3};
    case psDashDot:
        return {9, 6, 3, 6};
    case psDashDotDot:
        return {9, 3, 3, 3, 3, 3};
    default:
        return {};
    }
}

bool IsDashed(const TPen& Pen) {
    return Pen.IsThin() && !DashPattern(Pen.Style()).isEmpty();
}

// A thin pen leaves the end point of a line unpainted (flat cap on a
// cosmetic pen); wide pens have round ends and joins and no dashes.
QPen QtPen(const TPen& Pen, TColor Color, bool Dashes) {
    if (!Pen.IsThin())
        return QPen(ToQColor(Color), Pen.Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPen P(ToQColor(Color), 0);
    P.setCapStyle(Qt::FlatCap);
    P.setJoinStyle(Qt::MiterJoin);
    if (Dashes)
        P.setDashPattern(DashPattern(Pen.Style()));
    return P;
}

// While the brush is solid, the gaps of a dashed pen show the brush colour.
std::vector<QPen> PenPasses(const TPen& Pen, const TBrush& Brush) {
    if (!IsDashed(Pen))
        return {QtPen(Pen, Pen.Color(), false)};
    if (Brush.Style() == bsSolid)
        return {QtPen(Pen, Brush.Color(), false), QtPen(Pen, Pen.Color(), true)};
    return {QtPen(Pen, Pen.Color(), true)};
}

QBrush QtBrush(const TBrush& Brush) {
    static constexpr Qt::BrushStyle Styles[] = {
        Qt::SolidPattern, Qt::NoBrush,      Qt::HorPattern,   Qt::VerPattern,
        Qt::FDiagPattern, Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    const int S = Brush.Style();
    return QBrush(ToQColor(Brush.Color()), S >= 0 && S < 8 ? Styles[S] : Qt::SolidPattern);
}

QPainter::CompositionMode CompositionOf(TPenMode Mode) {
    switch (Mode) {
    case pmBlack:
        return QPainter::RasterOp_ClearDestination;
    case pmWhite:
        return QPainter::RasterOp_SetDestination;
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    case pmNotCopy:
        return QPainter::RasterOp_NotSource;
    case pmMergePenNot:
        return QPainter::RasterOp_SourceOrNotDestination;
    case pmMaskPenNot:
        return QPainter::RasterOp_SourceAndNotDestination;
    case pmMergeNotPen:
        return QPainter::RasterOp_NotSourceOrDestination;
    case pmMaskNotPen:
        return QPainter::RasterOp_NotSourceAndDestination;
    case pmMerge:
        return QPainter::RasterOp_SourceOrDestination;
    case pmNotMerge:
        return QPainter::RasterOp_NotSourceAndNotDestination;
    case pmMask:
        return QPainter::RasterOp_SourceAndDestination;
    case pmNotMask:
        return QPainter::RasterOp_NotSourceOrNotDestination;
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNotXor:
        return QPainter::RasterOp_NotSourceXorDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

// The pixels of a thin line as the classic service draws them: each segment
// from its start up to but not including its end, the dash pattern running
// on across corners; Gaps are the pixels between the dashes.
struct TThinLine {
    std::vector<QPoint> Ink;
    std::vector<QPoint> Gaps;
};

// Liang-Barsky: the part [T0, T1] of A -> B inside Box; false when none.
bool ClipSegment(TPoint A, TPoint B, const TRect& Box, double& T0, double& T1) {
    const double DX = double(B.X) - A.X;
    const double DY = double(B.Y) - A.Y;
    const double P[] = {-DX, DX, -DY, DY};
    const double Q[] = {double(A.X) - Box.Left, double(Box.Right) - 1 - A.X, double(A.Y) - Box.Top,
                        double(Box.Bottom) - 1 - A.Y};
    T0 = 0;
    T1 = 1;
    for (int I = 0; I < 4; ++I) {
        if (P[I] == 0) {
            if (Q[I] < 0)
                return false;
            continue;
        }
        const double T = Q[I] / P[I];
        if (P[I] < 0)
            T0 = std::max(T0, T);
        else
            T1 = std::min(T1, T);
    }
    return T0 <= T1;
}

TPoint PointAt(TPoint A, TPoint B, double T) {
    return {int(std::lround(A.X + T * (double(B.X) - A.X))),
            int(std::lround(A.Y + T * (double(B.Y) - A.Y)))};
}

// Segments longer than this are cut to the visible area first, so that a
// line to a far-away point costs no more than one across the picture.
constexpr std::int64_t LongSegment = 8192;

// Walks the pixels of a thin line in drawing order: Ink(X, Y) for the
// pixels of the dashes, Gap(X, Y) for those between them.
template <typename TInk, typename TGap>
void WalkThinLine(std::span<const TPoint> Path, const QVector<qreal>& Pattern, const TRect& Visible,
                  TInk Ink, TGap Gap) {
    int Period = 0;
    for (qreal Length : Pattern)
        Period += int(Length);
    std::int64_t Step = 0;
    auto Emit = [&](int X, int Y) {
        bool On = true;
        if (Period > 0) {
            int Phase = int(Step++ % Period);
            for (qsizetype I = 0; I < Pattern.size(); ++I) {
                if (Phase < int(Pattern[I])) {
                    On = I % 2 == 0;
                    break;
                }
                Phase -= int(Pattern[I]);
            }
        }
        if (On)
            Ink(X, Y);
        else
            Gap(X, Y);
    };
    const TRect Margin{Visible.Left - 2, Visible.Top - 2, Visible.Right + 2, Visible.Bottom + 2};
    for (std::size_t I = 1; I < Path.size(); ++I) {
        TPoint A = Path[I - 1];
        TPoint B = Path[I];
        const std::int64_t Length =
            std::max(std::llabs(std::int64_t(B.X) - A.X), std::llabs(std::int64_t(B.Y) - A.Y));
        if (Length > LongSegment) {
            double T0, T1;
            if (!ClipSegment(A, B, Margin, T0, T1)) {
                Step += Length;
                continue;
            }
            Step += std::llround(T0 * double(Length));
            std::tie(A, B) = std::pair(PointAt(A, B, T0), PointAt(A, B, T1));
        }
        const int DX = std::abs(B.X - A.X);
        const int DY = -std::abs(B.Y - A.Y);
        const int SX = A.X < B.X ? 1 : -1;
        const int SY = A.Y < B.Y ? 1 : -1;
        int Error = DX + DY;
        for (int X = A.X, Y = A.Y; X != B.X || Y != B.Y;) {
            Emit(X, Y);
            const int E2 = 2 * Error;
            if (E2 >= DY) {
                Error += DY;
                X += SX;
            }
            if (E2 <= DX) {
                Error += DX;
                Y += SY;
            }
        }
    }
}

TThinLine ThinLine(std::span<const TPoint> Path, const QVector<qreal>& Pattern,
                   const TRect& Visible) {
    TThinLine Line;
    WalkThinLine(
        Path, Pattern, Visible, [&Line](int X, int Y) { Line.Ink.emplace_back(X, Y); },
        [&Line](int X, int Y) { Line.Gaps.emplace_back(X, Y); });
    return Line;
}

// Sets pixels of a 32-bit image inside a box, one colour.
class TPixelWriter {
  public:
    TPixelWriter(QImage& Image, const TRect& Box, QRgb Color)
        : FBits(Image.bits()), FStride(Image.bytesPerLine()), FBox(Box), FColor(Color) {}
    void operator()(QPoint P) const {
        if (FBox.Contains({P.x(), P.y()}))
            reinterpret_cast<QRgb*>(FBits + qsizetype(P.y()) * FStride)[P.x()] = FColor;
    }
    // The pixels of a vertical thin line from (X, From) towards To, To
    // itself left out, as the walk would set them.
    void Column(int X, int From, int To) const {
        if (X < FBox.Left || X >= FBox.Right || From == To)
            return;
        const int Top = std::max(std::min(From, To + 1), FBox.Top);
        const int Bottom = std::min(std::max(From, To - 1), FBox.Bottom - 1);
        for (int Y = Top; Y <= Bottom; ++Y)
            reinterpret_cast<QRgb*>(FBits + qsizetype(Y) * FStride)[X] = FColor;
    }

    void Fill(const TRect& R) const {
        const int Left = std::max(R.Left, FBox.Left), Right = std::min(R.Right, FBox.Right);
        if (Left >= Right)
            return;
        for (int Y = std::max(R.Top, FBox.Top); Y < std::min(R.Bottom, FBox.Bottom); ++Y) {
            QRgb* Row = reinterpret_cast<QRgb*>(FBits + qsizetype(Y) * FStride);
            std::fill(Row + Left, Row + Right, FColor);
        }
    }

  private:
    uchar* FBits;
    qsizetype FStride;
    TRect FBox;
    QRgb FColor;
};

constexpr int MaxStampWidth = 4;

// The pixels of a round pen tip of the width around its centre pixel (the
// extra pixel of an even width lies right and below), by pixel centres.
std::vector<QPoint> PenTip(int Width) {
    std::vector<QPoint> Tip;
    const int Low = -(Width - 1) / 2;
    const int High = Width / 2;
    const double Middle = (Low + High) / 2.0;
    const double Radius = Width / 2.0;
    for (int DY = Low; DY <= High; ++DY)
        for (int DX = Low; DX <= High; ++DX)
            if ((DX - Middle) * (DX - Middle) + (DY - Middle) * (DY - Middle) <= Radius * Radius)
                Tip.emplace_back(DX, DY);
    return Tip;
}

// A wide inside-frame pen stays within the box: the stroke's centre line
// moves inwards by half the width.
QRectF OutlineBox(const TRect& R, const TPen& Pen) {
    if (Pen.IsThin())
        return QRectF(R.Left, R.Top, R.Width() - 1, R.Height() - 1);
    const double Inset = Pen.Style() == psInsideFrame ? (Pen.Width() - 1) / 2.0 : 0;
    return QRectF(R.Left + Inset, R.Top + Inset, R.Width() - 1 - 2 * Inset,
                  R.Height() - 1 - 2 * Inset);
}

// Without an outline the filled box is one pixel smaller, as on the classic
// drawing service.
QRect FillBox(const TRect& R, const TPen& Pen) {
    if (Pen.Style() == psClear)
        return QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1);
    if (Pen.IsThin())
        return QRect(R.Left + 1, R.Top + 1, R.Width() - 2, R.Height() - 2);
    return QRect(R.Left, R.Top, R.Width() - 1, R.Height() - 1);
}

// Every other pixel of the frame, each pixel once, as far as it is visible.
std::vector<QPoint> FocusDots(const TRect& R, const TRect& Visible) {
    std::vector<QPoint> Dots;
    auto Add = [&](int X, int Y) {
        if ((std::int64_t(X) - R.Left + Y - R.Top) % 2 == 0)
            Dots.emplace_back(X, Y);
    };
    for (int X = std::max(R.Left, Visible.Left); X < std::min(R.Right, Visible.Right); ++X) {
        Add(X, R.Top);
        if (R.Bottom - 1 > R.Top)
            Add(X, R.Bottom - 1);
    }
    for (int Y = std::max(R.Top + 1, Visible.Top); Y < std::min(R.Bottom - 1, Visible.Bottom);
         ++Y) {
        Add(R.Left, Y);
        if (R.Right - 1 > R.Left)
            Add(R.Right - 1, Y);
    }
    return Dots;
}

} // namespace

TPainterCanvas::TPainterCanvas(QPaintDevice& Device, TDeviceTechnology Technology)
    : F(new TState{Device, dynamic_cast<QImage*>(&Device), {}, {}}), FTechnology(Technology) {
    BeginDevice();
}

TPainterCanvas::~TPainterCanvas() {
    EndDevice();
}

// A device without pixels (an empty bitmap) is not painted on at all.
void TPainterCanvas::BeginDevice() {
    ResetClip();
    if (F->Device.width() <= 0 || F->Device.height() <= 0 || !F->Painter.begin(&F->Device))
        return;
    F->Painter.setRenderHint(QPainter::Antialiasing, false);
    F->Painter.setRenderHint(QPainter::TextAntialiasing, false);
    F->Painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

void TPainterCanvas::EndDevice() {
    if (Painting())
        F->Painter.end();
}

bool TPainterCanvas::Painting() const {
    return F->Painter.isActive();
}

TRect TPainterCanvas::VisibleRect() const {
    return IntersectRect(ClipRect(), DeviceRect());
}

TRect TPainterCanvas::DeviceRect() const {
    return {0, 0, F->Device.width(), F->Device.height()};
}

void TPainterCanvas::SetVisibleRegion(const QRegion& Region) {
    F->Visible = Region;
}

QPainter& TPainterCanvas::Painter() {
    return F->Painter;
}

void TPainterCanvas::ApplyPenMode() {
    F->Painter.setCompositionMode(CompositionOf(Pen().Mode()));
}

void TPainterCanvas::ApplyCopyMode() {
    F->Painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

template <typename FillFn, typename OutlineFn>
void TPainterCanvas::Shape(FillFn Fill, OutlineFn Outline, std::span<const TPoint> ThinPath) {
    if (Pen().Mode() == pmNop || !Painting())
        return;
    const bool Filled = Brush().Style() != bsClear && !std::is_same_v<FillFn, TNoFill>;
    // A lone thin solid line onto pixels never touches the painter: its
    // state changes cost more than a short line's pixels.
    if (!Filled && SolidThinOnPixels() && !ThinPath.empty()) {
        StrokeThin(ThinPath);
        return;
    }
    QPainter& P = F->Painter;
    ApplyPenMode();
    if (Filled) {
        P.setPen(Qt::NoPen);
        P.setBrush(QtBrush(Brush()));
        Fill(P);
    }
    if (Pen().Style() != psClear) {
        P.setBrush(Qt::NoBrush);
        // Thin lines are walked pixel by pixel only where there are pixels;
        // a vector device (a PDF, an SVG, a printer) gets real lines.
        if (Pen().IsThin() && !ThinPath.empty() && F->Image)
            StrokeThin(ThinPath);
        else if (Stampable() && !ThinPath.empty())
            StrokeStamped(ThinPath);
        else
            StrokeOutline(P, Outline);
    }
    ApplyCopyMode();
}

template <typename OutlineFn> void TPainterCanvas::StrokeOutline(QPainter& P, OutlineFn Outline) {
    // A thin line covers the pixels right of and below its coordinates, as
    // on a screen; on a vector device it is centred on them, half a pixel
    // over, or it would blend into its neighbours.
    const bool Centre = Pen().IsThin() && !F->Image;
    if (Centre)
        P.translate(0.5, 0.5);
    for (const QPen& Pass : PenPasses(Pen(), Brush())) {
        P.setPen(Pass);
        Outline(P);
    }
    if (Centre)
        P.translate(-0.5, -0.5);
}

// A solid thin line copied onto an image: its pixels are written as they
// are walked, with nothing gathered first.
bool TPainterCanvas::SolidThinOnPixels() const {
    return F->Image && Pen().IsThin() && Pen().Mode() == pmCopy &&
           (Pen().Style() == psSolid || Pen().Style() == psInsideFrame);
}

void TPainterCanvas::StrokeThin(std::span<const TPoint> Path) {
    if (SolidThinOnPixels()) {
        const TRect Visible = VisibleRect();
        const TPixelWriter Write(*F->Image, Visible, ToQColor(Pen().Color()).rgb());
        // Vertical segments (a trace's pixel columns) need no walk.
        for (std::size_t I = 1; I < Path.size(); ++I)
            if (Path[I - 1].X == Path[I].X)
                Write.Column(Path[I].X, Path[I - 1].Y, Path[I].Y);
            else
                WalkThinLine(
                    Path.subspan(I - 1, 2), {}, Visible,
                    [&Write](int X, int Y) { Write(QPoint(X, Y)); }, [](int, int) {});
        return;
    }
    const TThinLine Line = ThinLine(Path, DashPattern(Pen().Style()), VisibleRect());
    if (!Line.Gaps.empty() && Brush().Style() == bsSolid)
        DrawDots(Line.Gaps, Brush().Color());
    DrawDots(Line.Ink, Pen().Color());
}

// Copying onto an image is written straight into its pixels, which is much
// faster than drawing points one by one.
void TPainterCanvas::DrawDots(const std::vector<QPoint>& Dots, TColor Color) {
    if (F->Image && Pen().Mode() == pmCopy) {
        TPixelWriter Write(*F->Image, VisibleRect(), ToQColor(Color).rgb());
        for (const QPoint& Dot : Dots)
            Write(Dot);
        return;
    }
    F->Painter.setPen(QPen(ToQColor(Color), 0));
    F->Painter.drawPoints(Dots.data(), int(Dots.size()));
}

// Narrow wide pens copied onto an image: their round tip stamped along the
// thin line, which is many times faster than Qt's stroker and looks the same.
bool TPainterCanvas::Stampable() const {
    return F->Image && Pen().Mode() == pmCopy && Pen().Width() <= MaxStampWidth &&
           Pen().Style() != psInsideFrame;
}

void TPainterCanvas::StrokeStamped(std::span<const TPoint> Path) {
    TThinLine Line = ThinLine(Path, {}, VisibleRect());
    Line.Ink.emplace_back(Path.back().X, Path.back().Y); // round ends cover the end point
    const std::vector<QPoint> Tip = PenTip(Pen().Width());
    TPixelWriter Write(*F->Image, VisibleRect(), ToQColor(Pen().Color()).rgb());
    for (const QPoint& Dot : Line.Ink)
        for (const QPoint& Offset : Tip)
            Write(Dot + Offset);
}

void TPainterCanvas::FillRect(const TRect& R) {
    if (Brush().Style() == bsClear || R.IsEmpty() || !Painting())
        return;
    // A small solid rectangle onto pixels (a border line, a button face) is
    // written straight in: the painter's setup costs more than its pixels.
    // Large areas go to the painter, whose fill is vectorised.
    constexpr long long SmallArea = 4096;
    if (F->Image && F->Image->depth() == 32 && Brush().Style() == bsSolid &&
        (long long)R.Width() * R.Height() <= SmallArea) {
        TPixelWriter(*F->Image, VisibleRect(), ToQColor(Brush().Color()).rgb()).Fill(R);
        return;
    }
    F->Painter.fillRect(ToQRect(R), QtBrush(Brush()));
}

void TPainterCanvas::Polygon(std::span<const TPoint> Points) {
    if (Points.size() < 2)
        return;
    const std::vector<QPoint> Q = ToQPoints(Points);
    std::vector<TPoint> Closed(Points.begin(), Points.end());
    Closed.push_back(Points.front());
    auto Draw = [&](QPainter& P) { P.drawPolygon(Q.data(), int(Q.size()), Qt::OddEvenFill); };
    Shape(Draw, Draw, Closed);
}

void TPainterCanvas::Polyline(std::span<const TPoint> Points) {
    if (Points.size() < 2)
        return;
    // Wide segments stroked one by one: their round ends cover the joins,
    // and it is many times faster than stroking the whole path.
    std::vector<QLine> Segments;
    auto Stroke = [&](QPainter& P) {
        if (Segments.empty()) {
            const std::vector<QPoint> Q = ToQPoints(Points);
            Segments.reserve(Q.size());
            for (std::size_t I = 1; I < Q.size(); ++I)
                Segments.emplace_back(Q[I - 1], Q[I]);
        }
        P.drawLines(Segments.data(), int(Segments.size()));
    };
    Shape(TNoFill{}, Stroke, Points);
}

void TPainterCanvas::Rectangle(const TRect& R) {
    if (R.IsEmpty())
        return;
    const QRect Inside = FillBox(R, Pen());
    const QRectF Outline = OutlineBox(R, Pen());
    const TPoint Corners[] = {{R.Left, R.Top},
                              {R.Right - 1, R.Top},
                              {R.Right - 1, R.Bottom - 1},
                              {R.Left, R.Bottom - 1},
                              {R.Left, R.Top}};
    Shape([&](QPainter& P) { P.drawRect(Inside); }, [&](QPainter& P) { P.drawRect(Outline); },
          Corners);
}

void TPainterCanvas::Ellipse(const TRect& R) {
    if (R.IsEmpty())
        return;
    // Qt fills an ellipse over l .. r - 2: inside the outline, and the one
    // pixel smaller box of the classic service without one.
    const QRectF Inside(R.Left, R.Top, R.Width() - 1, R.Height() - 1);
    const QRectF Outline = OutlineBox(R, Pen());
    Shape([&](QPainter& P) { P.drawEllipse(Inside); }, [&](QPainter& P) { P.drawEllipse(Outline); },
          {});
}

void TPainterCanvas::SetPixel(int X, int Y, TColor Color) {
    if (!TCanvas::PtVisible({X, Y}) || !Painting())
        return;
    if (F->Image) {
        F->Image->setPixel(X, Y, ToQColor(Color).rgb());
        return;
    }
    F->Painter.setPen(QPen(ToQColor(Color), 0));
    F->Painter.drawPoint(X, Y);
}

TColor TPainterCanvas::Pixel(int X, int Y) const {
    if (!F->Image || !TCanvas::PtVisible({X, Y}))
        return CLR_INVALID;
    return FromQRgb(F->Image->pixel(X, Y));
}

void TPainterCanvas::DrawImage(const TRect& Dest, const QImage& Image, const TRect& Source) {
    if (!Painting())
        return;
    F->Painter.drawImage(ToQRect(Dest), Image, ToQRect(Source));
}

// A glyph of its own size onto pixels is copied pixel by pixel, leaving out
// the key colour, instead of made into an image with alpha first.
void TPainterCanvas::DrawKeyed(const TRect& Dest, const QImage& Image, TColor Key) {
    if (!Painting())
        return;
    if (!F->Image || F->Image->depth() != 32 || Image.format() != QImage::Format_RGB32 ||
        Dest.Width() != Image.width() || Dest.Height() != Image.height()) {
        TCanvas::DrawKeyed(Dest, Image, Key);
        return;
    }
    const QRgb KeyRgb = ToQColor(Key).rgb() & RGB_MASK;
    const TRect Visible = IntersectRect(VisibleRect(), Dest);
    uchar* Bits = F->Image->bits();
    const qsizetype Stride = F->Image->bytesPerLine();
    for (int Y = Visible.Top; Y < Visible.Bottom; ++Y) {
        const QRgb* From = reinterpret_cast<const QRgb*>(Image.constScanLine(Y - Dest.Top));
        QRgb* To = reinterpret_cast<QRgb*>(Bits + qsizetype(Y) * Stride);
        for (int X = Visible.Left; X < Visible.Right; ++X) {
            const QRgb Pixel = From[X - Dest.Left];
            if ((Pixel & RGB_MASK) != KeyRgb)
                To[X] = Pixel | ~RGB_MASK;
        }
    }
}

const QImage* TPainterCanvas::RasterImage() const {
    return F->Image;
}

void TPainterCanvas::TextOut(int X, int Y, const std::string& Text) {
    if (Text.empty() || !Painting())
        return;
    QPainter& P = F->Painter;
    const QFontMetrics Metrics = FontMetrics(Font());
    // Unturned text on pixels is drawn as shaped at an earlier paint.
    if (F->Image && Font().Escapement() == 0) {
        const TShapedText& Shaped = ShapedText(Font(), Text);
        if (Brush().Style() == bsSolid)
            P.fillRect(QRect(X, Y, TextAdvance(Font(), Text), Metrics.height()),
                       ToQColor(Brush().Color()));
        P.setFont(Shaped.Font);
        P.setPen(ToQColor(Font().Color()));
        P.drawStaticText(X, Y, Shaped.Line);
        return;
    }
    const QString S = ToQString(Text);
    P.save();
    P.translate(X, Y);
    P.rotate(-Font().Escapement() / 10.0);
    if (Brush().Style() == bsSolid)
        P.fillRect(QRect(0, 0, Metrics.horizontalAdvance(S), Metrics.height()),
                   ToQColor(Brush().Color()));
    P.setFont(ToQFont(Font()));
    P.setPen(ToQColor(Font().Color()));
    P.drawText(0, Metrics.ascent(), S);
    P.restore();
}

void TPainterCanvas::DrawFocusRect(const TRect& R) {
    if (!Painting())
        return;
    const std::vector<QPoint> Dots = FocusDots(R, VisibleRect());
    QPainter& P = F->Painter;
    P.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    P.setPen(QPen(Qt::white, 0));
    P.drawPoints(Dots.data(), int(Dots.size()));
    ApplyCopyMode();
}

bool TPainterCanvas::PtVisible(TPoint P) const {
    return TCanvas::PtVisible(P) && (!F->Visible || F->Visible->contains(QPoint(P.X, P.Y)));
}

void TPainterCanvas::ClipChanged() {
    if (!Painting())
        return;
    if (!HasClip()) {
        F->Painter.setClipping(false);
        return;
    }
    const TRect C = ClipRect();
    F->Painter.setClipRect(C.IsEmpty() ? QRect(0, 0, 0, 0) : ToQRect(C));
}
