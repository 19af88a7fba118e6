#include "app/DataLog.h"

#include "platform/Exception.h"
#include "platform/Text.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

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

QString Name(const std::string& FileName) {
    return QString::fromStdString(FileName);
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
    for (const std::string& Text : ValueTexts(Line.substr(Comma + 1)))
        Values.push_back(float(StrToFloat(Text)));
    return true;
}

void WriteTextFile(const std::string& FileName, const std::string& Text) {
    QSaveFile File(Name(FileName));
    // Unbuffered: a buffered save file loses the failure of a write that
    // stops half way (a full disk) and commits the truncated text.
    if (!File.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Exception("Cannot create file \"" + FileName + "\". " +
                        File.errorString().toStdString());
    // Until the commit the text goes to a new file, so a failed save leaves
    // an earlier file as it was.
    const qint64 Written = File.write(Text.data(), qint64(Text.size()));
    if (Written != qint64(Text.size())) {
        const std::string Reason = Written >= 0 ? "Only " + std::to_string(Written) + " of " +
                                                      std::to_string(Text.size()) +
                                                      " bytes could be written; the disk "
                                                      "may be full."
                                                : File.errorString().toStdString();
        throw Exception("Cannot write file \"" + FileName + "\". " + Reason);
    }
    if (!File.commit())
        throw Exception("Cannot write file \"" + FileName + "\". " +
                        File.errorString().toStdString());
}

std::string ReadTextFile(const std::string& FileName) {
    QFile File(Name(FileName));
    if (!File.open(QIODevice::ReadOnly))
        throw Exception("Cannot open file \"" + FileName + "\". " +
                        File.errorString().toStdString());
    const QByteArray Bytes = File.readAll();
    if (File.error() != QFileDevice::NoError)
        throw Exception("Cannot read file \"" + FileName + "\". " +
                        File.errorString().toStdString());
    return Bytes.toStdString();
}
