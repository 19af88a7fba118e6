#pragma once
// Plain values shared by every layer: colours, rectangles, points.

#include <cstdint>

// 0x00BBGGRR. A high byte 0x80 marks a system colour index, 0x02 a
// palette-relative colour; colour arithmetic uses the three low bytes.
using TColor = std::uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr TColor clSystemColor = 0x80000000;
constexpr TColor clScrollBar = clSystemColor | 0;
constexpr TColor clBackground = clSystemColor | 1;
constexpr TColor clActiveCaption = clSystemColor | 2;
constexpr TColor clInactiveCaption = clSystemColor | 3;
constexpr TColor clMenu = clSystemColor | 4;
constexpr TColor clWindow = clSystemColor | 5;
constexpr TColor clWindowFrame = clSystemColor | 6;
constexpr TColor clMenuText = clSystemColor | 7;
constexpr TColor clWindowText = clSystemColor | 8;
constexpr TColor clCaptionText = clSystemColor | 9;
constexpr TColor clActiveBorder = clSystemColor | 10;
constexpr TColor clInactiveBorder = clSystemColor | 11;
constexpr TColor clAppWorkSpace = clSystemColor | 12;
constexpr TColor clHighlight = clSystemColor | 13;
constexpr TColor clHighlightText = clSystemColor | 14;
constexpr TColor clBtnFace = clSystemColor | 15;
constexpr TColor clBtnShadow = clSystemColor | 16;
constexpr TColor clGrayText = clSystemColor | 17;
constexpr TColor clBtnText = clSystemColor | 18;
constexpr TColor clInactiveCaptionText = clSystemColor | 19;
constexpr TColor clBtnHighlight = clSystemColor | 20;
constexpr TColor cl3DDkShadow = clSystemColor | 21;
constexpr TColor cl3DLight = clSystemColor | 22;
constexpr TColor clInfoText = clSystemColor | 23;
constexpr TColor clInfoBk = clSystemColor | 24;

// Mouse cursor shapes by number; 0 leaves the choice to the control.
constexpr int crDefault = 0;
constexpr int crSizeNS = -7;
constexpr int crSizeWE = -9;
constexpr int crDrag = -12;
constexpr int crHandPoint = -21;

constexpr TColor RGB(int R, int G, int B) {
    return TColor(R & 0xFF) | TColor(G & 0xFF) << 8 | TColor(B & 0xFF) << 16;
}
constexpr int GetRValue(TColor C) {
    return int(C & 0xFF);
}
constexpr int GetGValue(TColor C) {
    return int(C >> 8 & 0xFF);
}
constexpr int GetBValue(TColor C) {
    return int(C >> 16 & 0xFF);
}

struct TPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A box from (Left, Top) up to but not including (Right, Bottom).
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    TPoint TopLeft() const { return {Left, Top}; }
    TPoint BottomRight() const { return {Right, Bottom}; }
    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    bool Contains(TPoint P) const {
        return P.X >= Left && P.X < Right && P.Y >= Top && P.Y < Bottom;
    }
    friend bool operator==(const TRect&, const TRect&) = default;
};

constexpr TPoint Point(int X, int Y) {
    return {X, Y};
}
constexpr TRect Rect(int Left, int Top, int Right, int Bottom) {
    return {Left, Top, Right, Bottom};
}
