#include "Registration.h"

#include "ReleasingNetworkAccess.h"

#include <QQmlEngine>
#include <QtCore/qglobal.h>

// Each native module's generated registration (app/modules): its types under the name and
// version the documents import.
void qml_register_types_kova_tools();
void qml_register_types_globals();
void qml_register_types_call();
void qml_register_types_smsManager();
void qml_register_types_kova_services();
void qml_register_types_notification();
void qml_register_types_kova();
void qml_register_types_mySettings();
void qml_register_types_commandJournal();

void setUpEngine(QQmlEngine *engine)
{
    // The engine does not own its factory; one serves every engine of the process.
    static ReleasingNetworkAccessFactory factory;
    engine->setNetworkAccessManagerFactory(&factory);
}

// Called before any engine exists; it also keeps the modules' registration code and the
// documents' compiled code in the link, which the linker would otherwise drop from the static
// libraries (the documents would then be compiled from source at every first start).
void registerKovaTypes()
{
    Q_INIT_RESOURCE(qmlcache_kova_documents);
    qml_register_types_kova_tools();
    qml_register_types_globals();
    qml_register_types_call();
    qml_register_types_smsManager();
    qml_register_types_kova_services();
    qml_register_types_notification();
    qml_register_types_kova();
    qml_register_types_mySettings();
    qml_register_types_commandJournal();
}
