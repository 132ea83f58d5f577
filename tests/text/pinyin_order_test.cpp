#include "text/pinyin_order.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

using namespace quillora;

namespace {

QStringList sorted(QStringList names)
{
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return pinyinCompare(a, b) < 0; });
    return names;
}

TEST(PinyinOrder, NamesReadInDictionaryOrder)
{
    // Code-point order would give 三七粉, 丹参, 五味子, 克拉霉素, 阿莫西林.
    EXPECT_EQ(sorted({QStringLiteral("克拉霉素"), QStringLiteral("阿莫西林"), QStringLiteral("五味子"),
                      QStringLiteral("三七粉"), QStringLiteral("丹参")}),
              QStringList({QStringLiteral("阿莫西林"), QStringLiteral("丹参"), QStringLiteral("克拉霉素"),
                           QStringLiteral("三七粉"), QStringLiteral("五味子")}));
    // Same first syllable: the second character decides; a prefix comes first.
    EXPECT_EQ(sorted({QStringLiteral("阿奇霉素"), QStringLiteral("阿莫西林"), QStringLiteral("阿")}),
              QStringList({QStringLiteral("阿"), QStringLiteral("阿莫西林"), QStringLiteral("阿奇霉素")}));
}

TEST(PinyinOrder, LatinBeforeIdeographsAndTiesAreTotal)
{
    EXPECT_LT(pinyinCompare(u"VC片", u"阿莫西林"), 0);
    EXPECT_LT(pinyinCompare(u"b", u"C"), 0);               // letters ignore case
    EXPECT_NE(pinyinCompare(u"c", u"C"), 0);               // but never compare equal
    EXPECT_EQ(pinyinCompare(u"丹参", u"丹参"), 0);
    EXPECT_LT(pinyinCompare(u"丹参", u"丹参片"), 0);
    EXPECT_GT(pinyinCompare(u"（甲）", u"甲"), 0);          // punctuation after ideographs
}

} // namespace

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

TEST(PinyinOrder, StoredUtf8TextsCompareAsTheirUtf16Forms)
{
    const QStringList names{QStringLiteral("阿莫西林"), QStringLiteral("阿"), QStringLiteral("VC片"), QStringLiteral("vc片"),
                            QStringLiteral("丹参"),   QStringLiteral("丹参片"), QStringLiteral("（甲）"), QStringLiteral("甲"),
                            QStringLiteral("×2"),     QStringLiteral("𠀀字"),   QStringLiteral("\uE000"), QString(),
                            QStringLiteral("é"),      QStringLiteral("e"),     QStringLiteral("0.5g"),   QStringLiteral("°C")};
    for (const QString &a : names) {
        for (const QString &b : names) {
            const QByteArray ua = a.toUtf8(), ub = b.toUtf8();
            EXPECT_EQ(sign(pinyinCompareUtf8(std::string_view(ua.constData(), ua.size()), std::string_view(ub.constData(), ub.size()))),
                      sign(pinyinCompare(a, b)))
                << a.toStdString() << " / " << b.toStdString();
        }
    }
}

} // namespace
