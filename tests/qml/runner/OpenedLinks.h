#pragma once

#include <QObject>
#include <QStringList>
#include <QUrl>

// Takes the place of the desktop's browser while it lives: every address the documents open
// with Qt.openUrlExternally, for the schemes a link may carry, is recorded instead of opened.
class OpenedLinks : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QStringList links READ links NOTIFY linksChanged)

public:
    explicit OpenedLinks(QObject *parent = nullptr);
    ~OpenedLinks() override;

    QStringList links() const { return m_links; }

signals:
    void linksChanged();

private slots:
    void open(const QUrl &url);

private:
    QStringList m_links;
};
