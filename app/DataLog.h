#pragma once
// The data log as text: the memo holds one sample per line, separated by
// LF; the file holds the same lines ended by CR LF. Reading takes CR LF, a
// lone CR and a lone LF as line ends.

#include <QString>

#include <string>
#include <vector>

// The memo's lines; a final line break does not start another line.
std::vector<std::string> LogLines(const std::string& Text);
// CR LF and lone CRs become LF.
std::string MemoTextOfFile(const std::string& FileText);
std::string FileTextOfMemo(const std::string& MemoText);

// The encodings a log file is read in, tried in this order: the program's
// own UTF-8, then GB18030 (GBK, as Chinese Windows editors save), then
// Latin-1. A log is saved in the encoding it was loaded in, so every line
// keeps its bytes.
enum class TLogEncoding { Utf8, Gb18030, Latin1 };
struct TLogText {
    QString Text; // lines separated by LF
    TLogEncoding Encoding = TLogEncoding::Utf8;
};
// The memo's text of a file's bytes: the first encoding that gives the
// bytes back unchanged. Exception when the file holds no text (zero bytes
// or other control characters).
TLogText LogTextOfFile(const std::string& FileText, const std::string& FileName);
// The file's bytes of the memo's text; UTF-8 when the encoding cannot hold
// a character the user typed.
std::string FileTextOfLog(const QString& MemoText, TLogEncoding Encoding);

// The values of a log line "hh:nn:ss,v1" or "hh:nn:ss,v1,v2", with the
// regional decimal separator (also when that is ","). False for a line
// without ","; EConvertError when the text after it is not one or two numbers.
bool LogLineValues(const std::string& Line, std::vector<float>& Values);
