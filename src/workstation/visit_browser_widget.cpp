#include "workstation/visit_browser_widget.h"

#include "base/clock.h"
#include "base/message_dialog.h"
#include "data/database.h"
#include "data/db_errors.h"
#include "data/dates.h"
#include "forms/form_parts_widget.h"
#include "forms/sheet_layout.h"
#include "workstation/visit_list_model.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace quillora {

VisitBrowserWidget::VisitBrowserWidget(Database &archive, const QString &backupRoot, QWidget *parent)
    : QGroupBox(parent), m_archive(archive), m_backupRoot(backupRoot)
{
    setObjectName(QStringLiteral("visitBrowser"));
    setTitle(QStringLiteral("病历查询"));
    placeAt(this, BrowserLayout::kFrame);
    build();
}

QPushButton *VisitBrowserWidget::button(const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void VisitBrowserWidget::build()
{
    const FontSpec font{QStringLiteral("宋体"), 9, false};
    const auto caption = [&](const char *name, const QString &text, const TwipRect &rect) {
        QLabel *l = formLabel(QLatin1String(name), text, font, this);
        placeAt(l, rect.left, rect.top - 30, rect.width + 60, rect.height + 60);
    };
    caption("nameCaption", QStringLiteral("患者姓名"), BrowserLayout::kNameCaption);
    caption("dateCaption", QStringLiteral("就诊日期"), BrowserLayout::kDateCaption);
    caption("toCaption", QStringLiteral("至"), BrowserLayout::kToCaption);
    const auto edit = [&](const char *name, const TwipRect &rect) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        placeAt(e, rect);
        return e;
    };
    m_name = edit("Text2", BrowserLayout::kNameFilter);
    m_from = edit("Text3", BrowserLayout::kFromDate);
    m_to = edit("Text4", BrowserLayout::kToDate);
    QPushButton *queryButton = button(QStringLiteral("Command2"), QStringLiteral("查    询"));
    QPushButton *today = button(QStringLiteral("Command4"), QStringLiteral("今日患者"));
    QPushButton *previous = button(QStringLiteral("Command5"), QStringLiteral("<<"));
    QPushButton *next = button(QStringLiteral("Command6"), QStringLiteral(">>"));
    placeAt(queryButton, BrowserLayout::kQueryButton);
    placeAt(today, BrowserLayout::kTodayButton);
    placeAt(previous, BrowserLayout::kPreviousButton);
    placeAt(next, BrowserLayout::kNextButton);
    m_results = new QListView(this);
    m_entries = new VisitListModel(this);
    m_results->setModel(m_entries);
    m_results->setUniformItemSizes(true);
    m_results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_results->setObjectName(QStringLiteral("List4"));
    placeAt(m_results, BrowserLayout::kResultList);

    m_menu = new QMenu(this);
    m_menu->setObjectName(QStringLiteral("mu"));
    QAction *remove = m_menu->addAction(QStringLiteral("删除"));
    remove->setObjectName(QStringLiteral("muDelete"));
    m_menu->addAction(QStringLiteral("取消"))->setObjectName(QStringLiteral("muCancel"));
    connect(remove, &QAction::triggered, this, [this] { Q_EMIT deleteRequested(m_menuIndex); });

    connect(queryButton, &QPushButton::clicked, this, &VisitBrowserWidget::query);
    connect(m_name, &QLineEdit::returnPressed, this, &VisitBrowserWidget::query);
    connect(today, &QPushButton::clicked, this, &VisitBrowserWidget::listToday);
    connect(previous, &QPushButton::clicked, this, [this] { stepDay(-1); });
    connect(next, &QPushButton::clicked, this, [this] { stepDay(1); });
    // A name search covers ten years.
    connect(m_name, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (text.trimmed().isEmpty())
            return;
        m_from->setText(dateText(Clock::today().addYears(-10)));
        m_to->setText(dateText(Clock::today()));
    });
    connect(m_results, &QAbstractItemView::clicked, this,
            [this](const QModelIndex &index) { Q_EMIT visitClicked(index.row(), keyAt(index.row())); });
    m_results->viewport()->installEventFilter(this);
    m_from->installEventFilter(this);
    m_to->installEventFilter(this);
}

