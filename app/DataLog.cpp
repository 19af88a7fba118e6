#include "app/DataLog.h"

#include "platform/Exception.h"
#include "platform/Text.h"

#include <QFile>
#include <QSaveFile>

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
    if (!File.open(QIODevice::WriteOnly))
        throw Exception("Cannot create file \"" + FileName + "\". " +
                        File.errorString().toStdString());
    File.write(Text.data(), qint64(Text.size()));
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
