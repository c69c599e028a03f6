#include "MapService.h"
#include "RoadGrid.h"
#include "TilePainter.h"

#include <QBuffer>
#include <QDirIterator>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <numbers>

using namespace devserver;

namespace {

const QString baseUrl = QStringLiteral("http://127.0.0.1:8080");

// Web Mercator worked out here on its own, so a slip in the painter's projection shows.
QPointF worldPixel(double lat, double lon, int z)
{
    const double n = std::pow(2.0, z) * 256.0;
    const double phi = lat * std::numbers::pi / 180.0;
    return {(lon + 180.0) / 360.0 * n,
            (1.0 - std::log(std::tan(phi) + 1.0 / std::cos(phi)) / std::numbers::pi) / 2.0 * n};
}

QPoint tileOf(double lat, double lon, int z)
{
    const QPointF world = worldPixel(lat, lon, z);
    return {int(world.x() / 256), int(world.y() / 256)};
}

QString tilePath(const QString &style, int z, const QPoint &tile, int scale = 1)
{
    return QStringLiteral("tiles/%1/%2/%3/%4%5.png")
        .arg(style)
        .arg(z)
        .arg(tile.x())
        .arg(tile.y())
        .arg(scale == 2 ? QStringLiteral("@2x") : QString());
}

QImage decode(const std::optional<MapService::Reply> &reply)
{
    return reply ? QImage::fromData(reply->body, "PNG") : QImage();
}

QByteArray pngOf(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return png;
}

int colourDistance(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
}

} // namespace

class TestMapService : public QObject
{
    Q_OBJECT

private slots:
    void repository_data();
    void repository();
    void baseUrlWithSlash();
    void streetsWhereTheyProject_data();
    void streetsWhereTheyProject();
    void townWithoutStreetsAtLowZoom();
    void nothingBeyondTheTown();
    void cachedTileIsNotRepainted();
    void brokenCacheIsRepainted_data();
    void brokenCacheIsRepainted();
    void goodPaths_data();
    void goodPaths();
    void badPaths_data();
    void badPaths();
};

void TestMapService::repository_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("file");

    QTest::newRow("street") << "street" << "street" << "%y.png";
    QTest::newRow("satellite") << "satellite" << "satellite" << "%y.png";
    QTest::newRow("cycle") << "cycle" << "street" << "%y.png";
    QTest::newRow("transit") << "transit" << "street" << "%y.png";
    QTest::newRow("night-transit") << "night-transit" << "street" << "%y.png";
    QTest::newRow("terrain") << "terrain" << "street" << "%y.png";
    QTest::newRow("hiking") << "hiking" << "street" << "%y.png";
    QTest::newRow("street high dpi") << "street-hires" << "street" << "%y@2x.png";
    QTest::newRow("satellite high dpi") << "satellite-hires" << "satellite" << "%y@2x.png";
}

void TestMapService::repository()
{
    QFETCH(QString, name);
    QFETCH(QString, style);
    QFETCH(QString, file);
    QTemporaryDir cache;
    MapService service(cache.path(), baseUrl);

    const auto reply = service.handle(name);
    QVERIFY(reply);
    QJsonParseError error;
    const QJsonObject provider = QJsonDocument::fromJson(reply->body, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QString urlTemplate = provider.value(QStringLiteral("UrlTemplate")).toString();
    QCOMPARE(urlTemplate, baseUrl + QStringLiteral("/map/tiles/") + style + "/%z/%x/" + file);
    QCOMPARE(provider.value(QStringLiteral("ImageFormat")).toString(), QStringLiteral("png"));
    QVERIFY(provider.value(QStringLiteral("MapCopyRight")).isString());
    QVERIFY(provider.value(QStringLiteral("DataCopyRight")).isString());
    QCOMPARE(provider.value(QStringLiteral("MaximumZoomLevel")).toInt(), 19);

    // The template filled in as the plugin does names a tile this service paints.
    QString tileUrl = urlTemplate;
    tileUrl.replace(QStringLiteral("%z"), QStringLiteral("3"))
        .replace(QStringLiteral("%x"), QStringLiteral("5"))
        .replace(QStringLiteral("%y"), QStringLiteral("2"));
    const QImage tile = decode(service.handle(tileUrl.mid((baseUrl + "/map/").size())));
    QCOMPARE(tile.width(), file.contains(QStringLiteral("@2x")) ? 512 : 256);
}

void TestMapService::baseUrlWithSlash()
{
    QTemporaryDir cache;
    MapService service(cache.path(), baseUrl + QLatin1Char('/'));
    const auto reply = service.handle(QStringLiteral("street"));
    QVERIFY(reply);
    QCOMPARE(QJsonDocument::fromJson(reply->body)["UrlTemplate"].toString(),
             baseUrl + QStringLiteral("/map/tiles/street/%z/%x/%y.png"));
}

void TestMapService::streetsWhereTheyProject_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<int>("scale");

    QTest::newRow("street") << "street" << 1;
    QTest::newRow("street high dpi") << "street" << 2;
    QTest::newRow("satellite") << "satellite" << 1;
    QTest::newRow("satellite high dpi") << "satellite" << 2;
}

