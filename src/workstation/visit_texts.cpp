#include "workstation/visit_texts.h"

namespace quillora {

QString deleteQuestion(const VisitRecord &stored)
{
    return kDeleteQuestion + QStringLiteral("\n\n%1  %2").arg(stored.header[FieldName], stored.header[FieldDate]);
}

} // namespace quillora
