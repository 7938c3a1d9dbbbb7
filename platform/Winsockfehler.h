#pragma once
// A socket error as the run log has always shown it: the number the Windows
// Sockets control gives for the same condition and a German description.
#include <QAbstractSocket>
#include <QString>

namespace Winsockfehler {

struct Fehler {
    int Nummer;
    QString Beschreibung;
};

// 'text' is the socket's own error text; it tells a network that cannot be
// reached from a host that cannot.
Fehler zu(QAbstractSocket::SocketError fehler, const QString& text = {});
// "10061  Verbindung abgelehnt": number, two blanks, description.
QString Text(QAbstractSocket::SocketError fehler, const QString& text = {});

}  // namespace Winsockfehler
