#include "Notification.h"

Notification::Notification(QObject *parent) : QObject(parent) {}

void Notification::notify(const QString &title, const QString &text, const QString &icon)
{
    Q_UNUSED(title)
    Q_UNUSED(text)
    Q_UNUSED(icon)
}
