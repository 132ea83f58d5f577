#pragma once

#include <QString>
#include <QStringList>

namespace quillora {

// The injection routes a usage line may name, matched ignoring case ("H" stands for any h).
const QStringList &injectionKeywords();

// A line that writes a usage: it contains "sig" (any case) or "用法".
bool isUsageLine(const QString &line);
// A usage line that names an injection route.
bool namesInjection(const QString &line);

// The injection-card text of a body: every group (the non-blank lines up to and including a
// usage line) whose usage line names an injection, each line followed by CR LF.
QString ssy(const QString &body);

} // namespace quillora
