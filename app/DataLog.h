#pragma once
// The data log as text: the memo holds one sample per line, separated by
// LF; the file holds the same lines ended by CR LF. Reading takes CR LF, a
// lone CR and a lone LF as line ends.

#include <string>
#include <vector>

// The memo's lines; a final line break does not start another line.
std::vector<std::string> LogLines(const std::string& Text);
// CR LF and lone CRs become LF.
std::string MemoTextOfFile(const std::string& FileText);
std::string FileTextOfMemo(const std::string& MemoText);

// The values of a log line "hh:nn:ss,v1" or "hh:nn:ss,v1,v2", with the
// regional decimal separator (also when that is ","). False for a line
// without ","; EConvertError when the text after it is not one or two numbers.
bool LogLineValues(const std::string& Line, std::vector<float>& Values);

// Replaces the file only once the whole text is written; Exception with the
// file name and the system's reason on failure.
void WriteTextFile(const std::string& FileName, const std::string& Text);
std::string ReadTextFile(const std::string& FileName);
