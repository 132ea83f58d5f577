#include "reports/workload.h"

#include "text/numbers.h"

#include <cmath>

namespace quillora {

namespace {

// Beyond this an amount is no fee but a typing accident; it is still counted, in floating point.
constexpr double kExactLimit = 1e13;

} // namespace

WorkloadTotal sumWorkload(const QList<VisitFees> &visits)
{
    WorkloadTotal total;
    total.prescriptions = visits.size();
    Money exact;
    double approximate = 0;
    bool isExact = true;
    for (const VisitFees &visit : visits) {
        for (const QString *fee : {&visit.drugFee, &visit.otherFee}) {
            const double value = signedLeadingNumber(*fee);
            approximate += value;
            if (!isExact)
                continue;
            std::int64_t sum = 0;
            if (std::fabs(value) >= kExactLimit
                || __builtin_add_overflow(exact.units(), Money::fromDouble(value).units(), &sum)) {
                isExact = false;
                continue;
            }
            exact = Money::fromUnits(sum);
        }
    }
    total.amount = isExact ? exact.toPlain() : plainNumber(approximate);
    return total;
}

QString workloadText(const WorkloadTotal &total)
{
    if (total.prescriptions == 0)
        return QStringLiteral("无统计数字");
    return QStringLiteral("门诊处方数：%1张，业务额：%2元").arg(total.prescriptions).arg(total.amount);
}

} // namespace quillora
