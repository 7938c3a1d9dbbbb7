#pragma once
// The simulated box of the benchmarks, on a free loopback port.
#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStringList>

#include <cstdio>

// Starts q7sim with 'argumente' and points the program at it; the port, or 0
// (reported on stderr) when the box did not come up.
inline quint16 Simbox_starten(QProcess& box, const QString& programm, const QStringList& argumente) {
    box.start(programm, QStringList{"--port", "0", "--host", "127.0.0.1"} + argumente);
    quint16 port = 0;
    QDeadlineTimer frist(10000);
    QByteArray ausgabe;
    while (port == 0 && box.waitForReadyRead(static_cast<int>(frist.remainingTime()))) {
        ausgabe += box.readAllStandardOutput();
        const qsizetype stelle = ausgabe.indexOf("PORT ");
        if (stelle >= 0 && ausgabe.indexOf('\n', stelle) > 0)
            port = static_cast<quint16>(ausgabe.mid(stelle + 5, ausgabe.indexOf('\n', stelle) - stelle - 5).toUInt());
    }
    if (port == 0) {
        std::fprintf(stderr, "simulated box did not start\n");
        return 0;
    }
    qputenv("KESTRIX_Q7_PORT", QByteArray::number(port));
    return port;
}
