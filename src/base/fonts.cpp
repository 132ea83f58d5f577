#include "base/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace quillora {

namespace {

QStringList installed(const QStringList &candidates)
{
    const QStringList families = QFontDatabase::families();
    QStringList found;
    for (const QString &candidate : candidates) {
        if (families.contains(candidate, Qt::CaseInsensitive))
            found << candidate;
    }
    return found;
}

} // namespace

void installFontSubstitutions()
{
    const QStringList serif = installed({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC"),
                                         QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Sans CJK SC")});
    const QStringList sans = installed({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                                        QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Serif CJK SC")});
    const QStringList kai = installed({QStringLiteral("AR PL UKai CN"), QStringLiteral("Noto Serif CJK SC")});
    const struct { const char *name; const QStringList *families; } map[] = {
        {"宋体", &serif}, {"SimSun", &serif}, {"新宋体", &serif}, {"NSimSun", &serif},
        {"黑体", &sans},  {"SimHei", &sans},  {"微软雅黑", &sans}, {"Microsoft YaHei", &sans},
        {"楷体_GB2312", &kai}, {"楷体", &kai}, {"KaiTi", &kai}, {"KaiTi_GB2312", &kai},
        {"隶书", &kai},   {"LiSu", &kai},
    };
    for (const auto &entry : map) {
        if (!entry.families->isEmpty())
            QFont::insertSubstitutions(QString::fromUtf8(entry.name), *entry.families);
    }
}

} // namespace quillora