// At zoom 15 a tile over the centre holds a few blocks: the middle of every street segment in
// it must be road, the middle of every block must not.
void TestMapService::streetsWhereTheyProject()
{
    QFETCH(QString, style);
    QFETCH(int, scale);
    const bool satellite = style == QLatin1String("satellite");
    const TilePainter::Palette palette = TilePainter::palette(
        satellite ? TilePainter::Style::Satellite : TilePainter::Style::Street);
    const int z = 15;
    const QPoint tile = tileOf(RoadGrid::centreLat, RoadGrid::centreLon, z);
    QTemporaryDir cache;
    MapService service(cache.path(), baseUrl);
    const QImage image = decode(service.handle(tilePath(style, z, tile, scale)));
    QCOMPARE(image.size(), QSize(256 * scale, 256 * scale));

    const auto pixelAt = [&](double lat, double lon) -> std::optional<QRgb> {
        const QPointF local = (worldPixel(lat, lon, z) - QPointF(tile * 256)) * scale;
        const QPoint pixel(int(std::floor(local.x())), int(std::floor(local.y())));
        if (!image.rect().contains(pixel))
            return std::nullopt;
        return image.pixel(pixel);
    };
    int roads = 0;
    int blocks = 0;
    for (int row = -3; row <= 3; ++row) {
        for (int column = -3; column <= 3; ++column) {
            const double lat = RoadGrid::centreLat + row * RoadGrid::latStep;
            const double lon = RoadGrid::centreLon + column * RoadGrid::lonStep;
            const double midLat = lat + RoadGrid::latStep / 2;
            const double midLon = lon + RoadGrid::lonStep / 2;
            for (const auto &onStreet : {pixelAt(lat, midLon), pixelAt(midLat, lon)}) {
                if (onStreet) {
                    QCOMPARE(QColor(*onStreet), palette.road);
                    ++roads;
                }
            }
            if (const auto inBlock = pixelAt(midLat, midLon)) {
                if (satellite)
                    QVERIFY(colourDistance(*inBlock, palette.road.rgb()) > 60);
                else
                    QCOMPARE(QColor(*inBlock), palette.town);
                ++blocks;
            }
        }
    }
    QVERIFY(roads >= 2);
    QVERIFY(blocks >= 1);
}

void TestMapService::townWithoutStreetsAtLowZoom()
{
    const int z = 11;
    const QPoint tile = tileOf(RoadGrid::centreLat, RoadGrid::centreLon, z);
    QTemporaryDir cache;
    MapService service(cache.path(), baseUrl);
    const QImage image = decode(service.handle(tilePath(QStringLiteral("street"), z, tile)));
    const QPointF onStreet =
        worldPixel(RoadGrid::centreLat, RoadGrid::centreLon + RoadGrid::lonStep / 2, z) -
        QPointF(tile * 256);
    QCOMPARE(image.pixelColor(onStreet.toPoint()),
             TilePainter::palette(TilePainter::Style::Street).town);
}

void TestMapService::nothingBeyondTheTown()
{
    const int z = 15;
    const QPoint tile = tileOf(RoadGrid::centreLat + 0.2, RoadGrid::centreLon, z);
    QTemporaryDir cache;
    MapService service(cache.path(), baseUrl);
    const QImage image = decode(service.handle(tilePath(QStringLiteral("street"), z, tile)));
    QCOMPARE(image.size(), QSize(256, 256));
    const QRgb land = TilePainter::palette(TilePainter::Style::Street).land.rgb();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != land)
                QFAIL(qPrintable(QStringLiteral("not land at %1,%2").arg(x).arg(y)));
        }
    }
}

