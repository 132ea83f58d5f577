#pragma once

#include "workstation/drug_categories.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace quillora {

// Every text here uses CR LF line breaks, as the stored body does.
inline const QString kCrLf = QStringLiteral("\r\n");
inline const QString kUsagePrefix = QStringLiteral("    用法：");

constexpr int kHerbCellColumns = 13;
// A herb picked with the caret past this column starts a new row: three cells end at 40.
constexpr int kHerbRowLastColumn = 31;

// The caret's 1-based column within its line, counted in display columns (a GBK double-byte
// character counts two); a caret at the start of a line is in column 1.
int caretColumn(const QString &text, int caretIndex);

// A herb name padded with spaces to 13 display columns; a wider name stays as it is.
QString herbCell(const QString &name);

// What picking a catalogue entry appends to the body: the name line, and a usage line per
// backslash; a usage phrase as a usage line; otherwise the name line alone.
QString drugPickText(const QString &item);
// An order set starts on a line of its own and ends with an empty line.
QString orderSetInsertion(const QString &content, int caretColumn);
// A herb cell, after an empty line when the current row already holds three cells.
QString herbInsertion(const QString &name, int caretColumn);
// A TCM formula goes in exactly as stored.
QString formulaInsertion(const QString &content);

// A body after an edit and where its caret stands (indexes in CR LF text).
struct BodyEdit
{
    QString text;
    int caret = 0;
};

// Replaces the selection (empty at a plain caret) by the text; the caret ends after it.
BodyEdit insertAt(const QString &text, int selectionStart, int selectionEnd, const QString &inserted);

// A pick from the pick list: `picked` is the entry's text for drugs and herbs and the stored
// content for order sets and formulas. Drugs, order sets and formulas go to the end of the
// body; a herb replaces the selection, its row decided by the column at the selection's end.
BodyEdit pickIntoBody(CurrentCategory category, const QString &body, int selectionStart, int selectionEnd,
                      const QString &picked);

// The lines a pick brings into the body, wherever they go: drug lines with their usage, the
// herb, or the order set's content. What the checks read before a pick is made.
QString pickedLines(CurrentCategory category, const QString &picked);

inline const QString kKindGeneral = QStringLiteral("普通");
inline const QString kKindTcm = QStringLiteral("中医");
inline const QString kKindChildren = QStringLiteral("儿科");

// A prescription kind with the sheet title it shows and whether the doses box is shown.
struct KindLook
{
    QString kind;
    QString title;
    bool dosesShown = false;

    friend bool operator==(const KindLook &, const KindLook &) = default;
};

// nullopt for a kind text that is none of the three.
std::optional<KindLook> kindLook(const QString &kind);
// After any pick: 中医 for 中药 and 中医验方, 普通 otherwise (a 儿科 sheet too).
KindLook kindAfterPick(CurrentCategory category);
// A click on the kind box: 普通 → 中医 → 儿科 → 普通; nullopt (nothing changes) for any other text.
std::optional<KindLook> kindAfterClick(const QString &current);

// A click caption beside the body (Label5 element).
struct UsagePreset
{
    int index = 0;
    QString caption;
};

// The captions in index order: 0–12, 14, 15, 17 and 21.
const QList<UsagePreset> &usagePresets();
// The caption of element k; nullopt where the array has no such element.
std::optional<QString> usagePresetCaption(int index);
// A usage line caption brings its two line breaks; a bare "用法：" and every other caption
// go in alone.
QString usagePresetInsertion(const QString &caption);

// A usage item of the body's pop-up menu and the line it writes.
struct UsageMenuItem
{
    QString caption;
    QString line;
};

const std::array<UsageMenuItem, 4> &usageMenuItems();
QString usageMenuInsertion(const UsageMenuItem &item);

} // namespace quillora
