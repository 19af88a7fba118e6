#pragma once
// Breaks the text of TCanvas::DrawText into lines the way the classic
// formatted text call does: paragraphs at CR, LF and CR LF, words wrapped at
// blanks (a word wider than the box keeps a line of its own), ellipses,
// and the "&" prefix that underlines the next character.

#include <QFontMetrics>
#include <QString>

#include <vector>

struct TTextLine {
    QString Text;
    int Width = 0;
    // Index in Text of the character to underline, or -1.
    int Prefix = -1;
};

struct TTextLayout {
    std::vector<TTextLine> Lines;
    int LineHeight = 0;
    int Width = 0;
    int Height() const { return int(Lines.size()) * LineHeight; }
};

TTextLayout LayOutText(const QFontMetrics& Metrics, const QString& Text, int MaxWidth,
                       unsigned Flags);
