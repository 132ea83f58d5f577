#include "data/seed_data.h"

#include "text/pinyin.h"

#include <QFile>

namespace quillora {

QList<DrugRow> SeedData::parseDrugs(const QString &text)
{
    QList<DrugRow> drugs;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 1; i < lines.size(); ++i) {
        const QString line = QString(lines[i]).remove(QLatin1Char('\r'));
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() < 5 || fields[0].trimmed().isEmpty())
            continue;
        DrugRow row;
        row.name = fields[0].trimmed();
        row.category = fields[1].trimmed();
        row.quantity = fields[2].trimmed();
        row.unit = fields[3].trimmed();
        row.price = fields[4].trimmed().toDouble();
        // The code comes from the name without its usage part; a name with no code is its own code.
        row.code = pinyinCode(row.name.section(QLatin1Char('\\'), 0, 0).trimmed());
        if (row.code.isEmpty())
            row.code = row.name.left(50);
        drugs << row;
    }
    return drugs;
}

QStringList SeedData::parseLines(const QString &text)
{
    QStringList entries;
    for (QString line : text.split(QLatin1Char('\n'))) {
        line = line.remove(QLatin1Char('\r')).trimmed();
        if (!line.isEmpty())
            entries << line;
    }
    return entries;
}

QList<SeedBlock> SeedData::parseBlocks(const QString &text)
{
    QList<SeedBlock> blocks;
    QStringList content;
    const auto finish = [&] {
        if (blocks.isEmpty())
            return;
        while (!content.isEmpty() && content.last().trimmed().isEmpty())
            content.removeLast();
        blocks.last().content = content.join(QLatin1String("\r\n"));
        content.clear();
    };
    for (QString line : text.split(QLatin1Char('\n'))) {
        line.remove(QLatin1Char('\r'));
        if (line.startsWith(QLatin1String("## "))) {
            finish();
            const QString head = line.mid(3).trimmed();
            blocks << SeedBlock{head.section(QLatin1Char('|'), 0, 0).trimmed(), head.section(QLatin1Char('|'), 1).trimmed(), {}};
        } else if (!blocks.isEmpty()) {
            content << line;
        }
    }
    finish();
    return blocks;
}

QString SeedData::resourceText(const QString &name)
{
    QFile file(QStringLiteral(":/seed/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace quillora
