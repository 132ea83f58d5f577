#include "text/pinyin.h"

#include "text/display_width.h"

namespace quillora {

namespace {

#include "text/pinyin_table.inc"

const InitialMap &initialMap()
{
    static const InitialMap map = buildInitialMap(kInitialLists);
    return map;
}

// The code unit for c, or 0 when c contributes nothing.
char16_t initialOf(QChar c, const InitialMap &map)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u;
    if (u >= 'a' && u <= 'z')
        return u;
    if (u >= 'A' && u <= 'Z')
        return u - 'A' + 'a';
    // Only GBK double-byte characters are looked up; the lists hold nothing else,
    // so full-width forms and punctuation fall through to "none".
    if (!isDoubleByte(c) || u < kFirstIdeograph || u > kLastIdeograph)
        return 0;
    return static_cast<char16_t>(map[u - kFirstIdeograph]);
}

} // namespace

const InitialLists &initialLists()
{
    return kInitialLists;
}

InitialMap buildInitialMap(const InitialLists &lists)
{
    InitialMap map{};
    for (std::size_t i = 0; i < lists.size(); ++i) {
        for (const char16_t u : lists[i]) {
            if (u < kFirstIdeograph || u > kLastIdeograph)
                continue; // line breaks or stray characters carry no meaning
            char &slot = map[u - kFirstIdeograph];
            if (slot == 0)
                slot = kInitialLetters[i];
        }
    }
    return map;
}

QString pinyinInitial(QChar c)
{
    const char16_t letter = initialOf(c, initialMap());
    return letter ? QString(QChar(letter)) : QString();
}

QString pinyinCode(const QString &text)
{
    const InitialMap &map = initialMap();
    qsizetype end = text.indexOf(QLatin1Char(' '));
    if (end < 0)
        end = text.size();
    QString code;
    code.reserve(end);
    const QChar *chars = text.constData();
    for (qsizetype i = 0; i < end; ++i) {
        if (const char16_t letter = initialOf(chars[i], map))
            code.append(QChar(letter));
    }
    return code;
}

} // namespace quillora
