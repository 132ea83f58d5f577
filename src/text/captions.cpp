#include "text/captions.h"

namespace quillora {

QString withAccessKey(const QString &caption)
{
    QString shown = caption;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    const qsizetype n = shown.size();
    if (n >= 3 && shown.at(n - 1) == QLatin1Char(')') && shown.at(n - 3) == QLatin1Char('(')
        && shown.at(n - 2).isLetterOrNumber() && shown.at(n - 2).unicode() < 128)
        shown.insert(n - 2, QLatin1Char('&'));
    return shown;
}

} // namespace quillora
