#include "settings/settings_save.h"

#include "data/database.h"
#include "data/settings_record.h"
#include "data/settings_row.h"
#include "settings/settings_layout.h"

namespace quillora {

namespace {

// The table counts characters, not UTF-16 units.
int characters(const QString &text) { return static_cast<int>(text.toUcs4().size()); }

// After a failed write the outcome may be unknown (a failed commit): the table tells.
bool storedAsWritten(SettingsRecord &record, const SettingsValues &values)
{
    try {
        SettingsRow row(record.database());
        for (const auto &[column, text] : values.columnTexts()) {
            const std::optional<QString> stored = row.value(column);
            if (stored && *stored != text)
                return false;
        }
        return true;
    } catch (const DbError &) {
        return false;
    }
}

} // namespace

QString SettingsSave::refusal(const SettingsValues &values)
{
    for (const auto &[column, text] : values.columnTexts()) {
        const SettingsColumn *definition = settingsColumn(column);
        if (!definition)
            continue;
        const QString field = SettingsLayout::fieldName(column);
        if (definition->noEmptyText && text.isEmpty())
            return QStringLiteral("“%1”不能为空，请填写后再保存。").arg(field);
        const int length = characters(text);
        if (definition->maxLength > 0 && length > definition->maxLength)
            return QStringLiteral("“%1”最多能保存%2个字符，现在有%3个，请改短后再保存。")
                .arg(field)
                .arg(definition->maxLength)
                .arg(length);
    }
    return QString();
}

QString SettingsSave::save(SettingsRecord &record)
{
    const SettingsValues values = record.values();
    if (const QString refused = refusal(values); !refused.isEmpty())
        return refused;
    try {
        record.save();
        return QString();
    } catch (const DbError &e) {
        if (storedAsWritten(record, values)) {
            record.discard();
            return QString();
        }
        return QStringLiteral("设置未能保存：%1").arg(e.message());
    }
}

QString SettingsSave::institutionHeading(const QString &name) { return name.trimmed(); }

} // namespace quillora
