#include "NoticeBuilder.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QUrl>

namespace NoticeBuilder {

QObject *build(QQmlEngine &engine, const QString &source, QObject *parent, QString &error)
{
    QQmlComponent component(&engine);
    // A resource folder that does not exist: the notice's own folder imports no documents.
    component.setData(source.toUtf8(), QUrl(QStringLiteral("qrc:/serverNotice/Notice.qml")));
    if (!component.isReady()) {
        error = component.errorString().trimmed();
        return nullptr;
    }

    auto *context = new QQmlContext(engine.rootContext());
    QObject *item = component.create(context);
    if (!item || !item->inherits("QQuickItem")) {
        error = item ? QStringLiteral("the root object is not an item")
                     : component.errorString().trimmed();
        delete item;
        delete context;
        return nullptr;
    }
    context->setParent(item);
    item->setParent(parent);
    item->setProperty("parent", QVariant::fromValue(parent));
    // The documents drop a notice with destroy(); its parent keeps it from the collector.
    QQmlEngine::setObjectOwnership(item, QQmlEngine::JavaScriptOwnership);
    return item;
}

} // namespace NoticeBuilder
