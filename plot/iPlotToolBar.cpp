#include "plot/iPlotToolBar.h"

#include "components/iGPFunctions.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Exception.h"
#include "plot/iPlotAxis.h"

#include <utility>

namespace {

using Item = TiPlotToolBarItem;

struct TButtonInfo {
    const char* Hint;
    const char* Glyph;
    int GroupIndex;
};

// Separators have no hint and no glyph.
constexpr TButtonInfo Infos[TiPlotToolBarItemCount] = {
    {"Resume All (Tracking)", "AUTO", 0},
    {"Pause All (Tracking)", "PAUSE", 0},
    {nullptr, nullptr, 0},
    {"Scroll (Axes)", "SCROLL", 2},
    {"Zoom (Axes)", "ZOOM", 2},
    {nullptr, nullptr, 0},
    {"Zoom Out All Axes", "ZOOMOUT", 0},
    {"Zoom In All Axes", "ZOOMIN", 0},
    {nullptr, nullptr, 0},
    {"Select", "SELECT", -1},
    {"Zoom Box", "SCROLLBOX", -1},
    {"Cursor", "CURSOR", -2},
    {nullptr, nullptr, 0},
    {"Properties", "PROPERTIES", 0},
    {nullptr, nullptr, 0},
    {"Copy to Clipboard", "COPY", 0},
    {"Save to File", "SAVE", 0},
    {"Print", "PRINTER", 0},
    {"Preview", "PREVIEW", 0},
};

constexpr TColor GlyphTransparent = 0x808000;
constexpr TColor DownFace = 0xEFEFEF;
constexpr int SeparatorWidth = 10;

std::string GlyphName(int Index, bool Small) {
    return (Small ? std::string("SMALL") : std::string()) + Infos[Index].Glyph;
}

// The lines of a one-pixel frame over (left, top, right - 1, bottom - 1).
void ThinFrame(TCanvas& Canvas, const TRect& R, TColor TopLeft, TColor BottomRight) {
    const int Right = R.Right - 1, Bottom = R.Bottom - 1;
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(TopLeft);
    Canvas.FillRect(Rect(R.Left, R.Top, Right, R.Top + 1));
    Canvas.FillRect(Rect(R.Left, R.Top, R.Left + 1, Bottom + 1));
    Canvas.Brush().SetColor(BottomRight);
    Canvas.FillRect(Rect(Right, R.Top, Right + 1, Bottom));
    Canvas.FillRect(Rect(R.Left + 1, Bottom, Right + 1, Bottom + 1));
}

} // namespace

void TiPlotToolBarButton::SetVisible(bool Value) {
    FVisible = Value;
}

TiPlotToolBar::TiPlotToolBar(TiPlotHost* Host) : TiPlotLayoutObject(Host) {
    SetHorizontal(true);
    for (int I = 0; I < TiPlotToolBarItemCount; ++I) {
        const TButtonInfo& Info = Infos[I];
        auto Button = std::make_unique<TiPlotToolBarButton>(this, Info.Hint == nullptr);
        if (Info.Hint) {
            Button->SetHint(Info.Hint);
            Button->SetGlyphName(GlyphName(I, false));
        }
        Button->SetGroupIndex(Info.GroupIndex);
        Button->SetOnGroupClick([this](TiPlotButton* Clicked) {
            for (const auto& Other : FButtons)
                if (Other.get() != Clicked && Other->GroupIndex() == Clicked->GroupIndex())
                    Other->SetDown(false);
        });
        Button->SetOnInvalidate([this](TiPlotButton*) { DoChange(); });
        FButtons[I] = std::move(Button);
    }
    const std::pair<Item, void (TiPlotToolBar::*)()> Commands[] = {
        {Item::Resume, &TiPlotToolBar::DoResume},
        {Item::Pause, &TiPlotToolBar::DoPause},
        {Item::Scroll, &TiPlotToolBar::DoScroll},
        {Item::Zoom, &TiPlotToolBar::DoZoom},
        {Item::ZoomOut, &TiPlotToolBar::DoZoomOut},
        {Item::ZoomIn, &TiPlotToolBar::DoZoomIn},
        {Item::Select, &TiPlotToolBar::DoSelect},
        {Item::ZoomBox, &TiPlotToolBar::DoZoomBox},
        {Item::Cursor, &TiPlotToolBar::DoCursor},
        {Item::Properties, &TiPlotToolBar::DoProperties},
        {Item::Copy, &TiPlotToolBar::DoCopy},
        {Item::Save, &TiPlotToolBar::DoSave},
        {Item::Print, &TiPlotToolBar::DoPrint},
        {Item::Preview, &TiPlotToolBar::DoPreview},
    };
    for (const auto& [Which, Command] : Commands)
        Button(Which).SetOnClick([this, Command = Command](TiPlotButton*) { (this->*Command)(); });
    Button(Item::Cursor).SetOnDownChange([this](TiPlotButton*) { CursorDownChanged(); });
    Button(Item::Select).SetOnDownChange([this](TiPlotButton*) { SelectDownChanged(); });
    Button(Item::Scroll).SetDown(true);
    Button(Item::Select).SetVisible(false);
    Button(Item::Preview).SetVisible(false);
    UpdateSeparators();
}

