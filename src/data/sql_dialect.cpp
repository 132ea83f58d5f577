#include "data/sql_dialect.h"

#include "data/database.h"

#include <QRegularExpression>
#include <QSet>
#include <sqlcipher/sqlite3.h>
#include <vector>

namespace quillora {

namespace {

[[noreturn]] void refuse(const QString &what)
{
    throw DbError::fromEngine(SQLITE_ERROR, QStringLiteral("no PostgreSQL form for %1").arg(what));
}

enum class Kind { Word, Name, String, Param, Number, Punct };

struct Token
{
    Kind kind;
    QString text;    // Name: the identifier itself; others: the text as written
    int number = 0;  // Param: ?N's N, 0 for a bare ?
    QString name;    // a rendered Name: the identifier it quotes
};

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

bool isWord(const Token &t, const char *word)
{
    return t.kind == Kind::Word && t.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isPunct(const Token &t, const char *punct) { return t.kind == Kind::Punct && t.text == QLatin1String(punct); }

// Words after which an expression starts: a + there is a sign, not an addition.
bool opensExpression(const Token &t)
{
    static const QSet<QString> words{QStringLiteral("SELECT"), QStringLiteral("WHERE"), QStringLiteral("AND"), QStringLiteral("OR"),
                                     QStringLiteral("BY"), QStringLiteral("ON"), QStringLiteral("WHEN"), QStringLiteral("THEN"),
                                     QStringLiteral("ELSE"), QStringLiteral("NOT"), QStringLiteral("SET"), QStringLiteral("IN"),
                                     QStringLiteral("IS"), QStringLiteral("BETWEEN"), QStringLiteral("LIKE"), QStringLiteral("DISTINCT"),
                                     QStringLiteral("HAVING"), QStringLiteral("CASE"), QStringLiteral("VALUES"),
                                     QStringLiteral("LIMIT"), QStringLiteral("OFFSET"), QStringLiteral("RETURNING")};
    if (t.kind == Kind::Punct)
        return t.text != QLatin1String(")");
    return t.kind == Kind::Word && words.contains(t.text.toUpper());
}

bool isOperand(const Token &t)
{
    return t.kind == Kind::Name || t.kind == Kind::Param || t.kind == Kind::String || t.kind == Kind::Number
           || (t.kind == Kind::Word && !opensExpression(t));
}

// SQLite functions and words whose meaning PostgreSQL does not share (or lacks).
void refuseSqliteOnly(const std::vector<Token> &in, std::size_t i)
{
    static const QSet<QString> functions{
        QStringLiteral("typeof"),  QStringLiteral("ifnull"),   QStringLiteral("group_concat"), QStringLiteral("char"),
        QStringLiteral("date"),    QStringLiteral("time"),     QStringLiteral("datetime"),     QStringLiteral("julianday"),
        QStringLiteral("strftime"), QStringLiteral("instr"),   QStringLiteral("printf"),       QStringLiteral("hex"),
        QStringLiteral("unicode"), QStringLiteral("total"),    QStringLiteral("last_insert_rowid"), QStringLiteral("changes"),
        QStringLiteral("total_changes"), QStringLiteral("randomblob"), QStringLiteral("zeroblob"), QStringLiteral("likely"),
        QStringLiteral("unlikely"), QStringLiteral("likelihood"), QStringLiteral("glob"),      QStringLiteral("quote"),
        QStringLiteral("iif"),     QStringLiteral("substr"),   QStringLiteral("upper"),        QStringLiteral("lower"),
        QStringLiteral("min"),     QStringLiteral("max")};
    static const QSet<QString> words{QStringLiteral("glob"), QStringLiteral("regexp"), QStringLiteral("match"),
                                     QStringLiteral("sqlite_master"), QStringLiteral("sqlite_schema"),
                                     QStringLiteral("sqlite_sequence"), QStringLiteral("autoincrement"),
                                     QStringLiteral("without"), QStringLiteral("indexed"), QStringLiteral("collate")};
    const Token &t = in[i];
    if (isPunct(t, "=="))
        refuse(t.text);
    if (t.kind != Kind::Word)
        return;
    const QString word = t.text.toLower();
    const bool call = i + 1 < in.size() && isPunct(in[i + 1], "(");
    if (words.contains(word))
        refuse(t.text);
    if (!call || !functions.contains(word))
        return;
    if (word == QLatin1String("min") || word == QLatin1String("max")) {
        // One argument: the aggregate both engines share; more is SQLite's scalar form.
        int depth = 0;
        for (std::size_t j = i + 1; j < in.size(); ++j) {
            depth += isPunct(in[j], "(") - isPunct(in[j], ")");
            if (depth == 0)
                return;
            if (depth == 1 && isPunct(in[j], ","))
                refuse(t.text + QStringLiteral("() of several values"));
        }
        return;
    }
    refuse(t.text + QStringLiteral("()"));
}

// PRAGMAs that only tune SQLite's own storage: nothing to do on the server.
bool isTuningPragma(const QString &name)
{
    static const QSet<QString> names{QStringLiteral("journal_mode"), QStringLiteral("synchronous"), QStringLiteral("cache_size"),
                                     QStringLiteral("busy_timeout"), QStringLiteral("temp_store"), QStringLiteral("mmap_size")};
    return names.contains(name.toLower());
}

constexpr const char *kRowIdColumn = "rowid bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY";

// Rewrites one statement (no ';' inside).
class Rewriter
{
public:
    Rewriter(const std::vector<Token> &in, int &lastParam) : m_in(in), m_lastParam(lastParam) {}

    ServerSql rewrite()
    {
        ServerSql sql;
        if (startsStatement("PRAGMA")) {
            if (m_in.size() >= 2 && isTuningPragma(m_in[1].text))
                return sql;
            refuse(QStringLiteral("PRAGMA %1").arg(m_in.size() >= 2 ? m_in[1].text : QString()));
        }
        if (startsStatement("BEGIN"))
            return begin();
        for (const char *word : {"REPLACE", "ATTACH", "DETACH", "VACUUM", "REINDEX"}) {
            if (startsStatement(word))
                refuse(QString::fromLatin1(word));
        }
        if ((startsStatement("INSERT") || startsStatement("UPDATE")) && m_in.size() > 1 && isWord(m_in[1], "OR"))
            refuse(m_in[0].text + QStringLiteral(" OR"));
        m_ddl = startsStatement("CREATE") || startsStatement("ALTER");
        findCreatedTable();
        while (m_i < m_in.size())
            step();
        endOrderTerm(0);
        if (m_createAs)
            emitText(QStringLiteral("; ALTER TABLE %1 ADD COLUMN %2").arg(m_createdTable, QLatin1String(kRowIdColumn)));
        if (startsStatement("INSERT") && !m_returning) {
            emitWord(QStringLiteral("RETURNING rowid"));
            sql.returnsRowId = true;
        }
        sql.text = joined();
        return sql;
    }

private:
    bool startsStatement(const char *word) const { return !m_in.empty() && isWord(m_in[0], word); }

    ServerSql begin()
    {
        std::size_t i = 1;
        if (i < m_in.size() && (isWord(m_in[i], "DEFERRED") || isWord(m_in[i], "IMMEDIATE") || isWord(m_in[i], "EXCLUSIVE")))
            ++i;
        if (i < m_in.size() && isWord(m_in[i], "TRANSACTION"))
            ++i;
        if (i != m_in.size())
            refuse(QStringLiteral("this BEGIN"));
        // SQLite runs one writer at a time: serializable keeps every transaction's view as if alone.
        return ServerSql{QStringLiteral("BEGIN ISOLATION LEVEL SERIALIZABLE")};
    }

    // CREATE TABLE [IF NOT EXISTS] name (…) gets a rowid column first; CREATE TABLE … AS gets one after.
    void findCreatedTable()
    {
        if (!startsStatement("CREATE") || m_in.size() < 4 || !isWord(m_in[1], "TABLE"))
            return;
        std::size_t name = 2;
        if (isWord(m_in[2], "IF"))
            name = 5;
        if (name + 1 >= m_in.size() || m_in[name].kind != Kind::Name)
            refuse(QStringLiteral("this CREATE TABLE"));
        m_createdTable = quoteIdentifier(m_in[name].text);
        m_tableOpen = name + 1;
        m_createAs = isWord(m_in[name + 1], "AS");
    }

    void emit(Kind kind, const QString &text) { m_out.push_back(Token{kind, text}); }
    void emitWord(const QString &text) { emit(Kind::Word, text); }
    void emitText(const QString &text) { emit(Kind::Punct, text); }
    Token takeLast()
    {
        Token last = m_out.back();
        m_out.pop_back();
        return last;
    }

    QString paramText(const Token &t)
    {
        const int number = t.number > 0 ? t.number : m_lastParam + 1;
        m_lastParam = std::max(m_lastParam, number);
        return QStringLiteral("$%1").arg(number);
    }

    // One input token as the server reads it.
    Token rendered(const Token &t)
    {
        switch (t.kind) {
        case Kind::Name:
            return {Kind::Name, quoteIdentifier(t.text), 0, t.text};
        case Kind::Param:
            return {Kind::Param, paramText(t)};
        case Kind::Word: {
            // T1 … T15, C1, C2: column names written bare; the server would fold them to lower case.
            static const QRegularExpression bareColumn(QStringLiteral("^[A-Z][0-9]+$"));
            if (bareColumn.match(t.text).hasMatch())
                return {Kind::Name, quoteIdentifier(t.text), 0, t.text};
            if (m_ddl && isWord(t, "REAL"))
                return {Kind::Word, QStringLiteral("double precision")};
            if (m_ddl && (isWord(t, "INTEGER") || isWord(t, "INT")))
                return {Kind::Word, QStringLiteral("bigint")};
            return t;
        }
        default:
            return t;
        }
    }

    const Token *peek(std::size_t ahead) const { return m_i + ahead < m_in.size() ? &m_in[m_i + ahead] : nullptr; }

    void step()
    {
        const Token &t = m_in[m_i];
        if (isPunct(t, "("))
            return openParen();
        if (isPunct(t, ")"))
            return closeParen();
        if (isPunct(t, ",")) {
            endOrderTerm(m_depth, false);
            emitText(t.text);
            ++m_i;
            return;
        }
        if (isPunct(t, "*") && !m_out.empty() && (isWord(m_out.back(), "SELECT") || isWord(m_out.back(), "DISTINCT")))
            refuse(QStringLiteral("SELECT * (the server's tables show their rowid column)"));
        if (isPunct(t, "+") && (m_out.empty() || opensExpression(m_out.back()))) {
            ++m_i;  // a sign that only steers SQLite's planner
            return;
        }
        if (t.kind == Kind::Word && wordStep(t))
            return;
        refuseSqliteOnly(m_in, m_i);
        m_out.push_back(rendered(t));
        ++m_i;
    }

    void openParen()
    {
        ++m_depth;
        emitText(QStringLiteral("("));
        if (m_i == m_tableOpen && !m_createAs)
            emitText(QLatin1String(kRowIdColumn) + QLatin1Char(','));
        ++m_i;
    }

    void closeParen()
    {
        endOrderTerm(m_depth);
        --m_depth;
        emitText(QStringLiteral(")"));
        ++m_i;
    }

    // True when the word was handled (and the position moved past it).
    bool wordStep(const Token &t)
    {
        if (isWord(t, "INDEXED") && peek(1) && isWord(*peek(1), "BY") && peek(2)) {
            m_i += 3;
            return true;
        }
        if (isWord(t, "ORDER") && peek(1) && isWord(*peek(1), "BY")) {
            emitWord(QStringLiteral("ORDER BY"));
            m_orderDepths.push_back(m_depth);
            m_i += 2;
            return true;
        }
        if (isWord(t, "LIMIT"))
            return limit();
        if (isWord(t, "LIKE"))
            return like();
        if (isWord(t, "COLLATE"))
            return collate();
        if (isWord(t, "IS"))
            return is();
        if (isWord(t, "CHECK") && m_ddl && peek(2) && isPunct(*peek(1), "(") && isWord(*peek(2), "typeof")) {
            skipParenthesised(m_i + 1);  // the column's type keeps its values to it
            return true;
        }
        if (isWord(t, "RETURNING"))
            m_returning = true;
        if (isWord(t, "OFFSET") || isWord(t, "GROUP") || isWord(t, "HAVING") || isWord(t, "UNION") || isWord(t, "EXCEPT")
            || isWord(t, "INTERSECT"))
            endOrderTerm(m_depth);
        return false;
    }

    void skipParenthesised(std::size_t open)
    {
        int depth = 0;
        for (std::size_t j = open; j < m_in.size(); ++j) {
            depth += isPunct(m_in[j], "(") - isPunct(m_in[j], ")");
            if (depth == 0) {
                m_i = j + 1;
                return;
            }
        }
        refuse(QStringLiteral("unbalanced parentheses"));
    }

    // SQLite puts NULLs first in ascending order and last in descending order.
    // A term ends at a comma (listEnds false) or where the whole list ends.
    void endOrderTerm(int depth, bool listEnds = true)
    {
        if (m_orderDepths.empty() || m_orderDepths.back() != depth)
            return;
        if (m_out.empty() || isWord(m_out.back(), "BY"))
            refuse(QStringLiteral("an empty ORDER BY term"));
        const Token &last = m_out.back();
        if (isWord(last, "FIRST") || isWord(last, "LAST"))
            refuse(QStringLiteral("NULLS FIRST/LAST"));
        emitWord(isWord(last, "DESC") ? QStringLiteral("NULLS LAST") : QStringLiteral("NULLS FIRST"));
        if (listEnds)
            m_orderDepths.pop_back();
    }

    bool limit()
    {
        endOrderTerm(m_depth);
        const Token *value = peek(1);
        if (!value)
            refuse(QStringLiteral("LIMIT without a value"));
        if (value->kind == Kind::Param) {
            // SQLite takes a negative limit for "no limit"; the server takes NULL for it.
            const QString p = paramText(*value);
            emitWord(QStringLiteral("LIMIT (CASE WHEN %1::bigint >= 0 THEN %1::bigint END)").arg(p));
        } else if (value->kind == Kind::Number) {
            emitWord(QStringLiteral("LIMIT ") + value->text);
        } else {
            refuse(QStringLiteral("LIMIT ") + value->text);
        }
        m_i += 2;
        if (peek(0) && isPunct(*peek(0), ","))
            refuse(QStringLiteral("LIMIT offset, count"));
        return true;
    }

    Token leftOperand(const char *what)
    {
        if (m_out.empty() || !isOperand(m_out.back()))
            refuse(QStringLiteral("%1 after an expression").arg(QLatin1String(what)));
        return takeLast();
    }

    // x LIKE y [ESCAPE 'c']: SQLite folds ASCII letters only, and escapes nothing unless told.
    // ILIKE lower-cases through the collation, and the "C" collation's lower case is ASCII's.
    bool like()
    {
        const Token left = leftOperand("LIKE");
        const Token *right = peek(1);
        if (!right || !isOperand(*right) || right->kind == Kind::Word)
            refuse(QStringLiteral("LIKE with this pattern"));
        const Token pattern = rendered(*right);
        m_i += 2;
        QString escape = QStringLiteral("''");
        if (peek(0) && isWord(*peek(0), "ESCAPE")) {
            if (!peek(1) || peek(1)->kind != Kind::String)
                refuse(QStringLiteral("this ESCAPE"));
            escape = peek(1)->text;
            m_i += 2;
        }
        if (peek(0) && (peek(0)->kind == Kind::Punct && !isPunct(*peek(0), ")") && !isPunct(*peek(0), ",")))
            refuse(QStringLiteral("LIKE followed by %1").arg(peek(0)->text));
        emitText(QStringLiteral("%1 COLLATE \"C\" ILIKE %2 ESCAPE %3").arg(left.text, pattern.text, escape));
        return true;
    }

    bool collate()
    {
        const Token *name = peek(1);
        if (name && isWord(*name, "BINARY")) {
            m_i += 2;  // the server's texts compare as bytes already
            return true;
        }
        if (!name || !isWord(*name, "PINYIN"))
            refuse(QStringLiteral("COLLATE %1").arg(name ? name->text : QString()));
        const Token left = leftOperand("COLLATE");
        if (left.kind != Kind::Name)
            refuse(QStringLiteral("COLLATE PINYIN of %1").arg(left.text));
        emit(Kind::Name, quoteIdentifier(pinyinKeyColumn(left.name)));
        m_i += 2;
        return true;
    }

    // SQLite's IS compares any two values, NULL-safe; the server's IS takes NULL, TRUE or FALSE.
    bool is()
    {
        const Token *next = peek(1);
        if (next && isWord(*next, "date"))
            return isDate();
        const bool negated = next && isWord(*next, "NOT");
        const Token *value = negated ? peek(2) : next;
        if (value && (isWord(*value, "NULL") || isWord(*value, "TRUE") || isWord(*value, "FALSE")))
            return false;
        emitWord(negated ? QStringLiteral("IS DISTINCT FROM") : QStringLiteral("IS NOT DISTINCT FROM"));
        m_i += negated ? 2 : 1;
        return true;
    }

    // x IS date(x, '+0 days'): x is a real calendar day written yyyy-mm-dd (or NULL).
    bool isDate()
    {
        const bool matches = m_i >= 1 && m_i + 6 < m_in.size() + 0 && isPunct(m_in[m_i + 2], "(")
                             && m_in[m_i + 3].kind == m_in[m_i - 1].kind && m_in[m_i + 3].text == m_in[m_i - 1].text
                             && isPunct(m_in[m_i + 4], ",") && m_in[m_i + 5].text == QLatin1String("'+0 days'")
                             && isPunct(m_in[m_i + 6], ")");
        if (!matches)
            refuse(QStringLiteral("this date() check"));
        const Token left = leftOperand("IS date()");
        emitText(QStringLiteral("%1(%2)").arg(QLatin1String(kServerIsDate), left.text));
        m_i += 7;
        return true;
    }

    QString joined() const
    {
        QString text;
        for (std::size_t k = 0; k < m_out.size(); ++k) {
            const Token &t = m_out[k];
            if (k > 0) {
                const Token &before = m_out[k - 1];
                const bool tight = isPunct(before, "(") || isPunct(t, ")") || isPunct(t, ",")
                                   || (isPunct(t, "(") && before.kind == Kind::Word && !opensExpression(before));
                if (!tight)
                    text += QLatin1Char(' ');
            }
            text += t.text;
        }
        return text;
    }

    const std::vector<Token> &m_in;
    int &m_lastParam;
    std::vector<Token> m_out;
    std::size_t m_i = 0;
    int m_depth = 0;
    std::vector<int> m_orderDepths;
    bool m_ddl = false;
    bool m_returning = false;
    QString m_createdTable;
    std::size_t m_tableOpen = std::size_t(-1);
    bool m_createAs = false;
};

} // namespace

QString pinyinKeyColumn(const QString &column) { return column + QStringLiteral("_pinyin_key"); }

ServerSql toServerSql(const QString &sqlite)
{
    const std::vector<Token> tokens = Tokenizer(sqlite).tokens();
    std::vector<std::vector<Token>> statements(1);
    for (const Token &t : tokens) {
        if (isPunct(t, ";"))
            statements.emplace_back();
        else
            statements.back().push_back(t);
    }
    ServerSql result;
    QStringList texts;
    int statementsRun = 0;
    for (const std::vector<Token> &statement : statements) {
        if (statement.empty())
            continue;
        int lastParam = 0;
        const ServerSql one = Rewriter(statement, lastParam).rewrite();
        if (one.isEmpty())
            continue;
        ++statementsRun;
        texts << one.text;
        result.parameterCount = std::max(result.parameterCount, lastParam);
        result.returnsRowId = one.returnsRowId;
    }
    if (statementsRun > 1 && (result.parameterCount > 0 || result.returnsRowId))
        refuse(QStringLiteral("parameters or an INSERT among several statements"));
    result.text = texts.join(QLatin1String("; "));
    return result;
}

} // namespace quillora
