#pragma once

#include "data/visit_store.h"

#include <QGroupBox>

class QLineEdit;
class QListView;
class QMenu;
class QPushButton;

namespace quillora {

class Database;
class VisitListModel;

// The visit browser: name filter, date range, today / previous / next day and the result list.
class VisitBrowserWidget : public QGroupBox
{
    Q_OBJECT

public:
    VisitBrowserWidget(Database &archive, const QString &backupRoot, QWidget *parent = nullptr);

    QLineEdit *nameFilter() const { return m_name; }
    QLineEdit *fromDate() const { return m_from; }
    QLineEdit *toDate() const { return m_to; }
    QListView *results() const { return m_results; }
    VisitListModel *entries() const { return m_entries; }
    QMenu *resultMenu() const { return m_menu; }

    // "查    询": lists with the filters as typed; false (after the date message) when they are not dates.
    bool query();
    // "今日患者": today's visits, name filter emptied.
    void listToday();
    // "<<" / ">>": one day back or forward from the to-date.
    void stepDay(int days);
    // Name empty, one month back to today (the window's start).
    void listLastMonth();
    // The visit key of a result entry.
    QString keyAt(int index) const;
    void removeEntry(int index);
    // Takes every entry of the visit out of the result.
    void removeVisit(const QString &key);

Q_SIGNALS:
    void visitClicked(int index, const QString &key);
    void deleteRequested(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    bool run(bool quiet);
    QPushButton *button(const QString &name, const QString &text);

    Database &m_archive;
    QString m_backupRoot;  // named when the archive turns out damaged
    QLineEdit *m_name = nullptr;
    QLineEdit *m_from = nullptr;
    QLineEdit *m_to = nullptr;
    QListView *m_results = nullptr;
    VisitListModel *m_entries = nullptr;
    QMenu *m_menu = nullptr;
    int m_menuIndex = -1;
};

} // namespace quillora
