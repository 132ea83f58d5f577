#pragma once

#include <QString>
#include <vector>

namespace quillora::sql {

// Throws the DbError that a statement has no PostgreSQL form of the same meaning.
[[noreturn]] void refuse(const QString &what);

enum class Kind { Word, Name, String, Param, Number, Punct };

// One piece of SQLite text: a word, an identifier ([x], "x", `x`), a string literal, a
// parameter (?, ?N), a number or a punctuation mark.
struct Token
{
    Token(Kind k, QString t, int n = 0, QString identifier = {}) : kind(k), text(std::move(t)), number(n), name(std::move(identifier)) {}
    Kind kind;
    QString text;    // Name: the identifier itself; others: the text as written
    int number = 0;  // Param: ?N's N, 0 for a bare ?
    QString name;    // a rendered Name: the identifier it quotes
};

// The tokens of the text, comments and blanks left out; refuses unterminated quotes and comments.
std::vector<Token> tokenize(const QString &sql);

bool isWord(const Token &t, const char *word);
bool isPunct(const Token &t, const char *punct);

} // namespace quillora::sql
