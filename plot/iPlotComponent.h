#pragma once
// The drawn control that owns and hosts every plot object. Its code is split
// by concern, one file each:
//   iPlotComponent.cpp         construction, the objects' host, the object
//                              lists per kind and the plot's properties
//   iPlotComponentStorage.cpp  the object lists stored with the properties
//   iPlotComponentInput.cpp    the mouse, wheel and keys routed to objects
//   iPlotComponentPaint.cpp    the painting order
//   iPlotComponentData.cpp     the data files and the plot's log
//   iPlotLayoutManager.cpp     the layout: sides and rows of the objects
//   iPlotComponentEditor.cpp   the property editor window

#include "components/iCustomComponent.h"
#include "plot/iPlotEvents.h"
#include "plot/iPlotManagers.h"
#include "plot/iPlotTypes.h"

#include "platform/GraphicsObjects.h"

#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <string>
#include <type_traits>

class TiPlotChannelCustom;
class TiPlotXAxis;
class TiPlotYAxis;
class TiPlotDataView;
class TiPlotDataCursor;
class QImage;
class QPrinter;
class TMetafile;
class TiPlotLegend;
class TiPlotToolBar;
class TiPlotTable;
class TiPlotLimit;
class TiPlotLabel;
class TiPlotAnnotation;
struct TiPlotAnnotationDefaults;
class TiPlotAxis;
class TiPlotEditor;

