#include "NoticeChecker.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestNoticeChecker : public QObject
{
    Q_OBJECT

private slots:
    void accepts_data();
    void accepts();
    void refuses_data();
    void refuses();
    void bounds_data();
    void bounds();
};

void TestNoticeChecker::accepts_data()
{
    QTest::addColumn<QString>("source");

    QTest::newRow("text") << u"import QtQuick\nText { text: \"سلام\" }"_s;
    QTest::newRow("semicolons, comments, version")
        << u"import QtQuick 2.15; // greeting\n/* a\nb */ Text { text: 'a'; font.bold: true; }"_s;
    QTest::newRow("label with wrapping")
        << u"import QtQuick\nimport QtQuick.Controls\nLabel {\n padding: 10\n wrapMode: "
           u"Text.WordWrap\n"
           u" horizontalAlignment: Text.AlignHCenter\n text: \"این سرور آزمایشی است\"\n}"_s;
    QTest::newRow("image over https")
        << u"import QtQuick; Image { source: \"https://example.org/a.png\"; fillMode: "
           u"Image.PreserveAspectFit; width: 200; height: 100 }"_s;
    QTest::newRow("link in styled text")
        << u"import QtQuick; Text { textFormat: Text.StyledText; text: '<a "
           u"href=\"https://example.org\">سایت</a>' }"_s;
    QTest::newRow("layout of items")
        << u"import QtQuick\nimport QtQuick.Layouts\nColumnLayout { spacing: 4\n Rectangle { "
           u"Layout.fillWidth: true; height: 1; color: \"grey\" }\n Text { text: \"\\u0633\\n\" "
           u"}\n RowLayout { Layout.alignment: Qt.AlignHCenter; Item { x: -5; opacity: 0.5 } } }"_s;
    QTest::newRow("escaped quotes") << u"import QtQuick; Text { text: \"a \\\"b\\\" c\" }"_s;
}

void TestNoticeChecker::accepts()
{
    QFETCH(QString, source);
    QCOMPARE(NoticeChecker::refusal(source), QString());
}

void TestNoticeChecker::refuses_data()
{
    QTest::addColumn<QString>("source");

    QTest::newRow("settings module") << u"import mySettings; import QtQuick; Item {}"_s;
    QTest::newRow("native tools") << u"import QtQuick; import kova.tools; Tools {}"_s;
    QTest::newRow("sms manager") << u"import QtQuick; import smsManager; SmsManager {}"_s;
    QTest::newRow("module by path") << u"import \"qrc:/\"; import QtQuick; Item {}"_s;
    QTest::newRow("qualified import") << u"import QtQuick as Q; Q.Item {}"_s;
    QTest::newRow("no root object") << u"import QtQuick"_s;
    QTest::newRow("two roots") << u"import QtQuick; Item {} Item {}"_s;
    QTest::newRow("unclosed object") << u"import QtQuick; Item { width: 5"_s;
    QTest::newRow("password field")
        << u"import QtQuick; import QtQuick.Controls; TextField { echoMode: TextInput.Password }"_s;
    QTest::newRow("timer") << u"import QtQuick; Timer { running: true }"_s;
    QTest::newRow("loader") << u"import QtQuick; Loader { source: \"https://e.org/a.qml\" }"_s;
    QTest::newRow("nested timer") << u"import QtQuick; Item { Timer {} }"_s;
    QTest::newRow("handler") << u"import QtQuick; Item { Component.onCompleted: Qt.quit() }"_s;
    QTest::newRow("on handler") << u"import QtQuick; Text { onLinkActivated: Qt.quit() }"_s;
    QTest::newRow("id") << u"import QtQuick; Item { id: _mainWindow }"_s;
    QTest::newRow("window id in a value") << u"import QtQuick; Text { text: _mainWindow.title }"_s;
    QTest::newRow("function call") << u"import QtQuick; Text { text: qsTr(\"a\") }"_s;
    QTest::newRow("sum") << u"import QtQuick; Text { text: \"a\" + \"b\" }"_s;
    QTest::newRow("negated flag") << u"import QtQuick; Item { visible: !false }"_s;
    QTest::newRow("product") << u"import QtQuick; Item { width: 10 * 2 }"_s;
    QTest::newRow("parenthesis") << u"import QtQuick; Item { width: (10) }"_s;
    QTest::newRow("block") << u"import QtQuick; Item { width: { while (true) {} } }"_s;
    QTest::newRow("endless loop in a handler")
        << u"import QtQuick; Item { Component.onCompleted: { for (;;) {} } }"_s;
    QTest::newRow("allocation")
        << u"import QtQuick; Item { property var a: new Array(1e9).fill(0) }"_s;
    QTest::newRow("property declaration") << u"import QtQuick; Item { property int a: 5 }"_s;
    QTest::newRow("function") << u"import QtQuick; Item { function f() {} }"_s;
    QTest::newRow("signal") << u"import QtQuick; Item { signal s }"_s;
    QTest::newRow("group block") << u"import QtQuick; Text { font { bold: true } }"_s;
    QTest::newRow("object value") << u"import QtQuick; Item { data: Item {} }"_s;
    QTest::newRow("array value") << u"import QtQuick; Item { states: [] }"_s;
    QTest::newRow("anchor to parent") << u"import QtQuick; Item { anchors.fill: parent }"_s;
    QTest::newRow("layer texture") << u"import QtQuick; Item { layer.enabled: true }"_s;
    QTest::newRow("behavior on") << u"import QtQuick; Item { Rectangle on x {} }"_s;
    QTest::newRow("pragma") << u"pragma Singleton\nimport QtQuick; Item {}"_s;
    QTest::newRow("inline component") << u"import QtQuick; Item { component C: Item {} }"_s;
    QTest::newRow("qualified type") << u"import QtQuick; QtQuick.Item {}"_s;
    QTest::newRow("local image") << u"import QtQuick; Image { source: \"file:///etc/passwd\" }"_s;
    QTest::newRow("relative image") << u"import QtQuick; Image { source: \"a.png\" }"_s;
    QTest::newRow("resource image")
        << u"import QtQuick; Image { source: \"qrc:/graphics/a.png\" }"_s;
    QTest::newRow("escaped scheme")
        << u"import QtQuick; Image { source: \"\\u0066ile:///etc/passwd\" }"_s;
    QTest::newRow("number for a text") << u"import QtQuick; Text { text: 5 }"_s;
    QTest::newRow("enum of another property")
        << u"import QtQuick; Text { wrapMode: Text.AlignHCenter }"_s;
    QTest::newRow("enum chain") << u"import QtQuick; Text { wrapMode: Text.WordWrap.x }"_s;
    QTest::newRow("flags") << u"import QtQuick; Text { wrapMode: Text.Wrap | Text.WordWrap }"_s;
    QTest::newRow("hexadecimal") << u"import QtQuick; Item { width: 0x10 }"_s;
    QTest::newRow("octal") << u"import QtQuick; Item { width: 0777 }"_s;
    QTest::newRow("template string") << u"import QtQuick; Text { text: `a` }"_s;
    QTest::newRow("unterminated string") << u"import QtQuick; Text { text: \"a }"_s;
    QTest::newRow("unterminated comment") << u"import QtQuick; Item { /* }"_s;
    QTest::newRow("line continuation") << u"import QtQuick; Text { text: \"a\\\nb\" }"_s;
    QTest::newRow("code after a line separator in a comment")
        << u"import QtQuick; Item { // a\u2028Component.onCompleted: Qt.quit()\n}"_s;
    QTest::newRow("code after a carriage return in a comment")
        << u"import QtQuick; Item { // a\rComponent.onCompleted: Qt.quit()\n}"_s;
    QTest::newRow("non-ASCII name") << u"import QtQuick; Item { wídth: 5 }"_s;
    QTest::newRow("dollar name") << u"import QtQuick; Item { $x: 5 }"_s;
    QTest::newRow("empty") << QString();
}

