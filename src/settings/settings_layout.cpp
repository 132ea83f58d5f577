#include "settings/settings_layout.h"

namespace quillora {

namespace {

QString t(const char *utf8) { return QString::fromUtf8(utf8); }

} // namespace

const std::array<SettingsLayout::LabelledBox, 6> &SettingsLayout::generalBoxes()
{
    static const std::array<LabelledBox, 6> boxes{{
        {t("医疗机构名称"), 120, 480, {1320, 420, 3015, 315}, t("名称")},
        {t("医生"), 120, 960, {540, 900, 900, 315}, t("医生")},
        {t("配药"), 1560, 960, {1980, 900, 900, 315}, t("配药")},
        {t("复核"), 3000, 960, {3420, 900, 900, 315}, t("复核")},
        {t("默认费别"), 120, 1440, {960, 1380, 1155, 315}, t("费别")},
        {t("默认科别"), 2280, 1440, {3120, 1380, 1215, 315}, t("科别")},
    }};
    return boxes;
}

const std::array<SettingsLayout::LabelledBox, 6> &SettingsLayout::marginBoxes()
{
    static const std::array<LabelledBox, 6> boxes{{
        {t("处方左边距："), 120, 420, {1440, 360, 615, 315}, t("左边距")},
        {t("处方上边距："), 2400, 420, {3720, 360, 615, 315}, t("上边距")},
        {t("套打左边距："), 120, 1620, {1440, 1560, 615, 315}, t("左边距5")},
        {t("套打上边距："), 2400, 1620, {3720, 1560, 615, 315}, t("上边距5")},
        {t("注射卡左边距："), 120, 2040, {1440, 1980, 615, 315}, t("左边距1")},
        {t("注射卡上边距："), 2400, 2040, {3720, 1980, 615, 315}, t("上边距1")},
    }};
    return boxes;
}

const SettingsLayout::LabelledBox &SettingsLayout::fontBox()
{
    static const LabelledBox box{t("处方字体"), 120, 840, {960, 780, 1455, 315}, t("字体")};
    return box;
}

const SettingsLayout::LabelledBox &SettingsLayout::sizeBox()
{
    static const LabelledBox box{t("字体大小"), 2580, 840, {3420, 780, 915, 315}, t("大小")};
    return box;
}

const SettingsLayout::LabelledBox &SettingsLayout::paperBox()
{
    static const LabelledBox box{t("纸张"), 120, 2460, {960, 2400, 1455, 315}, kPaperColumn};
    return box;
}

QStringList SettingsLayout::fontChoices() { return {t("宋体"), t("楷体_GB2312"), t("隶书")}; }

QStringList SettingsLayout::sizeChoices()
{
    return {t("10"), t("11"), t("12"), t("14"), t("16"), t("18"), t("20")};
}

const SettingsLayout::LabelledBox &SettingsLayout::oldPasswordBox()
{
    static const LabelledBox box{t("原密码"), 120, 420, {900, 360, 1935, 315}, QString()};
    return box;
}

const SettingsLayout::LabelledBox &SettingsLayout::newPasswordBox()
{
    static const LabelledBox box{t("新密码"), 120, 900, {900, 840, 1935, 315}, QString()};
    return box;
}

QString SettingsLayout::hintText()
{
    return t("提示：处方套打是指在已事先印刷的处方上进行打印，首先把需要打印的项目打钩，然后仔细设置每个项目的左边距及上边距，"
             "单位是毫米，使每个项目能在原有格式的印刷处方上进行对齐。");
}

QString SettingsLayout::fieldName(const QString &column)
{
    const auto bare = [](QString caption) { return caption.remove(QChar(0xFF1A)); };  // without "："
    for (const auto *boxes : {&generalBoxes(), &marginBoxes()}) {
        for (const LabelledBox &box : *boxes) {
            if (box.column == column)
                return bare(box.caption);
        }
    }
    for (const LabelledBox *box : {&fontBox(), &sizeBox(), &paperBox()}) {
        if (box->column == column)
            return box->caption;
    }
    for (const SafetyCheckSwitch &s : safetyCheckSwitches()) {
        if (s.column == column)
            return s.caption;
    }
    if (const OverlayItemDefault *item = overlayItemOfColumn(column)) {
        if (column == overlayLeftColumn(item->caption))
            return item->caption + t(" 左边距");
        if (column == overlayTopColumn(item->caption))
            return item->caption + t(" 上边距");
        return item->caption;
    }
    return column;
}

} // namespace quillora
