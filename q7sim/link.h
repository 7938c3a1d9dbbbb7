#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <deque>

class Box;

// The TCP command link: one client at a time, frames ended by '!', one reply
// per frame unless told to misbehave.
class Link : public QObject {
    Q_OBJECT
public:
    struct Options {
        QString logPath;
        bool silent = false;
        QSet<QByteArray> silentCodes;
        bool repeatOnly = false;
        int delayMs = 0;
        int chunks = 1;
        int chunkGapMs = 50;
        int dropAfter = 0;
    };

    Link(Box &box, Options options, QObject *parent = nullptr);

    bool open(QString *error);
    bool listen(const QHostAddress &address, quint16 port, QString *error);
    quint16 port() const { return server_.serverPort(); }

private:
    void acceptNext();
    void readFrames();
    void clientGone(QTcpSocket *socket);
    bool answers(const QByteArray &frame) const;
    void reply(const QByteArray &bytes, int extraDelayMs);
    void sendDue();
    void logFrame(const QByteArray &frame);

    Box &box_;
    Options options_;
    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    QByteArray input_;
    QByteArray previous_;
    bool havePrevious_ = false;
    int frames_ = 0;
    QFile log_;

    // Replies held back by --delay-ms or --chunks, in send order.
    struct Piece {
        qint64 due;
        QByteArray bytes;
    };
    std::deque<Piece> pending_;
    QTimer sendTimer_;
    QElapsedTimer clock_;
};
