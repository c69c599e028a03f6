#include "Call.h"

#include "PhoneServices.h"

#include <QDebug>
#include <QDesktopServices>
#include <QRegularExpression>
#include <QUrl>

namespace {

void sayNoTelephony()
{
    qDebug("CALL No Os Suport...");
}

bool isDiallable(const QString &number)
{
    // Anchored at the very end: a plain $ would let a trailing line break through.
    static const QRegularExpression diallable(
        QRegularExpression::anchoredPattern(QStringLiteral("\\+?[0-9*#]*[0-9][0-9*#]*")));
    return diallable.match(number).hasMatch();
}

} // namespace

Call::Call(QObject *parent) : QObject(parent) {}

bool Call::directCall(const QString &number)
{
    if (!PhoneServices::enabled()) {
        sayNoTelephony();
        return false;
    }
    if (!isDiallable(number)) {
        qWarning("Call refused: a number holds only digits, * and #, after an optional +");
        return false;
    }
    // Set as the path, a # is escaped instead of starting a fragment the dialler would drop.
    QUrl url;
    url.setScheme(QStringLiteral("tel"));
    url.setPath(number);
    if (QDesktopServices::openUrl(url))
        return true;
    sayNoTelephony();
    return false;
}
