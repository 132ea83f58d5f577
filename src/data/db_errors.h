#pragma once

#include <QString>

namespace quillora {

// The doctor's words for an SQLite result code, the engine's own text after it in brackets:
// "磁盘空间已满（database or disk is full）". Extended codes are read by their primary code.
QString engineErrorText(int code, const QString &engineText);

// The same for a code the database server gave: its connection, its disk, its data.
QString serverErrorText(int code, const QString &serverWords);

// True for the codes that mean the file itself is damaged (malformed pages, not a database).
bool isDamageCode(int code);

// What to do about a damaged archive: stop saving and restore the latest backup, naming its folder.
QString damageAdvice(const QString &backupRoot);

// What to do when the server reports damaged data: stop saving, have it checked, or restore a dump.
QString serverDamageAdvice();

class DbError;

// "病历未能保存：磁盘空间已满（…）", with the advice on a new line when the file is damaged.
QString failureMessage(const QString &what, const DbError &error, const QString &backupRoot);

} // namespace quillora
