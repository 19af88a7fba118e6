#include "plot/iPlotInterpolation.h"

#include "platform/Exception.h"

#include <cmath>
#include <cstddef>

TiPlotCubicSpline::TiPlotCubicSpline(std::vector<double> XA, std::vector<double> YA)
    : FXA(std::move(XA)), FYA(std::move(YA)), FY2(FXA.size()) {
    const std::size_t N = FXA.size();
    if (N < 2)
        return;
    // Equal X would divide by zero below and leave the search undefined.
    for (std::size_t I = 1; I < N; ++I)
        if (FXA[I] == FXA[I - 1])
            throw Exception("Splint Error - xa's must be distinct");
    const std::vector<double>& X = FXA;
    const std::vector<double>& Y = FYA;
    std::vector<double> U(N);
    const double Yp1 = (Y[1] - Y[0]) / (X[1] - X[0]);
    const double Ypn = (Y[N - 1] - Y[N - 2]) / (X[N - 1] - X[N - 2]);
    if (Yp1 > 0.99e30) {
        FY2[0] = 0;
        U[0] = 0;
    } else {
        FY2[0] = -0.5;
        U[0] = (3 / (X[1] - X[0])) * ((Y[1] - Y[0]) / (X[1] - X[0]) - Yp1);
    }
    for (std::size_t I = 1; I + 1 < N; ++I) {
        const double Sig = (X[I] - X[I - 1]) / (X[I + 1] - X[I - 1]);
        const double P = Sig * FY2[I - 1] + 2;
        FY2[I] = (Sig - 1) / P;
        U[I] = (Y[I + 1] - Y[I]) / (X[I + 1] - X[I]) - (Y[I] - Y[I - 1]) / (X[I] - X[I - 1]);
        U[I] = (6 * U[I] / (X[I + 1] - X[I - 1]) - Sig * U[I - 1]) / P;
    }
    double Qn = 0, Un = 0;
    if (!(Ypn > 0.99e30)) {
        Qn = 0.5;
        Un = (3 / (X[N - 1] - X[N - 2])) * (Ypn - (Y[N - 1] - Y[N - 2]) / (X[N - 1] - X[N - 2]));
    }
    FY2[N - 1] = (Un - Qn * U[N - 2]) / (Qn * FY2[N - 2] + 1);
    for (std::size_t K = N - 1; K-- > 0;)
        FY2[K] = FY2[K] * FY2[K + 1] + U[K];
}

double TiPlotCubicSpline::operator()(double X) const {
    std::size_t Lo = 0, Hi = FXA.size() - 1;
    while (Hi - Lo > 1) {
        const std::size_t K = (Hi + Lo) / 2;
        if (X < FXA[K])
            Hi = K;
        else
            Lo = K;
    }
    const double H = FXA[Hi] - FXA[Lo];
    if (H == 0)
        throw Exception("Splint Error - xa's must be distinct");
    const double A = (FXA[Hi] - X) / H, B = (X - FXA[Lo]) / H;
    return A * FYA[Lo] + B * FYA[Hi] +
           ((A * A * A - A) * FY2[Lo] + (B * B * B - B) * FY2[Hi]) * H * H / 6;
}

namespace {

// The first sample nearest to X.
std::size_t Nearest(std::span<const double> XA, double X) {
    std::size_t Ns = 0;
    double Dif = std::abs(X - XA[0]);
    for (std::size_t I = 1; I < XA.size(); ++I)
        if (const double D = std::abs(X - XA[I]); D < Dif) {
            Ns = I;
            Dif = D;
        }
    return Ns;
}

// Neville's tableau shared by both functions: Column(M, I, C, D) updates
// entry I of the M-th column; the walk adds the correction that stays
// nearest the centre of the tableau.
template <typename TColumn>
double Tableau(std::span<const double> XA, std::span<const double> YA, double X,
               std::vector<double> C, std::vector<double> D, TColumn Column) {
    const int N = int(XA.size());
    // K is the 1-based position of the walk, so C[K] and D[K - 1] are its
    // upper and lower neighbours in 0-based storage.
    int K = int(Nearest(XA, X));
    double Y = YA[K];
    for (int M = 1; M < N; ++M) {
        for (int I = 0; I < N - M; ++I)
            Column(M, I, C, D);
        if (2 * K < N - M) {
            Y += C[K];
        } else {
            Y += D[K - 1];
            --K;
        }
    }
    return Y;
}

} // namespace

double iPlotPolynomialInterpolate(std::span<const double> XA, std::span<const double> YA,
                                  double X) {
    std::vector<double> Start(YA.begin(), YA.end());
    return Tableau(
        XA, YA, X, Start, Start, [&](int M, int I, std::vector<double>& C, std::vector<double>& D) {
            const double Ho = XA[I] - X, Hp = XA[I + M] - X;
            const double W = C[I + 1] - D[I];
            double Den = Ho - Hp;
            if (Den == 0)
                throw Exception("Polynomial Interpolation Error - Pause in Routine Data");
            Den = W / Den;
            D[I] = Hp * Den;
            C[I] = Ho * Den;
        });
}

double iPlotRationalInterpolate(std::span<const double> XA, std::span<const double> YA, double X) {
    constexpr double Tiny = 1e-25;
    for (std::size_t I = 0; I < XA.size(); ++I)
        if (X == XA[I])
            return YA[I];
    std::vector<double> C(YA.begin(), YA.end()), D(C);
    for (double& V : D)
        V += Tiny;
    return Tableau(XA, YA, X, C, D,
                   [&](int M, int I, std::vector<double>& Cs, std::vector<double>& Ds) {
                       const double W = Cs[I + 1] - Ds[I];
                       const double H = XA[I + M] - X;
                       const double T = (XA[I] - X) * Ds[I] / H;
                       double Dd = T - Cs[I + 1];
                       if (Dd == 0)
                           throw Exception("Rational Interpolation Error - Pause in Routine Data");
                       Dd = W / Dd;
                       Ds[I] = Cs[I + 1] * Dd;
                       Cs[I] = T * Dd;
                   });
}
