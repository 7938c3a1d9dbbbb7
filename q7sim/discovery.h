#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QUdpSocket>

// Answers the discovery datagram "0 1 " with one datagram per simulated box.
class Discovery : public QObject {
    Q_OBJECT
public:
    struct Box {
        QHostAddress address;
        QByteArray serial;
    };

    Discovery(QList<Box> boxes, QByteArray firmware, QObject *parent = nullptr);

    bool bind(const QHostAddress &address, quint16 port, QString *error);
    quint16 port() const { return socket_.localPort(); }

    // "IP:  7.0.0.9 255.255.255.0 00-50-C2-00-00-01 V1.02.7 SNr: Q70000001"
    static QByteArray reply(const QHostAddress &address, const QByteArray &serial,
                            const QByteArray &firmware);

private:
    void readDatagrams();

    QList<Box> boxes_;
    QByteArray firmware_;
    QUdpSocket socket_;
};
