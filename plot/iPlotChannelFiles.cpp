// The channel's files: the log of added points, point text files and the
// property file.

#include "plot/iPlotChannelCustom.h"

#include "components/iPropertyFile.h"
#include "platform/Exception.h"
#include "platform/Text.h"

#include <algorithm>

namespace {

// Files are read on machines of other regions: always a period.
std::string NumberText(double V) {
    std::string Text = FloatToStr(V);
    std::replace(Text.begin(), Text.end(), DecimalSeparator(), '.');
    return Text;
}

const char* const PropertyRoot = "Channel.";
const char* const PropertyFileType = "Plot Channel Config";

} // namespace

// ---- Logging

void TiPlotChannelCustom::SetLogFileName(const std::string& Value) {
    if (Value == FLogFileName)
        return;
    if (FLoggingActive)
        throw Exception("Log File Name can not be changed while logging is active.");
    FLogFileName = Value;
}

void TiPlotChannelCustom::LogActivate(bool Append) {
    if (Trim(FLogFileName).empty())
        throw Exception("Log File Name not Defined");
    if (FLoggingActive)
        throw Exception("Logging Already Active");
    iOpenForWriting(FLogFileName, Append);
    FLoggingActive = true;
    FLogPendingCount = 0;
}

void TiPlotChannelCustom::LogDeactivate() {
    if (!FLoggingActive)
        throw Exception("Logging not Active");
    // Written first: a failing write leaves logging on with its points pending.
    if (FLogPendingCount > 0)
        LogFlush();
    FLoggingActive = false;
}

std::string TiPlotChannelCustom::LogLines(int N) {
    const char Separator = Host() ? Host()->DataFileSeparatorChar() : '\t';
    std::string Text;
    for (int I = Count() - N; I < Count(); ++I) {
        Text += NumberText(GetX(I));
        Text += Separator;
        Text += NumberText(GetY(I));
        Text += "\r\n";
    }
    return Text;
}

void TiPlotChannelCustom::LogFlush() {
    // A ring buffer or a new data style may have dropped pending points.
    const int N = std::min(FLogPendingCount, Count());
    if (N <= 0) {
        FLogPendingCount = 0;
        return;
    }
    // No half lines: a failed write leaves the points pending for the next flush.
    iAppendTextFile(FLogFileName, LogLines(N));
    FLogPendingCount = 0;
}

// ---- Point text files

void TiPlotChannelCustom::SaveDataToFile(const std::string& FileName) {
    const char Separator = Host() ? Host()->DataFileSeparatorChar() : '\t';
    std::string Text;
    for (int I = 0; I < Count(); ++I) {
        if (GetEmpty(I))
            continue;
        Text += NumberText(GetX(I));
        Text += Separator;
        Text += GetNull(I) ? std::string("Null") : NumberText(GetY(I));
        Text += "\r\n";
    }
    iWriteTextFile(FileName, Text);
}

void TiPlotChannelCustom::LoadDataFromFile(const std::string& FileName, bool ClearFirst) {
    // Read before anything changes: a file that cannot be read changes nothing.
    const std::string Text = iReadTextFile(FileName);
    const std::vector<std::string_view> Lines = SplitLines(Text);
    if (FLoggingActive)
        LogDeactivate();
    if (ClearFirst)
        Clear();
    FLoadSeparator = !Lines.empty() && Lines.front().find('\t') != std::string::npos ? '\t' : ',';
    for (const std::string_view Line : Lines) {
        const std::size_t At = Line.find(FLoadSeparator);
        if (At == std::string_view::npos)
            continue;
        const std::string A = Trim(std::string(Line.substr(0, At)));
        const std::string B = Trim(std::string(Line.substr(At + 1)));
        if (A.empty())
            continue;
        if (UpperCase(B) == "NULL") {
            AddXY(StrToFloat(A), 0);
            SetNull(Count() - 1, true);
        } else {
            // Both converted before the point is added: a bad line adds nothing.
            const double X = StrToFloat(A);
            AddXY(X, StrToFloat(B));
        }
    }
}

// ---- Property file

void TiPlotChannelCustom::SavePropertiesToFile(const std::string& FileName) {
    try {
        std::string Text = iJoinPropertyLine({"File Type", PropertyFileType}) + "\n";
        for (const TPropertyLine& Line :
             iPublishedProperties(*this, TiPlotObject::staticMetaObject, {"Name"}, PropertyRoot))
            Text += iJoinPropertyLine(Line) + "\n";
        iWriteTextFile(FileName, Text);
    } catch (const std::exception& E) {
        throw Exception("Error Saving Properties - " + std::string(E.what()));
    }
}

void TiPlotChannelCustom::LoadPropertiesFromFile(const std::string& FileName) {
    try {
        std::vector<TPropertyLine> Lines = iReadPropertyFile(FileName);
        const auto Type = std::find_if(Lines.begin(), Lines.end(), [](const TPropertyLine& L) {
            return SameText(L.Path, "File Type");
        });
        if (Type == Lines.end() || !SameText(Type->Value, PropertyFileType))
            throw Exception("Incompatible Plot Channel Configuration File Type");
        Lines.erase(Type);
        const std::size_t RootLength = std::char_traits<char>::length(PropertyRoot);
        for (TPropertyLine& Line : Lines)
            if (SameText(Line.Path.substr(0, RootLength), PropertyRoot))
                Line.Path.erase(0, RootLength);
        iApplyProperties(*this, TiPlotObject::staticMetaObject, Lines);
    } catch (const std::exception& E) {
        throw Exception("Error Loading Properties - " + std::string(E.what()));
    }
}
