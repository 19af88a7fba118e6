#pragma once
// An axis maps the values of one dimension to pixels of the data view.

#include "plot/iPlotObjects.h"

#include "platform/GraphicsObjects.h"

class TiPlotAxis : public TiPlotLayoutObject {
    Q_OBJECT
    Q_PROPERTY(bool ForceStacking READ ForceStacking WRITE SetForceStacking)
    Q_PROPERTY(double Span READ Span WRITE SetSpan)
    Q_PROPERTY(double Min READ Min WRITE SetMin)
    Q_PROPERTY(TFont LabelsFont READ LabelsFont WRITE SetLabelsFont)
    Q_PROPERTY(TFont TitleFont READ TitleFont WRITE SetTitleFont)
    Q_PROPERTY(bool TitleShow READ TitleShow WRITE SetTitleShow)
    Q_PROPERTY(std::string Title READ Title WRITE SetTitle)

  public:
    explicit TiPlotAxis(TiPlotHost* Host);

    void SetForceStacking(bool Value);
    double Span() const { return FSpan; }
    void SetSpan(double Value) { Change(FSpan, Value); }
    double Min() const { return FMin; }
    void SetMin(double Value) { Change(FMin, Value); }
    double Max() const { return FMin + FSpan; }
    const TFont& LabelsFont() const { return FLabelsFont; }
    void SetLabelsFont(const TFont& Value) { Change(FLabelsFont, Value); }
    const TFont& TitleFont() const { return FTitleFont; }
    void SetTitleFont(const TFont& Value) { Change(FTitleFont, Value); }
    bool TitleShow() const { return FTitleShow; }
    void SetTitleShow(bool Value) { Change(FTitleShow, Value); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& Value) { Change(FTitle, Value); }

  private:
    double FSpan = 100;
    double FMin = 0;
    TFont FLabelsFont, FTitleFont;
    bool FTitleShow = false;
    std::string FTitle;
};

class TiPlotXAxis : public TiPlotAxis {
    Q_OBJECT
  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::XAxis;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotXAxis(TiPlotHost* Host);
};

class TiPlotYAxis : public TiPlotAxis {
    Q_OBJECT
  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::YAxis;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotYAxis(TiPlotHost* Host);
};
