// The plot's data files (text in columns, or compact interval singles) and
// its log of rows.

#include "plot/iPlotComponent.h"

#include "plot/iPlotChannelCustom.h"

#include "components/iPropertyFile.h"
#include "platform/Exception.h"
#include "platform/Text.h"

#include <QScopeGuard>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string_view>

struct TiPlotComponent::TLoadedPoint {
    double X = 0, Y = 0;
    bool Null = false, Empty = false;
};

namespace {

const std::string_view CompactIntervalTitle = "Compact Interval";
// Compact interval singles: no point, the end of the data, and the values
// from which a single reads as one of these marks.
constexpr float NoPoint = 1e38f;
constexpr float EndMark = 2e38f;
constexpr double EndFrom = 1.5e38;
constexpr double MarkFrom = 9e37;

// A value a single holds apart from the marks; what is written and what is
// read back as a point, so that whatever loads can be saved again.
bool CompactValue(double V) {
    return std::abs(V) < MarkFrom;
}

// ---- Writing

// The user's decimal separator, unless the columns are separated by the
// same character: then a period, so that the columns stay apart.
std::string NumberText(double V, char ColumnSeparator) {
    std::string Text = FloatToStr(V);
    if (DecimalSeparator() == ColumnSeparator)
        std::replace(Text.begin(), Text.end(), ColumnSeparator, '.');
    return Text;
}

std::string YText(const TiPlotChannelCustom& Channel, int Index, char Separator) {
    if (Channel.GetNull(Index))
        return "Null";
    if (Channel.GetEmpty(Index))
        return "Empty";
    return NumberText(Channel.GetY(Index), Separator);
}

// A title must not end its header line or split its column.
std::string TitleColumn(const TiPlotChannelCustom& Channel, const char* Suffix, char Separator) {
    std::string Title = Channel.TitleText();
    for (char& C : Title)
        if (C == Separator || C == '\t' || C == '\r' || C == '\n')
            C = ' ';
    return Title + Suffix;
}

// The four bytes of a single, least significant first.
void AppendFloat(std::string& Bytes, float Value) {
    const auto Bits = std::bit_cast<std::uint32_t>(Value);
    for (int Shift = 0; Shift < 32; Shift += 8)
        Bytes.push_back(char((Bits >> Shift) & 0xFF));
}

// Marks and values a single cannot hold would read back as other values or
// end the data early.
void AppendSingle(std::string& Bytes, double V) {
    if (!CompactValue(V))
        throw Exception("The value " + FloatToStr(V) +
                        " can not be stored in the Compact Interval format");
    AppendFloat(Bytes, float(V));
}

// One record of a channel: X (in rows 0 and 1 only) and Y, or the marks of
// no point.
void AppendCompactPoint(std::string& Bytes, const TiPlotChannelCustom& Channel, int Index,
                        bool WithX) {
    const bool Present = Index >= 0 && Index < Channel.Count();
    if (WithX) {
        if (Present)
            AppendSingle(Bytes, Channel.GetX(Index));
        else
            AppendFloat(Bytes, NoPoint);
    }
    if (Present)
        AppendSingle(Bytes, Channel.GetY(Index));
    else
        AppendFloat(Bytes, NoPoint);
}

std::string CompactIntervalHeader(int ChannelCount) {
    return std::string(CompactIntervalTitle) + "\r\n" + IntToStr(ChannelCount) + "\r\n";
}

// ---- Reading

// A cell quoted in a message: short, and only printable ASCII.
std::string Quoted(std::string_view Cell) {
    std::string Text(Cell.substr(0, 40));
    for (char& C : Text)
        if (static_cast<unsigned char>(C) < ' ' || static_cast<unsigned char>(C) > '~')
            C = '?';
    return "'" + Text + (Cell.size() > 40 ? "...'" : "'");
}

double CellNumber(const std::string& Cell) {
    double V = 0;
    if (!TryStrToFloat(Cell, V))
        throw EConvertError(Quoted(Cell) + " is not a valid floating point value");
    return V;
}

std::vector<std::string_view> SplitCells(std::string_view Line, char Separator) {
    std::vector<std::string_view> Cells;
    std::size_t Begin = 0;
    for (std::size_t At; (At = Line.find(Separator, Begin)) != std::string_view::npos;
         Begin = At + 1)
        Cells.push_back(Line.substr(Begin, At - Begin));
    Cells.push_back(Line.substr(Begin));
    return Cells;
}

// Paired columns may come from a region with the other decimal separator.
std::string WithOwnDecimalSeparator(std::string Cell) {
    const char Own = DecimalSeparator();
    const char Other = Own == ',' ? '.' : ',';
    std::replace(Cell.begin(), Cell.end(), Other, Own);
    return Cell;
}

std::string_view FirstLine(std::string_view Bytes) {
    return Bytes.substr(0, Bytes.find_first_of("\r\n"));
}

// Reads the singles of a compact interval file one after the other.
class TSingleReader {
  public:
    explicit TSingleReader(std::string_view Bytes) : FBytes(Bytes) {}
    double Next() {
        if (FBytes.size() - FAt < 4)
            throw Exception("Invalid Data");
        std::uint32_t Bits = 0;
        for (int I = 0; I < 4; ++I)
            Bits |= std::uint32_t(static_cast<unsigned char>(FBytes[FAt + I])) << (8 * I);
        FAt += 4;
        return std::bit_cast<float>(Bits);
    }
    bool AtEnd() const { return FAt == FBytes.size(); }

