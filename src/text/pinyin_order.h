#pragma once

#include <QStringView>
#include <string_view>

namespace quillora {

// Chinese dictionary order for names: ASCII first (letters ignoring case), then ideographs in
// the order of their pinyin readings, then everything else by code point. Ties fall back to
// the code points, so the order is total and stable.
int pinyinCompare(QStringView a, QStringView b);
// The same order for UTF-8 texts, read in place: how the database compares stored names,
// without turning every name into UTF-16 at every comparison.
int pinyinCompareUtf8(std::string_view a, std::string_view b);

// The weight of one UTF-16 unit in that order: names compare unit by unit on their weights,
// then a shorter name first, then the units themselves. A database that cannot call
// pinyinCompare builds the same order from these weights.
quint32 pinyinWeight(char16_t unit);

// The name of the collation that every connection registers ("ORDER BY [名称] COLLATE PINYIN").
inline constexpr const char *kPinyinCollation = "PINYIN";

} // namespace quillora
