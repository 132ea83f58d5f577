#include "support/pdf_text.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace quillora::test {

bool canReadPdf() { return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty(); }

QString folded(QString text)
{
    static const QString radicals = QStringLiteral("⻅⻆⻉⻋⻓⻔⻘⻙⻚⻛⻜⻢⻥⻦⻧⻨⻩⻬⻮⻰⻳");
    static const QString characters = QStringLiteral("见角贝车长门青韦页风飞马鱼鸟卤麦黄齐齿龙龟");
    text = text.normalized(QString::NormalizationForm_KC);
    for (QChar &c : text) {
        if (const qsizetype i = radicals.indexOf(c); i >= 0)
            c = characters.at(i);
    }
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

QString pdfText(const QString &path)
{
    if (!canReadPdf())
        return {};
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    p.waitForFinished(20000);
    return folded(QString::fromUtf8(p.readAllStandardOutput()));
}

QList<PdfWord> pdfWords(const QString &path)
{
    QList<PdfWord> words;
    if (!canReadPdf())
        return words;
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    p.waitForFinished(20000);
    QXmlStreamReader xml(p.readAllStandardOutput());
    int page = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("page")) {
            ++page;
        } else if (xml.name() == QLatin1String("word")) {
            const auto a = xml.attributes();
            PdfWord w;
            w.page = page;
            w.left = a.value(QLatin1String("xMin")).toDouble();
            w.top = a.value(QLatin1String("yMin")).toDouble();
            w.right = a.value(QLatin1String("xMax")).toDouble();
            w.bottom = a.value(QLatin1String("yMax")).toDouble();
            w.text = folded(xml.readElementText());
            words << w;
        }
    }
    return words;
}

QSizeF pdfPageSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+([0-9.]+)\\s+([0-9.]+)\\s*\\]"));
    const QRegularExpressionMatch m = box.match(QString::fromLatin1(file.readAll()));
    if (!m.hasMatch())
        return {};
    constexpr double kPointsPerMillimetre = 72.0 / 25.4;
    return QSizeF(m.captured(1).toDouble() / kPointsPerMillimetre, m.captured(2).toDouble() / kPointsPerMillimetre);
}

} // namespace quillora::test
