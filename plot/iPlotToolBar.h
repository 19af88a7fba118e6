#pragma once
// The row of buttons that control tracking, zooming and output.

#include "plot/iPlotObjects.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBitmap;
enum class TiPlotAxisMouseMode : std::uint8_t;
class TiPlotToolBar;

// Toolbar 0's Select button is down, and its Cursor button; false without a
// toolbar. Objects ask these to decide how they answer the mouse.
bool PlotSelectionMode(TiPlotHost& Host);
bool PlotDataCursorMode(TiPlotHost& Host);

// The items of the bar, in their order from the left.
enum class TiPlotToolBarItem {
    Resume,
    Pause,
    Separator1,
    Scroll,
    Zoom,
    Separator2,
    ZoomOut,
    ZoomIn,
    Separator3,
    Select,
    ZoomBox,
    Cursor,
    Separator4,
    Properties,
    Separator5,
    Copy,
    Save,
    Print,
    Preview,
};
constexpr int TiPlotToolBarItemCount = 19;

class TiPlotToolBarButton : public TiPlotButton {
    Q_OBJECT
  public:
    TiPlotToolBarButton(TiPlotToolBar* Owner, bool Separator)
        : FOwner(Owner), FSeparator(Separator) {}

    TiPlotToolBar* Owner() const { return FOwner; }
    bool Separator() const { return FSeparator; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value) { FHint = Value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // -1: not loaded yet.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value) { FImageIndex = Value; }
    const std::string& GlyphName() const { return FGlyphName; }
    void SetGlyphName(const std::string& Value) { FGlyphName = Value; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value) { FFlat = Value; }
    bool MouseOver() const { return FMouseOver; }
    void SetMouseOver(bool Value) { FMouseOver = Value; }

  private:
    TiPlotToolBar* FOwner;
    bool FSeparator;
    std::string FHint;
    bool FVisible = true;
    int FImageIndex = -1;
    std::string FGlyphName;
    bool FFlat = false;
    bool FMouseOver = false;
};

class TiPlotToolBar : public TiPlotLayoutObject {
    Q_OBJECT
    Q_PROPERTY(bool ShowResumeButton READ ShowResumeButton WRITE SetShowResumeButton)
    Q_PROPERTY(bool ShowPauseButton READ ShowPauseButton WRITE SetShowPauseButton)
    Q_PROPERTY(bool ShowAxesModeButtons READ ShowAxesModeButtons WRITE SetShowAxesModeButtons)
    Q_PROPERTY(bool ShowZoomInOutButtons READ ShowZoomInOutButtons WRITE SetShowZoomInOutButtons)
    Q_PROPERTY(bool ShowSelectButton READ ShowSelectButton WRITE SetShowSelectButton)
    Q_PROPERTY(bool ShowZoomBoxButton READ ShowZoomBoxButton WRITE SetShowZoomBoxButton)
    Q_PROPERTY(bool ShowCursorButton READ ShowCursorButton WRITE SetShowCursorButton)
    Q_PROPERTY(bool ShowEditButton READ ShowEditButton WRITE SetShowEditButton)
    Q_PROPERTY(bool ShowCopyButton READ ShowCopyButton WRITE SetShowCopyButton)
    Q_PROPERTY(bool ShowSaveButton READ ShowSaveButton WRITE SetShowSaveButton)
    Q_PROPERTY(bool ShowPrintButton READ ShowPrintButton WRITE SetShowPrintButton)
    Q_PROPERTY(bool ShowPreviewButton READ ShowPreviewButton WRITE SetShowPreviewButton)
    Q_PROPERTY(double ZoomInOutFactor READ ZoomInOutFactor WRITE SetZoomInOutFactor)
    Q_PROPERTY(bool FlatBorder READ FlatBorder WRITE SetFlatBorder)
    Q_PROPERTY(bool FlatButtons READ FlatButtons WRITE SetFlatButtons)
    Q_PROPERTY(bool SmallButtons READ SmallButtons WRITE SetSmallButtons)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::ToolBar;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotToolBar(TiPlotHost* Host);
    ~TiPlotToolBar() override;

    bool ShowResumeButton() const { return ButtonShown(TiPlotToolBarItem::Resume); }
    void SetShowResumeButton(bool Value) { Show(TiPlotToolBarItem::Resume, Value); }
    bool ShowPauseButton() const { return ButtonShown(TiPlotToolBarItem::Pause); }
    void SetShowPauseButton(bool Value) { Show(TiPlotToolBarItem::Pause, Value); }
    bool ShowAxesModeButtons() const { return ButtonShown(TiPlotToolBarItem::Scroll); }
    void SetShowAxesModeButtons(bool Value);
    bool ShowZoomInOutButtons() const { return ButtonShown(TiPlotToolBarItem::ZoomIn); }
    void SetShowZoomInOutButtons(bool Value);
    bool ShowSelectButton() const { return ButtonShown(TiPlotToolBarItem::Select); }
    void SetShowSelectButton(bool Value) { Show(TiPlotToolBarItem::Select, Value); }
    bool ShowZoomBoxButton() const { return ButtonShown(TiPlotToolBarItem::ZoomBox); }
    void SetShowZoomBoxButton(bool Value) { Show(TiPlotToolBarItem::ZoomBox, Value); }
    bool ShowCursorButton() const { return ButtonShown(TiPlotToolBarItem::Cursor); }
    void SetShowCursorButton(bool Value) { Show(TiPlotToolBarItem::Cursor, Value); }
    bool ShowEditButton() const { return ButtonShown(TiPlotToolBarItem::Properties); }
    void SetShowEditButton(bool Value) { Show(TiPlotToolBarItem::Properties, Value); }
    bool ShowCopyButton() const { return ButtonShown(TiPlotToolBarItem::Copy); }
    void SetShowCopyButton(bool Value) { Show(TiPlotToolBarItem::Copy, Value); }
    bool ShowSaveButton() const { return ButtonShown(TiPlotToolBarItem::Save); }
    void SetShowSaveButton(bool Value) { Show(TiPlotToolBarItem::Save, Value); }
    bool ShowPrintButton() const { return ButtonShown(TiPlotToolBarItem::Print); }
    void SetShowPrintButton(bool Value) { Show(TiPlotToolBarItem::Print, Value); }
    bool ShowPreviewButton() const { return ButtonShown(TiPlotToolBarItem::Preview); }
    void SetShowPreviewButton(bool Value) { Show(TiPlotToolBarItem::Preview, Value); }