void TestMapService::cachedTileIsNotRepainted()
{
    QTemporaryDir cache;
    const QPoint tile = tileOf(RoadGrid::centreLat, RoadGrid::centreLon, 15);
    const QString path = tilePath(QStringLiteral("satellite"), 15, tile);
    MapService first(cache.path(), baseUrl);
    const auto painted = first.handle(path);
    QVERIFY(painted);
    QCOMPARE(painted->contentType, QByteArray("image/png"));
    QCOMPARE(first.tilesPainted(), 1);
    QCOMPARE(first.handle(path)->body, painted->body);
    QCOMPARE(first.tilesPainted(), 1);
    QVERIFY(QFile::exists(cache.filePath(path.mid(QStringLiteral("tiles/").size()))));

    // A restarted server finds the tile on disk.
    MapService second(cache.path(), baseUrl);
    QCOMPARE(second.handle(path)->body, painted->body);
    QCOMPARE(second.tilesPainted(), 0);
}

void TestMapService::brokenCacheIsRepainted_data()
{
    QTest::addColumn<QByteArray>("content");

    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::red);
    const QByteArray tilePng = pngOf(TilePainter::paint(TilePainter::Style::Street, 15, 100, 200));

    QTest::newRow("garbage") << QByteArray("not a picture at all");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("truncated") << tilePng.left(tilePng.size() / 2);
    QTest::newRow("wrong size") << pngOf(small);
}

void TestMapService::brokenCacheIsRepainted()
{
    QFETCH(QByteArray, content);
    QTemporaryDir cache;
    const QString path = tilePath(QStringLiteral("street"), 15, QPoint(100, 200));
    const QString file = cache.filePath(QStringLiteral("street/15/100/200.png"));
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    QFile broken(file);
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write(content);
    broken.close();

    MapService service(cache.path(), baseUrl);
    const auto reply = service.handle(path);
    QVERIFY(reply);
    QCOMPARE(service.tilesPainted(), 1);
    QCOMPARE(decode(reply).size(), QSize(256, 256));
    QFile mended(file);
    QVERIFY(mended.open(QIODevice::ReadOnly));
    QCOMPARE(mended.readAll(), reply->body);
}

void TestMapService::goodPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("size");

    QTest::newRow("whole world") << "tiles/street/0/0/0.png" << 256;
    QTest::newRow("last tile at the deepest zoom") << "tiles/satellite/19/524287/524287.png" << 256;
    QTest::newRow("high dpi") << "tiles/street/12/2726/1609@2x.png" << 512;
    QTest::newRow("leading zeros") << "tiles/street/02/03/001.png" << 256;
}

void TestMapService::goodPaths()
{
    QFETCH(QString, path);
    QFETCH(int, size);
    QTemporaryDir cache;
    MapService service(cache.path(), baseUrl);
    QCOMPARE(decode(service.handle(path)).size(), QSize(size, size));
}

void TestMapService::badPaths_data()
{
    QTest::addColumn<QString>("path");

    QTest::newRow("empty") << "";
    QTest::newRow("unknown map type") << "roads";
    QTest::newRow("high dpi twice") << "street-hires-hires";
    QTest::newRow("zoom 20") << "tiles/street/20/0/0.png";
    QTest::newRow("negative zoom") << "tiles/street/-1/0/0.png";
    QTest::newRow("negative x") << "tiles/street/3/-1/0.png";
    QTest::newRow("x beyond the zoom") << "tiles/street/3/8/0.png";
    QTest::newRow("y beyond the zoom") << "tiles/street/3/0/8.png";
    QTest::newRow("huge number") << "tiles/street/5/99999999999/0.png";
    QTest::newRow("not a number") << "tiles/street/a/0/0.png";
    QTest::newRow("other digits") << QStringLiteral("tiles/street/\u0663/0/0.png");
    QTest::newRow("parent folder") << "tiles/street/../0/0.png";
    QTest::newRow("escape the cache") << "tiles/../../etc/passwd";
    QTest::newRow("unknown style") << "tiles/moon/1/0/0.png";
    QTest::newRow("map type that is no style") << "tiles/cycle/1/0/0.png";
    QTest::newRow("other format") << "tiles/street/1/0/0.jpg";
    QTest::newRow("no extension") << "tiles/street/1/0/0";
    QTest::newRow("too many parts") << "tiles/street/1/0/0/0.png";
    QTest::newRow("trailing part") << "tiles/street/1/0/0.png/x";
    QTest::newRow("other scale") << "tiles/street/1/0/0@3x.png";
}

void TestMapService::badPaths()
{
    QFETCH(QString, path);
    QTemporaryDir cache;
    MapService service(cache.path(), baseUrl);
    QVERIFY(!service.handle(path));
    QCOMPARE(service.tilesPainted(), 0);
    QVERIFY(!QDirIterator(cache.path(), QDir::AllEntries | QDir::NoDotAndDotDot).hasNext());
}

QTEST_GUILESS_MAIN(TestMapService)
#include "tst_mapservice.moc"