void TestNoticeChecker::refuses()
{
    QFETCH(QString, source);
    QVERIFY(!NoticeChecker::refusal(source).isEmpty());
}

void TestNoticeChecker::bounds_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("accepted");

    const auto nested = [](int depth) {
        return u"import QtQuick; "_s + u"Item { "_s.repeated(depth) + u"}"_s.repeated(depth);
    };
    const auto siblings = [](const QString &child, int count) {
        return u"import QtQuick; Column { "_s + child.repeated(count) + u"}"_s;
    };
    const QString image = u"Image { source: \"http://e.org/a.png\" } "_s;
    const QString text = u"import QtQuick; Text { text: \"%1\" }"_s;

    QTest::newRow("deepest nesting") << nested(NoticeChecker::MaxDepth) << true;
    QTest::newRow("too deep") << nested(NoticeChecker::MaxDepth + 1) << false;
    QTest::newRow("most objects") << siblings(u"Item {} "_s, NoticeChecker::MaxObjects - 1) << true;
    QTest::newRow("too many objects")
        << siblings(u"Item {} "_s, NoticeChecker::MaxObjects) << false;
    QTest::newRow("most images") << siblings(image, NoticeChecker::MaxImages) << true;
    QTest::newRow("too many images") << siblings(image, NoticeChecker::MaxImages + 1) << false;
    QTest::newRow("longest text") << text.arg(QString(
                                         NoticeChecker::MaxSourceLength - text.size() + 2, u'a'))
                                  << true;
    QTest::newRow("too long text")
        << text.arg(QString(NoticeChecker::MaxSourceLength - text.size() + 3, u'a')) << false;
    QTest::newRow("widest") << u"import QtQuick; Item { width: 4096 }"_s << true;
    QTest::newRow("too wide") << u"import QtQuick; Item { width: 4097 }"_s << false;
    QTest::newRow("negative width") << u"import QtQuick; Item { width: -1 }"_s << false;
    QTest::newRow("huge exponent") << u"import QtQuick; Item { width: 1e308 }"_s << false;
    QTest::newRow("largest font") << u"import QtQuick; Text { font.pixelSize: 96 }"_s << true;
    QTest::newRow("too large font") << u"import QtQuick; Text { font.pixelSize: 97 }"_s << false;
}

void TestNoticeChecker::bounds()
{
    QFETCH(QString, source);
    QFETCH(bool, accepted);
    QCOMPARE(NoticeChecker::refusal(source).isEmpty(), accepted);
}

QTEST_APPLESS_MAIN(TestNoticeChecker)

#include "tst_noticechecker.moc"
