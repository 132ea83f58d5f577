#pragma once

#include <QList>
#include <QString>

namespace quillora {

// A paper the settings can choose for the printed documents, portrait, in millimetres.
// The printer's own paper has no size.
struct PaperSize
{
    QString caption;
    double width = 0;
    double height = 0;

    bool isPrinterDefault() const { return width <= 0 || height <= 0; }
};

// The choices in the order the settings offer them, the printer's own paper first.
const QList<PaperSize> &paperSizes();

// The paper a stored choice names; an unknown or empty text leaves the printer's own paper.
PaperSize paperSizeFor(const QString &caption);

} // namespace quillora
