#pragma once
// A station of its own for every test: station root, program directory with
// the default "Kesti.ini", the clock in offset mode, scripted dialogs, and
// the program end recorded instead of carried out.
#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <ostream>

#include "platform/Dialoge.h"
#include "platform/Pfade.h"
#include "platform/Programmende.h"
#include "platform/Programmstarter.h"

// Readable texts and bytes in failure messages.
inline void PrintTo(const QString& text, std::ostream* aus) { *aus << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* aus) { *aus << '"' << bytes.toStdString() << '"'; }

class Skriptdialoge : public Dialoge {
public:
    QStringList Meldungen;    // every text shown, in order
    QStringList Antworten;    // answers of input boxes, taken from the front
    bool OK_Antwort = true;
    void Meldung(const QString& text) override { Meldungen << text; }
    bool Meldung_OK_Abbrechen(const QString& text) override {
        Meldungen << text;
        return OK_Antwort;
    }
    QString Eingabe(const QString& aufforderung, const QString&, const QString&) override {
        Meldungen << aufforderung;
        // An unscripted prompt is answered empty, so a test never hangs on it.
        return Antworten.isEmpty() ? QString() : Antworten.takeFirst();
    }
};

class Ersatzende : public Programmende {
public:
    int Aufrufe = 0;
    void sofort_beenden(int) override { ++Aufrufe; }
};

class Ersatzlaufwerke : public Laufwerksabfrage {
public:
    QMap<QChar, Laufwerkstyp> Typen;  // by lower-case letter; others: the real check
    Laufwerkstyp Typ(const QString& wurzel) override {
        if (!wurzel.isEmpty() && Typen.contains(wurzel[0].toLower()))
            return Typen[wurzel[0].toLower()];
        return Laufwerksabfrage::Typ(wurzel);
    }
};

class Ersatzstarter : public Programmstarter {
public:
    QStringList Gestartet;
    bool Erfolg = true;
    bool starten(const QString& name, const QStringList& argumente, Fensterart) override {
        Gestartet << (argumente.isEmpty() ? name : name + ' ' + argumente.join(' '));
        return Erfolg;
    }
};

class Teststation {
public:
    Teststation();
    ~Teststation();
    QString Wurzel() const;
    QString Programmverzeichnis() const;
    // Text of the run log, empty when there is none.
    QString Protokoll() const;
    QStringList Protokollmeldungen() const;  // the messages without date and time
    void Laufwerk_anlegen(QChar buchstabe);
    static QByteArray Datei_lesen(const QString& pfad);
    static void Datei_schreiben(const QString& pfad, const QByteArray& inhalt);

    Skriptdialoge Dialoge;
    Ersatzende Ende;
    Ersatzlaufwerke Laufwerke;
    Ersatzstarter Starter;

private:
    QTemporaryDir ordner_;
};

// The simulated box on a free loopback port.
class Q7Sim {
public:
    // 'vorsatz' runs the box through another command (e.g. "ip netns exec NAME").
    explicit Q7Sim(QStringList argumente = {}, const QString& framelog = {}, const QStringList& vorsatz = {});
    ~Q7Sim();
    bool läuft() const { return port_ != 0; }
    quint16 Port() const { return port_; }
    quint16 Udpport() const { return udpport_; }
    // The frames the box received, each as its raw bytes.
    QList<QByteArray> Frames() const;
    void beenden();

private:
    QProcess prozess_;
    QString framelog_;
    quint16 port_ = 0;
    quint16 udpport_ = 0;
};

// Waits, processing events, until 'bedingung' holds or 'ms' have passed.
bool warten_bis(const std::function<bool()>& bedingung, int ms);
