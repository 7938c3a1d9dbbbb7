#pragma once

// What the wizard's tests share: a real FTP server on loopback, recorders for
// message boxes and waits, temporary folders.

#include "Plattform.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace Testhilfe {

// pyftpdlib on 127.0.0.1 and a free port: user "ftp", password "wbn", the
// folder as the box's disk. Names in nur_lesen cannot be written or deleted.
class FTPServer {
public:
    explicit FTPServer(const QStringList &nur_lesen = {});
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

// A UDP port that is free on 127.0.0.1 and the wildcard address right now.
quint16 Freier_UDP_Port();

} // namespace Testhilfe
