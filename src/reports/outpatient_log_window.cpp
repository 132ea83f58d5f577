#include "reports/outpatient_log_window.h"

#include "base/clock.h"
#include "base/message_dialog.h"
#include "data/settings_row.h"
#include "data/workspace.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"
#include "forms/typing_limit_gui.h"
#include "printing/print_job_gui.h"
#include "reports/log_workbook.h"
#include "reports/outpatient_log.h"
#include "reports/report_steps_gui.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QStringListModel>

namespace quillora {

namespace {

const QString kDocumentName = QStringLiteral("门诊日志");
const QString kLeftColumn = QStringLiteral("左边距6");
const QString kTopColumn = QStringLiteral("上边距6");
const FontSpec kFont{QStringLiteral("宋体"), 9, false};

// The window in twips.
constexpr int kWidth = 13200, kHeight = 8280;
constexpr int kMarginX = 240;
constexpr int kRowHeight = 345;
constexpr int kHeadingTop = 660, kListTop = 990, kListHeight = 6480;
constexpr int kBottomTop = kListTop + kListHeight + 180;
constexpr int kListWidth = kWidth - 2 * kMarginX;
// The list's lines begin this far in: the list's frame and item margin and the leading space.
constexpr int kLineIndent = 120;

// A held-down wait pointer, let go on every way out.
class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { release(); }
    void release()
    {
        if (m_held)
            QApplication::restoreOverrideCursor();
        m_held = false;
    }

private:
    bool m_held = true;
};

} // namespace

// The list's lines, each as wide as the widest and a little taller than the font, so that the
// list scrolls to the end of any line (a view of uniform rows asks only the first row its size).
class LogLinesModel : public QStringListModel
{
public:
    using QStringListModel::QStringListModel;
    void setLines(const QStringList &lines, const QFont &font)
    {
        TextMeasure measure(font);
        double widest = 0;
        for (const QString &line : lines)
            widest = std::max(widest, measure.width(line));
        m_itemSize = QSize(Twips::toPixels(widest) + 8, QFontMetrics(font).height() + 4);
        setStringList(lines);
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::SizeHintRole)
            return m_itemSize;
        return QStringListModel::data(index, role);
    }

private:
    QSize m_itemSize;
};

OutpatientLogWindow::OutpatientLogWindow(Workspace &workspace, QWidget *parent)
    : QWidget(parent, Qt::Window), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form12"));
    setWindowTitle(kDocumentName);
    setFont(kFont.font());
    setFixedSize(Twips::toPixels(kWidth), Twips::toPixels(kHeight));
    build();
    load();
}

