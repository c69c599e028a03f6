// The graphics the documents name are carried in the resources and decode: a misspelt
// "qrc:/graphics/..." literal or a broken file shows only as an empty spot on a screen.

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>
#include <QTest>

namespace {

const QString graphicsRoot = QStringLiteral(":/graphics");

// Names a document builds by expression ("qrc:/graphics/gsmSQ_" + level + ".svg") escape the
// literal scan; each such family is listed here with every member the documents can reach.
struct Family
{
    const char *prefix;
    QStringList members;
};

const QList<Family> &families()
{
    static const QList<Family> list{
        {"gsmSQ_", {"0.svg", "1.svg", "2.svg", "3.svg", "4.svg"}},
        {"gpsSQ_", {"0.svg", "1.svg", "2.svg", "3.svg", "4.svg"}},
        {"battery-", {"0.png", "20.png", "40.png", "60.png", "80.png", "100.png"}},
        {"simCharge-", {"green.svg", "red.svg", "yellow.svg"}},
    };
    return list;
}

QStringList filesUnder(const QString &root, const QStringList &suffixes)
{
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (suffixes.contains(QFileInfo(path).suffix().toLower()))
            files << path;
    }
    files.sort();
    return files;
}

bool hasImageSuffix(const QString &name)
{
    static const QStringList suffixes{"svg", "png", "jpg", "ico"};
    return suffixes.contains(QFileInfo(name).suffix().toLower());
}

bool hasVisiblePixel(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) > 0)
                return true;
        }
    }
    return false;
}

// The image plugin for SVG may be absent where the test runs; the renderer of the same module
// then decodes the file the way the plugin would.
QImage decode(const QString &path)
{
    QImageReader reader(path);
    if (reader.canRead())
        return reader.read();
    if (QFileInfo(path).suffix().toLower() != QLatin1String("svg"))
        return {};
    QSvgRenderer renderer(path);
    if (!renderer.isValid() || renderer.defaultSize().isEmpty())
        return {};
    QImage image(renderer.defaultSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

} // namespace

class TstResources : public QObject
{
    Q_OBJECT

private slots:
    void resourcesArePresent();
    void literalGraphicExists_data();
    void literalGraphicExists();
    void familyMemberExists_data();
    void familyMemberExists();
    void graphicDecodes_data();
    void graphicDecodes();
};

void TstResources::resourcesArePresent()
{
    QVERIFY(QFile::exists(QStringLiteral(":/main.qml")));
    QVERIFY(!filesUnder(graphicsRoot, {"svg", "png", "jpg", "ico"}).isEmpty());
}

void TstResources::literalGraphicExists_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("literal");

    static const QRegularExpression literal(QStringLiteral("[\"'](qrc:/graphics/[^\"'\\s]*)[\"']"));
    for (const QString &document : filesUnder(QStringLiteral(":/"), {"qml", "js"})) {
        QFile file(document);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(document));
        const QString text = QString::fromUtf8(file.readAll());
        QSet<QString> seen;
        for (const auto &match : literal.globalMatch(text)) {
            const QString url = match.captured(1);
            if (seen.contains(url))
                continue;
            seen.insert(url);
            QTest::addRow("%s %s", qPrintable(document), qPrintable(url)) << document << url;
        }
    }
}

void TstResources::literalGraphicExists()
{
    QFETCH(QString, literal);

    const QString name = literal.mid(QStringLiteral("qrc:/graphics/").size());
    if (hasImageSuffix(name)) {
        QVERIFY2(QFile::exists(graphicsRoot + u'/' + name), qPrintable(literal));
        return;
    }
    // A fragment of a name built by expression must belong to a listed family.
    bool known = false;
    for (const Family &family : families())
        known = known || QLatin1String(family.prefix).startsWith(name);
    QVERIFY2(known,
             qPrintable(literal + QStringLiteral(" is built by expression; list its family")));
}

void TstResources::familyMemberExists_data()
{
    QTest::addColumn<QString>("name");
    for (const Family &family : families()) {
        for (const QString &member : family.members) {
            const QString name = QLatin1String(family.prefix) + member;
            QTest::addRow("%s", qPrintable(name)) << name;
        }
    }
}

void TstResources::familyMemberExists()
{
    QFETCH(QString, name);
    QVERIFY2(QFile::exists(graphicsRoot + u'/' + name), qPrintable(name));
}

void TstResources::graphicDecodes_data()
{
    QTest::addColumn<QString>("path");
    for (const QString &path : filesUnder(graphicsRoot, {"svg", "png", "jpg", "ico"}))
        QTest::addRow("%s", qPrintable(path)) << path;
}

void TstResources::graphicDecodes()
{
    QFETCH(QString, path);

    const QImage image = decode(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    QVERIFY(image.width() > 0 && image.height() > 0);
    QVERIFY2(hasVisiblePixel(image), qPrintable(path + QStringLiteral(" draws nothing")));
}

QTEST_GUILESS_MAIN(TstResources)
#include "tst_resources.moc"
