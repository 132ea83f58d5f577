#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace quillora {

// One column of the settings row with the value a new installation starts with.
struct SettingsColumn
{
    QString name;
    int maxLength;      // 0 = unbounded text
    bool noEmptyText;   // the column refuses an empty text
    QString initial;
};

// One item of overlay printing: its caption names its three columns (tick, left, top).
struct OverlayItemDefault
{
    QString caption;
    bool ticked;
    int left;
    int top;
};

constexpr int kOverlayItemCount = 23;

// The 23 overlay items in the order of their index.
const std::array<OverlayItemDefault, kOverlayItemCount> &overlayItemDefaults();

// Column names of one overlay item: caption + "1" (tick), "2" (left), "3" (top).
QString overlayTickColumn(const QString &caption);
QString overlayLeftColumn(const QString &caption);
QString overlayTopColumn(const QString &caption);
// The item owning a column (tick, left or top), or nullptr.
const OverlayItemDefault *overlayItemOfColumn(const QString &column);
// The definition of a column of the settings row, or nullptr.
const SettingsColumn *settingsColumn(const QString &name);

// Every column of the settings row in table order, with its initial value.
const QList<SettingsColumn> &settingsColumns();
// The columns later versions appended to the row (a part of settingsColumns(), at its end):
// an older settings file gets each one that it lacks, with its initial value.
const QList<SettingsColumn> &laterSettingsColumns();

// The prescription safety checks, each switched on or off by a column of its own ("1" or "0").
enum class SafetyCheck { Allergy, HerbPairs, DrugCount, ChildAge };
constexpr int kSafetyCheckCount = 4;
struct SafetyCheckSwitch
{
    SafetyCheck check;
    QString column;
    QString caption;  // the check box of the settings window
};
const std::array<SafetyCheckSwitch, kSafetyCheckCount> &safetyCheckSwitches();

// The paper of the printed documents; "打印机默认" leaves the printer's own paper.
inline const QString kPaperColumn = QStringLiteral("纸张");
inline const QString kPrinterDefaultPaper = QStringLiteral("打印机默认");

// Example institution and people of a new installation.
namespace SettingsDefaults {
inline const QString institution = QStringLiteral("青山镇中心卫生院");
inline const QString doctor = QStringLiteral("王建国");
inline const QString dispenser = QStringLiteral("李秀英");
inline const QString checker = QStringLiteral("张明");
} // namespace SettingsDefaults

} // namespace quillora
