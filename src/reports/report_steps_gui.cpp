#include "reports/report_steps_gui.h"

#include "base/message_dialog.h"
#include "data/database.h"
#include "data/db_errors.h"

#include <QLineEdit>

namespace quillora {

std::optional<DateRange> ReportSteps::readDateBoxes(QWidget *window, QLineEdit *from, QLineEdit *to)
{
    const auto range = parseDateRange(from->text(), to->text());
    if (!range) {
        MessageDialog::inform(window, kDateFormatMessage, MessageDialog::Icon::Exclamation);
        return std::nullopt;
    }
    for (auto [box, date] : {std::pair{from, range->from}, std::pair{to, range->to}}) {
        if (box->text() != dateText(date))
            box->setText(dateText(date));
    }
    return range;
}

void ReportSteps::reportReadFailure(QWidget *window, const std::exception &failure, const QString &backupRoot)
{
    const QString what = QStringLiteral("档案读取失败");
    const auto *engine = dynamic_cast<const DbError *>(&failure);
    MessageDialog::inform(window, engine ? failureMessage(what, *engine, backupRoot) : what + QStringLiteral("：") + QString::fromUtf8(failure.what()),
                          MessageDialog::Icon::Critical);
}

} // namespace quillora
