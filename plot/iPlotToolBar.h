#pragma once
// The row of buttons that control tracking, zooming and output.

#include "plot/iPlotObjects.h"

class TiPlotToolBar : public TiPlotLayoutObject {
    Q_OBJECT
    Q_PROPERTY(double ZoomInOutFactor READ ZoomInOutFactor WRITE SetZoomInOutFactor)
    Q_PROPERTY(bool FlatBorder READ FlatBorder WRITE SetFlatBorder)
    Q_PROPERTY(bool FlatButtons READ FlatButtons WRITE SetFlatButtons)
    Q_PROPERTY(bool SmallButtons READ SmallButtons WRITE SetSmallButtons)

  public:
    static constexpr TiPlotKind StaticKind = TiPlotKind::ToolBar;
    TiPlotKind Kind() const override { return StaticKind; }

    explicit TiPlotToolBar(TiPlotHost* Host);

    double ZoomInOutFactor() const { return FZoomInOutFactor; }
    // Below 1, or not a number, is 1: zooming never turns the axes over.
    void SetZoomInOutFactor(double Value);
    bool FlatBorder() const { return FFlatBorder; }
    void SetFlatBorder(bool Value) { Change(FFlatBorder, Value); }
    bool FlatButtons() const { return FFlatButtons; }
    void SetFlatButtons(bool Value) { Change(FFlatButtons, Value); }
    bool SmallButtons() const { return FSmallButtons; }
    void SetSmallButtons(bool Value) { Change(FSmallButtons, Value); }

    // The modes the Select and Zoom Box buttons hold down, read by what
    // reacts to a press in the data view.
    bool SelectDown() const { return FSelectDown; }
    void SetSelectDown(bool Value) { Change(FSelectDown, Value); }
    bool ZoomBoxDown() const { return FZoomBoxDown; }
    void SetZoomBoxDown(bool Value) { Change(FZoomBoxDown, Value); }

    // The bar's height in a horizontal layout, its width in a vertical one.
    int Thickness(TCanvas& Canvas) override;
    // The bar's face and frame; the buttons are drawn on it.
    void Draw(TCanvas& Canvas, TColor BackGroundColor) override;

  private:
    double FZoomInOutFactor = 2;
    bool FFlatBorder = false;
    bool FFlatButtons = false;
    bool FSmallButtons = false;
    bool FSelectDown = false;
    bool FZoomBoxDown = false;
};
