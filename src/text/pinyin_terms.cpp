#include "text/pinyin_terms.h"

#include <array>

namespace quillora {

namespace {

// Reviewed against every character of the starter dictionaries that has more than one
// reading, and against the names doctors type most. A character listed alone takes that
// reading wherever it stands in a drug, herb or diagnosis name.
constexpr std::array kReadings = {
    // Characters read otherwise in medicine than in everyday text.
    TermReading{u"参", "s"},  // shēn: 人参 丹参 党参 玄参 苦参 沙参 太子参 西洋参
    TermReading{u"咳", "k"},  // ké: 止咳 咳喘 百日咳
    TermReading{u"芎", "x"},  // xiōng: 川芎
    TermReading{u"椎", "z"},  // zhuī: 颈椎病 腰椎间盘突出症
    TermReading{u"茄", "q"},  // qié: 颠茄片
    TermReading{u"豉", "c"},  // chǐ: 淡豆豉
    TermReading{u"炔", "q"},  // quē: 炔诺酮
    TermReading{u"咯", "l"},  // luò in chemical names: 吡咯 酮咯酸
    // Terms whose reading depends on the neighbouring character.
    TermReading{u"咯血", "kx"},
    TermReading{u"咯痰", "kt"},
    TermReading{u"白术", "bz"},
    TermReading{u"苍术", "cz"},
    TermReading{u"莪术", "ez"},
    TermReading{u"阿胶", "ej"},
    TermReading{u"枸橼", "jy"},   // 枸橼酸 jǔyuán, but 枸杞 gǒuqǐ
    TermReading{u"枳壳", "zq"},
    TermReading{u"蛤蚧", "gj"},
    TermReading{u"藏红花", "zhh"},
    TermReading{u"重楼", "cl"},
    TermReading{u"长春", "cc"},   // 长春西汀 长春新碱
    TermReading{u"不调", "bt"},
    TermReading{u"失调", "st"},
    TermReading{u"调经", "tj"},
    TermReading{u"调节", "tj"},
    TermReading{u"调脂", "tz"},
};

} // namespace

std::span<const TermReading> termReadings() { return kReadings; }

} // namespace quillora
