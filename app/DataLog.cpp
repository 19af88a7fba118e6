#include "app/DataLog.h"

#include "components/iPropertyFile.h"

#include "platform/Exception.h"
#include "platform/Text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

std::vector<std::string> Split(const std::string& Text, char Separator) {
    std::vector<std::string> Parts;
    std::size_t Start = 0;
    for (std::size_t At = Text.find(Separator); At != std::string::npos;
         At = Text.find(Separator, Start)) {
        Parts.push_back(Text.substr(Start, At - Start));
        Start = At + 1;
    }
    Parts.push_back(Text.substr(Start));
    return Parts;
}

// With a decimal comma every value is written as two ","-separated pieces
// (the program writes exactly one decimal), so pieces pair up.
std::vector<std::string> ValueTexts(const std::string& Tail) {
    std::vector<std::string> Pieces = Split(Tail, ',');
    if (DecimalSeparator() != ',')
        return Pieces.size() <= 2 ? Pieces : std::vector<std::string>{Tail};
    if (Pieces.size() == 4)
        return {Pieces[0] + "," + Pieces[1], Pieces[2] + "," + Pieces[3]};
    return {Tail};
}

// A byte order mark stays in the text, so that it is saved again.
QStringDecoder Decoder(TLogEncoding Encoding) {
    if (Encoding == TLogEncoding::Gb18030)
        return QStringDecoder("GB18030");
    return QStringDecoder(Encoding == TLogEncoding::Utf8 ? QStringConverter::Utf8
                                                         : QStringConverter::Latin1,
                          QStringConverter::Flag::ConvertInitialBom);
}

QStringEncoder Encoder(TLogEncoding Encoding) {
    if (Encoding == TLogEncoding::Gb18030)
        return QStringEncoder("GB18030");
    return QStringEncoder(Encoding == TLogEncoding::Utf8 ? QStringConverter::Utf8
                                                         : QStringConverter::Latin1);
}

// The text of Bytes in Encoding, when it gives the same bytes back.
bool Decode(const QByteArray& Bytes, TLogEncoding Encoding, QString& Text) {
    QStringDecoder ToText = Decoder(Encoding);
    QStringEncoder ToBytes = Encoder(Encoding);
    if (!ToText.isValid() || !ToBytes.isValid())
        return false;
    Text = ToText.decode(Bytes);
    if (ToText.hasError())
        return false;
    const QByteArray Back = ToBytes.encode(Text);
    return !ToBytes.hasError() && Back == Bytes;
}

// Tabs and line ends are the only control characters of a text file.
bool HoldsControlCharacters(const std::string& Bytes) {
    return std::any_of(Bytes.begin(), Bytes.end(), [](char C) {
        return (C >= 0 && C < 0x20 && C != '\t' && C != '\n' && C != '\r') || C == 0x7F;
    });
}

} // namespace

std::vector<std::string> LogLines(const std::string& Text) {
    if (Text.empty())
        return {};
    std::vector<std::string> Lines = Split(Text, '\n');
    if (Text.back() == '\n')
        Lines.pop_back();
    return Lines;
}

std::string MemoTextOfFile(const std::string& FileText) {
    std::string Text;
    Text.reserve(FileText.size());
    for (std::size_t I = 0; I < FileText.size(); ++I) {
        if (FileText[I] != '\r')
            Text += FileText[I];
        else if (I + 1 >= FileText.size() || FileText[I + 1] != '\n')
            Text += '\n';
    }
    return Text;
}

std::string FileTextOfMemo(const std::string& MemoText) {
    std::string Text;
    Text.reserve(MemoText.size() + MemoText.size() / 16);
    for (char C : MemoText) {
        if (C == '\n')
            Text += '\r';
        Text += C;
    }
    return Text;
}

TLogText LogTextOfFile(const std::string& FileText, const std::string& FileName) {
    const std::string Text = MemoTextOfFile(FileText);
    const QByteArray Bytes(Text.data(), qsizetype(Text.size()));
    TLogText Log;
    if (!HoldsControlCharacters(Text))
        for (TLogEncoding E : {TLogEncoding::Utf8, TLogEncoding::Gb18030, TLogEncoding::Latin1})
            if (Decode(Bytes, E, Log.Text)) {
                Log.Encoding = E;
                return Log;
            }
    throw Exception("Cannot load \"" + FileName +
                    "\": it is not a text file. The log is unchanged.");
}

std::string FileTextOfLog(const QString& MemoText, TLogEncoding Encoding) {
    QStringEncoder ToBytes = Encoder(Encoding);
    QByteArray Bytes = ToBytes.encode(MemoText);
    if (ToBytes.hasError())
        Bytes = MemoText.toUtf8();
    return FileTextOfMemo(Bytes.toStdString());
}

bool LogLineValues(const std::string& Line, std::vector<float>& Values) {
    const std::size_t Comma = Line.find(',');
    if (Comma == std::string::npos)
        return false;
    Values.clear();
    for (const std::string& Text : ValueTexts(Line.substr(Comma + 1))) {
        const double Value = StrToFloat(Text);
        // A log value is kept as a 32-bit float; beyond its range it would
        // become infinite on the chart.
        if (std::fabs(Value) > std::numeric_limits<float>::max())
            throw EConvertError("'" + Text + "' is out of the range of a log value");
        Values.push_back(float(Value));
    }
    return true;
}
