#include "text/pinyin.h"

#include "text/display_width.h"
#include "text/pinyin_terms.h"

#include <algorithm>
#include <bitset>
#include <map>
#include <vector>

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

// The term readings by their first character, longest first.
class TermIndex
{
public:
    TermIndex()
    {
        for (const TermReading &reading : termReadings()) {
            m_byFirst[reading.term.front()].push_back(&reading);
            m_starts.set(reading.term.front());
        }
        for (auto &[first, list] : m_byFirst)
            std::stable_sort(list.begin(), list.end(),
                             [](const TermReading *a, const TermReading *b) { return a->term.size() > b->term.size(); });
    }
    // The reading of the longest term at text[at, end), if one starts there.
    const TermReading *at(const QChar *text, qsizetype at, qsizetype end) const
    {
        if (!m_starts.test(text[at].unicode()))
            return nullptr;  // most characters start no term: one bit answers
        const auto found = m_byFirst.find(text[at].unicode());
        if (found == m_byFirst.end())
            return nullptr;
        for (const TermReading *reading : found->second) {
            const auto length = qsizetype(reading->term.size());
            if (at + length <= end
                && std::equal(reading->term.begin(), reading->term.end(), text + at,
                              [](char16_t a, QChar b) { return a == b.unicode(); }))
                return reading;
        }
        return nullptr;
    }

private:
    std::map<char16_t, std::vector<const TermReading *>> m_byFirst;
    std::bitset<0x10000> m_starts;
};

const TermIndex &termIndex()
{
    static const TermIndex index;
    return index;
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
    const TermIndex &terms = termIndex();
    for (qsizetype i = 0; i < end;) {
        if (const TermReading *reading = terms.at(chars, i, end)) {
            for (const char letter : reading->code)
                code.append(QLatin1Char(letter));
            i += qsizetype(reading->term.size());
            continue;
        }
        if (const char16_t letter = initialOf(chars[i], map))
            code.append(QChar(letter));
        ++i;
    }
    return code;
}

} // namespace quillora
