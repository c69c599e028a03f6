#pragma once

#include <QUdpSocket>

// Keeps 127.0.0.1:7755 bound for the life of the process and drops whatever arrives there.
class DatagramSink : public QObject
{
    Q_OBJECT
public:
    explicit DatagramSink(QObject *parent = nullptr);

private:
    void drain();

    QUdpSocket m_socket;
};
