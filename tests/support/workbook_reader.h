#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace quillora::test {

// What a written workbook holds, read back from its XML parts with unzip.
struct WorkbookContent
{
    QList<QStringList> rows;           // sheet 1, cell texts by row and column
    QList<bool> boldRows;              // whether every cell of the row has a bold 11 pt font
    QMap<int, double> columnWidths;    // 0-based column -> width
};

bool canReadWorkbook();
// Reads sheet 1; fails the test (and returns nothing) when the file is no readable workbook.
WorkbookContent readWorkbook(const QString &path);

} // namespace quillora::test