  private:
    std::string_view FBytes;
    std::size_t FAt = 0;
};

} // namespace

// ---- Properties

void TiPlotComponent::SetDataFileFormat(TiPlotDataFileFormat Value) {
    if (Value == FDataFileFormat)
        return;
    if (FLoggingActive)
        throw Exception("Data File Format can not be changed while logging active");
    FDataFileFormat = Value;
}

void TiPlotComponent::SetDataFileColumnSeparator(TiPlotDataFileColumnSeparator Value) {
    if (Value == FDataFileColumnSeparator)
        return;
    if (FLoggingActive)
        throw Exception("Data File Column Seperator can not be changed while logging active");
    FDataFileColumnSeparator = Value;
}

void TiPlotComponent::SetLogFileName(const std::string& Value) {
    if (Value == FLogFileName)
        return;
    if (FLoggingActive)
        throw Exception("Log File Name can not be changed while logging is active.");
    FLogFileName = Value;
}

// ---- Saving

std::string TiPlotComponent::DataFileText() const {
    const char Separator = DataFileSeparatorChar();
    std::string Text;
    int Rows = 0;
    for (int C = 0; C < ChannelCount(); ++C) {
        const TiPlotChannelCustom& Channel = *this->Channel(C);
        if (C > 0)
            Text += Separator;
        Text += TitleColumn(Channel, "(X)", Separator) + Separator +
                TitleColumn(Channel, "(Y)", Separator);
        Rows = std::max(Rows, Channel.Count());
    }
    Text += "\r\n";
    for (int K = 0; K < Rows; ++K) {
        for (int C = 0; C < ChannelCount(); ++C) {
            const TiPlotChannelCustom& Channel = *this->Channel(C);
            if (C > 0)
                Text += Separator;
            if (K < Channel.Count())
                Text += NumberText(Channel.GetX(K), Separator) + Separator +
                        YText(Channel, K, Separator);
            else
                Text += Separator;
        }
        Text += "\r\n";
    }
    return Text;
}

void TiPlotComponent::SaveDataToFile(const std::string& FileName) {
    try {
        if (FDataFileFormat == ipdffText) {
            iWriteTextFile(FileName, DataFileText());
        } else {
            std::string Bytes = CompactIntervalHeader(ChannelCount());
            int Rows = 0;
            for (int C = 0; C < ChannelCount(); ++C)
                Rows = std::max(Rows, Channel(C)->Count());
            for (int K = 0; K < Rows; ++K)
                for (int C = 0; C < ChannelCount(); ++C)
                    AppendCompactPoint(Bytes, *Channel(C), K, K < 2);
            AppendFloat(Bytes, EndMark);
            iWriteTextFile(FileName, Bytes);
        }
    } catch (const std::exception& E) {
        throw Exception("Error Saving Data - " + std::string(E.what()));
    }
    FDataFileName = FileName;
    RaiseNotify(FEvents.OnAfterSaveData);
}

// ---- Loading

