#pragma once

// What the wizard's tests share: a real FTP server on loopback, recorders for
// message boxes and waits, temporary folders.

#include "Plattform.h"

#include <QApplication>
#include <QByteArray>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUdpSocket>

#include <functional>
#include <ostream>

#include <utility>
#include <vector>

namespace Testhilfe {

// pyftpdlib on 127.0.0.1 and a free port: user "ftp", password "wbn", the
// folder as the box's disk. Names in nur_lesen cannot be written or deleted.
class FTPServer {
public:
    explicit FTPServer(const QStringList &nur_lesen = {}, const QString &kennwort = "wbn");
    ~FTPServer();
    bool läuft() const { return port_ != 0; }
    quint16 Port() const { return port_; }
    QString Ordner() const { return disk_.path(); }
    QString Pfad(const QString &name) const { return disk_.path() + QLatin1Char('/') + name; }
    // Every command the server received, in order ("STOR autoexec.bat").
    QStringList Befehle() const;
    // Waits briefly until the server has logged a command.
    bool Warte_auf_Befehl(const QString &befehl, int ms = 3000) const;

private:
    QTemporaryDir disk_;
    QTemporaryDir verwaltung_;
    QProcess prozess_;
    quint16 port_ = 0;
};

QByteArray Lesen(const QString &pfad);
bool Schreiben(const QString &pfad, const QByteArray &inhalt);

class Meldungsschreiber : public Loadmate::Meldungen {
public:
    Meldungsschreiber() { Loadmate::Meldungen_ersetzen(this); }
    ~Meldungsschreiber() override { Loadmate::Meldungen_ersetzen(nullptr); }
    void Meldung(QWidget *, const QString &text) override { texte.append(text); }
    QStringList texte;
};

// Records every wait and waits for real.
class Wartenschreiber : public Loadmate::Warten {
public:
    Wartenschreiber() { Loadmate::Warten_ersetzen(this); }
    ~Wartenschreiber() override { Loadmate::Warten_ersetzen(nullptr); }
    void Sekunden(double s) override
    {
        dauern.push_back(s);
        Loadmate::Ereignisse_verarbeiten_für(s);
    }
    std::vector<double> dauern;
};

// Sets an environment variable for the lifetime of the object.
class Umgebung {
public:
    Umgebung(const char *name, const QByteArray &wert);
    ~Umgebung();

private:
    const char *name_;
    QByteArray alt_;
    bool hatte_;
};

// Answers the discovery request "0 1 " with the given replies, one datagram
// each, to the sender's address and port.
class Antworter {
public:
    Antworter(const QHostAddress &adresse, quint16 port, QList<QByteArray> antworten);
    bool bereit() const { return bereit_; }
    int Anfragen() const { return anfragen_; }

private:
    QUdpSocket socket_;
    QList<QByteArray> antworten_;
    int anfragen_ = 0;
    bool bereit_ = false;
};

// The simulated box, when it has been built.
class Q7sim {
public:
    // Runs "prefix... q7sim args..." and waits for its "PORT n" line.
    Q7sim(const QStringList &argumente, const QStringList &vorsatz = {});
    ~Q7sim();
    static bool vorhanden();
    bool läuft() const { return bereit_; }
    QString Fehler() const { return fehler_; }

private:
    QProcess prozess_;
    bool bereit_ = false;
    QString fehler_;
};

// The reply a box sends, in the box's layout.
QByteArray Boxantwort(const QString &adresse, const QByteArray &seriennummer);

// Processes events until bedingung holds or ms pass.
bool Warte_bis(const std::function<bool()> &bedingung, int ms);

// A UDP port that is free on 127.0.0.1 and the wildcard address right now.
quint16 Freier_UDP_Port();

// A click on an entry of a shown list, as the pointer gives it.
inline void Eintrag_klicken(QListWidget &liste, int zeile)
{
    const QPoint p = liste.visualItemRect(liste.item(zeile)).center();
    for (const auto typ : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(typ, p, liste.viewport()->mapToGlobal(p), Qt::LeftButton,
                      typ == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(liste.viewport(), &e);
    }
}

} // namespace Testhilfe

// Readable QString values in failure messages.
inline void PrintTo(const QString &s, std::ostream *os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList &l, std::ostream *os)
{
    *os << '{';
    for (const QString &s : l)
        *os << '"' << s.toStdString() << "\" ";
    *os << '}';
}
