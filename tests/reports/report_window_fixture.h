#pragma once

#include "data/database.h"
#include "data/dates.h"
#include "data/visit_store.h"
#include "support/data_fixture.h"
#include "support/window_test.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quillora::test {

// The report windows on real data files, with visits saved as the main window saves them.
class ReportWindowTest : public WindowTest
{
protected:
    template <typename Window>
    std::unique_ptr<Window> open()
    {
        return shown(std::make_unique<Window>(*workspace));
    }
    // Saves a visit as the main window would; returns it.
    VisitRecord saveVisit(const QString &name, const QString &date, const QString &drugFee = QString(), const QString &otherFee = QString())
    {
        VisitRecord v = sampleVisit(name, date, QStringLiteral("%1 09:%2:00").arg(date).arg(m_saved++ % 60, 2, 10, QLatin1Char('0')));
        v.header[FieldDiagnosis] = QStringLiteral("上呼吸道感染");
        v.header[FieldAddress] = QStringLiteral("东风村一组");
        v.header[FieldDrugFee] = drugFee;
        v.header[FieldOtherFee] = otherFee;
        VisitStore(workspace->archive()).save(v, 2026);
        return v;
    }
    // Replaces a box's text the way the doctor would: select all, type.
    static void retype(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        typeText(box, text);
    }
    static QList<MessageDialog::Shown> messages() { return MessageDialog::shown(); }

    int m_saved = 0;
};

} // namespace quillora::test
