#pragma once

#include <QString>

namespace quillora {

class Database;

// Writing rows of the small dictionaries; the codes and search keys are computed here.
namespace DictionaryStore {
// A diagnosis (table 诊断) or address (table 地址): name, code, and name+code as search key.
qint64 insertNameListEntry(Database &settings, const QString &table, const QString &name);
// An order set ("个人组套") or TCM formula ("中医验方").
qint64 insertOrderSet(Database &settings, const QString &name, const QString &kind, const QString &content);
qint64 insertHistoryTemplate(Database &settings, const QString &name, const QString &content);
// Name followed by its code, cut to the 50 characters the key column holds.
QString searchKey(const QString &name, const QString &code);
} // namespace DictionaryStore

} // namespace quillora
