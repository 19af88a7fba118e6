#include "platform/FontSubstitution.h"

#include <QFontDatabase>
#include <QString>

#include <array>
#include <map>
#include <mutex>

namespace {

// Family nullptr: any sans font.
struct TSubstitute {
    const char* Name;
    const char* Family;
};

// Names compared without regard to letter case.
constexpr std::array<TSubstitute, 11> Substitutes = {{
    {"微软雅黑", "WenQuanYi Micro Hei"},
    {"Microsoft YaHei", "WenQuanYi Micro Hei"},
    {"宋体", "WenQuanYi Micro Hei"},
    {"SimSun", "WenQuanYi Micro Hei"},
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"MS Sans Serif", nullptr},
    {"Microsoft Sans Serif", nullptr},
    {"Tahoma", nullptr},
    {"MS Shell Dlg", nullptr},
}};

constexpr std::array<const char*, 3> SansFamilies = {"Liberation Sans", "DejaVu Sans",
                                                     "WenQuanYi Micro Hei"};

bool Installed(const QString& Family) {
    return QFontDatabase::hasFamily(Family);
}

QString AnySans() {
    for (const char* Family : SansFamilies)
        if (Installed(Family))
            return Family;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QString Substitute(const QString& Wanted) {
    for (const TSubstitute& S : Substitutes)
        if (Wanted.compare(QString::fromUtf8(S.Name), Qt::CaseInsensitive) == 0)
            return S.Family && Installed(S.Family) ? QString(S.Family) : AnySans();
    return !Wanted.isEmpty() && Installed(Wanted) ? Wanted : AnySans();
}

} // namespace

std::string SubstitutedFontFamily(const std::string& Name) {
    // Asking the font database is slow and the answer does not change.
    static std::mutex Guard;
    static std::map<std::string, std::string> Known;
    const std::lock_guard Lock(Guard);
    auto It = Known.find(Name);
    if (It == Known.end())
        It = Known.emplace(Name, Substitute(QString::fromUtf8(Name)).toStdString()).first;
    return It->second;
}
