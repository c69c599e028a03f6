#pragma once

#include <QString>

class QObject;
class QQmlEngine;

// Builds a server notice that NoticeChecker accepted.
namespace NoticeBuilder {

// Compiles the source in a context of its own under the engine's root context, so it sees none
// of the documents' ids, and makes the item a child of the parent item, visually too. Null, with
// the reason in error, when it does not compile or is not a visual item.
QObject *build(QQmlEngine &engine, const QString &source, QObject *parent, QString &error);

} // namespace NoticeBuilder