TiPlotToolBar::~TiPlotToolBar() {
    // Releasing Down while the bar goes must not call back into it.
    for (const auto& Button : FButtons) {
        Button->SetOnDownChange(nullptr);
        Button->SetOnInvalidate(nullptr);
    }
}

void TiPlotToolBar::Show(TiPlotToolBarItem Which, bool Value) {
    if (Button(Which).Visible() == Value)
        return;
    Button(Which).SetVisible(Value);
    UpdateSeparators();
    DoChange();
}

void TiPlotToolBar::SetShowAxesModeButtons(bool Value) {
    Show(Item::Scroll, Value);
    Show(Item::Zoom, Value);
}

void TiPlotToolBar::SetShowZoomInOutButtons(bool Value) {
    Show(Item::ZoomOut, Value);
    Show(Item::ZoomIn, Value);
}

void TiPlotToolBar::UpdateSeparators() {
    const auto Either = [this](Item A, Item B) { return ButtonShown(A) || ButtonShown(B); };
    Button(Item::Separator1).SetVisible(Either(Item::Resume, Item::Pause));
    Button(Item::Separator2).SetVisible(Either(Item::Scroll, Item::Zoom));
    Button(Item::Separator3).SetVisible(Either(Item::ZoomIn, Item::ZoomOut));
    Button(Item::Separator4).SetVisible(Either(Item::ZoomBox, Item::Cursor));
    Button(Item::Separator5).SetVisible(ButtonShown(Item::Properties));
}

void TiPlotToolBar::SetZoomInOutFactor(double Value) {
    Change(FZoomInOutFactor, Value >= 1 ? Value : 1.0);
}

void TiPlotToolBar::SetFlatButtons(bool Value) {
    for (const auto& Button : FButtons)
        Button->SetFlat(Value);
    Change(FFlatButtons, Value);
}

void TiPlotToolBar::SetSmallButtons(bool Value) {
    if (FSmallButtons == Value)
        return;
    FSmallButtons = Value;
    for (int I = 0; I < TiPlotToolBarItemCount; ++I)
        if (!FButtons[I]->Separator()) {
            FButtons[I]->SetGlyphName(GlyphName(I, Value));
            FButtons[I]->SetImageIndex(-1);
        }
    FImages.clear();
    FGreyedImages.clear();
    DoChange();
}

void TiPlotToolBar::Report(int ButtonType) const {
    if (FOnButtonClick)
        FOnButtonClick(ButtonType);
}

void TiPlotToolBar::SetAllTracking(bool Value) {
    for (TiPlotKind Kind : {TiPlotKind::XAxis, TiPlotKind::YAxis})
        for (TiPlotObject* Axis : Host()->Objects(Kind))
            static_cast<TiPlotAxis*>(Axis)->SetTrackingEnabled(Value);
}