    double ZoomInOutFactor() const { return FZoomInOutFactor; }
    // Below 1, or not a number, is 1: zooming never turns the axes over.
    void SetZoomInOutFactor(double Value);
    bool FlatBorder() const { return FFlatBorder; }
    void SetFlatBorder(bool Value) { Change(FFlatBorder, Value); }
    bool FlatButtons() const { return FFlatButtons; }
    void SetFlatButtons(bool Value);
    bool SmallButtons() const { return FSmallButtons; }
    // Switches every glyph to its small (or normal) picture.
    void SetSmallButtons(bool Value);

    // The modes the Select and Zoom Box buttons hold down, read by what
    // reacts to a press in the data view.
    bool SelectDown() const { return Button(TiPlotToolBarItem::Select).Down(); }
    void SetSelectDown(bool Value) { Button(TiPlotToolBarItem::Select).SetDown(Value); }
    bool ZoomBoxDown() const { return Button(TiPlotToolBarItem::ZoomBox).Down(); }
    void SetZoomBoxDown(bool Value) { Button(TiPlotToolBarItem::ZoomBox).SetDown(Value); }
    // Set while Cursor, and Select, are down; the plot reads them.
    bool DataCursorMode() const { return FDataCursorMode; }
    bool SelectionMode() const { return FSelectionMode; }

    TiPlotToolBarButton& Button(TiPlotToolBarItem Item) const {
        return *FButtons[static_cast<int>(Item)];
    }
    // Told the click number of every command run; the plot raises its
    // OnToolBarButtonClick event from it.
    // The plot may reword a button's hint.
    void SetOnCustomizeHint(std::function<void(std::string&)> Handler) {
        FOnCustomizeHint = std::move(Handler);
    }
    void SetOnButtonClick(std::function<void(int ButtonType)> Handler) {
        FOnButtonClick = std::move(Handler);
    }

    // The commands, as a click on their button runs them.
    void DoResume();
    void DoPause();
    void DoScroll();
    void DoZoom();
    void DoZoomIn();
    void DoZoomOut();
    void DoSelect();
    void DoZoomBox();
    void DoCursor();
    void DoProperties();
    void DoCopy();
    void DoSave();
    void DoPrint();
    void DoPreview();

    // The bar's height in a horizontal layout, its width in a vertical one.
    int Thickness(TCanvas& Canvas) override;
    // The face, the frame and a row of buttons from the left.
    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;
    TiPlotObject* Claim(int X, int Y) override;
    void MouseHover(TPoint Point) override;
    void MouseLeave() override;
    void MouseDown(TPoint Point) override;
    void MouseUp(TPoint Point) override;
    void ObjectFocused(TiPlotObject* Object) override;

  private:
    // Only this button shows the mouse over it; none for nullptr.
    void MarkMouseOver(const TiPlotToolBarButton* Over);
    bool ButtonShown(TiPlotToolBarItem Item) const { return Button(Item).Visible(); }
    void Show(TiPlotToolBarItem Item, bool Value);
    // A visible button, separators included, under the point.
    TiPlotToolBarButton* ButtonAt(TPoint Point) const;
    void Report(int ButtonType) const;
    void SetAllTracking(bool Value);
    void SetAllMouseMode(TiPlotAxisMouseMode Mode);
    void ZoomAll(double LinearFactor, double LogFactor);
    void UpdateEnabled();
    void UpdateSeparators();
    void DrawButton(TCanvas& Canvas, TiPlotToolBarButton& Button);
    const TBitmap& Glyph(TiPlotToolBarButton& Button);
    // The greyed look of a disabled button's glyph, made once per glyph.
    const TBitmap& GreyedGlyph(TiPlotToolBarButton& Button);
    void CursorDownChanged();
    void SelectDownChanged();

    std::array<std::unique_ptr<TiPlotToolBarButton>, TiPlotToolBarItemCount> FButtons;
    std::vector<std::unique_ptr<TBitmap>> FImages;
    // By image index, made when first needed.
    std::vector<std::unique_ptr<TBitmap>> FGreyedImages;
    TiPlotToolBarButton* FPressedButton = nullptr;
    std::function<void(int)> FOnButtonClick;
    std::function<void(std::string&)> FOnCustomizeHint;
    double FZoomInOutFactor = 2;
    bool FFlatBorder = false;
    bool FFlatButtons = false;
    bool FSmallButtons = false;
    bool FDataCursorMode = false;
    bool FSelectionMode = false;
};
