#include "harness.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QUuid>

namespace {

void ensureApplication()
{
    static int argc = 1;
    static char name[] = "test_q7sim";
    static char *argv[] = {name, nullptr};
    if (!QCoreApplication::instance())
        new QCoreApplication(argc, argv);
}

} // namespace

Sim::Sim(const QStringList &arguments)
{
    ensureApplication();
    QStringList args{QStringLiteral("--port"), QStringLiteral("0")};
    args += arguments;
    process.setReadChannel(QProcess::StandardOutput);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QStringLiteral(Q7SIM_BINARY), args);
    if (!process.waitForStarted(5000))
        return;
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        while (process.canReadLine()) {
            const QByteArray line = process.readLine();
            output += line;
            const QList<QByteArray> words = line.trimmed().split(' ');
            if (words.size() == 2 && words[0] == "UDPPORT")
                udpPort = quint16(words[1].toUInt());
            if (words.size() == 2 && words[0] == "PORT") {
                port = quint16(words[1].toUInt());
                return;
            }
        }
        if (!process.waitForReadyRead(int(deadline.remainingTime())))
            return;
    }
}

Sim::~Sim()
{
    stop();
}

int Sim::stop()
{
    if (process.state() == QProcess::NotRunning)
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(2000);
        return -1;
    }
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool Client::connectTo(quint16 port)
{
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    return socket.waitForConnected(3000);
}

void Client::send(const QByteArray &bytes)
{
    socket.write(bytes);
    socket.waitForBytesWritten(2000);
}

QByteArray Client::readFor(int ms)
{
    QByteArray got = socket.readAll();
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired() && socket.state() == QAbstractSocket::ConnectedState) {
        if (socket.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1))))
            got += socket.readAll();
    }
    return got + socket.readAll();
}

QByteArray Client::ask(const QByteArray &frame)
{
    send(frame + '!');
    QByteArray got = socket.readAll();
    if (got.isEmpty() && socket.waitForReadyRead(2000))
        got = socket.readAll();
    while (!got.isEmpty() && socket.waitForReadyRead(30))
        got += socket.readAll();
    return got;
}

bool Client::closedByPeer(int ms)
{
    const QDeadlineTimer deadline(ms);
    while (socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired())
        socket.waitForReadyRead(int(std::max<qint64>(deadline.remainingTime(), 1)));
    return socket.state() != QAbstractSocket::ConnectedState;
}

TempPath::TempPath()
    : path(QDir::temp().filePath(QStringLiteral("q7sim-test-") + QUuid::createUuid().toString(QUuid::Id128)))
{
}

TempPath::~TempPath()
{
    QFile::remove(path);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
