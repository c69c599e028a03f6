#include "PhoneServices.h"
#include "ProcessSetup.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

// Peers find the app's installed files by the id the app gives them: the shell by the window's
// desktop file name (launcher entry, icon), the notification server and the location service by
// the phone services' id. Each must be the name the files install under.
class TestDesktopId : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The process set-up restricts the per-user settings file: keep it out of the real home.
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        setUpProcess();
    }

    void idIsTheInstalledName_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("window's desktop file name") << QGuiApplication::desktopFileName();
        QTest::newRow("phone services' id") << PhoneServices::desktopId();
    }

    void idIsTheInstalledName()
    {
        QFETCH(QString, id);
        QCOMPARE(id, QStringLiteral(KOVA_DESKTOP_ID));
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(TestDesktopId)
#include "tst_desktopid.moc"