bool VisitBrowserWidget::eventFilter(QObject *watched, QEvent *event)
{
    const bool press = event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (watched == m_results->viewport() && (press || event->type() == QEvent::MouseButtonRelease)) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            // The menu deletes the visit on the sheet, so the right button never moves the
            // highlight onto another entry.
            if (event->type() == QEvent::MouseButtonRelease && m_entries->rowCount() > 0) {
                m_menuIndex = m_results->currentIndex().row();
                m_menu->popup(mouse->globalPosition().toPoint());
            }
            return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress && (watched == m_from || watched == m_to)) {
        // Clicking into an empty date box fills in today, with the caret after it.
        auto *box = static_cast<QLineEdit *>(watched);
        if (box->text().isEmpty()) {
            box->setText(dateText(Clock::today()));
            box->setFocus(Qt::MouseFocusReason);
            box->end(false);
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

namespace {

// What the doctor is told when the archive could not be read (the dates were right).
QString readFailure(const std::exception &failure, const QString &backupRoot)
{
    if (const auto *engine = dynamic_cast<const DbError *>(&failure))
        return failureMessage(QStringLiteral("病历查询失败"), *engine, backupRoot);
    return QStringLiteral("病历查询失败：%1").arg(QString::fromUtf8(failure.what()));
}

} // namespace

bool VisitBrowserWidget::run(bool quiet)
{
    m_entries->clear();
    const auto from = parseVisitDate(m_from->text());
    const auto to = parseVisitDate(m_to->text());
    if (!from || !to) {
        if (!quiet)
            MessageDialog::inform(this, kDateFormatMessage, MessageDialog::Icon::Exclamation);
        return false;
    }
    // The result is read a page at a time, the next one when the list is scrolled to its end.
    const auto page = [this, name = m_name->text(), from = *from, to = *to](const VisitListEntry *after) {
        return VisitStore(m_archive).listPage(name, from, to, after, VisitListModel::kBatch);
    };
    const auto laterPage = [this, page](const VisitListEntry &after) {
        try {
            return page(&after);
        } catch (const std::exception &failure) {
            // Told once the list has finished laying out; what is listed stays.
            QTimer::singleShot(0, this, [this, message = readFailure(failure, m_backupRoot)] {
                MessageDialog::inform(this, message, MessageDialog::Icon::Critical);
            });
            return QList<VisitListEntry>();
        }
    };
    try {
        m_entries->setEntries(page(nullptr), laterPage);
    } catch (const std::exception &failure) {
        if (!quiet)
            MessageDialog::inform(this, readFailure(failure, m_backupRoot), MessageDialog::Icon::Critical);
        return false;
    }
    return true;
}

bool VisitBrowserWidget::query() { return run(false); }

void VisitBrowserWidget::listToday()
{
    const QString today = dateText(Clock::today());
    m_from->setText(today);
    m_to->setText(today);
    m_name->clear();
    run(true);
}

void VisitBrowserWidget::stepDay(int days)
{
    const auto to = parseVisitDate(m_to->text());
    if (!to) {
        m_entries->clear();
        return;
    }
    m_from->setText(dateText(to->addDays(days)));
    m_to->setText(m_from->text());
    m_name->clear();
    run(true);
}

void VisitBrowserWidget::listLastMonth()
{
    m_name->clear();
    m_from->setText(dateText(Clock::today().addMonths(-1)));
    m_to->setText(dateText(Clock::today()));
    run(true);
}

QString VisitBrowserWidget::keyAt(int index) const { return m_entries->keyAt(index); }

void VisitBrowserWidget::removeEntry(int index) { m_entries->removeAt(index); }

void VisitBrowserWidget::removeVisit(const QString &key) { m_entries->removeKey(key); }

} // namespace quillora
