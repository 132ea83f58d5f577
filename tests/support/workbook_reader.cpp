#include "support/workbook_reader.h"

#include <QProcess>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace quillora::test {

namespace {

QByteArray part(const QString &path, const QString &name)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
    p.waitForFinished(20000);
    EXPECT_EQ(p.exitCode(), 0) << name.toStdString();
    return p.readAllStandardOutput();
}

// The texts of the shared strings, in index order.
QStringList sharedStrings(const QByteArray &xml)
{
    QStringList strings;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == QLatin1String("si"))
            strings << r.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return strings;
}

// For each cell style (xf) index: whether its font is bold 11 pt.
QList<bool> boldStyles(const QByteArray &xml)
{
    QList<bool> boldFonts, styles;
    QXmlStreamReader r(xml);
    bool inFonts = false, inCellXfs = false;
    while (!r.atEnd()) {
        const auto token = r.readNext();
        if (token == QXmlStreamReader::EndElement) {
            if (r.name() == QLatin1String("fonts"))
                inFonts = false;
            if (r.name() == QLatin1String("cellXfs"))
                inCellXfs = false;
            continue;
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (r.name() == QLatin1String("fonts")) {
            inFonts = true;
        } else if (r.name() == QLatin1String("cellXfs")) {
            inCellXfs = true;
        } else if (inFonts && r.name() == QLatin1String("font")) {
            bool bold = false, eleven = false;
            while (!(r.readNext() == QXmlStreamReader::EndElement && r.name() == QLatin1String("font"))) {
                if (r.isStartElement() && r.name() == QLatin1String("b"))
                    bold = true;
                if (r.isStartElement() && r.name() == QLatin1String("sz"))
                    eleven = r.attributes().value(QLatin1String("val")) == QLatin1String("11");
            }
            boldFonts << (bold && eleven);
        } else if (inCellXfs && r.name() == QLatin1String("xf")) {
            styles << boldFonts.value(r.attributes().value(QLatin1String("fontId")).toInt());
        }
    }
    return styles;
}

int columnOf(const QString &ref)
{
    int column = 0;
    for (QChar c : ref) {
        if (!c.isLetter())
            break;
        column = column * 26 + (c.unicode() - 'A' + 1);
    }
    return column - 1;
}

} // namespace

bool canReadWorkbook() { return !QStandardPaths::findExecutable(QStringLiteral("unzip")).isEmpty(); }

WorkbookContent readWorkbook(const QString &path)
{
    WorkbookContent content;
    const QStringList strings = sharedStrings(part(path, QStringLiteral("xl/sharedStrings.xml")));
    const QList<bool> bold = boldStyles(part(path, QStringLiteral("xl/styles.xml")));
    QXmlStreamReader r(part(path, QStringLiteral("xl/worksheets/sheet1.xml")));
    while (!r.atEnd()) {
        if (r.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto a = r.attributes();
        if (r.name() == QLatin1String("col")) {
            for (int c = a.value(QLatin1String("min")).toInt(); c <= a.value(QLatin1String("max")).toInt(); ++c)
                content.columnWidths[c - 1] = a.value(QLatin1String("width")).toDouble();
        } else if (r.name() == QLatin1String("row")) {
            const int row = a.value(QLatin1String("r")).toInt() - 1;
            while (content.rows.size() <= row) {
                content.rows << QStringList();
                content.boldRows << true;
            }
        } else if (r.name() == QLatin1String("c")) {
            const int column = columnOf(a.value(QLatin1String("r")).toString());
            const bool cellBold = bold.value(a.value(QLatin1String("s")).toInt());
            const bool shared = a.value(QLatin1String("t")) == QLatin1String("s");
            QString text;
            while (!(r.readNext() == QXmlStreamReader::EndElement && r.name() == QLatin1String("c"))) {
                if (r.isStartElement() && (r.name() == QLatin1String("v") || r.name() == QLatin1String("t"))) {
                    const QString v = r.readElementText();
                    text = shared ? strings.value(v.toInt()) : v;
                }
            }
            QStringList &cells = content.rows.last();
            while (cells.size() <= column)
                cells << QString();
            cells[column] = text;
            content.boldRows.last() = content.boldRows.last() && cellBold;
        }
    }
    return content;
}

} // namespace quillora::test
