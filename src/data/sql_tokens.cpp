#include "data/sql_tokens.h"

#include "data/database.h"

#include <QStringList>
#include <sqlcipher/sqlite3.h>

namespace quillora::sql {

void refuse(const QString &what)
{
    throw DbError::fromEngine(SQLITE_ERROR, QStringLiteral("no PostgreSQL form for %1").arg(what));
}

namespace {

bool isWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isWordPart(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

class Tokenizer
{
public:
    explicit Tokenizer(const QString &sql) : m_sql(sql) {}

    std::vector<Token> tokens()
    {
        std::vector<Token> tokens;
        while (skipBlanks())
            tokens.push_back(next());
        return tokens;
    }

private:
    QChar at(qsizetype i) const { return i < m_sql.size() ? m_sql[i] : QChar(); }

    bool skipBlanks()
    {
        for (;;) {
            while (m_at < m_sql.size() && m_sql[m_at].isSpace())
                ++m_at;
            if (m_sql.mid(m_at, 2) == QLatin1String("--")) {
                while (m_at < m_sql.size() && m_sql[m_at] != QLatin1Char('\n'))
                    ++m_at;
            } else if (m_sql.mid(m_at, 2) == QLatin1String("/*")) {
                const qsizetype end = m_sql.indexOf(QLatin1String("*/"), m_at + 2);
                if (end < 0)
                    refuse(QStringLiteral("an unterminated comment"));
                m_at = end + 2;
            } else {
                return m_at < m_sql.size();
            }
        }
    }

    // Reads up to the closing character; a doubled closing character stands for itself.
    QString quoted(QChar close, bool doubling)
    {
        QString text;
        for (qsizetype i = m_at + 1; i < m_sql.size(); ++i) {
            if (m_sql[i] != close) {
                text += m_sql[i];
            } else if (doubling && at(i + 1) == close) {
                text += close;
                ++i;
            } else {
                m_at = i + 1;
                return text;
            }
        }
        refuse(QStringLiteral("an unterminated quote"));
    }

    Token next()
    {
        const QChar c = m_sql[m_at];
        if (c == QLatin1Char('\'')) {
            const qsizetype start = m_at;
            quoted(c, true);
            return {Kind::String, m_sql.mid(start, m_at - start)};
        }
        if (c == QLatin1Char('['))
            return {Kind::Name, quoted(QLatin1Char(']'), false)};
        if (c == QLatin1Char('"') || c == QLatin1Char('`'))
            return {Kind::Name, quoted(c, true)};
        if (c == QLatin1Char('?'))
            return param();
        if (isWordStart(c))
            return span(Kind::Word, isWordPart);
        if (c.isDigit() || (c == QLatin1Char('.') && at(m_at + 1).isDigit()))
            return number();
        static const QStringList pairs{QStringLiteral("||"), QStringLiteral("<="), QStringLiteral(">="), QStringLiteral("<>"),
                                       QStringLiteral("!="), QStringLiteral("=="), QStringLiteral("::"), QStringLiteral("<<"),
                                       QStringLiteral(">>")};
        const QString two = m_sql.mid(m_at, 2);
        m_at += pairs.contains(two) ? 2 : 1;
        return {Kind::Punct, pairs.contains(two) ? two : QString(c)};
    }

    Token param()
    {
        qsizetype end = m_at + 1;
        while (at(end).isDigit())
            ++end;
        Token token{Kind::Param, m_sql.mid(m_at, end - m_at), m_sql.mid(m_at + 1, end - m_at - 1).toInt()};
        if (end > m_at + 1 && token.number <= 0)
            refuse(QStringLiteral("parameter %1").arg(token.text));
        m_at = end;
        return token;
    }

    Token span(Kind kind, bool (*part)(QChar))
    {
        const qsizetype start = m_at;
        while (m_at < m_sql.size() && part(m_sql[m_at]))
            ++m_at;
        return {kind, m_sql.mid(start, m_at - start)};
    }

    Token number()
    {
        const qsizetype start = m_at;
        while (at(m_at).isDigit() || at(m_at) == QLatin1Char('.'))
            ++m_at;
        if ((at(m_at) == QLatin1Char('e') || at(m_at) == QLatin1Char('E'))) {
            ++m_at;
            if (at(m_at) == QLatin1Char('+') || at(m_at) == QLatin1Char('-'))
                ++m_at;
            while (at(m_at).isDigit())
                ++m_at;
        }
        if (isWordPart(at(m_at)))
            refuse(QStringLiteral("the number %1").arg(m_sql.mid(start, m_at - start + 1)));
        return {Kind::Number, m_sql.mid(start, m_at - start)};
    }

    const QString &m_sql;
    qsizetype m_at = 0;
};

} // namespace

std::vector<Token> tokenize(const QString &sql) { return Tokenizer(sql).tokens(); }

bool isWord(const Token &t, const char *word)
{
    return t.kind == Kind::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isPunct(const Token &t, const char *punct) { return t.kind == Kind::Punct && t.text == QLatin1String(punct); }

} // namespace quillora::sql
