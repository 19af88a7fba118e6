#include "app/PortList.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace {

const char* const ByIdFolder = "serial/by-id";

bool LooksLikeSerialNumber(const QString& Word) {
    return Word.contains(QRegularExpression("[0-9]")) &&
           !Word.contains(QRegularExpression("[a-z]"));
}

// The names in Folder matching Filters, naturally sorted.
QStringList SortedNames(const QDir& Folder, const QStringList& Filters) {
    QStringList Names =
        Folder.entryList(Filters, QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    std::sort(Names.begin(), Names.end(), NaturalLess);
    return Names;
}

// A ttyS name is kept for every port, except where the kernel says that
// no UART stands behind it.
bool HasUart(const QString& SysRoot, const QString& Name) {
    QFile Type(SysRoot + "/class/tty/" + Name + "/type");
    if (!Type.open(QIODevice::ReadOnly))
        return true;
    return Type.readAll().trimmed() != "0";
}

} // namespace

QString AdapterDescription(const QString& ByIdName) {
    QString Name = ByIdName;
    const qsizetype Bus = Name.indexOf('-');
    if (Bus >= 0)
        Name = Name.mid(Bus + 1);
    const qsizetype Interface = Name.lastIndexOf(QRegularExpression("-if[0-9]+"));
    if (Interface >= 0)
        Name = Name.left(Interface);
    QStringList Words = Name.split('_', Qt::SkipEmptyParts);
    if (Words.size() > 1 && LooksLikeSerialNumber(Words.last()))
        Words.removeLast();
    return Words.join(' ');
}

bool NaturalLess(const QString& A, const QString& B) {
    qsizetype I = 0, J = 0;
    while (I < A.size() && J < B.size()) {
        if (A[I].isDigit() && B[J].isDigit()) {
            qsizetype EndA = I, EndB = J;
            while (EndA < A.size() && A[EndA].isDigit())
                ++EndA;
            while (EndB < B.size() && B[EndB].isDigit())
                ++EndB;
            const qulonglong NA = A.mid(I, EndA - I).toULongLong();
            const qulonglong NB = B.mid(J, EndB - J).toULongLong();
            if (NA != NB)
                return NA < NB;
            I = EndA;
            J = EndB;
            continue;
        }
        if (A[I] != B[J])
            return A[I] < B[J];
        ++I;
        ++J;
    }
    return A.size() - I < B.size() - J;
}

std::vector<TPortEntry> ListPorts(const QString& DevRoot, const QString& SysRoot) {
    std::vector<TPortEntry> Ports;
    // The device each adapter's stable name leads to, for its description.
    std::vector<std::pair<QString, QString>> Targets;
    const QDir ById(DevRoot + "/" + ByIdFolder);
    for (const QString& Name : SortedNames(ById, {})) {
        const QString Path = ById.filePath(Name);
        // A link whose device has gone already.
        if (!QFileInfo::exists(Path))
            continue;
        const QString Description = AdapterDescription(Name);
        Ports.push_back({Path, Description});
        Targets.emplace_back(QFileInfo(Path).canonicalFilePath(), Description);
    }
    const QDir Dev(DevRoot);
    for (const char* Kind : {"ttyUSB", "ttyACM", "ttyS"}) {
        const QString Filter = QString(Kind) + "[0-9]*";
        for (const QString& Name : SortedNames(Dev, {Filter})) {
            if (Name.startsWith("ttyS") && !HasUart(SysRoot, Name))
                continue;
            const QString Path = Dev.filePath(Name);
            const QString Canonical = QFileInfo(Path).canonicalFilePath();
            auto Target = std::find_if(Targets.begin(), Targets.end(),
                                       [&](const auto& T) { return T.first == Canonical; });
            Ports.push_back({Path, Target == Targets.end() ? QString() : Target->second});
        }
    }
    return Ports;
}

TPortWatcher::TPortWatcher(QString DevRoot, QString SysRoot, QObject* Parent)
    : QObject(Parent), FDevRoot(std::move(DevRoot)), FSysRoot(std::move(SysRoot)),
      FPorts(ListPorts(FDevRoot, FSysRoot)) {
    connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this, &TPortWatcher::Rescan);
    Watch();
}

void TPortWatcher::Watch() {
    // The by-id folder comes with the first adapter and goes with the last:
    // its parents are watched so that it is found again. Watched anew each
    // time, as a folder that went takes its watch with it.
    if (!FWatcher.directories().isEmpty())
        FWatcher.removePaths(FWatcher.directories());
    for (const QString& Folder : {FDevRoot, FDevRoot + "/serial", FDevRoot + "/" + ByIdFolder})
        if (QFileInfo(Folder).isDir())
            FWatcher.addPath(Folder);
}

void TPortWatcher::Rescan() {
    Watch();
    std::vector<TPortEntry> Ports = ListPorts(FDevRoot, FSysRoot);
    if (Ports == FPorts)
        return;
    FPorts = std::move(Ports);
    emit Changed();
}
