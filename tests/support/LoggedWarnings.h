#pragma once
// Keeps the warnings of one logging category while it lives; any thread may
// log. One at a time.

#include <QString>
#include <QtGlobal>

#include <mutex>
#include <string>
#include <vector>

class TLoggedWarnings {
  public:
    explicit TLoggedWarnings(const char* Category) {
        std::lock_guard Lock(FMutex);
        FCategory = Category;
        FMessages.clear();
        FPrevious = qInstallMessageHandler(Record);
    }
    ~TLoggedWarnings() { qInstallMessageHandler(FPrevious); }
    TLoggedWarnings(const TLoggedWarnings&) = delete;
    TLoggedWarnings& operator=(const TLoggedWarnings&) = delete;

    std::vector<std::string> Messages() const {
        std::lock_guard Lock(FMutex);
        return FMessages;
    }

  private:
    static void Record(QtMsgType Type, const QMessageLogContext& Context, const QString& Text) {
        std::lock_guard Lock(FMutex);
        if (Type == QtWarningMsg && FCategory == Context.category)
            FMessages.push_back(Text.toStdString());
    }

    static inline std::mutex FMutex;
    static inline std::string FCategory;
    static inline std::vector<std::string> FMessages;
    QtMessageHandler FPrevious;
};
