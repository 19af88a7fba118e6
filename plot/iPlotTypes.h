#pragma once
// Enumerations of the plot, registered with Qt's meta-object system so that
// published properties of these types are stored and shown by name.

#include "platform/GraphicsObjects.h"

#include <QObject>

#include <cstdint>

namespace iPlotTypes {
Q_NAMESPACE

enum TiPlotDataStyle : std::uint8_t {
    ipdsStandard,
    ipdsCompact,
    ipdsCompactInterval,
    ipdsFullFeature
};
Q_ENUM_NS(TiPlotDataStyle)

enum TiPlotLineStyle : std::uint8_t { iplsSolid, iplsDash, iplsDot, iplsDashDot, iplsDashDotDot };
Q_ENUM_NS(TiPlotLineStyle)

enum TiPlotMarkerStyle : std::uint8_t {
    ipmsCircle,
    ipmsSquare,
    ipmsDiamond,
    ipmsCross,
    ipmsPlus,
    ipmsTriangleUp,
    ipmsTriangleDown,
    ipmsTriangleLeft,
    ipmsTriangleRight,
    ipmsVerticalLine,
    ipmsHorizontalLine,
    ipmsCharacter
};
Q_ENUM_NS(TiPlotMarkerStyle)

enum TiPlotInterpolationStyle : std::uint8_t {
    ipistStraightLine,
    ipistCubicSpline,
    ipistPolynomial,
    ipistRational,
    ipistDifferential,
    ipistDifferentialTerminated
};
Q_ENUM_NS(TiPlotInterpolationStyle)

enum TiPlotHighLowStyle : std::uint8_t { iphlsOpenClose, iphlsCandleStick };
Q_ENUM_NS(TiPlotHighLowStyle)

enum TiPlotDigitalReferenceStyle : std::uint8_t { ipdrScale, ipdrPercent };
Q_ENUM_NS(TiPlotDigitalReferenceStyle)

enum TiPlotFormStyle : std::uint8_t { ipfsModal, ipfsStayOnTop };
Q_ENUM_NS(TiPlotFormStyle)

enum TPrinterOrientation : std::uint8_t { poPortrait, poLandscape };
Q_ENUM_NS(TPrinterOrientation)

// The picture a copy to the clipboard makes.
enum TiPlotExportFormat : std::uint8_t { ipefMetaFile, ipefBitmap, ipefJPEG };
Q_ENUM_NS(TiPlotExportFormat)

enum TiPlotDataFileFormat : std::uint8_t { ipdffText, ipdffCompactInterval };
Q_ENUM_NS(TiPlotDataFileFormat)

enum TiPlotDataFileColumnSeparator : std::uint8_t { ipdfcsTab, ipdfcsComma };
Q_ENUM_NS(TiPlotDataFileColumnSeparator)

} // namespace iPlotTypes

using namespace iPlotTypes;
