// The plot channel: statistics, reports to the axes, the visible range,
// values between points, hits and clicks, the cursor texts, the log and the
// files. The Qt application is the test program's (iPlotObjectsTest.cpp).

#include "plot/iPlot.h"
#include "plot/iPlotAxis.h"
#include "plot/iPlotChannel.h"

#include <gtest/gtest.h>
