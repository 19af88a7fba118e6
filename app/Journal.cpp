#include "app/Journal.h"

#include "app/DataLog.h"
#include "components/iPropertyFile.h"
#include "platform/Exception.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

TLogJournal::TLogJournal(const std::string& FileName)
    : FFileName(FileName), FLock(QString::fromStdString(FileName + ".lock")) {
    QDir().mkpath(QFileInfo(QString::fromStdString(FileName)).absolutePath());
    // A lock left by a killed run is taken over; one held by a running
    // program is not, however old, or two windows would write one journal.
    FLock.setStaleLockTime(0);
    if (!FLock.tryLock(0))
        throw Exception("The log's journal \"" + FileName +
                        "\" is in use by another sensor monitor; this window keeps no journal.");
}

TLogJournal::~TLogJournal() {
    QFile::remove(QString::fromStdString(FFileName));
}

std::string TLogJournal::DefaultFileName() {
    return (QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
            "/log-journal.csv")
        .toStdString();
}

std::string TLogJournal::LeftOver() const {
    if (!QFileInfo::exists(QString::fromStdString(FFileName)))
        return {};
    return iReadTextFile(FFileName);
}

void TLogJournal::Append(const std::string& Line) {
    iAppendTextFile(FFileName, FileTextOfMemo(Line + "\n"));
}

void TLogJournal::Clear() {
    iOpenForWriting(FFileName, false);
}
