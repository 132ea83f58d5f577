#include "base/fonts.h"
#include "data/database.h"
#include "data/dates.h"
#include "data/visit_store.h"
#include "reports/outpatient_log.h"
#include "support/data_fixture.h"
#include "forms/twips.h"

#include <QRegularExpression>

using namespace quillora;
using namespace quillora::test;

namespace {

QFont windowFont()
{
    installFontSubstitutions();
    QFont font(QStringLiteral("宋体"));
    font.setPointSizeF(9);
    return font;
}

TEST(LogListLine, FillsEachColumnUntilJustWiderThanIt)
{
    TextMeasure measure(windowFont());
    const QString longDiagnosis = QStringLiteral("高血压病 脑供血不足 冠状动脉粥样硬化性心脏病 慢性支气管炎急性发作");
    for (const QString &text : {QString(), QStringLiteral("张"), QStringLiteral("欧阳建国"), QStringLiteral("35岁"),
                                QStringLiteral("O'Neil@100%"), longDiagnosis}) {
        for (int column : OutpatientLog::kColumnTwips) {
            const QString filled = OutpatientLog::filled(text, column, measure);
            ASSERT_TRUE(filled.startsWith(text));
            const QString added = filled.mid(text.size());
            EXPECT_TRUE(added.trimmed().isEmpty());
            const double width = measure.width(text) + added.size() * measure.spaceWidth();
            if (measure.width(text) > column) {
                EXPECT_EQ(filled, text) << "a wider text is left as it is";
            } else {
                EXPECT_GT(width, column) << text.toStdString();
                EXPECT_LE(width - measure.spaceWidth(), column) << "one space fewer would not reach past the column";
            }
        }
    }
    // The characters' advances add up to what the font sets for the whole text.
    const double pixel = Twips::fromPixels(1);
    for (const QString &text : {QStringLiteral("张三丰"), QStringLiteral("高血压病 脑供血不足"), QStringLiteral("东风村一组 13800000000"),
                                QStringLiteral("张三") + QString(7, QLatin1Char(' '))})
        EXPECT_NEAR(measure.width(text), Twips::textWidth(text, windowFont()), pixel) << text.toStdString();
}

TEST(LogListLine, LeadingSpaceFiveFilledColumnsAndTheDate)
{
    TextMeasure measure(windowFont());
    const LogEntry entry{QStringLiteral("张三丰"), QStringLiteral("男"), QStringLiteral("35岁"), QStringLiteral("上呼吸道感染"),
                         QStringLiteral("东风村一组 13800000000"), QStringLiteral("2016-01-03")};
    const QString line = OutpatientLog::listLine(entry, measure);
    ASSERT_TRUE(line.startsWith(QStringLiteral(" 张三丰 ")));
    EXPECT_TRUE(line.endsWith(QStringLiteral(" 2016-01-03"))) << "the date is not filled";
    // The date starts just past the five columns: each column overshoots by less than a space.
    double columns = 0;
    for (int w : OutpatientLog::kColumnTwips)
        columns += w;
    const double dateStart = measure.width(line.left(line.size() - entry.date.size()));
    EXPECT_GT(dateStart, columns);
    EXPECT_LE(dateStart, columns + measure.width(QStringLiteral(" ")) * 6);
    // The address keeps its inner space: the columns are text plus filling, never cut.
    EXPECT_TRUE(line.contains(QStringLiteral("东风村一组 13800000000")));

    // A diagnosis wider than its column is kept whole and pushes the rest of the line right.
    LogEntry wide = entry;
    wide.diagnosis = QString(40, QChar(0x75C5));
    const QString pushed = OutpatientLog::listLine(wide, measure);
    EXPECT_TRUE(pushed.contains(wide.diagnosis + entry.address));
    EXPECT_GT(measure.width(pushed.left(pushed.size() - 10)), dateStart);
}

TEST(LogListLine, CountTextUsesTheWindowsOwnWording)
{
    EXPECT_EQ(OutpatientLog::countText(0), QStringLiteral("计录数：0"));
    EXPECT_EQ(OutpatientLog::countText(12345), QStringLiteral("计录数：12345"));
}

TEST(ReportDates, TypedFormsAreReadAndOthersRefused)
{
    const struct { const char *from, *to; bool ok; QDate first, last; } cases[] = {
        {"2016-01-03", "2016-05-07", true, {2016, 1, 3}, {2016, 5, 7}},
        {"2016-1-3", "2016/05/07", true, {2016, 1, 3}, {2016, 5, 7}},
        {" 2016.1.3 ", "2016-5-7", true, {2016, 1, 3}, {2016, 5, 7}},
        {"2016-05-07", "2016-01-03", true, {2016, 5, 7}, {2016, 1, 3}},  // reversed: a range, an empty one
        {"abc", "2016-01-03", false, {}, {}},
        {"2016-01-03", "", false, {}, {}},
        {"2016-02-30", "2016-03-01", false, {}, {}},
        {"2016-01-03'", "2016-01-04", false, {}, {}},
        {"20160103", "2016-01-04", false, {}, {}},
    };
    for (const auto &c : cases) {
        const auto range = parseDateRange(QString::fromUtf8(c.from), QString::fromUtf8(c.to));
        ASSERT_EQ(range.has_value(), c.ok) << c.from << " " << c.to;
        if (range) {
            EXPECT_EQ(range->from, c.first);
            EXPECT_EQ(range->to, c.last);
        }
    }
    EXPECT_EQ(lastMonthTo(QDate(2016, 5, 7)).from, QDate(2016, 4, 7));
    EXPECT_EQ(lastMonthTo(QDate(2016, 3, 31)).from, QDate(2016, 2, 29));
    EXPECT_EQ(lastMonthTo(QDate(2016, 1, 15)).from, QDate(2015, 12, 15));
}

class LogRangeTest : public EngineTest
{
protected:
    void save(const QString &name, const QString &date, const QString &key)
    {
        VisitRecord v = sampleVisit(name, date, key);
        v.header[FieldDiagnosis] = name + QStringLiteral("的诊断");
        v.header[FieldAddress] = name + QStringLiteral("的地址");
        VisitStore(archive()).save(v, 2026);
    }
    QStringList names(const QDate &from, const QDate &to)
    {
        QStringList out;
        for (const LogEntry &e : VisitStore(archive()).logRange(from, to))
            out << e.name;
        return out;
    }
};

QUILLORA_ON_BOTH_ENGINES(LogRangeTest);

TEST_P(LogRangeTest, DateOrderThenTheOrderVisitsWereStarted)
{
    save(QStringLiteral("丙"), QStringLiteral("2016-01-05"), QStringLiteral("2016-01-05 08:00:00"));
    save(QStringLiteral("乙"), QStringLiteral("2016-01-03"), QStringLiteral("2016-01-03 10:00:00"));
    save(QStringLiteral("甲"), QStringLiteral("2016-01-03"), QStringLiteral("2016-01-03 09:00:00"));
    save(QStringLiteral("丁"), QStringLiteral("2016-02-01"), QStringLiteral("2016-02-01 09:00:00"));

    EXPECT_EQ(names(QDate(2016, 1, 3), QDate(2016, 1, 5)),
              (QStringList{QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")}));
    EXPECT_EQ(names(QDate(2016, 2, 1), QDate(2016, 2, 1)), QStringList{QStringLiteral("丁")});  // both ends included
    EXPECT_TRUE(names(QDate(2016, 1, 6), QDate(2016, 1, 31)).isEmpty());
    EXPECT_TRUE(names(QDate(2016, 1, 5), QDate(2016, 1, 3)).isEmpty());  // reversed

    const LogEntry first = VisitStore(archive()).logRange(QDate(2016, 1, 3), QDate(2016, 1, 3)).value(0);
    EXPECT_EQ(first.sex, QStringLiteral("男"));
    EXPECT_EQ(first.age, QStringLiteral("35岁"));
    EXPECT_EQ(first.diagnosis, QStringLiteral("甲的诊断"));
    EXPECT_EQ(first.address, QStringLiteral("甲的地址"));
    EXPECT_EQ(first.date, QStringLiteral("2016-01-03"));
}

} // namespace

namespace {

using ArchiveIndexTest = quillora::test::DataTest;

TEST_F(ArchiveIndexTest, AnArchiveWithoutTheLogIndexGetsItOnOpening)
{
    const auto hasIndex = [this] {
        return scalar(archive(), QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = '档案_日志'")) == QStringLiteral("1");
    };
    EXPECT_TRUE(hasIndex()) << "a new archive has it";
    archive().exec(QStringLiteral("DROP INDEX [档案_日志]"));
    reopen();
    EXPECT_TRUE(hasIndex());
    Statement q(archive(), QStringLiteral("EXPLAIN QUERY PLAN SELECT [0], [1], [2], [8], [6], [9] FROM [档案] "
                                          "WHERE [9] BETWEEN '2016-01-01' AND '2016-12-31' ORDER BY [9], [名称]"));
    QStringList steps;
    while (q.next())
        steps << q.text(3);
    EXPECT_EQ(steps, QStringList{QStringLiteral("SEARCH TABLE 档案 USING COVERING INDEX 档案_日志 (9>? AND 9<?)")})
        << "the log reads the index alone, in order";
}

} // namespace
