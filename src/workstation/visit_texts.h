#pragma once

#include "data/visit_record.h"

#include <QString>

namespace quillora {

inline const QString kDeleteQuestion = QStringLiteral("确实要永久删除该病人档案吗？");
inline const QString kNothingToDeleteMessage = QStringLiteral("当前处方尚未保存，档案中没有可删除的病历。");

// The delete question with the stored visit it would remove: its name and date.
QString deleteQuestion(const VisitRecord &stored);

} // namespace quillora
