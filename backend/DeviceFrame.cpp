#include "DeviceFrame.h"

namespace DeviceFrame {

namespace {

constexpr QStringView opening = u"[oribel,";
constexpr QStringView terminator = u"]}]";

bool isDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace

bool isWellFormed(QStringView text)
{
    if (!text.startsWith(opening) || !text.endsWith(terminator) ||
        text.size() < opening.size() + terminator.size())
        return false;
    const QStringView body =
        text.sliced(opening.size(), text.size() - opening.size() - terminator.size());
    const qsizetype codeEnd = body.indexOf(u',');
    if (!isDigits(codeEnd < 0 ? body : body.first(codeEnd)))
        return false;
    return !body.contains(u'[') && !body.contains(u']') && !body.contains(u'\n') &&
           !body.contains(u'\r');
}

bool isPhoneField(QStringView field)
{
    if (field.isEmpty() || field == u"x" || field == u" ")
        return true;
    return isDigits(field.startsWith(u'+') ? field.sliced(1) : field);
}

} // namespace DeviceFrame
