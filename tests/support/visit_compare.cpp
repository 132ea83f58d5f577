#include "support/visit_compare.h"

#include "data/visit_store.h"

namespace quillora::test {

VisitRecord storedForm(const VisitRecord &visit)
{
    VisitRecord v = VisitStore::validated(visit);
    v.doses = v.doses.trimmed();
    v.fitGrid();
    return v;
}

QString visitDifference(const std::optional<VisitRecord> &stored, const std::optional<VisitRecord> &expected)
{
    if (!stored || !expected)
        return bool(stored) == bool(expected) ? QString() : (stored ? QStringLiteral("unexpected row") : QStringLiteral("row missing"));
    const VisitRecord want = storedForm(*expected);
    QStringList differing;
    if (stored->header != want.header)
        differing << QStringLiteral("header");
    if (stored->title != want.title || stored->kind != want.kind)
        differing << QStringLiteral("kind");
    if (stored->body != want.body)
        differing << QStringLiteral("body");
    if (stored->injectionCard != want.injectionCard)
        differing << QStringLiteral("card");
    if (stored->history != want.history)
        differing << QStringLiteral("history");
    if (stored->grid != want.grid)
        differing << QStringLiteral("grid");
    if (stored->doses != want.doses || stored->total != want.total || stored->key != want.key)
        differing << QStringLiteral("doses/total/key");
    return differing.join(QLatin1Char(','));
}

} // namespace quillora::test
