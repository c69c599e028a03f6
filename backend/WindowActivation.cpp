#include "WindowActivation.h"

#include <QGuiApplication>
#include <QWindow>

namespace WindowActivation {

void bringForward(const QString &activationToken)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return;
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        // A hidden window (a closed dialog, a helper surface) was not the owner's to see.
        if (!window->isVisible())
            continue;
        // Not show(): that is showNormal(), and would undo the owner's maximising.
        window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
        window->raise();
        window->requestActivate();
    }
}

} // namespace WindowActivation