void TiPlotToolBar::SetAllMouseMode(TiPlotAxisMouseMode Mode) {
    for (TiPlotKind Kind : {TiPlotKind::XAxis, TiPlotKind::YAxis})
        for (TiPlotObject* Axis : Host()->Objects(Kind))
            static_cast<TiPlotAxis*>(Axis)->SetMouseMode(Mode);
}

void TiPlotToolBar::ZoomAll(double LinearFactor, double LogFactor) {
    for (TiPlotKind Kind : {TiPlotKind::XAxis, TiPlotKind::YAxis})
        for (TiPlotObject* Object : Host()->Objects(Kind)) {
            auto* Axis = static_cast<TiPlotAxis*>(Object);
            Axis->Zoom(Axis->ScaleType() == ipstLog10 ? LogFactor : LinearFactor);
        }
}

void TiPlotToolBar::DoResume() {
    if (Button(Item::Cursor).Down())
        DoCursor();
    if (Button(Item::Select).Down())
        DoSelect();
    for (TiPlotKind Kind :
         {TiPlotKind::DataViewLayout, TiPlotKind::ToolBar, TiPlotKind::Legend, TiPlotKind::Table,
          TiPlotKind::XAxis, TiPlotKind::YAxis, TiPlotKind::Channel, TiPlotKind::DataView,
          TiPlotKind::DataCursor, TiPlotKind::Limit, TiPlotKind::Label, TiPlotKind::Annotation})
        for (TiPlotObject* Object : Host()->Objects(Kind))
            Object->SetFocused(false);
    SetAllTracking(true);
    Report(0);
}

void TiPlotToolBar::DoPause() {
    SetAllTracking(false);
    Report(1);
}

void TiPlotToolBar::DoScroll() {
    Button(Item::Scroll).SetDown(true);
    Button(Item::Zoom).SetDown(false);
    SetAllMouseMode(TiPlotAxisMouseMode::Scroll);
    Report(2);
}

void TiPlotToolBar::DoZoom() {
    Button(Item::Zoom).SetDown(true);
    Button(Item::Scroll).SetDown(false);
    SetAllMouseMode(TiPlotAxisMouseMode::Zoom);
    Report(3);
}

void TiPlotToolBar::DoZoomIn() {
    DoPause();
    ZoomAll(1 / FZoomInOutFactor, -1);
    Report(7);
}

void TiPlotToolBar::DoZoomOut() {
    DoPause();
    ZoomAll(FZoomInOutFactor, 1);
    Report(6);
}

void TiPlotToolBar::DoSelect() {
    Button(Item::Select).SetDown(!Button(Item::Select).Down());
    Button(Item::ZoomBox).SetDown(false);
    Report(4);
}

void TiPlotToolBar::DoZoomBox() {
    Button(Item::Select).SetDown(false);
    Button(Item::ZoomBox).SetDown(!Button(Item::ZoomBox).Down());
    Report(5);
}

void TiPlotToolBar::DoCursor() {
    Button(Item::Cursor).SetDown(!Button(Item::Cursor).Down());
    Report(8);
}

void TiPlotToolBar::DoProperties() {
    Host()->ShowEditor(nullptr);
    Report(9);
}

void TiPlotToolBar::DoCopy() {
    Host()->RunOutput(TiPlotHost::TiPlotOutput::Copy);
    Report(10);
}

void TiPlotToolBar::DoSave() {
    Host()->RunOutput(TiPlotHost::TiPlotOutput::Save);
    Report(11);
}

void TiPlotToolBar::DoPrint() {
    Host()->RunOutput(TiPlotHost::TiPlotOutput::Print);
    Report(12);
}

void TiPlotToolBar::DoPreview() {
    Host()->RunOutput(TiPlotHost::TiPlotOutput::Preview);
    Report(13);
}

void TiPlotToolBar::CursorDownChanged() {
    FDataCursorMode = Button(Item::Cursor).Down();
    if (!FDataCursorMode)
        return;
    SetAllTracking(false);
    const std::vector<TiPlotObject*> Cursors = Host()->Objects(TiPlotKind::DataCursor);
    if (!Cursors.empty())
        Cursors.front()->SetFocused(true);
}