namespace {

using TLoadedPoint = TiPlotComponent::TLoadedPoint;
using TLoadedData = std::vector<std::vector<TLoadedPoint>>;

// Null and Empty in any letter case set the flag of a point at Y 0.
TLoadedPoint LoadedPoint(double X, const std::string& YCell) {
    const std::string Word = UpperCase(Trim(YCell));
    if (Word == "NULL")
        return {X, 0, true, false};
    if (Word == "EMPTY")
        return {X, 0, false, true};
    return {X, CellNumber(YCell)};
}

bool Blank(std::string_view Cell) {
    return Trim(std::string(Cell)).empty();
}

// Columns 2i and 2i + 1 are channel i's X and Y.
void ReadPairedLine(std::string_view Line, char Separator, TLoadedData& Data) {
    const std::vector<std::string_view> Cells = SplitCells(Line, Separator);
    for (std::size_t C = 0; C < Data.size() && 2 * C + 1 < Cells.size(); ++C) {
        if (Blank(Cells[2 * C]) || Blank(Cells[2 * C + 1]))
            continue;
        const double X = CellNumber(WithOwnDecimalSeparator(std::string(Cells[2 * C])));
        Data[C].push_back(LoadedPoint(X, WithOwnDecimalSeparator(std::string(Cells[2 * C + 1]))));
    }
}

// The first column is every channel's X; column i + 1 is channel i's Y.
void ReadSharedXLine(std::string_view Line, char Separator, TLoadedData& Data) {
    const std::vector<std::string_view> Cells = SplitCells(Line, Separator);
    if (Blank(Cells[0]))
        return;
    const double X = CellNumber(std::string(Cells[0]));
    for (std::size_t C = 0; C < Data.size() && C + 1 < Cells.size(); ++C)
        if (!Blank(Cells[C + 1]))
            Data[C].push_back(LoadedPoint(X, std::string(Cells[C + 1])));
}

void ReadText(std::string_view Bytes, TLoadedData& Data) {
    const std::vector<std::string_view> Lines = SplitLines(Bytes);
    if (Lines.empty())
        return;
    const char Separator = Lines[0].find('\t') != std::string_view::npos ? '\t' : ',';
    const bool SharedX = UpperCase(std::string(Lines[0].substr(0, 3))) == "(X)";
    for (std::size_t L = 1; L < Lines.size(); ++L) {
        try {
            if (SharedX)
                ReadSharedXLine(Lines[L], Separator, Data);
            else
                ReadPairedLine(Lines[L], Separator, Data);
        } catch (const std::exception& E) {
            throw Exception("Line " + IntToStr((long long)L + 1) + ": " + E.what());
        }
    }
}

// The channel count on the second line.
std::size_t CompactChannelCount(std::string_view Line) {
    const std::string Text = Trim(std::string(Line));
    if (Text.empty() || Text.size() > 9 ||
        !std::all_of(Text.begin(), Text.end(), [](char C) { return C >= '0' && C <= '9'; }))
        throw Exception("Invalid Data");
    return std::stoul(Text);
}

void ReadCompactInterval(std::string_view Bytes, TLoadedData& Data) {
    const std::size_t TitleEnd = Bytes.find('\n');
    const std::size_t CountEnd =
        TitleEnd == std::string_view::npos ? TitleEnd : Bytes.find('\n', TitleEnd + 1);
    if (CountEnd == std::string_view::npos)
        throw Exception("Invalid Data");
    const std::size_t Columns =
        CompactChannelCount(Bytes.substr(TitleEnd + 1, CountEnd - TitleEnd - 1));
    TSingleReader Reader(Bytes.substr(CountEnd + 1));
    // A log has no end mark: its data ends after the last whole row.
    if (Columns == 0) {
        if (!Reader.AtEnd() && Reader.Next() <= EndFrom)
            throw Exception("Invalid Data");
        return;
    }
    for (long long Row = 0; !Reader.AtEnd(); ++Row) {
        for (std::size_t C = 0; C < Columns; ++C) {
            const double X = Row < 2 ? Reader.Next() : 0;
            if (X > EndFrom)
                return;
            const double Y = Reader.Next();
            if (Y > EndFrom)
                return;
            if (CompactValue(X) && CompactValue(Y) && C < Data.size())
                Data[C].push_back({X, Y});
        }
    }
}

} // namespace

