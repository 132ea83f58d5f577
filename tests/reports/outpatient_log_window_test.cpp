#include "report_window_fixture.h"

#include "reports/outpatient_log_window.h"
#include "support/pdf_text.h"
#include "support/workbook_reader.h"

#include <QFile>
#include <QListView>
#include <QScrollBar>

using namespace quillora;
using namespace quillora::test;

namespace {

class OutpatientLogWindowTest : public ReportWindowTest
{
protected:
    void SetUp() override
    {
        ReportWindowTest::SetUp();
        saveVisit(QStringLiteral("张三"), QStringLiteral("2026-12-08"), QStringLiteral("12.5"));
        saveVisit(QStringLiteral("李四"), QStringLiteral("2026-12-08"));
        saveVisit(QStringLiteral("王五"), QStringLiteral("2026-11-01"));
        window = open<OutpatientLogWindow>();
    }
    QWidget *button(const char *name) const { return find(window.get(), QString::fromUtf8(name)); }
    QStringList namesListed() const
    {
        QStringList names;
        for (const QString &line : window->lines())
            names << line.trimmed().section(QLatin1Char(' '), 0, 0);
        return names;
    }

    std::unique_ptr<OutpatientLogWindow> window;
};

TEST_F(OutpatientLogWindowTest, OpensOnTheLastMonthWithTheStoredMargins)
{
    EXPECT_EQ(window->objectName(), QStringLiteral("Form12"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("门诊日志"));
    EXPECT_EQ(find<QLineEdit>(window.get(), QStringLiteral("Text3"))->text(), QStringLiteral("2026-11-08"));
    EXPECT_EQ(find<QLineEdit>(window.get(), QStringLiteral("Text4"))->text(), QStringLiteral("2026-12-08"));
    EXPECT_EQ(find<QLineEdit>(window.get(), QStringLiteral("Text2"))->text(), QStringLiteral("25"));
    EXPECT_EQ(find<QLineEdit>(window.get(), QStringLiteral("Text5"))->text(), QStringLiteral("15"));
    EXPECT_TRUE(find<QListView>(window.get(), QStringLiteral("List1"))->model()->rowCount() == 0);
    EXPECT_EQ(window->countLabel()->text(), QStringLiteral("记录数：0"));
    QStringList headings;
    for (int i = 0; i < 7; ++i)
        headings << find<QPushButton>(window.get(), QStringLiteral("heading_%1").arg(i))->text();
    EXPECT_EQ(headings, (QStringList{QStringLiteral("姓名"), QStringLiteral("性别"), QStringLiteral("年龄"), QStringLiteral("诊断"),
                                     QStringLiteral("住址（电话）"), QStringLiteral("就诊日期"), QStringLiteral("备注")}));
    for (QLineEdit *box : window->findChildren<QLineEdit *>())
        EXPECT_FALSE(box->accessibleName().isEmpty()) << box->objectName().toStdString();
}

TEST_F(OutpatientLogWindowTest, QueryListsTheRangeInDateOrderAndCountsIt)
{
    click(button("queryButton"));
    EXPECT_EQ(namesListed(), (QStringList{QStringLiteral("张三"), QStringLiteral("李四")}));
    EXPECT_EQ(window->countLabel()->text(), QStringLiteral("计录数：2"));
    EXPECT_TRUE(window->lines().value(0).startsWith(QStringLiteral(" 张三 ")));
    EXPECT_TRUE(window->lines().value(0).endsWith(QStringLiteral(" 2026-12-08")));

    // A date typed the short way is read, written back in full, and Enter runs the query.
    retype(window->fromBox(), QStringLiteral("2026/11/1"));
    QTest::keyClick(window->fromBox(), Qt::Key_Return);
    EXPECT_EQ(window->fromBox()->text(), QStringLiteral("2026-11-01"));
    EXPECT_EQ(namesListed(), (QStringList{QStringLiteral("王五"), QStringLiteral("张三"), QStringLiteral("李四")}));

    retype(window->fromBox(), QStringLiteral("2026-12-09"));
    click(button("queryButton"));
    EXPECT_TRUE(window->lines().isEmpty());
    EXPECT_EQ(window->countLabel()->text(), QStringLiteral("计录数：0"));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(OutpatientLogWindowTest, ALongLineIsScrolledToNotCut)
{
    VisitRecord v = sampleVisit(QStringLiteral("欧阳司马建国"), QStringLiteral("2026-12-08"), QStringLiteral("2026-12-08 11:00:00"));
    v.header[FieldDiagnosis] = QString(50, QChar(0x75C5));
    v.header[FieldAddress] = QString(50, QChar(0x5740));
    VisitStore(workspace->archive()).save(v, 2026);
    click(button("queryButton"));
    ASSERT_EQ(window->lines().size(), 3);
    EXPECT_TRUE(window->lines()[2].contains(v.header[FieldDiagnosis] + v.header[FieldAddress] + QStringLiteral("2026-12-08")));
    QApplication::processEvents();
    EXPECT_EQ(window->list()->textElideMode(), Qt::ElideNone);
    EXPECT_GT(window->list()->horizontalScrollBar()->maximum(), 0) << "the list scrolls to the end of the long line";
}

TEST_F(OutpatientLogWindowTest, ADateThatIsNoDateWarnsAndKeepsTheList)
{
    click(button("queryButton"));
    for (const char *bad : {"abc", "2026-02-30", "", "2026-12-08' OR 1=1"}) {
        MessageDialog::shown().clear();
        retype(window->toBox(), QString::fromUtf8(bad));
        click(button("queryButton"));
        ASSERT_EQ(messages().size(), 1) << bad;
        EXPECT_EQ(messages()[0].text, kDateFormatMessage);
        EXPECT_EQ(messages()[0].title, QStringLiteral("提示"));
        EXPECT_EQ(messages()[0].icon, MessageDialog::Icon::Exclamation);
        EXPECT_EQ(window->lines().size(), 2) << bad;
        EXPECT_EQ(window->countLabel()->text(), QStringLiteral("计录数：2"));
        EXPECT_EQ(window->toBox()->text(), QString::fromUtf8(bad)) << "what was typed stays to be mended";
    }
}

TEST_F(OutpatientLogWindowTest, PrintSendsTheLogBookAndAnEmptyRangeSaysSo)
{
    setSettings({{QStringLiteral("医生"), QStringLiteral("司马建国")}});
    const QString pdf = out.filePath(QStringLiteral("log.pdf"));
    PrintJob::setOutputFile(pdf);
    click(button("printButton"));
    ASSERT_TRUE(QFile::exists(pdf));
    const QString text = pdfText(pdf);
    if (!text.isEmpty()) {
        for (const QString &piece : {QStringLiteral("门诊日志登记本"), QStringLiteral("张三"), QStringLiteral("李四"),
                                     QStringLiteral("医生：司马建国"), QStringLiteral("第1页共1页")})
            EXPECT_TRUE(text.contains(folded(piece))) << piece.toStdString() << "\n" << text.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("王五")));
    }
    EXPECT_TRUE(messages().isEmpty());

    QFile::remove(pdf);
    retype(window->fromBox(), QStringLiteral("2027-01-01"));
    retype(window->toBox(), QStringLiteral("2027-01-31"));
    click(button("printButton"));
    EXPECT_FALSE(QFile::exists(pdf));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].text.contains(QStringLiteral("没有可打印的记录")));

    retype(window->toBox(), QStringLiteral("abc"));
    click(button("printButton"));
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(MessageDialog::lastText(), kDateFormatMessage);
}

