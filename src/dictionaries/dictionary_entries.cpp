#include "dictionaries/dictionary_entries.h"

#include "data/schema.h"

namespace quillora {

namespace {

QString codeProblem(const QString &code, bool required)
{
    if (required && code.isEmpty())
        return QStringLiteral("请填写拼音代码，未保存。");
    return lengthProblem(QStringLiteral("拼音代码"), code, 50);
}

} // namespace

QString lengthProblem(const QString &what, const QString &text, int max)
{
    if (text.size() <= max)
        return {};
    return QStringLiteral("“%1”最多%2个字，现有%3个字，请删减后再保存。").arg(what).arg(max).arg(text.size());
}

QString firstProblem(std::initializer_list<QString> problems)
{
    for (const QString &problem : problems) {
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

bool hasNameAndContent(const QString &name, const QString &content) { return !name.isEmpty() && !content.isEmpty(); }

QString nameListEntryProblem(const QString &what, const QString &name, const QString &code)
{
    return firstProblem({lengthProblem(what, name, 50), codeProblem(code, true)});
}

QString orderSetProblem(const QString &name, const QString &code, const QString &content)
{
    return firstProblem({lengthProblem(QStringLiteral("名称"), name, 50), codeProblem(code, true),
                         lengthProblem(QStringLiteral("内容"), content, kMemoMaxLength)});
}

QString historyTemplateProblem(const QString &name, const QString &code, const QString &content)
{
    return firstProblem({lengthProblem(QStringLiteral("名称"), name, 200), codeProblem(code, false),
                         lengthProblem(QStringLiteral("内容"), content, kMemoMaxLength)});
}

int orderSetOptionForKind(const QString &prescriptionKind) { return prescriptionKind == QStringLiteral("中医") ? 1 : 0; }

} // namespace quillora
