#pragma once

#include "data/settings_columns.h"

#include <QList>
#include <QPair>
#include <QString>
#include <array>
#include <memory>

namespace quillora {

class Database;
class SettingsRow;

// One overlay item as the settings hold it: tick and the two positions as shown.
struct OverlayItem
{
    QString caption;
    bool ticked = false;
    QString left;
    QString top;

    bool operator==(const OverlayItem &) const = default;
};

// The values the settings window edits and the print routines read.
struct SettingsValues
{
    QString institution, doctor, dispenser, checker, feeClass, department;
    QString sheetLeft, sheetTop;      // 左边距, 上边距
    bool portrait = false;            // 竖打: only "0" means landscape
    QString font, size;               // 字体, 大小
    QString overlayLeft, overlayTop;  // 左边距5, 上边距5
    QString cardLeft, cardTop;        // 左边距1, 上边距1
    QString paper;                    // 纸张
    std::array<bool, kSafetyCheckCount> safetyChecks{true, true, true, true};  // 提示过敏 …
    std::array<OverlayItem, kOverlayItemCount> overlay;

    bool operator==(const SettingsValues &) const = default;

    // What the values are before anything has been read (and stay when the row cannot be read).
    static SettingsValues builtIn();
    // The row's values over the built-in ones; a missing column keeps its built-in value.
    static SettingsValues read(SettingsRow &row);
    // The text value behind a general, margin, font, size or paper column; empty for other columns.
    QString text(const QString &column) const;
    void setText(const QString &column, const QString &text);
    bool checkOn(SafetyCheck check) const { return safetyChecks[static_cast<int>(check)]; }

    // Every column with the text a save stores: texts as they are, the orientation as "1" or "0",
    // overlay ticks as "1" or "0" and positions as the text of their leading number.
    QList<QPair<QString, QString>> columnTexts() const;
    // Writes every value back; throws DbError when the table refuses one (nothing is written).
    void write(SettingsRow &row) const;
};

// The safety-check switches as the row holds them: only "0" is off, a missing column is on.
std::array<bool, kSafetyCheckCount> readSafetyChecks(SettingsRow &row);

// The settings in memory: loaded from the row on first use, edited live by the settings
// window, dropped on save or cancel so that the next use reads the row again.
class SettingsRecord
{
public:
    explicit SettingsRecord(Database &settings);
    ~SettingsRecord();

    bool isLoaded() const { return m_values != nullptr; }
    Database &database() const { return m_db; }
    // Loads on first use.
    SettingsValues &values();
    // Writes the edited values and drops the record.
    void save();
    // Drops the record without writing.
    void discard() { m_values.reset(); }

private:
    Database &m_db;
    std::unique_ptr<SettingsValues> m_values;
};

} // namespace quillora
