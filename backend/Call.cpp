#include "Call.h"

#include <QDebug>

Call::Call(QObject *parent) : QObject(parent) {}

void Call::directCall(const QString &number)
{
    Q_UNUSED(number)
    qDebug("CALL No Os Suport...");
}
