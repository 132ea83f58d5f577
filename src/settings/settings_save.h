#pragma once

#include <QString>

namespace quillora {

class SettingsRecord;
struct SettingsValues;

// Saving the settings the window edited: what the table would refuse is named before
// anything is written, and a failed write says so and keeps the edits.
namespace SettingsSave {

// Empty when every value fits its column; else the message naming the first field that does not.
QString refusal(const SettingsValues &values);

// Writes the record's values in one transaction and drops the record. Empty when saved; else the
// message to show, with nothing written and the record (the user's edits) kept.
QString save(SettingsRecord &record);

// The sheet's heading for an institution name: without blanks at either end.
QString institutionHeading(const QString &name);

} // namespace SettingsSave

} // namespace quillora
