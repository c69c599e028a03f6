#include "NoticeChecker.h"

#include "NoticeLexer.h"
#include "NoticeVocabulary.h"

namespace NoticeChecker {

namespace {

using namespace Qt::StringLiterals;
using NoticeVocabulary::ValueKind;

// Recursive descent over: import* object; object = Type "{" (object | name ":" literal)* "}".
// The first fault stops it; a fault is kept as the refusal.
class Parser
{
public:
    explicit Parser(QStringView source) : m_lexer(source) { advance(); }

    QString run()
    {
        while (m_token.isIdentifier(u"import"))
            parseImport();
        parseObject(1);
        skipSeparators();
        if (ok() && m_token.kind != NoticeToken::End)
            fail(u"text after the root object"_s);
        return m_refusal;
    }

private:
    bool ok() const { return m_refusal.isEmpty(); }

    void fail(const QString &reason)
    {
        if (ok())
            m_refusal = u"line %1: %2"_s.arg(m_token.line).arg(reason);
    }

    void advance()
    {
        m_token = m_lexer.next();
        if (m_token.kind == NoticeToken::Invalid)
            fail(u"not a token of the notice grammar"_s);
    }

    bool accept(char16_t punctuation)
    {
        if (!ok() || !m_token.isPunctuation(punctuation))
            return false;
        advance();
        return true;
    }

    void expect(char16_t punctuation)
    {
        if (!accept(punctuation))
            fail(u"'%1' expected"_s.arg(QChar(punctuation)));
    }

    QString identifier()
    {
        if (!ok() || m_token.kind != NoticeToken::Identifier) {
            fail(u"a name expected"_s);
            return {};
        }
        const QString name = m_token.text;
        advance();
        return name;
    }

    // A name and at most one ".member": "width", "font.bold", "Text.WordWrap".
    QString dottedName()
    {
        QString name = identifier();
        if (accept(u'.'))
            name += u'.' + identifier();
        return name;
    }

    void skipSeparators()
    {
        while (accept(u';')) {
        }
    }

    void parseImport()
    {
        advance();
        QString module = identifier();
        while (accept(u'.'))
            module += u'.' + identifier();
        if (ok() && !NoticeVocabulary::isAllowedImport(module))
            fail(u"module %1 may not be imported"_s.arg(module));
        if (ok() && m_token.kind == NoticeToken::Number)
            advance();
        skipSeparators();
    }

    void parseObject(int depth)
    {
        const QString type = identifier();
        if (!ok())
            return;
        if (!NoticeVocabulary::isAllowedType(type))
            return fail(u"type %1 is not allowed"_s.arg(type));
        if (depth > MaxDepth)
            return fail(u"nested deeper than %1"_s.arg(MaxDepth));
        if (++m_objects > MaxObjects)
            return fail(u"more than %1 objects"_s.arg(MaxObjects));
        if (NoticeVocabulary::isImageType(type) && ++m_images > MaxImages)
            return fail(u"more than %1 images"_s.arg(MaxImages));
        expect(u'{');
        while (ok() && !accept(u'}')) {
            if (m_token.kind == NoticeToken::End)
                return fail(u"'}' expected"_s);
            parseMember(depth);
            skipSeparators();
        }
    }

    void parseMember(int depth)
    {
        if (m_token.kind == NoticeToken::Identifier && m_lexer.peekPunctuation(u'{'))
            return parseObject(depth + 1);
        const QString name = dottedName();
        if (!ok())
            return;
        const NoticeVocabulary::PropertyRule *rule = NoticeVocabulary::propertyRule(name);
        if (!rule)
            return fail(u"property %1 may not be set"_s.arg(name));
        expect(u':');
        if (ok())
            parseValue(name, *rule);
    }

    void parseValue(const QString &property, const NoticeVocabulary::PropertyRule &rule)
    {
        switch (rule.kind) {
        case ValueKind::Number:
            return parseNumber(property, rule);
        case ValueKind::Boolean:
            if (!m_token.isIdentifier(u"true") && !m_token.isIdentifier(u"false"))
                return fail(u"%1 takes true or false"_s.arg(property));
            return advance();
        case ValueKind::Text:
        case ValueKind::WebUrl:
            if (m_token.kind != NoticeToken::String)
                return fail(u"%1 takes a string"_s.arg(property));
            if (rule.kind == ValueKind::WebUrl && !NoticeVocabulary::isWebUrl(m_token.text))
                return fail(u"%1 takes an http or https address"_s.arg(property));
            return advance();
        case ValueKind::EnumName: {
            const QString value = dottedName();
            if (ok() && !NoticeVocabulary::isAllowedEnum(property, value))
                fail(u"%1 may not be %2"_s.arg(property, value));
            return;
        }
        }
    }

    void parseNumber(const QString &property, const NoticeVocabulary::PropertyRule &rule)
    {
        const bool negative = accept(u'-');
        if (!ok() || m_token.kind != NoticeToken::Number)
            return fail(u"%1 takes a number"_s.arg(property));
        const double value = negative ? -m_token.number : m_token.number;
        if (!(value >= rule.minimum && value <= rule.maximum))
            return fail(u"%1 must lie between %2 and %3"_s.arg(property)
                            .arg(rule.minimum)
                            .arg(rule.maximum));
        advance();
    }

    NoticeLexer m_lexer;
    NoticeToken m_token;
    QString m_refusal;
    int m_objects = 0;
    int m_images = 0;
};

} // namespace

QString refusal(QStringView source)
{
    if (source.size() > MaxSourceLength)
        return u"longer than %1 characters"_s.arg(MaxSourceLength);
    return Parser(source).run();
}

} // namespace NoticeChecker