class TiPlotComponent : public TiCustomComponent, public TiPlotHost {
    Q_OBJECT
    Q_PROPERTY(bool BackGroundGradientEnabled READ BackGroundGradientEnabled WRITE
                   SetBackGroundGradientEnabled)
    Q_PROPERTY(TiFillDirection BackGroundGradientDirection READ BackGroundGradientDirection WRITE
                   SetBackGroundGradientDirection)
    Q_PROPERTY(TColor BackGroundGradientStartColor READ BackGroundGradientStartColor WRITE
                   SetBackGroundGradientStartColor)
    Q_PROPERTY(TColor BackGroundGradientStopColor READ BackGroundGradientStopColor WRITE
                   SetBackGroundGradientStopColor)
    Q_PROPERTY(int OuterMarginLeft READ OuterMarginLeft WRITE SetOuterMarginLeft)
    Q_PROPERTY(int OuterMarginTop READ OuterMarginTop WRITE SetOuterMarginTop)
    Q_PROPERTY(int OuterMarginRight READ OuterMarginRight WRITE SetOuterMarginRight)
    Q_PROPERTY(int OuterMarginBottom READ OuterMarginBottom WRITE SetOuterMarginBottom)
    Q_PROPERTY(int DataViewZHorz READ DataViewZHorz WRITE SetDataViewZHorz)
    Q_PROPERTY(int DataViewZVert READ DataViewZVert WRITE SetDataViewZVert)
    Q_PROPERTY(bool XYAxesReverse READ XYAxesReverse WRITE SetXYAxesReverse)
    Q_PROPERTY(bool UserCanEditObjects READ UserCanEditObjects WRITE SetUserCanEditObjects)
    Q_PROPERTY(bool UserCanAddRemoveChannels READ UserCanAddRemoveChannels WRITE
                   SetUserCanAddRemoveChannels)
    Q_PROPERTY(bool TitleVisible READ TitleVisible WRITE SetTitleVisible STORED false)
    Q_PROPERTY(std::string TitleText READ TitleText WRITE SetTitleText STORED false)
    Q_PROPERTY(TFont TitleFont READ TitleFont WRITE SetTitleFont STORED false)
    Q_PROPERTY(double TitleMargin READ TitleMargin WRITE SetTitleMargin STORED false)
    Q_PROPERTY(bool ClipAnnotationsToAxes READ ClipAnnotationsToAxes WRITE SetClipAnnotationsToAxes)
    Q_PROPERTY(bool HintsShow READ HintsShow WRITE SetHintsShow)
    Q_PROPERTY(int HintsPause READ HintsPause WRITE SetHintsPause)
    Q_PROPERTY(int HintsHidePause READ HintsHidePause WRITE SetHintsHidePause)
    Q_PROPERTY(TFont HintsFont READ HintsFont WRITE SetHintsFont)
    Q_PROPERTY(TiPlotFormStyle EditorFormStyle READ EditorFormStyle WRITE SetEditorFormStyle)
    Q_PROPERTY(TiPlotExportFormat CopyToClipBoardFormat READ CopyToClipBoardFormat WRITE
                   SetCopyToClipBoardFormat)
    Q_PROPERTY(TPrinterOrientation PrintOrientation READ PrintOrientation WRITE SetPrintOrientation)
    Q_PROPERTY(double PrintMarginLeft READ PrintMarginLeft WRITE SetPrintMarginLeft)
    Q_PROPERTY(double PrintMarginTop READ PrintMarginTop WRITE SetPrintMarginTop)
    Q_PROPERTY(double PrintMarginRight READ PrintMarginRight WRITE SetPrintMarginRight)
    Q_PROPERTY(double PrintMarginBottom READ PrintMarginBottom WRITE SetPrintMarginBottom)
    Q_PROPERTY(bool PrintShowDialog READ PrintShowDialog WRITE SetPrintShowDialog)
    Q_PROPERTY(std::string PrintDocumentName READ PrintDocumentName WRITE SetPrintDocumentName)
    Q_PROPERTY(std::string PrinterName READ PrinterName WRITE SetPrinterName)
    Q_PROPERTY(
        TFont AnnotationDefaultFont READ AnnotationDefaultFont WRITE SetAnnotationDefaultFont)
    Q_PROPERTY(TBrushStyle AnnotationDefaultBrushStlye READ AnnotationDefaultBrushStlye WRITE
                   SetAnnotationDefaultBrushStlye)
    Q_PROPERTY(TColor AnnotationDefaultBrushColor READ AnnotationDefaultBrushColor WRITE
                   SetAnnotationDefaultBrushColor)
    Q_PROPERTY(TPenStyle AnnotationDefaultPenStlye READ AnnotationDefaultPenStlye WRITE
                   SetAnnotationDefaultPenStlye)
    Q_PROPERTY(TColor AnnotationDefaultPenColor READ AnnotationDefaultPenColor WRITE
                   SetAnnotationDefaultPenColor)
    Q_PROPERTY(int AnnotationDefaultPenWidth READ AnnotationDefaultPenWidth WRITE
                   SetAnnotationDefaultPenWidth)

  public:
    explicit TiPlotComponent(QWidget* Parent = nullptr);
    ~TiPlotComponent() override;

    TiPlotMasterManager& Master() { return *FMaster; }

    int NewChannel();
    void DeleteChannel(int Index);
    void ClearChannels();
    int ChannelCount() const;
    TiPlotChannelCustom* Channel(int Index) const;
    int NewXAxis();
    void DeleteXAxis(int Index);
    void ClearXAxes();
    int XAxisCount() const;
    TiPlotXAxis* XAxis(int Index) const;
    int NewYAxis();
    void DeleteYAxis(int Index);
    void ClearYAxes();
    int YAxisCount() const;
    TiPlotYAxis* YAxis(int Index) const;
    int NewDataView();
    void DeleteDataView(int Index);
    void ClearDataViews();
    int DataViewCount() const;
    TiPlotDataView* DataView(int Index) const;
    int NewDataCursor();
    void DeleteDataCursor(int Index);
    void ClearDataCursors();
    int DataCursorCount() const;
    TiPlotDataCursor* DataCursor(int Index) const;
    int NewLegend();
    void DeleteLegend(int Index);
    void ClearLegends();
    int LegendCount() const;
    TiPlotLegend* Legend(int Index) const;
    int NewToolBar();
    void DeleteToolBar(int Index);
    void ClearToolBars();
    int ToolBarCount() const;
    TiPlotToolBar* ToolBar(int Index) const;
    int NewTable();
    void DeleteTable(int Index);
    void ClearTables();
    int TableCount() const;
    TiPlotTable* Table(int Index) const;
    int NewLimit();
    void DeleteLimit(int Index);
    void ClearLimits();
    int LimitCount() const;
    TiPlotLimit* Limit(int Index) const;
    int NewLabel();
    // Label 0 is the title and stays.
    void DeleteLabel(int Index);
    void ClearLabels();
    int LabelCount() const;
    TiPlotLabel* Label(int Index) const;
    int NewAnnotation();
    void DeleteAnnotation(int Index);
    void ClearAnnotations();
    int AnnotationCount() const;
    TiPlotAnnotation* Annotation(int Index) const;

