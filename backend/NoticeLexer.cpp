#include "NoticeLexer.h"

namespace {

bool isLineTerminator(char16_t c)
{
    // The JavaScript line terminators: a line comment ends at any of them.
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

bool isAsciiLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int hexValue(char16_t c)
{
    if (isDigit(c))
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

NoticeToken invalid(int line)
{
    NoticeToken token;
    token.kind = NoticeToken::Invalid;
    token.line = line;
    return token;
}

} // namespace

NoticeToken NoticeLexer::next()
{
    if (!skipSpaceAndComments())
        return invalid(m_line);
    NoticeToken token;
    token.line = m_line;
    const char16_t c = at(m_pos);
    if (m_pos >= m_source.size())
        return token;
    if (isAsciiLetter(c))
        return identifier();
    if (isDigit(c) || (c == u'.' && isDigit(at(m_pos + 1))))
        return number();
    if (c == u'"' || c == u'\'')
        return string();
    if (c == u'{' || c == u'}' || c == u':' || c == u';' || c == u'.' || c == u'-') {
        ++m_pos;
        token.kind = NoticeToken::Punctuation;
        token.text = QChar(c);
        return token;
    }
    return invalid(m_line);
}

bool NoticeLexer::peekPunctuation(char16_t c) const
{
    NoticeLexer ahead = *this;
    return ahead.next().isPunctuation(c);
}

bool NoticeLexer::skipSpaceAndComments()
{
    while (m_pos < m_source.size()) {
        const char16_t c = at(m_pos);
        if (c == u'\n') {
            ++m_line;
            ++m_pos;
        } else if (c == u' ' || c == u'\t' || c == u'\r') {
            ++m_pos;
        } else if (c == u'/' && at(m_pos + 1) == u'/') {
            while (m_pos < m_source.size() && !isLineTerminator(at(m_pos)))
                ++m_pos;
        } else if (c == u'/' && at(m_pos + 1) == u'*') {
            const qsizetype end = m_source.indexOf(u"*/", m_pos + 2);
            if (end < 0)
                return false;
            m_line += int(m_source.mid(m_pos, end - m_pos).count(u'\n'));
            m_pos = end + 2;
        } else {
            return true;
        }
    }
    return true;
}

NoticeToken NoticeLexer::identifier()
{
    NoticeToken token;
    token.kind = NoticeToken::Identifier;
    token.line = m_line;
    const qsizetype start = m_pos;
    while (isAsciiLetter(at(m_pos)) || isDigit(at(m_pos)))
        ++m_pos;
    token.text = m_source.sliced(start, m_pos - start).toString();
    return token;
}

NoticeToken NoticeLexer::number()
{
    const qsizetype start = m_pos;
    // A leading zero followed by a digit is an octal literal to JavaScript: not the same number.
    if (at(m_pos) == u'0' && isDigit(at(m_pos + 1)))
        return invalid(m_line);
    while (isDigit(at(m_pos)))
        ++m_pos;
    if (at(m_pos) == u'.') {
        ++m_pos;
        while (isDigit(at(m_pos)))
            ++m_pos;
    }
    if (at(m_pos) == u'e' || at(m_pos) == u'E') {
        ++m_pos;
        if (at(m_pos) == u'+' || at(m_pos) == u'-')
            ++m_pos;
        if (!isDigit(at(m_pos)))
            return invalid(m_line);
        while (isDigit(at(m_pos)))
            ++m_pos;
    }
    // "0x10", "1_000", "5px": the engine reads these otherwise or not at all.
    if (isAsciiLetter(at(m_pos)) || isDigit(at(m_pos)))
        return invalid(m_line);
    bool ok = false;
    NoticeToken token;
    token.kind = NoticeToken::Number;
    token.line = m_line;
    token.number = m_source.sliced(start, m_pos - start).toDouble(&ok);
    return ok ? token : invalid(m_line);
}

NoticeToken NoticeLexer::string()
{
    NoticeToken token;
    token.kind = NoticeToken::String;
    token.line = m_line;
    const char16_t quote = at(m_pos++);
    while (m_pos < m_source.size()) {
        const char16_t c = at(m_pos++);
        if (c == quote)
            return token;
        if (c == u'\n')
            ++m_line;
        if (c != u'\\')
            token.text += QChar(c);
        else if (!decodeEscape(token.text))
            return invalid(m_line);
    }
    return invalid(m_line);
}

bool NoticeLexer::decodeEscape(QString &out)
{
    const char16_t c = at(m_pos++);
    char32_t value = 0;
    switch (c) {
    case u'\'':
    case u'"':
    case u'\\':
    case u'/':
        out += QChar(c);
        return true;
    case u'b':
        out += u'\b';
        return true;
    case u'f':
        out += u'\f';
        return true;
    case u'n':
        out += u'\n';
        return true;
    case u'r':
        out += u'\r';
        return true;
    case u't':
        out += u'\t';
        return true;
    case u'v':
        out += u'\v';
        return true;
    case u'x':
        if (!hexDigits(2, value))
            return false;
        out += QChar(char16_t(value));
        return true;
    case u'u':
        if (!hexDigits(4, value))
            return false;
        out += QChar(char16_t(value));
        return true;
    default:
        // Octal escapes, line continuations and "\u{...}" are left out of the grammar.
        return false;
    }
}

bool NoticeLexer::hexDigits(int count, char32_t &value)
{
    value = 0;
    for (int i = 0; i < count; ++i) {
        const int digit = hexValue(at(m_pos));
        if (digit < 0)
            return false;
        value = value * 16 + char32_t(digit);
        ++m_pos;
    }
    return true;
}
