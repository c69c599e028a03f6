#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace devserver {

// The map under /map/: the tile-provider repository the map plugin reads (a street source
// first, a satellite source second) and the tiles, painted from the road grid and cached on disk.
class MapService
{
public:
    struct Reply
    {
        QByteArray body;
        QByteArray contentType;
    };

    // `baseUrl` is the plain-HTTP address the server listens on, e.g. "http://127.0.0.1:8080".
    MapService(const QString &cacheDir, const QString &baseUrl);

    // `path` below /map/, e.g. "street", "satellite", "tiles/street/12/2745/1600.png"; high-dpi
    // variants are "street-hires" and "tiles/street/12/2745/1600@2x.png". Nothing for any
    // other path.
    std::optional<Reply> handle(const QString &path);

    // Tiles painted since construction, the ones served from the disk cache not counted.
    int tilesPainted() const { return m_tilesPainted; }

private:
    std::optional<Reply> providerFile(const QString &name) const;
    std::optional<Reply> tile(const QString &path);

    QString m_cacheDir;
    QString m_baseUrl;
    int m_tilesPainted = 0;
};

} // namespace devserver
