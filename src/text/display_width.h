#pragma once

#include <QChar>
#include <QString>

namespace quillora {

// Screen and paper measure text in GBK bytes: a double-byte character takes two columns.
bool isDoubleByte(QChar c);
int displayColumns(const QString &text);

} // namespace quillora
