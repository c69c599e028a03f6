#include "DatagramSink.h"

#include <QNetworkDatagram>

DatagramSink::DatagramSink(QObject *parent) : QObject(parent)
{
    // A second copy of the app finds the port taken; it runs on without a sink.
    m_socket.bind(QHostAddress::LocalHost, 7755);
    connect(&m_socket, &QUdpSocket::readyRead, this, &DatagramSink::drain);
}

void DatagramSink::drain()
{
    while (m_socket.hasPendingDatagrams())
        m_socket.receiveDatagram();
}
