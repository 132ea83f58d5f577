#pragma once

#include <QChar>
#include <QString>

#include <array>
#include <cstddef>
#include <string_view>

namespace quillora {

// Ideographs that can carry a pinyin initial: the CJK block that GBK covers.
inline constexpr char16_t kFirstIdeograph = 0x4E00;
inline constexpr char16_t kLastIdeograph = 0x9FA5;
inline constexpr std::size_t kIdeographCount = kLastIdeograph - kFirstIdeograph + 1;

// The initials that have a list, in lookup order (no i, u, v).
inline constexpr std::string_view kInitialLetters = "abcdefghjklmnopqrstwxyz";

using InitialLists = std::array<std::u16string_view, 23>;
using InitialMap = std::array<char, kIdeographCount>;

// Built-in lists, one per initial letter, generated from Unihan readings.
const InitialLists &initialLists();

// Flattens the lists into a per-ideograph letter (0 = none); the earliest list wins
// when a character stands in several.
InitialMap buildInitialMap(const InitialLists &lists);

// Search codes of names: the pinyin initial of each ideograph, ASCII letters
// lowercased and digits kept, everything else dropped; the code stops at the first space.
QString pinyinInitial(QChar c);
QString pinyinCode(const QString &text);

} // namespace quillora
