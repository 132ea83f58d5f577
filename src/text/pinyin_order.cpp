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

const std::vector<quint16> &ideographRanks()
{
    static const std::vector<quint16> ranks = buildRanks();
    return ranks;
}

// Reads UTF-8 as UTF-16 units, one at a time (a character beyond the BMP gives its two
// surrogates), so that both comparisons see the same units.
class Utf16Units
{
public:
    explicit Utf16Units(std::string_view text) : m_text(text) {}
    bool next(char16_t &unit)
    {
        if (m_low) {
            unit = m_low;
            m_low = 0;
            return true;
        }
        if (m_at >= m_text.size())
            return false;
        const auto byte = [this](std::size_t i) { return i < m_text.size() ? static_cast<unsigned char>(m_text[i]) : 0u; };
        const unsigned lead = byte(m_at);
        char32_t c;
        std::size_t length;
        if (lead < 0x80) {
            c = lead;
            length = 1;
        } else if (lead < 0xE0) {
            c = ((lead & 0x1Fu) << 6) | (byte(m_at + 1) & 0x3Fu);
            length = 2;
        } else if (lead < 0xF0) {
            c = ((lead & 0x0Fu) << 12) | ((byte(m_at + 1) & 0x3Fu) << 6) | (byte(m_at + 2) & 0x3Fu);
            length = 3;
        } else {
            c = ((lead & 0x07u) << 18) | ((byte(m_at + 1) & 0x3Fu) << 12) | ((byte(m_at + 2) & 0x3Fu) << 6)
                | (byte(m_at + 3) & 0x3Fu);
            length = 4;
        }
        m_at += length;
        if (c >= 0x10000) {
            c -= 0x10000;
            unit = char16_t(0xD800 + (c >> 10));
            m_low = char16_t(0xDC00 + (c & 0x3FF));
        } else {
            unit = char16_t(c);
        }
        return true;
    }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
    char16_t m_low = 0;
};

} // namespace

quint32 pinyinWeight(char16_t unit) { return weight(unit, ideographRanks()); }

int pinyinCompareUtf8(std::string_view a, std::string_view b)
{
    const std::vector<quint16> &ranks = ideographRanks();
    // Equal bytes are equal characters: start at the character where the texts part.
    std::size_t same = 0;
    while (same < a.size() && same < b.size() && a[same] == b[same])
        ++same;
    const auto continues = [&](std::size_t i) {
        const std::string_view text = i < a.size() ? a : b;
        return i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0u) == 0x80u;
    };
    while (same > 0 && continues(same))
        --same;
    Utf16Units ua(a.substr(same)), ub(b.substr(same));
    int tie = 0;  // the first difference of the units themselves, when the weights all agree
    for (;;) {
        char16_t ca, cb;
        const bool moreA = ua.next(ca);
        const bool moreB = ub.next(cb);
        if (!moreA || !moreB) {
            if (moreA != moreB)
                return moreA ? 1 : -1;
            return tie;
        }
        const quint32 wa = weight(ca, ranks);
        const quint32 wb = weight(cb, ranks);
        if (wa != wb)
            return wa < wb ? -1 : 1;
        if (tie == 0 && ca != cb)
            tie = ca < cb ? -1 : 1;
    }
}

int pinyinCompare(QStringView a, QStringView b)
{
    const std::vector<quint16> &ranks = ideographRanks();
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
