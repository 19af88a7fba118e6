#pragma once
// The interpolating functions of the curve trace styles. Each fails with
// an Exception where its sample points leave it undefined.

#include <span>
#include <vector>

// The cubic spline through the samples whose first derivative at each end
// equals the slope of the end chord. The X values must ascend.
class TiPlotCubicSpline {
  public:
    TiPlotCubicSpline(std::vector<double> XA, std::vector<double> YA);
    double operator()(double X) const;

  private:
    std::vector<double> FXA, FYA, FY2;
};

// Neville's polynomial through all samples, evaluated at X.
double iPlotPolynomialInterpolate(std::span<const double> XA, std::span<const double> YA, double X);
// The Bulirsch-Stoer diagonal rational function through all samples.
double iPlotRationalInterpolate(std::span<const double> XA, std::span<const double> YA, double X);