    // The objects' host: their reports go to the managers and to painting.
    TiPlotObject* FindObject(TiPlotKind Kind, const std::string& Name) override;
    std::vector<TiPlotObject*> Objects(TiPlotKind Kind) override;
    void ObjectInserted(TiPlotObject* Object) override;
    void ObjectChanged(TiPlotObject* Object) final;
    void LayoutChanged(TiPlotObject* Object) override;
    void ObjectRenamed(TiPlotObject* Object) override;
    void ObjectRemoving(TiPlotObject* Object) override;
    void FocusChanged(TiPlotObject* Object) override;
    void SetHint(const std::string& Text, TPoint Position) override;
    void ObjectClicked(TiPlotObject* Object) override;
    void DataPointClicked(TiPlotChannelCustom* Channel, int Index) override;
    // Opens the property editor on the object's page (none: the plot's).
    void ShowEditor(TiPlotObject* Object) override;
    void RunOutput(TiPlotOutput Command) override;

    // ---- Pictures and printing
    TiPlotExportFormat CopyToClipBoardFormat() const { return FCopyToClipBoardFormat; }
    void SetCopyToClipBoardFormat(TiPlotExportFormat V) { FCopyToClipBoardFormat = V; }
    // The plot without its toolbars on the clipboard: always as PNG, and as
    // the chosen format's own form too (an Enhanced Metafile with SVG beside
    // it, or a JPEG), so that other programs paste it.
    void CopyToClipboard();
    // Asks for a file name, then SaveImageToFile.
    void SaveImage();
    // The writer by the name's last three letters, compared exactly: "bmp",
    // "emf", "jpg", "png", and beyond them "svg" and "pdf"; any other name
    // writes nothing. A failing write leaves an earlier file as it was.
    void SaveImageToFile(const std::string& FileName);
    // The plot as an Enhanced Metafile of its size.
    void PaintMetafile(TMetafile& Metafile, const std::string& Description);
    TPrinterOrientation PrintOrientation() const { return FPrintOrientation; }
    void SetPrintOrientation(TPrinterOrientation V) { FPrintOrientation = V; }
    // In inches.
    double PrintMarginLeft() const { return FPrintMargins[0]; }
    void SetPrintMarginLeft(double V) { FPrintMargins[0] = V; }
    double PrintMarginTop() const { return FPrintMargins[1]; }
    void SetPrintMarginTop(double V) { FPrintMargins[1] = V; }
    double PrintMarginRight() const { return FPrintMargins[2]; }
    void SetPrintMarginRight(double V) { FPrintMargins[2] = V; }
    double PrintMarginBottom() const { return FPrintMargins[3]; }
    void SetPrintMarginBottom(double V) { FPrintMargins[3] = V; }
    bool PrintShowDialog() const { return FPrintShowDialog; }
    void SetPrintShowDialog(bool V) { FPrintShowDialog = V; }
    const std::string& PrintDocumentName() const { return FPrintDocumentName; }
    void SetPrintDocumentName(const std::string& V) { FPrintDocumentName = V; }
    // Chosen when it names one of the system's printers.
    const std::string& PrinterName() const { return FPrinterName; }
    void SetPrinterName(const std::string& V) { FPrinterName = V; }
    // One page with the plot, without its toolbars, scaled into the
    // margins; failures as "Error Printing : ...".
    void Print();
    // The same page in a modal preview window.
    void PrintPreview();
    // Orientation and document name, for Print and the preview.
    void SetUpPrinter(QPrinter& Printer) const;
    // The page drawn on a printer set up by Print or the preview.
    void PrintPage(QPrinter& Printer);
    // How Print shows the print dialog: false when the user cancels.
    using TPrintDialog = std::function<bool(QPrinter& Printer)>;
    void SetPrintDialog(TPrintDialog Dialog) { FPrintDialog = std::move(Dialog); }
    // How SaveImage asks for the name: true with the name when confirmed.
    using TFileChooser = std::function<bool(const std::string& Filter, std::string& FileName)>;
    void SetSaveImageChooser(TFileChooser Chooser) { FSaveImageChooser = std::move(Chooser); }
    bool DoubleClickInProgress() const override { return FDoubleClick; }
    std::string Translate(const std::string& Text) override {
        return FMaster->TranslationManager().Translate(Text);
    }

