#include "link.h"

#include "box.h"

#include <algorithm>

Link::Link(Box &box, Options options, QObject *parent)
    : QObject(parent), box_(box), options_(std::move(options))
{
    clock_.start();
    sendTimer_.setSingleShot(true);
    sendTimer_.setTimerType(Qt::PreciseTimer);
    connect(&sendTimer_, &QTimer::timeout, this, &Link::sendDue);
    connect(&server_, &QTcpServer::newConnection, this, &Link::acceptNext);
}

bool Link::open(QString *error)
{
    if (options_.logPath.isEmpty())
        return true;
    log_.setFileName(options_.logPath);
    if (!log_.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = QStringLiteral("cannot open log %1: %2").arg(options_.logPath, log_.errorString());
        return false;
    }
    return true;
}

bool Link::listen(const QHostAddress &address, quint16 port, QString *error)
{
    if (!server_.listen(address, port)) {
        *error = QStringLiteral("cannot listen on %1:%2: %3")
                     .arg(address.toString()).arg(port).arg(server_.errorString());
        return false;
    }
    return true;
}

void Link::acceptNext()
{
    // Further clients wait in the queue until the current one has gone.
    if (client_ || !server_.hasPendingConnections())
        return;
    QTcpSocket *socket = server_.nextPendingConnection();
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    client_ = socket;
    input_.clear();
    havePrevious_ = false;
    frames_ = 0;
    connect(socket, &QTcpSocket::readyRead, this, &Link::readFrames);
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] { clientGone(socket); },
            Qt::QueuedConnection);
    if (socket->bytesAvailable() > 0)
        readFrames();
}

void Link::clientGone(QTcpSocket *socket)
{
    socket->deleteLater();
    if (client_ == socket) {
        client_ = nullptr;
        pending_.clear();
        sendTimer_.stop();
    }
    acceptNext();
}

void Link::readFrames()
{
    QTcpSocket *socket = client_;
    if (!socket || socket->state() != QAbstractSocket::ConnectedState)
        return;
    input_ += socket->readAll();
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = input_.indexOf('!', start);
        if (end < 0)
            break;
        const QByteArray frame = input_.mid(start, end - start);
        start = end + 1;
        logFrame(frame);
        ++frames_;
        if (options_.dropAfter > 0 && frames_ >= options_.dropAfter) {
            // The last frame is lost with the connection.
            input_.clear();
            pending_.clear();
            sendTimer_.stop();
            socket->disconnectFromHost();
            return;
        }
        const bool answer = answers(frame);
        previous_ = frame;
        havePrevious_ = true;
        // A frame the box does not answer is treated as lost: it changes nothing.
        if (answer) {
            const QByteArray bytes = box_.handle(frame);
            reply(bytes, box_.replyDelayMs());
        }
    }
    input_.remove(0, start);
}

bool Link::answers(const QByteArray &frame) const
{
    if (options_.silent)
        return false;
    if (options_.silentCodes.contains(frame.left(5)))
        return false;
    if (options_.repeatOnly && !(havePrevious_ && previous_ == frame))
        return false;
    return true;
}

void Link::reply(const QByteArray &bytes, int extraDelayMs)
{
    if (options_.delayMs <= 0 && options_.chunks <= 1 && extraDelayMs <= 0) {
        client_->write(bytes);
        client_->flush();
        return;
    }
    const qint64 now = clock_.elapsed();
    qint64 due = now + options_.delayMs + extraDelayMs;
    if (!pending_.empty())
        due = std::max(due, pending_.back().due);
    const qsizetype pieces = std::clamp<qsizetype>(options_.chunks, 1, std::max<qsizetype>(bytes.size(), 1));
    qsizetype from = 0;
    for (qsizetype i = 0; i < pieces; ++i) {
        const qsizetype to = bytes.size() * (i + 1) / pieces;
        pending_.push_back({due + i * options_.chunkGapMs, bytes.mid(from, to - from)});
        from = to;
    }
    sendDue();
}

void Link::sendDue()
{
    const qint64 now = clock_.elapsed();
    bool wrote = false;
    while (!pending_.empty() && pending_.front().due <= now) {
        if (client_)
            client_->write(pending_.front().bytes);
        pending_.pop_front();
        wrote = true;
    }
    if (wrote && client_)
        client_->flush();
    if (!pending_.empty())
        sendTimer_.start(int(pending_.front().due - now));
}

void Link::logFrame(const QByteArray &frame)
{
    if (!log_.isOpen())
        return;
    log_.write(frame + "!\n");
    log_.flush();
}
