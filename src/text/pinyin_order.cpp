#include "text/pinyin_order.h"

#include "text/pinyin.h"

#include <vector>

namespace quillora {

namespace {

// Rank of each ideograph in the concatenated initial lists, which are in reading order.
std::vector<quint16> buildRanks()
{
    std::vector<quint16> ranks(kIdeographCount, 0);
    quint16 next = 1;
    for (const std::u16string_view list : initialLists()) {
        for (const char16_t u : list) {
            if (u < kFirstIdeograph || u > kLastIdeograph)
                continue;
            quint16 &slot = ranks[u - kFirstIdeograph];
            if (slot == 0)
                slot = next++;
        }
    }
    return ranks;
}

quint32 weight(char16_t u, const std::vector<quint16> &ranks)
{
    if (u < 0x80) {
        if (u >= 'A' && u <= 'Z')
            u = u - 'A' + 'a';
        return u;
    }
    if (u >= kFirstIdeograph && u <= kLastIdeograph) {
        if (const quint16 rank = ranks[u - kFirstIdeograph])
            return 0x100u + rank;
    }
    return 0x10000u + u;
}

} // namespace

int pinyinCompare(QStringView a, QStringView b)
{
    static const std::vector<quint16> ranks = buildRanks();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const quint32 wa = weight(a[i].unicode(), ranks);
        const quint32 wb = weight(b[i].unicode(), ranks);
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace quillora