    // The hint box: the text and position last offered by an object, shown
    // over everything until hidden.
    const std::string& HintText() const { return FHint.Text; }
    TPoint HintPosition() const { return FHint.Position; }
    bool HintShowing() const { return FHint.Showing; }
    // The last paint drew the hint box.
    bool HintDrawn() const { return FHint.Drawn; }
    void ShowHint();
    void HideHint();

    const TiPlotEvents& Events() const { return FEvents; }
    // Sets one of the events:
    // Plot.SetEvent(&TiPlotEvents::OnXAxisMinChange, [](int Index, double, double) {...}).
    template <typename THandler>
    void SetEvent(THandler TiPlotEvents::*Event, std::type_identity_t<THandler> Handler) {
        FEvents.*Event = std::move(Handler);
        ConnectAxes();
    }

    // The first object of the kind with that name, ignoring letter case.
    TiPlotChannelCustom* FindChannel(const std::string& Name) const;
    TiPlotXAxis* FindXAxis(const std::string& Name) const;
    TiPlotYAxis* FindYAxis(const std::string& Name) const;

    bool BackGroundGradientEnabled() const { return FBackGroundGradientEnabled; }
    void SetBackGroundGradientEnabled(bool V) {
        SetProperty(FBackGroundGradientEnabled, V, irkChange);
    }
    TiFillDirection BackGroundGradientDirection() const { return FBackGroundGradientDirection; }
    void SetBackGroundGradientDirection(TiFillDirection V) {
        SetProperty(FBackGroundGradientDirection, V, irkChange);
    }
    TColor BackGroundGradientStartColor() const { return FBackGroundGradientStartColor; }
    void SetBackGroundGradientStartColor(TColor V) {
        SetProperty(FBackGroundGradientStartColor, V, irkChange);
    }
    TColor BackGroundGradientStopColor() const { return FBackGroundGradientStopColor; }
    void SetBackGroundGradientStopColor(TColor V) {
        SetProperty(FBackGroundGradientStopColor, V, irkChange);
    }
    // Free space between the border and the objects around the data view.
    int OuterMarginLeft() const { return FOuterMarginLeft; }
    void SetOuterMarginLeft(int V) { SetProperty(FOuterMarginLeft, V, irkChange); }
    int OuterMarginTop() const { return FOuterMarginTop; }
    void SetOuterMarginTop(int V) { SetProperty(FOuterMarginTop, V, irkChange); }
    int OuterMarginRight() const { return FOuterMarginRight; }
    void SetOuterMarginRight(int V) { SetProperty(FOuterMarginRight, V, irkChange); }
    int OuterMarginBottom() const { return FOuterMarginBottom; }
    void SetOuterMarginBottom(int V) { SetProperty(FOuterMarginBottom, V, irkChange); }
    bool UserCanAddRemoveChannels() const { return FUserCanAddRemoveChannels; }
    void SetUserCanAddRemoveChannels(bool V) { FUserCanAddRemoveChannels = V; }
    // Label 0, the title: without labels the setters do nothing.
    bool TitleVisible() const;
    void SetTitleVisible(bool Value);
    TFont TitleFont() const;
    void SetTitleFont(const TFont& Value);
    double TitleMargin() const;
    void SetTitleMargin(double Value);
    bool ClipAnnotationsToAxes() const { return FClipAnnotationsToAxes; }
    void SetClipAnnotationsToAxes(bool V) { SetProperty(FClipAnnotationsToAxes, V, irkChange); }
    bool HintsShow() const { return FHintsShow; }
    void SetHintsShow(bool V) { FHintsShow = V; }
    int HintsPause() const { return FHintsPause; }
    void SetHintsPause(int V) { FHintsPause = V; }
    int HintsHidePause() const { return FHintsHidePause; }
    void SetHintsHidePause(int V) { FHintsHidePause = V; }
    const TFont& HintsFont() const { return FHintsFont; }
    void SetHintsFont(const TFont& V) { FHintsFont = V; }
    TiPlotFormStyle EditorFormStyle() const { return FEditorFormStyle; }
    void SetEditorFormStyle(TiPlotFormStyle V) { FEditorFormStyle = V; }
    // Copied into every new annotation.
    const TFont& AnnotationDefaultFont() const { return FAnnotationDefaultFont; }
    void SetAnnotationDefaultFont(const TFont& V) { FAnnotationDefaultFont = V; }
    TBrushStyle AnnotationDefaultBrushStlye() const { return FAnnotationDefaultBrushStyle; }
    void SetAnnotationDefaultBrushStlye(TBrushStyle V) { FAnnotationDefaultBrushStyle = V; }
    TColor AnnotationDefaultBrushColor() const { return FAnnotationDefaultBrushColor; }
    void SetAnnotationDefaultBrushColor(TColor V) { FAnnotationDefaultBrushColor = V; }
    TPenStyle AnnotationDefaultPenStlye() const { return FAnnotationDefaultPenStyle; }
    void SetAnnotationDefaultPenStlye(TPenStyle V) { FAnnotationDefaultPenStyle = V; }
    TColor AnnotationDefaultPenColor() const { return FAnnotationDefaultPenColor; }
    void SetAnnotationDefaultPenColor(TColor V) { FAnnotationDefaultPenColor = V; }
    int AnnotationDefaultPenWidth() const { return FAnnotationDefaultPenWidth; }
    void SetAnnotationDefaultPenWidth(int V) { FAnnotationDefaultPenWidth = V; }