void OutpatientLogWindow::build()
{
    const auto label = [this](const QString &text, int left, int top, int width) {
        QLabel *l = formLabel(QString(), text, kFont, this);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        placeAt(l, left, top, width, kRowHeight);
        return l;
    };
    const auto box = [this](const char *name, const QString &caption, int left, int top, int width) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        edit->setAccessibleName(caption);
        placeAt(edit, left, top, width, kRowHeight);
        return edit;
    };
    const auto button = [this](const char *name, const QString &caption, int left, int width) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        placeAt(b, left, 120, width, 405);
        return b;
    };

    label(QStringLiteral("日期：从"), kMarginX, 150, 840);
    m_from = box("Text3", QStringLiteral("日期：从"), 1110, 150, 1260);
    label(QStringLiteral("至"), 2370, 150, 300);
    m_to = box("Text4", QStringLiteral("至"), 2700, 150, 1260);
    connect(button("queryButton", QStringLiteral("查  询"), 4260, 1035), &QPushButton::clicked, this, &OutpatientLogWindow::query);
    connect(button("printButton", QStringLiteral("打  印"), 5415, 1035), &QPushButton::clicked, this, &OutpatientLogWindow::print);
    connect(button("exportButton", QStringLiteral("导出到Excel"), 6570, 1500), &QPushButton::clicked, this,
            &OutpatientLogWindow::exportWorkbook);
    connect(button("closeButton", QStringLiteral("退  出"), 8190, 1035), &QPushButton::clicked, this, &QWidget::close);
    // Enter in a date box runs the query.
    for (QLineEdit *date : {m_from, m_to})
        connect(date, &QLineEdit::returnPressed, this, &OutpatientLogWindow::query);

    // Headings over the list's columns; they only label them.
    const QStringList headings{QStringLiteral("姓名"), QStringLiteral("性别"), QStringLiteral("年龄"), QStringLiteral("诊断"),
                               QStringLiteral("住址（电话）"), QStringLiteral("就诊日期"), QStringLiteral("备注")};
    int left = kMarginX;
    for (int i = 0; i < headings.size(); ++i) {
        int width = 0;
        if (i < int(OutpatientLog::kColumnTwips.size()))
            width = OutpatientLog::kColumnTwips[i] + (i == 0 ? kLineIndent : 0);
        else if (i == headings.size() - 2)
            width = 1380;
        else
            width = kMarginX + kListWidth - left;
        auto *heading = new QPushButton(headings[i], this);
        heading->setObjectName(indexedName("heading", i));
        heading->setFocusPolicy(Qt::NoFocus);
        placeAt(heading, left, kHeadingTop, width, 330);
        left += width;
    }

    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("List1"));
    m_list->setAccessibleName(QStringLiteral("门诊日志"));
    m_list->setUniformItemSizes(true);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setTextElideMode(Qt::ElideNone);  // a long line is scrolled to, never cut
    m_model = new LogLinesModel(this);
    m_list->setModel(m_model);
    placeAt(m_list, kMarginX, kListTop, kListWidth, kListHeight);

    m_count = formLabel(QStringLiteral("countLabel"), QStringLiteral("记录数：0"), kFont, this);
    placeAt(m_count, kMarginX, kBottomTop, 2400, kRowHeight);
    label(QStringLiteral("打印边距(mm)：左"), 2760, kBottomTop, 1620);
    m_left = box("Text2", QStringLiteral("打印左边距(mm)"), 4410, kBottomTop, 600);
    label(QStringLiteral("上"), 5040, kBottomTop, 300);
    m_top = box("Text5", QStringLiteral("打印上边距(mm)"), 5370, kBottomTop, 600);
    for (QLineEdit *margin : {m_left, m_top}) {
        margin->setText(QStringLiteral("10"));
        limitTyping(margin, 50);  // what the settings column holds
        connect(margin, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
    }
    label(QStringLiteral("导出文件："), 6180, kBottomTop, 1080);
    m_exportPath = box("Text1", QStringLiteral("导出文件"), 7290, kBottomTop, kWidth - kMarginX - 7290);
    m_exportPath->setReadOnly(true);
}

void OutpatientLogWindow::load()
{
    const DateRange range = lastMonthTo(Clock::today());
    m_from->setText(dateText(range.from));
    m_to->setText(dateText(range.to));
    try {
        SettingsRow row(m_workspace.settings());
        if (const auto left = row.value(kLeftColumn))
            m_left->setText(*left);
        if (const auto top = row.value(kTopColumn))
            m_top->setText(*top);
    } catch (const std::exception &) {
        // The design values stay.
    }
}

QStringList OutpatientLogWindow::lines() const { return m_model->stringList(); }

std::optional<DateRange> OutpatientLogWindow::readRange()
{
    return ReportSteps::readDateBoxes(this, m_from, m_to);
}

std::optional<QList<LogEntry>> OutpatientLogWindow::readVisits(const DateRange &range)
{
    try {
        return VisitStore(m_workspace.archive()).logRange(range.from, range.to);
    } catch (const std::exception &failure) {
        ReportSteps::reportReadFailure(this, failure, m_workspace.paths().backupRoot);
        return std::nullopt;
    }
}

