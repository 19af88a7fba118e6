// The channel's files: the log of added points, point text files and the
// property file.

#include "plot/iPlotChannelCustom.h"

#include "components/iPropertyFile.h"
#include "platform/Exception.h"
#include "platform/Text.h"

#include <QFile>

#include <algorithm>

namespace {

// Files are read on machines of other regions: always a period.
std::string NumberText(double V) {
    std::string Text = FloatToStr(V);
    std::replace(Text.begin(), Text.end(), DecimalSeparator(), '.');
    return Text;
}

// Lines ended by CR LF, LF or CR.
std::vector<std::string> SplitLines(const std::string& Text) {
    std::vector<std::string> Lines;
    std::size_t Begin = 0;
    while (Begin < Text.size()) {
        std::size_t End = Text.find_first_of("\r\n", Begin);
        if (End == std::string::npos)
            End = Text.size();
        Lines.push_back(Text.substr(Begin, End - Begin));
        Begin = End + (Text.compare(End, 2, "\r\n") == 0 ? 2 : 1);
    }
    return Lines;
}

QString FileNameOf(const std::string& FileName) {
    return QString::fromStdString(FileName);
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
    QFile File(FileNameOf(FLogFileName));
    const QIODevice::OpenMode Mode =
        Append ? QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly
               : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!File.open(Mode))
        throw Exception("Cannot open file \"" + FLogFileName + "\". " +
                        File.errorString().toStdString());
    File.close();
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
    const char Separator = Host() ? Host()->DataFileColumnSeparator() : '\t';
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
    const std::string Text = LogLines(N);
    QFile File(FileNameOf(FLogFileName));
    // Unbuffered, so that the failure of each write is seen here.
    if (!File.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw Exception("Cannot open file \"" + FLogFileName + "\". " +
                        File.errorString().toStdString());
    const bool Seekable = !File.isSequential();
    const qint64 Before = Seekable ? File.size() : 0;
    const qint64 Written = File.write(Text.data(), qint64(Text.size()));
    if (Written != qint64(Text.size())) {
        const std::string Reason =
            Written >= 0 ? "The disk may be full." : File.errorString().toStdString();
        // No half lines: the next flush writes these points again.
        if (Seekable && File.size() > Before)
            File.resize(Before);
        throw Exception("Cannot write file \"" + FLogFileName + "\". " + Reason);
    }
    FLogPendingCount = 0;
}

// ---- Point text files

void TiPlotChannelCustom::SaveDataToFile(const std::string& FileName) {
    const char Separator = Host() ? Host()->DataFileColumnSeparator() : '\t';
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
    const std::vector<std::string> Lines = SplitLines(iReadTextFile(FileName));
    if (FLoggingActive)
        LogDeactivate();
    if (ClearFirst)
        Clear();
    FLoadSeparator = !Lines.empty() && Lines.front().find('\t') != std::string::npos ? '\t' : ',';
    for (const std::string& Line : Lines) {
        const std::size_t At = Line.find(FLoadSeparator);
        if (At == std::string::npos)
            continue;
        const std::string A = Trim(Line.substr(0, At));
        const std::string B = Trim(Line.substr(At + 1));
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