    int DataViewZHorz() const;
    void SetDataViewZHorz(int Value);
    int DataViewZVert() const;
    void SetDataViewZVert(int Value);
    bool XYAxesReverse() const { return FXYAxesReverse; }
    void SetXYAxesReverse(bool Value);
    bool UserCanEditObjects() const { return FUserCanEditObjects; }
    void SetUserCanEditObjects(bool Value);
    // The caption of label 0; empty without labels.
    std::string TitleText() const;
    void SetTitleText(const std::string& Value);

    // ---- Input (iPlotComponentInput.cpp)
    // The object that takes the mouse at a client point, or none.
    TiPlotObject* ObjectAt(int X, int Y);
    // Tracking off, or on, on every X and Y axis.
    void PauseTracking();
    void ResumeTracking();
    // Every channel cleared and every axis' tracking started afresh.
    void ClearAllData();
    // The popup menu last shown, or none.
    QMenu* PopupMenu() const { return FPopupMenu.get(); }

    // Gives every layout object and data view 0 its rectangle.
    void Layout(TCanvas& Canvas);
    // The rectangles already taken by labels drawn inside the data view,
    // cleared at every paint. TryRegisterRect refuses one that overlaps a
    // taken one, or that leaves data view 0 once any is taken.
    void RegisterRect(const TRect& Rect) { FOccupied.push_back(Rect); }
    bool TryRegisterRect(const TRect& Rect);
    // After the properties were read: the layout and the painting resume.
    void Loaded();
    // What is drawn inside data view 0, in drawing order: by Layer, then by
    // kind; of equal keys the object entered first is drawn last, on top.
    std::vector<TiPlotObject*> DrawList() const;

