#include "discovery.h"

#include <QNetworkDatagram>

Discovery::Discovery(QList<Box> boxes, QByteArray firmware, QObject *parent)
    : QObject(parent), boxes_(std::move(boxes)), firmware_(std::move(firmware))
{
    connect(&socket_, &QUdpSocket::readyRead, this, &Discovery::readDatagrams);
}

bool Discovery::bind(const QHostAddress &address, quint16 port, QString *error)
{
    // Shared, so that a program bound to the wildcard address on the same
    // port can run beside us.
    if (!socket_.bind(address, port, QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
        *error = QStringLiteral("cannot bind discovery to %1:%2: %3")
                     .arg(address.toString()).arg(port).arg(socket_.errorString());
        return false;
    }
    return true;
}

QByteArray Discovery::reply(const QHostAddress &address, const QByteArray &serial,
                            const QByteArray &firmware)
{
    const quint32 ip = address.toIPv4Address();
    const QByteArray dotted = address.toString().toLatin1();
    const qsizetype dot = dotted.indexOf('.');
    // The reader finds the first number in the three characters before the
    // first dot, padded with blanks.
    QByteArray text = "IP:" + dotted.left(dot).rightJustified(3, ' ') + dotted.mid(dot);
    QByteArray fw = firmware.isEmpty() ? QByteArray("-") : firmware;
    fw.replace(' ', '_'); // a blank would add a field
    const QByteArray mac = QStringLiteral("00-50-C2-%1-%2-%3")
                               .arg((ip >> 16) & 0xff, 2, 16, QLatin1Char('0'))
                               .arg((ip >> 8) & 0xff, 2, 16, QLatin1Char('0'))
                               .arg(ip & 0xff, 2, 16, QLatin1Char('0'))
                               .toUpper().toLatin1();
    text += " 255.255.255.0 " + mac + ' ' + fw;
    // 15-character group: " SNr: " then the serial. Nothing follows it: a
    // dot after it would be taken for the next reply.
    text += " SNr: " + serial;
    return text;
}

void Discovery::readDatagrams()
{
    while (socket_.hasPendingDatagrams()) {
        const QNetworkDatagram request = socket_.receiveDatagram();
        if (request.data() != "0 1 ")
            continue;
        for (const Box &b : boxes_)
            socket_.writeDatagram(reply(b.address, b.serial, firmware_), request.senderAddress(),
                                  quint16(request.senderPort()));
    }
}