void TiPlotComponent::AddLoadedData(const TLoadedData& Data) {
    const bool Lock = !UpdateLocked();
    if (Lock)
        BeginUpdate();
    FLogFlushDeferred = true;
    const auto Unlock = qScopeGuard([&] {
        FLogFlushDeferred = false;
        if (Lock)
            EndUpdate();
    });
    for (std::size_t C = 0; C < Data.size(); ++C) {
        TiPlotChannelCustom& Channel = *this->Channel(int(C));
        for (const TLoadedPoint& Point : Data[C]) {
            Channel.AddXY(Point.X, Point.Y);
            if (Point.Null)
                Channel.SetNull(Channel.Count() - 1, true);
            if (Point.Empty)
                Channel.SetEmpty(Channel.Count() - 1, true);
        }
    }
}

void TiPlotComponent::LoadDataFromFile(const std::string& FileName) {
    try {
        const std::string Bytes = iReadTextFile(FileName);
        TLoadedData Data(ChannelCount());
        if (UpperCase(std::string(FirstLine(Bytes))) ==
            UpperCase(std::string(CompactIntervalTitle)))
            ReadCompactInterval(Bytes, Data);
        else
            ReadText(Bytes, Data);
        AddLoadedData(Data);
    } catch (const std::exception& E) {
        throw Exception("Error Loading Data - " + std::string(E.what()));
    }
    FDataFileName = FileName;
    // The rows the loaded points completed go to the log now.
    if (FLoggingActive && (FLogPendingCount >= FLogBufferSize || FLogBufferSize < 2))
        LogFlush();
    RaiseNotify(FEvents.OnAfterLoadData);
}

// ---- Logging

std::string TiPlotComponent::LogHeader() const {
    if (FDataFileFormat == ipdffCompactInterval)
        return CompactIntervalHeader(ChannelCount());
    const char Separator = DataFileSeparatorChar();
    std::string Text = "(X)";
    for (int C = 0; C < ChannelCount(); ++C)
        Text += Separator + TitleColumn(*Channel(C), "(Y)", Separator);
    return Text + "\r\n";
}

// The newest Rows points of every channel, row by row; a channel without a
// point in a row leaves its cell blank.
std::string TiPlotComponent::LogRows(int Rows) const {
    const char Separator = DataFileSeparatorChar();
    std::string Text;
    for (int R = 0; R < Rows; ++R) {
        if (FDataFileFormat == ipdffCompactInterval) {
            for (int C = 0; C < ChannelCount(); ++C)
                AppendCompactPoint(Text, *Channel(C), Channel(C)->Count() - Rows + R,
                                   FLogRowsWritten + R < 2);
            continue;
        }
        const TiPlotChannelCustom* First = ChannelCount() > 0 ? Channel(0) : nullptr;
        const int FirstIndex = First ? First->Count() - Rows + R : -1;
        if (FirstIndex >= 0)
            Text += NumberText(First->GetX(FirstIndex), Separator);
        for (int C = 0; C < ChannelCount(); ++C) {
            const TiPlotChannelCustom& Channel = *this->Channel(C);
            const int Index = Channel.Count() - Rows + R;
            Text += Separator;
            if (Index >= 0)
                Text += YText(Channel, Index, Separator);
        }
        Text += "\r\n";
    }
    return Text;
}

void TiPlotComponent::LogActivate(bool Append) {
    if (Trim(FLogFileName).empty())
        throw Exception("Log File Name not Defined");
    if (FLoggingActive)
        throw Exception("Logging Already Active");
    if (Append)
        iOpenForWriting(FLogFileName, true);
    else
        iWriteTextFile(FLogFileName, LogHeader());
    FLoggingActive = true;
    FLogPendingCount = 0;
    FLogRowsWritten = 0;
}

void TiPlotComponent::LogDeactivate() {
    if (!FLoggingActive)
        throw Exception("Logging not Active");
    // Written first: a failing write leaves logging on with its rows pending.
    LogFlush();
    FLoggingActive = false;
}

void TiPlotComponent::LogFlush() {
    if (FLogPendingCount <= 0)
        return;
    iAppendTextFile(FLogFileName, LogRows(FLogPendingCount));
    FLogRowsWritten += FLogPendingCount;
    FLogPendingCount = 0;
}

void TiPlotComponent::PointAdded(TiPlotChannelCustom* Channel) {
    ObjectChanged(Channel);
    if (!FLoggingActive || ChannelCount() == 0 || Channel != this->Channel(ChannelCount() - 1))
        return;
    ++FLogPendingCount;
    if (!FLogFlushDeferred && (FLogPendingCount >= FLogBufferSize || FLogBufferSize < 2))
        LogFlush();
}
