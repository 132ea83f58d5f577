#include "data/settings_columns.h"

namespace quillora {

const std::array<OverlayItemDefault, kOverlayItemCount> &overlayItemDefaults()
{
    static const std::array<OverlayItemDefault, kOverlayItemCount> items{{
        {QStringLiteral("姓名"), true, 26, 36},
        {QStringLiteral("性别"), true, 66, 36},
        {QStringLiteral("年龄"), true, 85, 36},
        {QStringLiteral("费别"), true, 108, 36},
        {QStringLiteral("医疗证号"), true, 30, 42},
        {QStringLiteral("住址|电话"), true, 78, 42},
        {QStringLiteral("临床诊断"), true, 35, 47},
        {QStringLiteral("日期(年)"), true, 100, 78},
        {QStringLiteral("医生"), true, 103, 160},
        {QStringLiteral("配药"), true, 103, 166},
        {QStringLiteral("复核"), true, 103, 172},
        {QStringLiteral("药费"), true, 31, 164},
        {QStringLiteral("其他收费"), true, 31, 170},
        {QStringLiteral("处方正文"), true, 40, 105},
        {QStringLiteral("科别"), true, 100, 53},
        {QStringLiteral("女(划掉男)"), false, 68, 47},
        {QStringLiteral("男(划掉女)"), false, 73, 47},
        {QStringLiteral("日期(月)"), true, 111, 78},
        {QStringLiteral("日期(日)"), true, 120, 78},
        {QStringLiteral("日期"), true, 0, 78},
        {QStringLiteral("过敏史"), true, 30, 78},
        {QStringLiteral("既往史"), false, 20, 10},
        {QStringLiteral("电话"), false, 20, 20},
    }};
    return items;
}

QString overlayTickColumn(const QString &caption) { return caption + QLatin1Char('1'); }
QString overlayLeftColumn(const QString &caption) { return caption + QLatin1Char('2'); }
QString overlayTopColumn(const QString &caption) { return caption + QLatin1Char('3'); }

const OverlayItemDefault *overlayItemOfColumn(const QString &column)
{
    if (column.isEmpty() || !QStringLiteral("123").contains(column.back()))
        return nullptr;
    const QString caption = column.chopped(1);
    for (const OverlayItemDefault &item : overlayItemDefaults()) {
        if (item.caption == caption)
            return &item;
    }
    return nullptr;
}

const SettingsColumn *settingsColumn(const QString &name)
{
    for (const SettingsColumn &column : settingsColumns()) {
        if (column.name == name)
            return &column;
    }
    return nullptr;
}

const std::array<SafetyCheckSwitch, kSafetyCheckCount> &safetyCheckSwitches()
{
    static const std::array<SafetyCheckSwitch, kSafetyCheckCount> switches{{
        {SafetyCheck::Allergy, QStringLiteral("提示过敏"), QStringLiteral("过敏史冲突")},
        {SafetyCheck::HerbPairs, QStringLiteral("提示十八反"), QStringLiteral("十八反/十九畏")},
        {SafetyCheck::DrugCount, QStringLiteral("提示药品数"), QStringLiteral("每张处方不超过5种药品")},
        {SafetyCheck::ChildAge, QStringLiteral("提示儿科年龄"), QStringLiteral("儿科处方须填年龄")},
    }};
    return switches;
}

// Every check is on in a new installation and in a settings file from before the checks.
static QList<SettingsColumn> safetyCheckColumns()
{
    QList<SettingsColumn> columns;
    for (const SafetyCheckSwitch &s : safetyCheckSwitches())
        columns << SettingsColumn{s.column, 1, true, QStringLiteral("1")};
    return columns;
}

static QList<SettingsColumn> buildSettingsColumns()
{
    const auto text = [](const char *name, const QString &initial, bool noEmpty = false, int max = 50) {
        return SettingsColumn{QString::fromUtf8(name), max, noEmpty, initial};
    };
    QList<SettingsColumn> columns{
        text("名称", SettingsDefaults::institution),
        text("医生", SettingsDefaults::doctor, false, 10),
        text("配药", SettingsDefaults::dispenser, false, 10),
        text("复核", SettingsDefaults::checker, false, 10),
        text("科别", QStringLiteral("内科")),
        text("费别", QStringLiteral("自费")),
        text("左边距", QStringLiteral("10"), true),
        text("上边距", QStringLiteral("10"), true),
        text("竖打", QStringLiteral("1")),
        text("字体", QStringLiteral("宋体")),
        text("大小", QStringLiteral("12")),
        text("左边距1", QStringLiteral("10"), true),
        text("上边距1", QStringLiteral("10"), true),
        text("左边距5", QStringLiteral("0")),
        text("上边距5", QStringLiteral("0")),
        text("左边距3", QStringLiteral("10")),
        text("上边距3", QStringLiteral("10")),
        text("竖打3", QStringLiteral("1")),
        text("左边距4", QStringLiteral("10")),
        text("上边距4", QStringLiteral("10")),
        text("竖打4", QStringLiteral("1")),
        text("左边距6", QStringLiteral("25")),
        text("上边距6", QStringLiteral("15")),
        text("自动划价", QStringLiteral("0")),
    };
    for (const OverlayItemDefault &item : overlayItemDefaults()) {
        columns << SettingsColumn{overlayTickColumn(item.caption), 50, true,
                                  item.ticked ? QStringLiteral("1") : QStringLiteral("0")};
        columns << SettingsColumn{overlayLeftColumn(item.caption), 50, true, QString::number(item.left)};
        columns << SettingsColumn{overlayTopColumn(item.caption), 50, true, QString::number(item.top)};
    }
    columns << text("索引", QStringLiteral("4"), false, 10) << text("竖打2", QStringLiteral("1"))
            << text("竖打5", QStringLiteral("1")) << text("竖打6", QStringLiteral("1"))
            << text("备用1", QString()) << text("备用2", QString()) << text("备用3", QString())
            << SettingsColumn{QStringLiteral("备用"), 0, false, QString()};
    return columns + laterSettingsColumns();
}

const QList<SettingsColumn> &laterSettingsColumns()
{
    static const QList<SettingsColumn> columns = QList<SettingsColumn>{
        SettingsColumn{kPaperColumn, 50, true, kPrinterDefaultPaper},
    } + safetyCheckColumns();
    return columns;
}

const QList<SettingsColumn> &settingsColumns()
{
    static const QList<SettingsColumn> columns = buildSettingsColumns();
    return columns;
}

} // namespace quillora
