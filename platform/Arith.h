#pragma once
// The program's integer arithmetic on real values.

#include <cmath>
#include <cstdint>

// Nearest integer, halves to even (the default floating-point rounding mode).
inline std::int64_t Round(double V) {
    return std::llrint(V);
}

// Toward zero.
inline std::int64_t Trunc(double V) {
    return static_cast<std::int64_t>(V);
}

inline double Frac(double V) {
    return V - std::trunc(V);
}

// Integer division and remainder rounding toward zero, as C++ does for ints;
// named so that the algorithms read as written.
template <typename I> constexpr I Div(I A, I B) {
    return A / B;
}
template <typename I> constexpr I Mod(I A, I B) {
    return A % B;
}
