#pragma once

#include <QStringView>

namespace quillora {

// Chinese dictionary order for names: ASCII first (letters ignoring case), then ideographs in
// the order of their pinyin readings, then everything else by code point. Ties fall back to
// the code points, so the order is total and stable.
int pinyinCompare(QStringView a, QStringView b);

// The name of the collation that every connection registers ("ORDER BY [名称] COLLATE PINYIN").
inline constexpr const char *kPinyinCollation = "PINYIN";

} // namespace quillora
