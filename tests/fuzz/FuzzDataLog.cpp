// The data log loader: a file's bytes to the memo's text, then every line's
// values as the window plots them.

#include "app/DataLog.h"
#include "platform/Exception.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Bytes(reinterpret_cast<const char*>(Data), Size);
    try {
        const TLogText Log = LogTextOfFile(Bytes, "fuzz.csv");
        std::vector<float> Values;
        for (const std::string& Line : LogLines(Log.Text.toStdString())) {
            try {
                LogLineValues(Line, Values);
            } catch (const EConvertError&) {
            }
        }
        FileTextOfLog(Log.Text, Log.Encoding);
    } catch (const Exception&) {
    }
    return 0;
}
