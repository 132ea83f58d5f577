#include "bench_support.h"

#include "base/fonts.h"

#include "data/database.h"
#include "data/drug_store.h"
#include "text/pinyin.h"

#include "printing/painter_printer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QStringList>

namespace quillora::bench {

BenchFolder::BenchFolder()
{
    files = std::make_unique<DataFiles>(dir.filePath(QStringLiteral("档案数据库")));
    files->createMissing();
    files->open();
}

bool ensureGuiApplication()
{
    static bool ready = [] {
        if (QCoreApplication::instance())
            return qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "quillora_bench";
        static char *argv[] = {name, nullptr};
        new QGuiApplication(argc, argv);  // lives for the whole run
        installFontSubstitutions();
        return true;
    }();
    return ready;
}

qint64 pdfSize(const std::function<void(Printer &)> &compose)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        PainterPrinter printer(&pdf);
        compose(printer);
    }
    return buffer.size();
}

QString catalogueName(int i)
{
    static const QStringList stems{QStringLiteral("阿莫西林"), QStringLiteral("头孢克肟"), QStringLiteral("布洛芬"),
                                   QStringLiteral("复方甘草"), QStringLiteral("维生素"), QStringLiteral("氯化钠")};
    return stems[i % stems.size()] + QStringLiteral("片%1 0.25g×24片").arg(i);
}

void fillDrugCatalogue(Database &settings, int count)
{
    DrugStore drugs(settings);
    Transaction t(settings);
    for (int i = drugs.count(); i < count; ++i) {
        DrugRow row;
        row.name = catalogueName(i) + QStringLiteral("\\0.5g 口服  每日3次");
        row.code = pinyinCode(row.name);
        row.category = i % 5 ? QStringLiteral("抗生素") : QStringLiteral("中药");
        row.quantity = QStringLiteral("2");
        row.unit = QStringLiteral("盒");
        row.price = 12.5 + i % 7;
        drugs.insert(row);
    }
    t.commit();
}

} // namespace quillora::bench
