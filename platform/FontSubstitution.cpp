#include "platform/FontSubstitution.h"

#include <QFontDatabase>
#include <QString>

#include <array>

namespace {

struct TSubstitute {
    const char* Name;
    const char* Family;
};

// Names compared without regard to letter case.
constexpr std::array<TSubstitute, 8> Substitutes = {{
    {"微软雅黑", "WenQuanYi Micro Hei"},
    {"Microsoft YaHei", "WenQuanYi Micro Hei"},
    {"宋体", "WenQuanYi Micro Hei"},
    {"SimSun", "WenQuanYi Micro Hei"},
    {"Arial", "Liberation Sans"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Courier", "Liberation Mono"},
}};

// The classic dialog fonts and anything unknown: a sans font.
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

} // namespace

std::string SubstitutedFontFamily(const std::string& Name) {
    const QString Wanted = QString::fromUtf8(Name);
    for (const TSubstitute& S : Substitutes)
        if (Wanted.compare(QString::fromUtf8(S.Name), Qt::CaseInsensitive) == 0)
            return (Installed(S.Family) ? QString(S.Family) : AnySans()).toStdString();
    if (!Wanted.isEmpty() && Installed(Wanted))
        return Wanted.toStdString();
    return AnySans().toStdString();
}
