#include "base/fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
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
    // Faces with the metrics the forms were drawn for: Latin letters and spaces half an
    // ideograph wide (the GBK column counts, the herb cells) and a line of about one em.
    const QStringList song = installed({QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC"),
                                        QStringLiteral("Source Han Serif SC"), QStringLiteral("Noto Sans CJK SC")});
    const QStringList hei = installed({QStringLiteral("WenQuanYi Zen Hei Mono"), QStringLiteral("WenQuanYi Zen Hei"),
                                       QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC")});
    const QStringList kai = installed({QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL UMing CN"),
                                       QStringLiteral("Noto Serif CJK SC")});
    const struct { const char *name; const QStringList *families; } map[] = {
        {"宋体", &song}, {"SimSun", &song}, {"新宋体", &song}, {"NSimSun", &song},
        {"黑体", &hei},  {"SimHei", &hei},  {"微软雅黑", &hei}, {"Microsoft YaHei", &hei},
        {"楷体_GB2312", &kai}, {"楷体", &kai}, {"KaiTi", &kai}, {"KaiTi_GB2312", &kai},
        // No clerical-script face is packaged; the brush-drawn 楷体 is the nearest.
        {"隶书", &kai},   {"LiSu", &kai},
    };
    for (const auto &entry : map) {
        if (!entry.families->isEmpty())
            QFont::insertSubstitutions(QString::fromUtf8(entry.name), *entry.families);
    }
}

void warmUpFormFonts()
{
    QImage image(64, 32, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    const QString sample = QStringLiteral("姓名性别年龄费别科别诊断住址处方笺药费其他医生配药复核病历查询抗生素输液阿莫西林胶囊用法每日次口服");
    for (const char *family : {"宋体", "黑体", "楷体_GB2312"}) {
        for (const int size : {9, 10, 12}) {
            QFont font(QString::fromUtf8(family));
            font.setPointSize(size);
            painter.setFont(font);
            painter.drawText(0, 24, sample);
        }
    }
}

} // namespace quillora
