#include "OpenedLinks.h"

#include <QDesktopServices>

namespace {

const QStringList schemes{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
                          QStringLiteral("mailto"), QStringLiteral("javascript")};

} // namespace

OpenedLinks::OpenedLinks(QObject *parent) : QObject(parent)
{
    for (const QString &scheme : schemes)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

OpenedLinks::~OpenedLinks()
{
    for (const QString &scheme : schemes)
        QDesktopServices::unsetUrlHandler(scheme);
}

void OpenedLinks::open(const QUrl &url)
{
    m_links.append(url.toString());
    emit linksChanged();
}