TEST_F(OutpatientLogWindowTest, ExportWritesAWorkbookOfTheRange)
{
    const QString chosen = out.filePath(QStringLiteral("门诊日志"));
    MessageDialog::setNextFileName(chosen);
    click(button("exportButton"));
    const QString written = chosen + QStringLiteral(".xlsx");
    ASSERT_TRUE(QFile::exists(written));
    EXPECT_EQ(window->exportPathBox()->text(), written);
    EXPECT_EQ(window->countLabel()->text(), QStringLiteral("计录数：2"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, QStringLiteral("文件导出成功！"));
    if (canReadWorkbook()) {
        const WorkbookContent book = readWorkbook(written);
        ASSERT_EQ(book.rows.size(), 3);
        EXPECT_EQ(book.rows[1].value(0), QStringLiteral("张三"));
        EXPECT_EQ(book.rows[2].value(0), QStringLiteral("李四"));
        EXPECT_EQ(book.rows[2].value(5), QStringLiteral("2026-12-08"));
    }

    // The same name again: the dialog asked about "门诊日志", so replacing 门诊日志.xlsx is asked here.
    const qint64 size = QFileInfo(written).size();
    MessageDialog::setNextFileName(chosen);
    MessageDialog::setNextAnswer(false);
    click(button("exportButton"));
    EXPECT_TRUE(MessageDialog::lastText().contains(QStringLiteral("已存在")));
    EXPECT_EQ(QFileInfo(written).size(), size);

    // No visits in the range: nothing written and nothing said; cancelling the dialog does nothing.
    MessageDialog::shown().clear();
    retype(window->fromBox(), QStringLiteral("2027-01-01"));
    retype(window->toBox(), QStringLiteral("2027-01-31"));
    MessageDialog::setNextFileName(out.filePath(QStringLiteral("空")));
    click(button("exportButton"));
    click(button("exportButton"));
    EXPECT_FALSE(QFile::exists(out.filePath(QStringLiteral("空.xlsx"))));
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_EQ(window->countLabel()->text(), QStringLiteral("计录数：0"));
}

TEST_F(OutpatientLogWindowTest, ExportFailuresAreToldApart)
{
    // A folder that is not there: the file could not be written, and why; not the date warning.
    const QString missing = out.filePath(QStringLiteral("没有的文件夹/日志"));
    MessageDialog::setNextFileName(missing);
    click(button("exportButton"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].text.contains(QStringLiteral("未能写入")));
    EXPECT_TRUE(messages()[0].text.contains(QStringLiteral("文件夹不存在")));
    EXPECT_EQ(messages()[0].icon, MessageDialog::Icon::Critical);
    EXPECT_TRUE(QDir(out.path()).isEmpty());

    // Dates that are no dates are refused before a file name is asked for.
    MessageDialog::shown().clear();
    retype(window->fromBox(), QStringLiteral("2026-13-01"));
    MessageDialog::setNextFileName(out.filePath(QStringLiteral("日志")));
    click(button("exportButton"));
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, kDateFormatMessage);
    EXPECT_TRUE(QDir(out.path()).isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the wait pointer is let go";
}

TEST_F(OutpatientLogWindowTest, ClosingWritesTheMarginsBack)
{
    retype(window->leftMarginBox(), QStringLiteral("12.5"));
    retype(window->topMarginBox(), QString(60, QLatin1Char('8')));
    EXPECT_EQ(window->topMarginBox()->text().size(), 50) << "typing stops at what the column holds";
    click(button("closeButton"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(setting(QStringLiteral("左边距6")), QStringLiteral("12.5"));
    EXPECT_EQ(setting(QStringLiteral("上边距6")), QString(50, QLatin1Char('8')));
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(OutpatientLogWindowTest, StoredMarginsComeBackUnchanged)
{
    window->close();
    const QString odd = QStringLiteral(" 7mm'\"@%_\\ 左") + QString(37, QChar(0x8FB9));
    setSettings({{QStringLiteral("左边距6"), odd}, {QStringLiteral("上边距6"), QString()}});
    const auto row = [this] {
        Statement q(workspace->settings(), QStringLiteral("SELECT * FROM [设置]"));
        QStringList values;
        while (q.next())
            for (int c = 0; c < q.columnCount(); ++c)
                values << (q.isNull(c) ? QStringLiteral("<null>") : q.text(c));
        return values;
    };
    const QStringList before = row();
    window = open<OutpatientLogWindow>();
    EXPECT_EQ(window->leftMarginBox()->text(), odd);
    EXPECT_EQ(window->topMarginBox()->text(), QString());
    window->close();
    EXPECT_EQ(row(), before);
    EXPECT_TRUE(messages().isEmpty());
}

TEST_F(OutpatientLogWindowTest, AMarginTheSettingsRefuseIsReported)
{
    const QString before = setting(QStringLiteral("左边距6"));
    window->leftMarginBox()->setText(QString(51, QLatin1Char('9')));  // longer than the column holds
    window->close();
    ASSERT_EQ(messages().size(), 1);
    EXPECT_TRUE(messages()[0].text.startsWith(QStringLiteral("门诊日志的打印边距未能保存")));
    EXPECT_EQ(setting(QStringLiteral("左边距6")), before);
}

} // namespace

namespace {

// Right dates and an archive that cannot be read: the doctor hears about the archive, nothing is
// listed, printed or written, and the list keeps what it showed.
TEST_F(OutpatientLogWindowTest, AnArchiveThatCannotBeReadIsToldNotCalledADateMistake)
{
    click(button("queryButton"));
    workspace->archive().exec(QStringLiteral("ALTER TABLE [档案] RENAME TO [档案旧]"));
    const QString pdf = out.filePath(QStringLiteral("log.pdf"));
    PrintJob::setOutputFile(pdf);
    MessageDialog::setNextFileName(out.filePath(QStringLiteral("日志")));
    for (const char *name : {"queryButton", "printButton", "exportButton"}) {
        MessageDialog::shown().clear();
        click(button(name));
        ASSERT_EQ(messages().size(), 1) << name;
        EXPECT_TRUE(messages()[0].text.startsWith(QStringLiteral("档案读取失败："))) << messages()[0].text.toStdString();
        EXPECT_EQ(messages()[0].icon, MessageDialog::Icon::Critical);
    }
    workspace->archive().exec(QStringLiteral("ALTER TABLE [档案旧] RENAME TO [档案]"));
    EXPECT_TRUE(QDir(out.path()).isEmpty());
    EXPECT_EQ(window->lines().size(), 2);
    EXPECT_EQ(window->countLabel()->text(), QStringLiteral("计录数：2"));
}

} // namespace
