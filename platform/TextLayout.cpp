#include "platform/TextLayout.h"

#include "platform/Canvas.h"

#include <algorithm>

namespace {

const QString Ellipsis = QStringLiteral("...");

struct TParagraph {
    QString Text;
    int Prefix = -1;
};

QStringList Paragraphs(const QString& Text, unsigned Flags) {
    if (Flags & DT_SINGLELINE)
        return {Text};
    QString Unified = Text;
    Unified.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
    return Unified.split('\n');
}

// Tab stops every eight characters.
QString ExpandTabs(const QString& Text) {
    QString Result;
    for (QChar C : Text) {
        if (C != '\t') {
            Result += C;
            continue;
        }
        do
            Result += ' ';
        while (Result.size() % 8 != 0);
    }
    return Result;
}

// "&&" is one ampersand, "&x" underlines x.
TParagraph StripPrefix(const QString& Text) {
    TParagraph P;
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I] == '&' && I + 1 < Text.size()) {
            ++I;
            if (Text[I] != '&')
                P.Prefix = int(P.Text.size());
        } else if (Text[I] == '&') {
            continue;
        }
        P.Text += Text[I];
    }
    return P;
}

// Start index and length of each wrapped line of Text.
std::vector<std::pair<int, int>> WrapWords(const QFontMetrics& M, const QString& Text,
                                           int MaxWidth) {
    std::vector<std::pair<int, int>> Lines;
    const int N = int(Text.size());
    int Pos = 0;
    do {
        int End = -1;
        int From = Pos;
        while (true) {
            int Blank = int(Text.indexOf(' ', From));
            if (Blank < 0)
                Blank = N;
            if (End >= 0 && M.horizontalAdvance(Text.mid(Pos, Blank - Pos)) > MaxWidth)
                break;
            End = Blank;
            if (Blank >= N)
                break;
            From = Blank + 1;
        }
        Lines.emplace_back(Pos, End - Pos);
        Pos = End;
        while (Pos < N && Text[Pos] == ' ')
            ++Pos;
    } while (Pos < N);
    return Lines;
}

QString EndEllipsis(const QFontMetrics& M, QString Text, int MaxWidth) {
    while (!Text.isEmpty() && M.horizontalAdvance(Text + Ellipsis) > MaxWidth)
        Text.chop(1);
    return Text + Ellipsis;
}

QString WordEllipsis(const QFontMetrics& M, QString Text, int MaxWidth) {
    while (!Text.isEmpty() && M.horizontalAdvance(Text + Ellipsis) > MaxWidth)
        Text.truncate(std::max<qsizetype>(Text.lastIndexOf(' '), 0));
    return Text + Ellipsis;
}

// Keeps the last path component and shortens what comes before it.
QString PathEllipsis(const QFontMetrics& M, const QString& Text, int MaxWidth) {
    const qsizetype Slash = std::max(Text.lastIndexOf('\\'), Text.lastIndexOf('/'));
    if (Slash < 0)
        return EndEllipsis(M, Text, MaxWidth);
    QString Head = Text.left(Slash);
    const QString Tail = Text.mid(Slash);
    while (!Head.isEmpty() && M.horizontalAdvance(Head + Ellipsis + Tail) > MaxWidth)
        Head.chop(1);
    return Head + Ellipsis + Tail;
}

void ShortenToFit(const QFontMetrics& M, TTextLine& Line, int MaxWidth, unsigned Flags) {
    if (!(Flags & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) ||
        M.horizontalAdvance(Line.Text) <= MaxWidth)
        return;
    if (Flags & DT_PATH_ELLIPSIS)
        Line.Text = PathEllipsis(M, Line.Text, MaxWidth);
    else if (Flags & DT_WORD_ELLIPSIS)
        Line.Text = WordEllipsis(M, Line.Text, MaxWidth);
    else
        Line.Text = EndEllipsis(M, Line.Text, MaxWidth);
    if (Line.Prefix >= int(Line.Text.size()) - int(Ellipsis.size()))
        Line.Prefix = -1;
}

void AddParagraph(TTextLayout& Layout, const QFontMetrics& M, const TParagraph& P, int MaxWidth,
                  unsigned Flags) {
    const auto Pieces = Flags & DT_WORDBREAK && !(Flags & DT_SINGLELINE)
                            ? WrapWords(M, P.Text, MaxWidth)
                            : std::vector<std::pair<int, int>>{{0, int(P.Text.size())}};
    for (auto [Start, Length] : Pieces) {
        TTextLine Line{P.Text.mid(Start, Length), 0, -1};
        if (P.Prefix >= Start && P.Prefix < Start + Length)
            Line.Prefix = P.Prefix - Start;
        ShortenToFit(M, Line, MaxWidth, Flags);
        Line.Width = M.horizontalAdvance(Line.Text);
        Layout.Width = std::max(Layout.Width, Line.Width);
        Layout.Lines.push_back(Line);
    }
}

} // namespace

TTextLayout LayOutText(const QFontMetrics& Metrics, const QString& Text, int MaxWidth,
                       unsigned Flags) {
    TTextLayout Layout;
    Layout.LineHeight = Metrics.height();
    if (Text.isEmpty())
        return Layout;
    for (QString Paragraph : Paragraphs(Text, Flags)) {
        if (Flags & DT_EXPANDTABS)
            Paragraph = ExpandTabs(Paragraph);
        const TParagraph P =
            Flags & DT_NOPREFIX ? TParagraph{Paragraph, -1} : StripPrefix(Paragraph);
        AddParagraph(Layout, Metrics, P, MaxWidth, Flags);
    }
    return Layout;
}
