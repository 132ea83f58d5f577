#include "data/visit_record.h"

#include "data/list_column.h"

namespace quillora {

const std::array<QString, kHeaderFieldCount> &headerFieldCaptions()
{
    static const std::array<QString, kHeaderFieldCount> captions{
        QStringLiteral("姓名："), QStringLiteral("性别："), QStringLiteral("年龄："), QStringLiteral("费别："),
        QStringLiteral("医疗证(病历)号："), QStringLiteral("科别："), QStringLiteral("住址(电话)："),
        QStringLiteral("电话："), QStringLiteral("诊断："), QStringLiteral("日期："), QStringLiteral("医生："),
        QStringLiteral("配药："), QStringLiteral("复核："), QStringLiteral("药费："), QStringLiteral("其他："),
        QStringLiteral("过敏史："), QStringLiteral("既往史：")};
    return captions;
}

void VisitRecord::fitGrid()
{
    for (QStringList &column : grid)
        column = ListColumn::fitted(column, kGridRows);
}

} // namespace quillora
