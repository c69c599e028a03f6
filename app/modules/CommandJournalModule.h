#pragma once

#include "CommandJournal.h"

#include <QtQml/qqmlregistration.h>

class QJSEngine;
class QQmlEngine;

// commandJournal: the commands sent to the cars and how they ended, one journal for the process,
// in the data folder next to the settings file.
struct CommandJournalForeign
{
    Q_GADGET
    QML_FOREIGN(CommandJournal)
    QML_NAMED_ELEMENT(CommandJournal)
    QML_SINGLETON

public:
    // As MySettings: whichever engine asks first, never handed over to an engine.
    static CommandJournal *create(QQmlEngine *, QJSEngine *);
};
