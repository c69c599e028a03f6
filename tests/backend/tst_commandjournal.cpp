#include "CommandJournal.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

int addSent(CommandJournal &journal, const QString &serial = QStringLiteral("358000000000001"))
{
    return journal.add(serial, QStringLiteral("09120000001"), 0, QStringLiteral("قطع برق خودرو"),
                       QStringLiteral("[oribel,14,3,1]}]"), QStringLiteral("sent"));
}

} // namespace

class TestCommandJournal : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void transitions_data();
    void transitions();
    void keepsTheNewestOnly();
    void restartKeepsEntries();
    void damagedFileSetAside_data();
    void damagedFileSetAside();

private:
    QString journalPath() const { return m_dir->filePath(QStringLiteral("commands.sqlite")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestCommandJournal::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestCommandJournal::transitions_data()
{
    QTest::addColumn<QString>("added");
    QTest::addColumn<QStringList>("changes");
    QTest::addColumn<QList<bool>>("accepted");
    QTest::addColumn<QString>("final");

    QTest::newRow("sent, then done")
        << "sent" << QStringList{"done"} << QList<bool>{true} << "done";
    QTest::newRow("sent, then no answer")
        << "sent" << QStringList{"noAnswer"} << QList<bool>{true} << "noAnswer";
    QTest::newRow("sent, then answered")
        << "sent" << QStringList{"answered"} << QList<bool>{true} << "answered";
    QTest::newRow("sent, then the modem failed")
        << "sent" << QStringList{"failed"} << QList<bool>{true} << "failed";
    QTest::newRow("failed at once")
        << "failed" << QStringList{"done"} << QList<bool>{false} << "failed";
    QTest::newRow("a late report does not turn no answer into done")
        << "sent" << QStringList{"noAnswer", "done"} << QList<bool>{true, false} << "noAnswer";
    QTest::newRow("done stays done") << "sent" << QStringList{"done", "noAnswer", "failed"}
                                     << QList<bool>{true, false, false} << "done";
    QTest::newRow("back to sent is refused")
        << "sent" << QStringList{"sent", "done"} << QList<bool>{false, true} << "done";
    QTest::newRow("an unknown state is refused")
        << "sent" << QStringList{"lost", ""} << QList<bool>{false, false} << "sent";
}

void TestCommandJournal::transitions()
{
    QFETCH(QString, added);
    QFETCH(QStringList, changes);
    QFETCH(QList<bool>, accepted);
    QFETCH(QString, final);

    CommandJournal journal(journalPath());
    const int id =
        journal.add(QStringLiteral("358000000000001"), QStringLiteral("09120000001"), 1,
                    QStringLiteral("قطع برق خودرو"), QStringLiteral("[oribel,14,3,1]}]"), added);
    QVERIFY(id > 0);
    for (qsizetype i = 0; i < changes.size(); ++i)
        QCOMPARE(journal.setState(id, changes.at(i)), accepted.at(i));
    const QVariantMap entry = journal.entry(id);
    QCOMPARE(entry.value("state").toString(), final);
    QCOMPARE(entry.value("simSlot").toInt(), 1);
    QCOMPARE(entry.value("frame").toString(), QStringLiteral("[oribel,14,3,1]}]"));
    QVERIFY(qAbs(entry.value("time").toDateTime().secsTo(QDateTime::currentDateTime())) < 60);

    // Only a course's start is added: an entry cannot be born ended as done.
    QCOMPARE(journal.add("358000000000001", "09120000001", 0, "x", "[oribel,0]}]", "done"), 0);
}

void TestCommandJournal::keepsTheNewestOnly()
{
    CommandJournal journal(journalPath());
    int first = 0;
    for (int i = 0; i < CommandJournal::bound + 3; ++i) {
        const int id = addSent(journal, i % 2 ? QStringLiteral("358000000000001")
                                              : QStringLiteral("358000000000003"));
        QVERIFY(id > 0);
        if (i == 0)
            first = id;
    }
    const QVariantList one = journal.entries(QStringLiteral("358000000000001"));
    const QVariantList three = journal.entries(QStringLiteral("358000000000003"));
    QCOMPARE(one.size() + three.size(), CommandJournal::bound);
    QVERIFY(journal.entry(first + 2).isEmpty());
    QVERIFY(!journal.entry(first + 3).isEmpty());
    // Newest first.
    QVERIFY(one.constFirst().toMap().value("id").toInt() >
            one.constLast().toMap().value("id").toInt());
}

void TestCommandJournal::restartKeepsEntries()
{
    int done = 0;
    int open = 0;
    {
        CommandJournal journal(journalPath());
        done = addSent(journal);
        open = addSent(journal);
        QVERIFY(journal.setState(done, QStringLiteral("done")));
    }
    QCOMPARE(QFile::permissions(journalPath()), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                    QFileDevice::ReadUser | QFileDevice::WriteUser);
    CommandJournal again(journalPath());
    const QVariantList entries = again.entries(QStringLiteral("358000000000001"));
    QCOMPARE(entries.size(), 2);
    QCOMPARE(entries.at(0).toMap().value("id").toInt(), open);
    QCOMPARE(entries.at(0).toMap().value("state").toString(), QStringLiteral("sent"));
    QCOMPARE(entries.at(1).toMap().value("state").toString(), QStringLiteral("done"));
    QCOMPARE(entries.at(1).toMap().value("asked").toString(), QStringLiteral("قطع برق خودرو"));
    QVERIFY(again.setState(open, QStringLiteral("noAnswer")));
}

void TestCommandJournal::damagedFileSetAside_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("otherTable");

    QTest::newRow("not a database") << QByteArray("this is not a journal\n") << QString();
    QByteArray header("SQLite format 3");
    header.append('\0');
    header.append(QByteArray(84, '\xff'));
    QTest::newRow("a cut header") << header << QString();
    QTest::newRow("a table of the same name, other columns")
        << QByteArray() << QStringLiteral("CREATE TABLE commands (what TEXT)");
}

void TestCommandJournal::damagedFileSetAside()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, otherTable);

    if (otherTable.isEmpty()) {
        QFile file(journalPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    } else {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "other");
        db.setDatabaseName(journalPath());
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(otherTable));
        db.close();
    }
    QFile original(journalPath());
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();
    QSqlDatabase::removeDatabase("other");

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("could not be read; set aside as .*"
                                                          "commands\\.sqlite\\.damaged-\\d{14}"));
    CommandJournal journal(journalPath());
    QVERIFY(addSent(journal) > 0);
    QCOMPARE(journal.entries(QStringLiteral("358000000000001")).size(), 1);

    const QStringList aside =
        QDir(m_dir->path()).entryList({QStringLiteral("commands.sqlite.damaged-*")});
    QCOMPARE(aside.size(), 1);
    QFile kept(m_dir->filePath(aside.constFirst()));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), before);
}

QTEST_GUILESS_MAIN(TestCommandJournal)
#include "tst_commandjournal.moc"
