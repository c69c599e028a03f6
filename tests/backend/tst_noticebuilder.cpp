#include "NoticeBuilder.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The builder on its own, without the checker in front: even code that names the window's ids
// or context properties finds nothing of them.
class TestNoticeBuilder : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void buildsIntoTheParent();
    void reachesNothingOfTheWindow_data();
    void reachesNothingOfTheWindow();
    void refuses_data();
    void refuses();

private:
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQmlContext> m_windowContext;
    std::unique_ptr<QObject> m_window;
};

void TestNoticeBuilder::init()
{
    m_engine = std::make_unique<QQmlEngine>();
    m_windowContext = std::make_unique<QQmlContext>(m_engine->rootContext());
    m_windowContext->setContextProperty(u"_service"_s, m_engine.get());
    QQmlComponent window(m_engine.get());
    window.setData("import QtQuick\nItem { id: _window; objectName: \"window\"; "
                   "property bool touched: false }",
                   QUrl(u"qrc:/window/Window.qml"_s));
    m_window.reset(window.create(m_windowContext.get()));
    QVERIFY2(m_window, qPrintable(window.errorString()));
}

void TestNoticeBuilder::cleanup()
{
    m_window.reset();
    m_windowContext.reset();
    m_engine.reset();
}

void TestNoticeBuilder::buildsIntoTheParent()
{
    QString error;
    QObject *notice = NoticeBuilder::build(*m_engine, u"import QtQuick; Text { text: \"سلام\" }"_s,
                                           m_window.get(), error);
    QVERIFY2(notice, qPrintable(error));
    QCOMPARE(notice->parent(), m_window.get());
    QCOMPARE(qobject_cast<QQuickItem *>(notice)->parentItem(), m_window.get());
    QCOMPARE(notice->property("text").toString(), u"سلام"_s);
}

void TestNoticeBuilder::reachesNothingOfTheWindow_data()
{
    QTest::addColumn<QString>("source");

    QTest::newRow("window id in a handler")
        << u"import QtQuick; Item { Component.onCompleted: _window.touched = true }"_s;
    QTest::newRow("window id in a binding")
        << u"import QtQuick; Item { objectName: _window.objectName }"_s;
    QTest::newRow("window context property")
        << u"import QtQuick; Item { objectName: _service ? \"reached\" : \"\" }"_s;
}

void TestNoticeBuilder::reachesNothingOfTheWindow()
{
    QFETCH(QString, source);
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"ReferenceError"_s));
    QString error;
    std::unique_ptr<QObject> notice(NoticeBuilder::build(*m_engine, source, m_window.get(), error));
    QVERIFY2(notice, qPrintable(error));
    QCOMPARE(m_window->property("touched").toBool(), false);
    QVERIFY(notice->objectName().isEmpty());
}

void TestNoticeBuilder::refuses_data()
{
    QTest::addColumn<QString>("source");

    QTest::newRow("does not compile") << u"import QtQuick; Item { width: }"_s;
    QTest::newRow("not an item") << u"import QtQuick; QtObject {}"_s;
    QTest::newRow("a window of its own") << u"import QtQuick; Window {}"_s;
}

void TestNoticeBuilder::refuses()
{
    QFETCH(QString, source);
    QString error;
    QVERIFY(!NoticeBuilder::build(*m_engine, source, m_window.get(), error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(m_window->children().size(), 0);
}

QTEST_MAIN(TestNoticeBuilder)

#include "tst_noticebuilder.moc"
