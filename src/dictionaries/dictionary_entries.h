#pragma once

#include <QString>
#include <initializer_list>

namespace quillora {

// Rules shared by the dictionary windows: what may be stored, and what the user is told when not.

// "“名称”最多50个字，现有51个字，请删减后再保存。" when the text is longer than max; empty otherwise.
QString lengthProblem(const QString &what, const QString &text, int max);
// The first non-empty problem of a list; empty when there is none.
QString firstProblem(std::initializer_list<QString> problems);

// The message of the order-set and template windows when the name or the content is empty.
inline const QString kNameAndContentMissing = QStringLiteral("请输入名称及内容！");
bool hasNameAndContent(const QString &name, const QString &content);

// A diagnosis or address name list: why the entry cannot be stored; empty when it can.
// `what` is the caption of the name ("诊断名称", "地址名称").
QString nameListEntryProblem(const QString &what, const QString &name, const QString &code);
// An order set or formula, its content already as it will be stored.
QString orderSetProblem(const QString &name, const QString &code, const QString &content);
QString historyTemplateProblem(const QString &name, const QString &code, const QString &content);

// The kind option a prescription's selection is filed under: 1 "中医验方" for the kind "中医",
// 0 "个人组套" for any other.
int orderSetOptionForKind(const QString &prescriptionKind);

} // namespace quillora