  protected:
    TiPlotComponent(QWidget* Parent, TiPlotMasterManager::TCreateChannel CreateChannel);
    void iPaintTo(TCanvas& Canvas) override;
    void iMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void iMouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void iMouseMove(TShiftState Shift, int X, int Y) override;
    void iDoubleClick() override;
    bool iMouseWheel(int WheelDelta, TShiftState Shift, TPoint MousePos) override;
    void iKeyDown(std::uint16_t& Key, TShiftState Shift) override;
    // The object under the mouse learns that it left.
    void leaveEvent(QEvent* Event) override;
    // The arrow keys reach the focused objects.
    void iWantSpecialKey(std::uint16_t& CharCode, bool& Result) override;
    // The object lists: "ChannelManager.Count = 2", then the published
    // properties of each object as "ChannelManager.Item0.TitleText = ...".
    void WriteExtraProperties(std::vector<TPropertyLine>& Lines) const override;
    void ReadExtraProperties(std::vector<TPropertyLine>& Lines) override;

  private:
    // The master while it hears the objects: not while it is made or the
    // plot goes away.
    TiPlotMasterManager* Listening() const { return FDestroying ? nullptr : FMaster.get(); }
    void DeleteObject(TiPlotObjectManagerCustom& Manager, int Index);
    // The axis' reports become the plot's events.
    void ConnectAxis(TiPlotAxis* Axis);
    void ConnectAxes();
    // Calls the handler with the object's index within its kind, unless no
    // handler is set or the plot is being loaded.
    template <typename THandler, typename... TArgs>
    void Raise(const THandler& Handler, const TiPlotObject& Object, TArgs&&... Args) {
        if (Handler && !IsLoading())
            Handler(IndexOf(Object), std::forward<TArgs>(Args)...);
    }
    int IndexOf(const TiPlotObject& Object) const;
    // Legend 0 lists the channels with the cursor's texts when a visible
    // cursor reads all of them.
    void ShowAllChannelsInLegend();
    void DrawHint(TCanvas& Canvas);
    std::vector<TiPlotObject*> AllObjects() const;
    // The plot drawn on a bitmap of its size.
    QImage Picture();
    std::vector<TiPlotObject*> FocusedObjects() const;
    // Every object learns the shift state of the mouse event being routed.
    void HandShiftState(TShiftState Shift);
    void TakeFocus(TiPlotObject& Hit, TShiftState Shift);
    void DispatchMouseDown(TiPlotObject& Object, TMouseButton Button, int X, int Y);
    void DispatchMouseUp(TiPlotObject& Object, const TPoint& P);
    void ShowPopupMenu(TiPlotObject& Object, QPoint Screen);
    void HintTimerFired();
    // The event of a family (mouse down, click, ...) for the object's kind.
    template <typename TFamilyTable, typename... TArgs>
    void RaiseFor(const TFamilyTable& Family, const TiPlotObject& Object, TArgs&&... Args);
    void RaiseFocusEvent(TiPlotObject& Object);
    void DrawFrameLayer(TCanvas& Canvas);
    void DrawDataViewLayer(TCanvas& Canvas);
    void CalcAxesTicks(TCanvas& Canvas);
    // The data view shrinks or grows to the axes' scales.
    TRect FitToAxes(TCanvas& Canvas, TRect DataViewRect);
    // A list stored with the plot: its objects' published properties.
    struct TStoredList {
        std::string Name;
        const QMetaObject* Base;
        std::function<int()> Count;
        std::function<const QObject&(int)> Item;
        std::function<void()> Clear;
        // A new entry with these properties.
        std::function<void(const std::vector<TPropertyLine>&)> Add;
    };
    // In the order they are stored.
    std::vector<TStoredList> StoredLists() const;
    static void ReadStoredList(const TStoredList& List, std::vector<TPropertyLine> Lines);

