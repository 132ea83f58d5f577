#include "main_window_fixture.h"

#include "printing/history_card_window.h"
#include "printing/infusion_card_window.h"
#include "printing/print_job_gui.h"
#include "support/pdf_text.h"
#include "workstation/action_bar_widget.h"
#include "workstation/press_button_widget.h"
#include "workstation/prescription_editor_gui.h"

#include <QAction>
#include <QFile>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

using namespace quillora;
using namespace quillora::test;

namespace {

using PrintWindowTest = MainWindowTest;

TEST_F(PrintWindowTest, SheetOverlayAndCardReachPaper)
{
    field(0)->setText(QStringLiteral("张三"));
    window->editor().setBodyText(QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n    用法：0.5g 口服  每日3次\r\n"));
    const struct { const char *file; std::function<void()> print; const char *expected; } documents[] = {
        {"sheet.pdf", [&] { window->menuAction(QStringLiteral("打印"))->trigger(); }, "普通处方笺"},
        {"overlay.pdf", [&] { window->menuAction(QStringLiteral("在印刷处方上套打"))->trigger(); }, "用法：0.5g"},
        {"card.pdf", [&] { QTest::mouseClick(find(QStringLiteral("Picture2_2")), Qt::LeftButton); }, "门诊注射卡"},
    };
    for (const auto &doc : documents) {
        const QString path = out.filePath(QString::fromUtf8(doc.file));
        PrintJob::setOutputFile(path);
        doc.print();
        ASSERT_TRUE(QFile::exists(path)) << doc.file;
        EXPECT_GT(QFile(path).size(), 1000) << doc.file;
        const QString text = pdfText(path);
        if (!text.isEmpty()) {
            EXPECT_TRUE(text.contains(folded(QString::fromUtf8(doc.expected)))) << doc.file << "\n" << text.toStdString();
            EXPECT_TRUE(text.contains(QStringLiteral("张三"))) << doc.file;
        }
    }
    EXPECT_FALSE(QFile::exists(workspace->scratchPath(QStringLiteral("print.txt"))));
}

TEST_F(PrintWindowTest, WithoutAPrinterTheSheetCanBeSavedAsPdf)
{
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "a printer is installed here";
    const QString path = out.filePath(QStringLiteral("saved.pdf"));
    MessageDialog::setNextAnswer(false);
    window->menuAction(QStringLiteral("打印"))->trigger();
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("没有找到打印机")));
    EXPECT_FALSE(QFile::exists(path));
    MessageDialog::setNextAnswer(true);
    MessageDialog::setNextFileName(path);
    QTest::mouseClick(window->toolButton(QStringLiteral("打印")), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(PrintWindowTest, ActionBarOpensTheCardsForTheVisitOnScreen)
{
    field(0)->setText(QStringLiteral("李四"));
    window->editor().setBodyText(QStringLiteral("0.9%氯化钠注射液 250ml\r\n    用法：静脉滴注 每日1次\r\n"));
    QTest::mouseClick(find(QStringLiteral("Picture2_3")), Qt::LeftButton);
    InfusionCardWindow *infusion = window->infusionCard();
    ASSERT_NE(infusion, nullptr);
    EXPECT_EQ(infusion->objectName(), QStringLiteral("Form18"));
    EXPECT_EQ(infusion->headerField(0)->text(), QStringLiteral("李四"));
    EXPECT_EQ(infusion->cell(0, 0)->text(), QStringLiteral("0.9%氯化钠注射液 250ml"));

    window->editor().applyAutoPricing(false);
    QTest::mouseClick(find(QStringLiteral("Picture2_0")), Qt::LeftButton);
    HistoryCardWindow *history = window->historyCard();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->windowTitle(), QStringLiteral("病史打印"));
    EXPECT_EQ(history->field(0)->text(), QStringLiteral("李四"));

    // Closing the main window closes the cards first (the unsaved card is saved on the way).
    window->close();
    EXPECT_TRUE(window->infusionCard() == nullptr || !window->infusionCard()->isVisible());
    EXPECT_TRUE(window->historyCard() == nullptr || !window->historyCard()->isVisible());
}

TEST_F(PrintWindowTest, PreviewShowsEachDocument)
{
    field(0)->setText(QStringLiteral("王五"));
    for (const char *item : {"预览处方", "预览套打", "预览注射卡"}) {
        const QString seen = titleOfModalOpenedBy([&] { window->menuAction(QString::fromUtf8(item))->trigger(); });
        EXPECT_TRUE(seen.startsWith(QStringLiteral("打印预览"))) << item << " " << seen.toStdString();
    }
}

TEST_F(PrintWindowTest, HistoryCardPreviewFromTheMenuBreaksLinesAsTheCardShows)
{
    QString history;
    for (int i = 0; i < 6; ++i)
        history += QStringLiteral("患者三天前受凉后出现咳嗽咳痰，痰色白质黏，伴咽痛鼻塞流清涕，自测体温最高三十八度五。");
    find<QPlainTextEdit>(QStringLiteral("R3"))->setPlainText(history);
    QTimer::singleShot(0, [&] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    window->menuAction(QStringLiteral("预览病史卡"))->trigger();
    window->historyCard()->close();
    // Composed the moment the card window opens, before it was ever painted.
    window->runDocumentAction(ActionBarWidget::PrintHistory);
    ASSERT_NE(window->historyCard(), nullptr);
    const QStringList composed = window->historyCard()->content().historyLines;
    QApplication::processEvents();
    EXPECT_GT(composed.size(), 3);
    EXPECT_EQ(composed, window->historyCard()->historyLines());
}

} // namespace
