#include "reports/workload_window.h"

#include "base/clock.h"
#include "data/visit_store.h"
#include "data/workspace.h"
#include "forms/form_parts_widget.h"
#include "forms/twips.h"
#include "reports/report_steps_gui.h"
#include "reports/workload.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillora {

namespace {
const FontSpec kFont{QStringLiteral("宋体"), 9, false};
constexpr int kWidth = 5520, kHeight = 2280;
constexpr int kRowHeight = 345;
} // namespace

WorkloadWindow::WorkloadWindow(Workspace &workspace, QWidget *parent) : QWidget(parent, Qt::Window), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("工作量统计"));
    setFont(kFont.font());
    setFixedSize(Twips::toPixels(kWidth), Twips::toPixels(kHeight));

    auto *frame = new QGroupBox(QStringLiteral("工作量统计"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    placeAt(frame, 120, 60, kWidth - 240, kHeight - 180);

    const auto label = [frame](const QString &text, int left, int width) {
        QLabel *l = formLabel(QString(), text, kFont, frame);
        l->setAlignment(Qt::AlignCenter);
        placeAt(l, left, 420, width, kRowHeight);
    };
    const auto box = [frame](const char *name, const QString &caption, int left) {
        auto *edit = new QLineEdit(frame);
        edit->setObjectName(QLatin1String(name));
        edit->setAccessibleName(caption);
        placeAt(edit, left, 420, 1260, kRowHeight);
        return edit;
    };
    const auto button = [frame](const char *name, const QString &caption, int top) {
        auto *b = new QPushButton(caption, frame);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        placeAt(b, 3840, top, 1215, 405);
        return b;
    };
    label(QStringLiteral("日期"), 180, 480);
    m_from = box("fromDate", QStringLiteral("起始日期"), 660);
    label(QStringLiteral("至"), 1920, 360);
    m_to = box("toDate", QStringLiteral("截止日期"), 2280);
    connect(button("countButton", QStringLiteral("统 计"), 390), &QPushButton::clicked, this, &WorkloadWindow::count);
    connect(button("todayButton", QStringLiteral("今 日"), 1020), &QPushButton::clicked, this, &WorkloadWindow::countToday);
    m_result = formLabel(QStringLiteral("resultLabel"), QString(), kFont, frame);
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    placeAt(m_result, 240, 1080, 3480, 900);
    for (QLineEdit *date : {m_from, m_to})
        connect(date, &QLineEdit::returnPressed, this, &WorkloadWindow::count);

    const DateRange range = lastMonthTo(Clock::today());
    m_from->setText(dateText(range.from));
    m_to->setText(dateText(range.to));
}

bool WorkloadWindow::count()
{
    const auto range = ReportSteps::readDateBoxes(this, m_from, m_to);
    if (!range)
        return false;
    try {
        m_result->setText(workloadText(sumWorkload(VisitStore(m_workspace.archive()).feesInRange(range->from, range->to))));
    } catch (const std::exception &failure) {
        ReportSteps::reportReadFailure(this, failure, m_workspace.paths().backupRoot);
        return false;
    }
    return true;
}

bool WorkloadWindow::countToday()
{
    const QString today = dateText(Clock::today());
    m_from->setText(today);
    m_to->setText(today);
    return count();
}

void WorkloadWindow::showEvent(QShowEvent *event)
{
    if (!m_centred) {
        m_centred = true;
        centreOnScreen(this);
    }
    QWidget::showEvent(event);
}

} // namespace quillora
