#include "printing/paper_size.h"

#include "data/settings_columns.h"

namespace quillora {

const QList<PaperSize> &paperSizes()
{
    // 16开 and 32开 are the common Chinese trimmed book sizes, not the ISO ones.
    static const QList<PaperSize> sizes{
        {kPrinterDefaultPaper, 0, 0},
        {QStringLiteral("A4"), 210, 297},
        {QStringLiteral("A5"), 148, 210},
        {QStringLiteral("B5"), 176, 250},
        {QStringLiteral("16开"), 184, 260},
        {QStringLiteral("32开"), 130, 184},
    };
    return sizes;
}

PaperSize paperSizeFor(const QString &caption)
{
    for (const PaperSize &paper : paperSizes()) {
        if (paper.caption == caption)
            return paper;
    }
    return paperSizes().front();
}

} // namespace quillora