bool OutpatientLogWindow::query()
{
    const auto range = readRange();
    if (!range)
        return false;
    const auto visits = readVisits(*range);
    if (!visits)
        return false;
    m_model->setLines(OutpatientLog::listLines(*visits, m_list->font()), m_list->font());
    m_count->setText(OutpatientLog::countText(visits->size()));
    return true;
}

std::optional<QList<LogEntry>> OutpatientLogWindow::visitsToPrint()
{
    const auto range = readRange();
    if (!range)
        return std::nullopt;
    auto visits = readVisits(*range);
    if (visits && visits->isEmpty()) {
        MessageDialog::inform(this, QStringLiteral("%1至%2没有可打印的记录。").arg(dateText(range->from), dateText(range->to)),
                              MessageDialog::Icon::Information);
        return std::nullopt;
    }
    return visits;
}

LogBookSettings OutpatientLogWindow::bookSettings() const
{
    LogBookSettings settings;
    settings.left = m_left->text();
    settings.top = m_top->text();
    try {
        settings.doctor = m_workspace.settingsRecord().values().doctor;
    } catch (const std::exception &) {
        // A footer without the name rather than no log book.
    }
    return settings;
}

bool OutpatientLogWindow::print()
{
    const auto visits = visitsToPrint();
    if (!visits)
        return false;
    const LogBookSettings settings = bookSettings();
    return PrintJob::print(this, kDocumentName, [&](Printer &printer) { printLogBook(printer, *visits, settings); });
}

void OutpatientLogWindow::printPreview()
{
    const auto visits = visitsToPrint();
    if (!visits)
        return;
    const LogBookSettings settings = bookSettings();
    PrintJob::preview(this, kDocumentName, [&](Printer &printer) { printLogBook(printer, *visits, settings); });
}

bool OutpatientLogWindow::exportWorkbook()
{
    // The dates first: asking for a file name and then refusing the dates would waste the choice.
    const auto range = readRange();
    if (!range)
        return false;
    const QString chosen = MessageDialog::saveFileName(this, QStringLiteral("另存为"), QString(), QStringLiteral("Excel文件 (*.xlsx)"));
    if (chosen.isEmpty())
        return false;
    const QString path = LogWorkbook::fileName(chosen);
    // The dialog asked about the name as typed; a name the extension was added to is asked about here.
    if (path != chosen && QFileInfo::exists(path)
        && !MessageDialog::confirm(this, QStringLiteral("文件“%1”已存在，是否替换？").arg(path)))
        return false;
    m_exportPath->setText(path);

    const auto visits = readVisits(*range);
    if (!visits)
        return false;
    m_count->setText(OutpatientLog::countText(visits->size()));
    if (visits->isEmpty())
        return false;
    BusyPointer busy;
    try {
        LogWorkbook::write(path, *visits);
    } catch (const WorkbookError &failure) {
        busy.release();
        MessageDialog::inform(this, QStringLiteral("文件“%1”未能写入：%2。").arg(path, failure.reason()), MessageDialog::Icon::Critical);
        return false;
    }
    busy.release();
    MessageDialog::inform(this, QStringLiteral("文件导出成功！"));
    return true;
}

bool OutpatientLogWindow::storeMargins()
{
    try {
        SettingsRow(m_workspace.settings()).write({{kLeftColumn, m_left->text()}, {kTopColumn, m_top->text()}});
    } catch (const std::exception &failure) {
        MessageDialog::inform(this, QStringLiteral("门诊日志的打印边距未能保存：%1").arg(QString::fromUtf8(failure.what())),
                              MessageDialog::Icon::Critical);
        return false;
    }
    return true;
}

void OutpatientLogWindow::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        centreOnScreen(this);
    }
    QWidget::showEvent(event);
}

void OutpatientLogWindow::closeEvent(QCloseEvent *event)
{
    storeMargins();
    QWidget::closeEvent(event);
}

} // namespace quillora
