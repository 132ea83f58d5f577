#include "data/drug_category_names.h"

namespace quillora {

const QStringList &catalogueCategoryNames()
{
    static const QStringList names{QStringLiteral("抗生素"), QStringLiteral("输液"),     QStringLiteral("心血管"),
                                   QStringLiteral("呼吸"),   QStringLiteral("消化"),     QStringLiteral("神经"),
                                   QStringLiteral("内分泌"), QStringLiteral("解热镇痛"), QStringLiteral("维生素激素"),
                                   QStringLiteral("其他"),   QStringLiteral("中成药"),   QStringLiteral("用法"),
                                   QStringLiteral("中药")};
    return names;
}

} // namespace quillora
