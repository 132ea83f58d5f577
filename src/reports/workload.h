#pragma once

#include "data/visit_store.h"

#include <QList>
#include <QString>

namespace quillora {

// The prescriptions and takings of a date range.
struct WorkloadTotal
{
    qsizetype prescriptions = 0;
    QString amount = QStringLiteral("0");  // plain decimal, no trailing zeros
};

// Adds the drug fee and the other charges of every visit, each by its leading number (blanks
// skipped, a sign allowed, no number = 0), in exact decimals so that 0.1 + 0.2 is 0.3.
WorkloadTotal sumWorkload(const QList<VisitFees> &visits);

// 门诊处方数：2张，业务额：15.5元, or 无统计数字 when there were no visits.
QString workloadText(const WorkloadTotal &total);

} // namespace quillora
