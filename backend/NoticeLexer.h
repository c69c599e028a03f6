#pragma once

#include <QString>
#include <QStringView>

struct NoticeToken
{
    enum Kind { Identifier, String, Number, Punctuation, End, Invalid };

    Kind kind = End;
    QString text; // an identifier, a string's decoded value, or the punctuation character
    double number = 0;
    int line = 1;

    bool isIdentifier(QStringView name) const { return kind == Identifier && text == name; }
    bool isPunctuation(char16_t c) const
    {
        return kind == Punctuation && text.size() == 1 && text.front() == c;
    }
};

// Splits a server notice into the few tokens its grammar has. It ends comments and strings
// exactly where the QML engine does, so no code can hide in what the checker takes for a
// comment or a string; anything it does not know (operators, brackets, templates, non-ASCII
// names, escapes it cannot decode) is an Invalid token.
class NoticeLexer
{
public:
    explicit NoticeLexer(QStringView source) : m_source(source) {}

    NoticeToken next();
    bool peekPunctuation(char16_t c) const;

private:
    bool skipSpaceAndComments();
    NoticeToken identifier();
    NoticeToken number();
    NoticeToken string();
    bool decodeEscape(QString &out);
    bool hexDigits(int count, char32_t &value);

    char16_t at(qsizetype i) const { return i < m_source.size() ? m_source[i].unicode() : 0; }

    QStringView m_source;
    qsizetype m_pos = 0;
    int m_line = 1;
};