    std::unique_ptr<TiPlotMasterManager> FMaster;
    bool FDestroying = false;
    std::vector<TRect> FOccupied;
    TiPlotEvents FEvents;
    QPointer<TiPlotObject> FPressed, FHover;
    bool FPressInProgress = false;
    TMouseButton FReleaseButton = mbLeft;
    bool FDoubleClick = false;
    // Axes are being picked with Shift or Ctrl: moves do not drag them.
    bool FAxisSelection = false;
    QTimer FHintTimer;
    std::unique_ptr<QMenu> FPopupMenu;
    struct {
        bool Showing = false;
        std::string Text;
        TPoint Position{};
        bool Drawn = false;
    } FHint;
    bool FBackGroundGradientEnabled = false;
    TiFillDirection FBackGroundGradientDirection = ifdTopBottom;
    TColor FBackGroundGradientStartColor = clBlue;
    TColor FBackGroundGradientStopColor = clBlack;
    int FOuterMarginLeft = 5, FOuterMarginTop = 5, FOuterMarginRight = 5, FOuterMarginBottom = 5;
    bool FXYAxesReverse = false;
    bool FUserCanEditObjects = true;
    bool FUserCanAddRemoveChannels = false;
    bool FClipAnnotationsToAxes = true;
    bool FHintsShow = true;
    int FHintsPause = 500;
    int FHintsHidePause = 2500;
    TFont FHintsFont;
    TiPlotFormStyle FEditorFormStyle = ipfsModal;
    TiPlotExportFormat FCopyToClipBoardFormat = ipefMetaFile;
    TFileChooser FSaveImageChooser;
    TPrinterOrientation FPrintOrientation = poLandscape;
    double FPrintMargins[4] = {1, 1, 1, 1};
    bool FPrintShowDialog = true;
    std::string FPrintDocumentName = "Untitled";
    std::string FPrinterName;
    TPrintDialog FPrintDialog;
    TFont FAnnotationDefaultFont;
    TBrushStyle FAnnotationDefaultBrushStyle = bsSolid;
    TColor FAnnotationDefaultBrushColor = clWhite;
    TPenStyle FAnnotationDefaultPenStyle = psSolid;
    TColor FAnnotationDefaultPenColor = clWhite;
    int FAnnotationDefaultPenWidth = 1;

    // ---- Data files and logging (iPlotComponentData.cpp)
    Q_PROPERTY(TiPlotDataFileFormat DataFileFormat READ DataFileFormat WRITE SetDataFileFormat)
    Q_PROPERTY(TiPlotDataFileColumnSeparator DataFileColumnSeparator READ DataFileColumnSeparator
                   WRITE SetDataFileColumnSeparator)
    Q_PROPERTY(std::string LogFileName READ LogFileName WRITE SetLogFileName)
    Q_PROPERTY(int LogBufferSize READ LogBufferSize WRITE SetLogBufferSize)
    Q_PROPERTY(bool LoggingActive READ LoggingActive)

  public:
    // The format of saved data and of the log; not while logging.
    TiPlotDataFileFormat DataFileFormat() const { return FDataFileFormat; }
    void SetDataFileFormat(TiPlotDataFileFormat Value);
    TiPlotDataFileColumnSeparator DataFileColumnSeparator() const {
        return FDataFileColumnSeparator;
    }
    void SetDataFileColumnSeparator(TiPlotDataFileColumnSeparator Value);
    // The character between columns: tab or comma; the channels' files too.
    char DataFileSeparatorChar() const override {
        return FDataFileColumnSeparator == ipdfcsComma ? ',' : '\t';
    }
    const std::string& LogFileName() const { return FLogFileName; }
    void SetLogFileName(const std::string& Value);
    // Rows gathered before they are written; below 2 every row at once.
    int LogBufferSize() const { return FLogBufferSize; }
    void SetLogBufferSize(int Value) { FLogBufferSize = Value; }
    bool LoggingActive() const { return FLoggingActive; }
    // Rows waiting for the next flush.
    int LogPendingCount() const { return FLogPendingCount; }
    // The file last saved or loaded.
    const std::string& DataFileName() const { return FDataFileName; }

