#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>
#include <QTcpSocket>

// A q7sim process on a free loopback port; terminated when it goes out of scope.
class Sim {
public:
    explicit Sim(const QStringList &arguments);
    ~Sim();

    bool started() const { return port > 0; }
    int stop(); // SIGTERM, returns the exit code (-1 when it did not end)

    quint16 port = 0;
    quint16 udpPort = 0;
    QByteArray output; // what it printed up to its PORT line
    QProcess process;
};

// A client of the command link using blocking socket calls.
class Client {
public:
    bool connectTo(quint16 port);
    void send(const QByteArray &bytes);
    // Everything that arrives within the given time.
    QByteArray readFor(int ms);
    // Sends a frame ("!" is appended) and returns the reply: waits up to
    // two seconds for the first bytes, then until nothing more comes.
    QByteArray ask(const QByteArray &frame);
    bool closedByPeer(int ms);

    QTcpSocket socket;
};

// A temporary file path that is removed with the object.
class TempPath {
public:
    TempPath();
    ~TempPath();
    QString path;
};

QByteArray readFile(const QString &path);
