#include "card_window_fixture.h"

#include "printing/history_card_window.h"
#include "printing/recording_printer.h"
#include "support/pdf_text.h"
#include "forms/twips.h"

#include <QFile>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>

using namespace quillora;
using namespace quillora::test;
using namespace HistoryCardLayout;

namespace {

const QString kLongParagraph = QStringLiteral(
    "患者三天前受凉后出现咳嗽咳痰，痰色白质黏，伴咽痛鼻塞流清涕，自测体温最高三十八度五，"
    "服用感冒药后症状未见明显好转，今日来诊。");

class HistoryCardWindowTest : public CardWindowTest
{
protected:
    void SetUp() override
    {
        CardWindowTest::SetUp();
        visit->visit.header[FieldAddress] = QStringLiteral("青山镇东村 13800000000");
        visit->visit.history = kLongParagraph + QStringLiteral("\r\n\r\n既往体健。");
    }
    // The box's lines read the other way round: a cursor walked down the box line by line.
    static QStringList linesUnderTheCursor(QPlainTextEdit *box)
    {
        QStringList lines;
        QTextCursor cursor(box->document());
        do {
            QTextCursor line = cursor;
            line.movePosition(QTextCursor::StartOfLine);
            line.movePosition(QTextCursor::EndOfLine, QTextCursor::KeepAnchor);
            lines << line.selectedText();
        } while (cursor.movePosition(QTextCursor::Down));
        return lines;
    }
};

TEST_F(HistoryCardWindowTest, OpensWithTheVisitOnTheCard)
{
    auto w = open<HistoryCardWindow>();
    EXPECT_EQ(w->objectName(), QStringLiteral("Form10"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("病史打印"));
    const char *const expected[kFieldCount] = {"张三", "男", "35岁", "2026-12-08", "青山镇东村 13800000000", "王建国"};
    for (int i = 0; i < kFieldCount; ++i) {
        QLineEdit *box = find<QLineEdit>(w.get(), QStringLiteral("Text1_%1").arg(i));
        EXPECT_EQ(box->text(), QString::fromUtf8(expected[i])) << i;
        EXPECT_EQ(box->geometry(), Twips::toPixels(fields()[i].rect.left, fields()[i].rect.top, fields()[i].rect.width,
                                                   fields()[i].rect.height)) << i;
    }
    QPlainTextEdit *history = find<QPlainTextEdit>(w.get(), QStringLiteral("Text2"));
    EXPECT_EQ(history->toPlainText(), kLongParagraph + QStringLiteral("\n\n既往体健。"));
    EXPECT_EQ(history->geometry(), Twips::toPixels(1020, 2880, 6855, 3855));
    EXPECT_DOUBLE_EQ(history->font().pointSizeF(), 11.25);
    EXPECT_EQ(w->content().institution, QStringLiteral("青山镇中心卫生院"));
    EXPECT_EQ(find<QPushButton>(w.get(), QStringLiteral("printButton"))->text(), QStringLiteral("打印病史"));
    EXPECT_EQ(w->preview().size() / w->preview().devicePixelRatio(), Twips::toPixels(0, 0, kWidth, kHeight).size());

    QWidget *card = find(w.get(), QStringLiteral("cardPanel"));
    w->scrollBar()->setValue(w->scrollBar()->maximum());
    EXPECT_EQ(card->y(), Twips::toPixels(-(kHeight - kViewport.height)));
    w->scrollBar()->setValue(0);
    // Enter and Tab walk down the card; the doctor, below the fold, comes into view.
    w->field(4)->setFocus();
    QTest::keyClick(w->field(4), Qt::Key_Return);
    EXPECT_TRUE(w->historyBox()->hasFocus());
    QTest::keyClick(w->historyBox(), Qt::Key_Tab);
    EXPECT_TRUE(w->field(5)->hasFocus());
    EXPECT_GT(w->scrollBar()->value(), 0);
    EXPECT_GE(w->field(5)->y() + card->y(), 0);
    EXPECT_LE(w->field(5)->geometry().bottom() + card->y(), find(w.get(), QStringLiteral("cardViewport"))->height());
}

TEST_F(HistoryCardWindowTest, PrintsTheHistoryLinesAsTheBoxShowsThem)
{
    auto w = open<HistoryCardWindow>();
    const QStringList lines = w->historyLines();
    EXPECT_GT(lines.size(), 3);  // the long paragraph wraps
    EXPECT_EQ(lines, linesUnderTheCursor(w->historyBox()));
    EXPECT_EQ(lines.join(QString()), kLongParagraph + QStringLiteral("既往体健。"));
    const QFontMetricsF metrics(w->historyBox()->font());
    for (const QString &line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), w->historyBox()->viewport()->width()) << line.toStdString();

    // Typing more wraps again, and the printout follows the box.
    w->historyBox()->moveCursor(QTextCursor::End);
    type(w->historyBox(), kLongParagraph);
    const QStringList typed = w->historyLines();
    EXPECT_EQ(typed, linesUnderTheCursor(w->historyBox()));
    RecordingPrinter recorder;
    printHistoryCard(recorder, w->content(), w->margins(), workspace->scratchPath(QStringLiteral("print.txt")));
    QStringList printed;
    for (const PrintEvent &e : recorder.texts()) {
        if (e.x == kHistoryBox.left && e.y >= kHistoryBox.top)
            printed << e.text;
    }
    EXPECT_EQ(printed, typed);

    // An empty box still is one empty line.
    w->historyBox()->clear();
    EXPECT_EQ(w->historyLines(), QStringList{QString()});
}

TEST_F(HistoryCardWindowTest, PrintTakesTheMainWindowsBodyAsItIsNow)
{
    auto w = open<HistoryCardWindow>();
    w->field(0)->setText(QStringLiteral("张三丰"));
    visit->visit.body = QStringLiteral("复方甘草片 100片\r\n    用法：2片 口服  每日3次\r\n");
    EXPECT_EQ(w->content().body, visit->visit.body);
    const QString path = out.filePath(QStringLiteral("history.pdf"));
    PrintJob::setOutputFile(path);
    click(find(w.get(), QStringLiteral("printButton")));
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_FALSE(QFile::exists(workspace->scratchPath(QStringLiteral("print.txt"))));
    const QString text = pdfText(path);
    if (canReadPdf()) {
        for (const QString &expected : {QStringLiteral("门诊病历卡"), QStringLiteral("张三丰"), QStringLiteral("复方甘草片"), QStringLiteral("既往体健")})
            EXPECT_TRUE(text.contains(folded(expected))) << expected.toStdString() << "\n" << text.toStdString();
    }
}

TEST_F(HistoryCardWindowTest, KeepsThePrescriptionOfItsOwnVisit)
{
    const QString ownBody = QStringLiteral("复方甘草片 100片\r\n    用法：2片 口服  每日3次\r\n");
    visit->visit.body = ownBody;
    ASSERT_TRUE(visit->saveVisit());
    auto w = open<HistoryCardWindow>();
    EXPECT_EQ(w->cardBody(), ownBody);

    // The main window moves on to another patient: the card still prints its own visit,
    // as stored, and the drawing on the card agrees with the paper.
    visit->visit = sampleVisit(QStringLiteral("王五"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 10:00:00"));
    visit->visit.body = QStringLiteral("阿莫西林胶囊 0.25g×24粒\r\n");
    EXPECT_EQ(w->content().body, ownBody);
    RecordingPrinter recorder;
    printHistoryCard(recorder, w->content(), w->margins(), workspace->scratchPath(QStringLiteral("print.txt")));
    QStringList printed;
    for (const PrintEvent &e : recorder.texts())
        printed << e.text;
    EXPECT_TRUE(printed.contains(QStringLiteral("复方甘草片 100片")));
    EXPECT_FALSE(printed.join(QString()).contains(QStringLiteral("阿莫西林")));

    // An unsaved visit left behind keeps the body it had when the card opened.
    visit->visit.body = QStringLiteral("维生素C片 0.1g×100片\r\n");
    auto unsaved = open<HistoryCardWindow>();
    visit->visit.key = QStringLiteral("2026-12-08 10:05:00");
    EXPECT_EQ(unsaved->cardBody(), QStringLiteral("维生素C片 0.1g×100片\r\n"));
}

TEST_F(HistoryCardWindowTest, MarginsAndOrientationComeBackNextTime)
{
    setSettings({{QStringLiteral("左边距4"), QStringLiteral("12.5")}, {QStringLiteral("上边距4"), QStringLiteral("abc")}});
    auto w = open<HistoryCardWindow>();
    EXPECT_EQ(find<QLineEdit>(w.get(), QStringLiteral("Text6"))->text(), QStringLiteral("12.5"));
    EXPECT_EQ(find<QLineEdit>(w.get(), QStringLiteral("Text7"))->text(), QStringLiteral("abc"));
    EXPECT_TRUE(find<QRadioButton>(w.get(), QStringLiteral("portraitOption"))->isChecked());
    click(find(w.get(), QStringLiteral("landscapeOption")));
    find<QLineEdit>(w.get(), QStringLiteral("Text6"))->setText(QStringLiteral("10"));
    RecordingPrinter recorder;
    printHistoryCard(recorder, w->content(), w->margins(), workspace->scratchPath(QStringLiteral("print.txt")));
    EXPECT_EQ(recorder.orientation(), Printer::Landscape);
    EXPECT_DOUBLE_EQ(recorder.findText(QStringLiteral("姓名："))->absX, 1020 + 567 + 7654.5);  // 10 mm, on the right half
    EXPECT_DOUBLE_EQ(recorder.findText(QStringLiteral("姓名："))->absY, 1980 - 567);  // "abc" is 0 mm
    EXPECT_TRUE(w->close());
    EXPECT_EQ(setting(QStringLiteral("竖打4")), QStringLiteral("0"));
    EXPECT_EQ(setting(QStringLiteral("左边距4")), QStringLiteral("10"));
    EXPECT_EQ(setting(QStringLiteral("上边距4")), QStringLiteral("abc"));

    auto again = open<HistoryCardWindow>();
    EXPECT_TRUE(find<QRadioButton>(again.get(), QStringLiteral("landscapeOption"))->isChecked());
    EXPECT_TRUE(MessageDialog::shown().isEmpty());
}

} // namespace
