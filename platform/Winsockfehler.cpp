#include "platform/Winsockfehler.h"

namespace Winsockfehler {

Fehler zu(QAbstractSocket::SocketError fehler, const QString& text) {
    using S = QAbstractSocket;
    switch (fehler) {
    case S::ConnectionRefusedError: return {10061, "Verbindung abgelehnt"};
    case S::RemoteHostClosedError: return {10054, "Verbindung vom Gegenüber zurückgesetzt"};
    case S::HostNotFoundError: return {11001, "Host nicht gefunden"};
    case S::SocketAccessError: return {10013, "Zugriff verweigert"};
    case S::SocketResourceError: return {10055, "Kein Pufferspeicher verfügbar"};
    case S::SocketTimeoutError: return {10060, "Zeitüberschreitung der Verbindung"};
    case S::DatagramTooLargeError: return {10040, "Datagramm zu groß"};
    case S::NetworkError:
        if (text.contains("Network unreachable", Qt::CaseInsensitive))
            return {10051, "Netzwerk nicht erreichbar"};
        if (text.contains("aborted", Qt::CaseInsensitive))
            return {10053, "Verbindung abgebrochen"};
        return {10065, "Host nicht erreichbar"};
    case S::AddressInUseError: return {10048, "Adresse wird bereits verwendet"};
    case S::SocketAddressNotAvailableError: return {10049, "Adresse nicht verfügbar"};
    case S::UnsupportedSocketOperationError: return {10045, "Vorgang nicht unterstützt"};
    case S::UnfinishedSocketOperationError: return {10036, "Vorgang wird bereits ausgeführt"};
    case S::TemporaryError: return {10035, "Vorgang vorübergehend nicht möglich"};
    default: return {10022, "Ungültiger Vorgang"};
    }
}

QString Text(QAbstractSocket::SocketError fehler, const QString& text) {
    const Fehler f = zu(fehler, text);
    return QString::number(f.Nummer) + "  " + f.Beschreibung;
}

}  // namespace Winsockfehler