    // Every channel, in columns; failures as "Error Saving Data - ...",
    // leaving an earlier file as it was.
    void SaveDataToFile(const std::string& FileName);
    // Appends the file's points to the channels. The whole file is read and
    // checked first: a file that fails adds nothing
    // ("Error Loading Data - ...").
    void LoadDataFromFile(const std::string& FileName);
    // Logging of rows: a row is one point of every channel, counted when the
    // last channel receives its point (the order samples are added in).
    void LogActivate(bool Append);
    void LogDeactivate();
    void LogFlush();
    void PointAdded(TiPlotChannelCustom* Channel) override;

    // A point read from a data file; per channel, before any is added.
    struct TLoadedPoint;
    using TLoadedData = std::vector<std::vector<TLoadedPoint>>;

  private:
    void AddLoadedData(const TLoadedData& Data);
    std::string DataFileText() const;
    std::string LogHeader() const;
    std::string LogRows(int Rows) const;
    void RaiseNotify(const TiPlotNotifyEvent& Event) const {
        if (Event && !IsLoading())
            Event();
    }

    TiPlotDataFileFormat FDataFileFormat = ipdffText;
    TiPlotDataFileColumnSeparator FDataFileColumnSeparator = ipdfcsTab;
    std::string FLogFileName;
    int FLogBufferSize = 0;
    bool FLoggingActive = false;
    int FLogPendingCount = 0;
    // Rows logged since activation: the first two carry X in compact files.
    long long FLogRowsWritten = 0;
    // While a loaded file's points are added, the log only counts them.
    bool FLogFlushDeferred = false;
    std::string FDataFileName;

    // ---- Configuration files (iPlotComponentConfig.cpp)
  public:
    // The plot's own properties, the place-holders' ZOrders and every
    // object by kind and index ("Channel0.Color = ..."). Loading replaces
    // the objects; a file that cannot be loaded whole changes nothing.
    void SavePropertiesToFile(const std::string& FileName) override;
    void LoadPropertiesFromFile(const std::string& FileName) override;
    // The configuration file last saved or loaded.
    const std::string& PropertiesFileName() const { return FPropertiesFileName; }
    // The annotations, in a file of their own ("Annotation0.Visible = ...").
    void SaveAnnotationsToFile(const std::string& FileName) const;
    void LoadAnnotationsFromFile(const std::string& FileName);

  private:
    // What NewAnnotation copies into a new annotation.
    TiPlotAnnotationDefaults AnnotationDefaults() const;
    std::vector<TPropertyLine> ConfigLines() const;
    std::string FPropertiesFileName;

    // ---- Property editor (iPlotComponentEditor.cpp)
  public:
    // The editor while it is open, or none.
    TiPlotEditor* Editor() const;
    // Called with the editor once it shows; with ipfsModal inside its modal
    // run, where a test drives the editor and closes it.
    using TEditorShown = std::function<void(TiPlotEditor& Editor)>;
    void SetEditorShown(TEditorShown Hook) { FEditorShown = std::move(Hook); }
    // The plot's page of the editor leaves these out, as its files do.
    using TiComponent::ExcludedProperties;

  private:
    // The objects changed: an open editor's list follows, without Leaving.
    void EditorObjectsChanged(TiPlotObject* Leaving = nullptr);
    QPointer<TiPlotEditor> FEditor;
    TEditorShown FEditorShown;
};
