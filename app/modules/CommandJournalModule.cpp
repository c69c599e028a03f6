#include "CommandJournalModule.h"

#include <QQmlEngine>
#include <QStandardPaths>

CommandJournal *CommandJournalForeign::create(QQmlEngine *, QJSEngine *)
{
    static CommandJournal *instance = nullptr;
    if (!instance) {
        instance = new CommandJournal(
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/kovacommands.sqlite"));
        QQmlEngine::setObjectOwnership(instance, QQmlEngine::CppOwnership);
    }
    return instance;
}
