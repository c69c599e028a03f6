#include "MapService.h"

#include "TilePainter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

namespace devserver {

namespace {

const QString hiresSuffix = QStringLiteral("-hires");

// The map types the plugin asks the repository for, and the tile style behind each; the
// plugin waits for every one of them, so the ones the app never shows get the street tiles.
QString styleOfMapType(const QString &name)
{
    if (name == QLatin1String("satellite"))
        return name;
    static const QStringList streetLike = {
        QStringLiteral("street"),        QStringLiteral("cycle"),   QStringLiteral("transit"),
        QStringLiteral("night-transit"), QStringLiteral("terrain"), QStringLiteral("hiking")};
    return streetLike.contains(name) ? QStringLiteral("street") : QString();
}

std::optional<TilePainter::Style> tileStyle(const QString &name)
{
    if (name == QLatin1String("street"))
        return TilePainter::Style::Street;
    if (name == QLatin1String("satellite"))
        return TilePainter::Style::Satellite;
    return std::nullopt;
}

// A tile number in range at its zoom; plain ASCII digits only (the pattern allows no sign).
std::optional<int> tileIndex(const QString &text, int limit)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value >= limit)
        return std::nullopt;
    return value;
}

bool isUsableTile(const QByteArray &png, int size)
{
    QImage image;
    return image.loadFromData(png, "PNG") && image.width() == size && image.height() == size;
}

} // namespace

MapService::MapService(const QString &cacheDir, const QString &baseUrl)
    : m_cacheDir(cacheDir),
      m_baseUrl(baseUrl.endsWith(QLatin1Char('/')) ? baseUrl.chopped(1) : baseUrl)
{
}

std::optional<MapService::Reply> MapService::handle(const QString &path)
{
    if (path.startsWith(QLatin1String("tiles/")))
        return tile(path);
    return providerFile(path);
}

std::optional<MapService::Reply> MapService::providerFile(const QString &name) const
{
    const bool hires = name.endsWith(hiresSuffix);
    const QString style = styleOfMapType(hires ? name.chopped(hiresSuffix.size()) : name);
    if (style.isEmpty())
        return std::nullopt;

    const QString file = hires ? QStringLiteral("%y@2x.png") : QStringLiteral("%y.png");
    const QJsonObject provider{
        {QStringLiteral("Enabled"), true},
        {QStringLiteral("UrlTemplate"),
         QStringLiteral("%1/map/tiles/%2/%z/%x/").arg(m_baseUrl, style) + file},
        {QStringLiteral("ImageFormat"), QStringLiteral("png")},
        {QStringLiteral("MapCopyRight"), QStringLiteral("Kova development server")},
        {QStringLiteral("DataCopyRight"), QStringLiteral("synthetic road grid")},
        {QStringLiteral("MinimumZoomLevel"), 0},
        {QStringLiteral("MaximumZoomLevel"), TilePainter::maxZoom},
    };
    return Reply{QJsonDocument(provider).toJson(QJsonDocument::Compact),
                 QByteArrayLiteral("application/json")};
}

std::optional<MapService::Reply> MapService::tile(const QString &path)
{
    static const QRegularExpression pattern(
        QStringLiteral("^tiles/([a-z]+)/([0-9]{1,2})/([0-9]{1,6})/([0-9]{1,6})(@2x)?\\.png$"));
    const QRegularExpressionMatch match = pattern.match(path);
    if (!match.hasMatch())
        return std::nullopt;
    const std::optional<TilePainter::Style> style = tileStyle(match.captured(1));
    const std::optional<int> z = tileIndex(match.captured(2), TilePainter::maxZoom + 1);
    if (!style || !z)
        return std::nullopt;
    const std::optional<int> x = tileIndex(match.captured(3), 1 << *z);
    const std::optional<int> y = tileIndex(match.captured(4), 1 << *z);
    if (!x || !y)
        return std::nullopt;
    const int scale = match.hasCaptured(5) ? 2 : 1;
    const int size = TilePainter::tileSize * scale;

    // Named by the numbers, not the text, so "007" and "7" share one file.
    const QString cacheFile =
        QDir(m_cacheDir)
            .filePath(QStringLiteral("%1/%2/%3/%4%5.png")
                          .arg(match.captured(1))
                          .arg(*z)
                          .arg(*x)
                          .arg(*y)
                          .arg(scale == 2 ? QStringLiteral("@2x") : QString()));
    const QByteArray png = QByteArrayLiteral("image/png");
    QFile cached(cacheFile);
    if (cached.open(QIODevice::ReadOnly)) {
        const QByteArray body = cached.readAll();
        if (isUsableTile(body, size))
            return Reply{body, png};
    }

    // A missing or broken cache file is painted afresh; failing to store it only costs time.
    const QImage image = TilePainter::paint(*style, *z, *x, *y, scale);
    ++m_tilesPainted;
    QByteArray body;
    QBuffer buffer(&body);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    QDir().mkpath(QFileInfo(cacheFile).path());
    QSaveFile out(cacheFile);
    if (out.open(QIODevice::WriteOnly) && out.write(body) == body.size())
        out.commit();
    return Reply{body, png};
}

} // namespace devserver