void TiPlotToolBar::SelectDownChanged() {
    FSelectionMode = Button(Item::Select).Down();
    if (FSelectionMode)
        SetAllTracking(false);
}

void TiPlotToolBar::ObjectFocused(TiPlotObject* Object) {
    if (Object != this)
        SetFocused(false);
}

int TiPlotToolBar::Thickness(TCanvas&) {
    return FSmallButtons ? 28 : 36;
}

void TiPlotToolBar::UpdateEnabled() {
    bool AnyPaused = false, AllPaused = true, AnyAxis = false;
    for (TiPlotKind Kind : {TiPlotKind::XAxis, TiPlotKind::YAxis})
        for (TiPlotObject* Axis : Host()->Objects(Kind)) {
            const bool Tracking = static_cast<TiPlotAxis*>(Axis)->TrackingEnabled();
            AnyAxis = true;
            AnyPaused = AnyPaused || !Tracking;
            AllPaused = AllPaused && !Tracking;
        }
    Button(Item::Resume).SetEnabled(AnyPaused);
    Button(Item::Pause).SetEnabled(!(AnyAxis && AllPaused));
}

void TiPlotToolBar::Draw(TCanvas& Canvas, TColor) {
    if (!Visible())
        return;
    UpdateSeparators();
    UpdateEnabled();
    const TRect& R = LayoutRect();
    // One pixel larger at the far edge, so that the face meets the data view.
    const TRect Face = Rect(R.Left, R.Top, R.Right + 1, R.Bottom + 1);
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(clBtnFace);
    Canvas.FillRect(Face);
    if (!FFlatBorder)
        iDrawEdge(Canvas, Face, 1);
    const int Size = FSmallButtons ? 22 : 30;
    int X = R.Left + 3;
    for (const auto& Button : FButtons) {
        if (!Button->Visible())
            continue;
        const int Width = Button->Separator() ? SeparatorWidth : Size;
        Button->SetRect(Rect(X, R.Top + 3, X + Width, R.Top + 3 + Size));
        DrawButton(Canvas, *Button);
        X += Width;
    }
}

const TBitmap& TiPlotToolBar::Glyph(TiPlotToolBarButton& Button) {
    if (Button.ImageIndex() < 0) {
        auto Image = std::make_unique<TBitmap>();
        Image->LoadFromResourceName(Button.GlyphName());
        Image->SetTransparent(true);
        Image->SetTransparentColor(GlyphTransparent);
        FImages.push_back(std::move(Image));
        Button.SetImageIndex(static_cast<int>(FImages.size()) - 1);
    }
    return *FImages[Button.ImageIndex()];
}

void TiPlotToolBar::DrawButton(TCanvas& Canvas, TiPlotToolBarButton& Button) {
    if (Button.Separator())
        return;
    const TRect& R = Button.Rect();
    const bool In = Button.Pressed() || Button.Down();
    Canvas.Brush().SetStyle(bsSolid);
    if (Button.Flat()) {
        if (In && !Button.MouseOver()) {
            Canvas.Brush().SetColor(DownFace);
            Canvas.FillRect(R);
        }
        if (Button.Enabled()) {
            if (In)
                ThinFrame(Canvas, R, clBtnShadow, clBtnHighlight);
            else if (Button.MouseOver())
                ThinFrame(Canvas, R, clBtnHighlight, clBtnShadow);
        }
    } else if (In) {
        Canvas.Brush().SetColor(DownFace);
        Canvas.FillRect(R);
        iDrawEdge(Canvas, R, 0);
    } else
        iDrawEdge(Canvas, R, 1);

    const TBitmap& Image = Glyph(Button);
    const int Shift = In ? 1 : 0;
    const int X = R.Left + (R.Right - R.Left) / 2 - Image.Width() / 2 + Shift;
    const int Y = R.Top + (R.Bottom - R.Top) / 2 - Image.Height() / 2 + Shift;
    Canvas.Draw(X, Y, Button.Enabled() ? Image : GreyedGlyph(Button));
}

