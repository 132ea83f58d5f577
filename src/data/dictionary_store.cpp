#include "data/dictionary_store.h"

#include "data/database.h"
#include "text/pinyin.h"

namespace quillora {

QString DictionaryStore::searchKey(const QString &name, const QString &code) { return (name + code).left(50); }

qint64 DictionaryStore::insertNameListEntry(Database &settings, const QString &table, const QString &name)
{
    const QString code = pinyinCode(name.trimmed());
    Statement q(settings, QStringLiteral("INSERT INTO %1 ([名称], [拼音], [序号]) VALUES (?, ?, ?)").arg(quoteIdentifier(table)));
    q.bind(1, name).bind(2, code).bind(3, searchKey(name, code));
    q.run();
    settings.rowChanged(table, settings.lastInsertRowId());
    return settings.lastInsertRowId();
}

qint64 DictionaryStore::insertOrderSet(Database &settings, const QString &name, const QString &kind, const QString &content)
{
    Statement q(settings, QStringLiteral("INSERT INTO [个人组套] ([名称], [分类], [拼音], [内容]) VALUES (?, ?, ?, ?)"));
    q.bind(1, name).bind(2, kind).bind(3, pinyinCode(name.trimmed())).bind(4, content);
    q.run();
    settings.rowChanged(QStringLiteral("个人组套"), settings.lastInsertRowId());
    return settings.lastInsertRowId();
}

qint64 DictionaryStore::insertHistoryTemplate(Database &settings, const QString &name, const QString &content)
{
    const QString code = pinyinCode(name.trimmed());
    Statement q(settings, QStringLiteral("INSERT INTO [病史模板] ([名称], [内容], [序号], [拼音]) VALUES (?, ?, ?, ?)"));
    q.bind(1, name).bind(2, content).bind(3, searchKey(name, code)).bind(4, code);
    q.run();
    settings.rowChanged(QStringLiteral("病史模板"), settings.lastInsertRowId());
    return settings.lastInsertRowId();
}

} // namespace quillora