// The outline in shadow over an offset copy in highlight, on the glyph's
// transparent colour.
const TBitmap& TiPlotToolBar::GreyedGlyph(TiPlotToolBarButton& Button) {
    const TBitmap& Image = Glyph(Button);
    const auto Index = static_cast<std::size_t>(Button.ImageIndex());
    if (FGreyedImages.size() <= Index)
        FGreyedImages.resize(Index + 1);
    if (FGreyedImages[Index])
        return *FGreyedImages[Index];
    auto Greyed = std::make_unique<TBitmap>(Image.Width() + 1, Image.Height() + 1);
    TCanvas& Target = Greyed->Canvas();
    Target.Brush().SetColor(GlyphTransparent);
    Target.FillRect(Rect(0, 0, Greyed->Width(), Greyed->Height()));
    auto& Source = const_cast<TBitmap&>(Image).Canvas();
    for (const auto& [Offset, Colour] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}})
        for (int J = 0; J < Image.Height(); ++J)
            for (int I = 0; I < Image.Width(); ++I)
                if (Source.Pixel(I, J) != GlyphTransparent)
                    Target.SetPixel(I + Offset, J + Offset, Colour);
    Greyed->SetTransparent(true);
    Greyed->SetTransparentColor(GlyphTransparent);
    FGreyedImages[Index] = std::move(Greyed);
    return *FGreyedImages[Index];
}

TiPlotToolBarButton* TiPlotToolBar::ButtonAt(TPoint Point) const {
    for (const auto& Button : FButtons)
        if (Button->Visible() && Button->Rect().Contains(Point))
            return Button.get();
    return nullptr;
}

TiPlotObject* TiPlotToolBar::Claim(int X, int Y) {
    if (ButtonAt(Point(X, Y))) {
        SetMouseOwner(this);
        return this;
    }
    return TiPlotLayoutObject::Claim(X, Y);
}

void TiPlotToolBar::MarkMouseOver(const TiPlotToolBarButton* Over) {
    for (const auto& Button : FButtons) {
        const bool Now = Button.get() == Over;
        if (Button->MouseOver() != Now) {
            Button->SetMouseOver(Now);
            DoChange();
        }
    }
}

void TiPlotToolBar::MouseLeave() {
    MarkMouseOver(nullptr);
}

void TiPlotToolBar::MouseHover(TPoint Point) {
    TiPlotToolBarButton* Over = ButtonAt(Point);
    if (Over && Over->Separator())
        Over = nullptr;
    MarkMouseOver(Over);
    if (!Over) {
        Host()->SetHint("", Point);
        return;
    }
    std::string Hint = Translate(Over->Hint());
    if (FOnCustomizeHint)
        FOnCustomizeHint(Hint);
    Host()->SetHint(Hint, ::Point(Over->Rect().Left, Over->Rect().Bottom + 3));
}

// A greyed button and a separator ignore the mouse.
void TiPlotToolBar::MouseDown(TPoint Point) {
    TiPlotToolBarButton* Button = ButtonAt(Point);
    if (!Button || Button->Separator() || !Button->Enabled())
        return;
    FPressedButton = Button;
    Button->MouseDown(Point.X, Point.Y);
}

void TiPlotToolBar::MouseUp(TPoint Point) {
    if (TiPlotToolBarButton* Button = std::exchange(FPressedButton, nullptr))
        Button->MouseUp(Point.X, Point.Y);
}

namespace {

const TiPlotToolBar* FirstToolBar(TiPlotHost& Host) {
    const std::vector<TiPlotObject*> ToolBars = Host.Objects(TiPlotKind::ToolBar);
    return ToolBars.empty() ? nullptr : static_cast<const TiPlotToolBar*>(ToolBars.front());
}

} // namespace

bool PlotSelectionMode(TiPlotHost& Host) {
    const TiPlotToolBar* Bar = FirstToolBar(Host);
    return Bar && Bar->SelectDown();
}

bool PlotDataCursorMode(TiPlotHost& Host) {
    const TiPlotToolBar* Bar = FirstToolBar(Host);
    return Bar && Bar->DataCursorMode();
}
