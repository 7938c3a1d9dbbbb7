#pragma once
// The real Kestrix executable against the simulated box: a project written
// into a test station, q7sim on loopback (with discovery on 127.0.0.2), and
// Kestrix as a second process with the station's environment.
#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

#include "common/Programmdaten.h"
#include "project/Projektaufbau.h"

// ---- the programs as processes ------------------------------------------------

class Teststation;
class Q7Sim;

class Programmlauf {
public:
    // Creates the drives c, d and e of the station.
    explicit Programmlauf(Teststation& station);
    ~Programmlauf();

    // The simulated box with its frame log, answering discovery on
    // 127.0.0.2 with the serial number Q70000001 and the address 127.0.0.1.
    // 'port' 0 takes a free port; any other port is used as given (a second
    // box on the port of the first).
    bool Box_starten(const QStringList& argumente = {}, quint16 port = 0);
    void Box_beenden();
    Q7Sim* Box() const { return box_.get(); }
    // The frames of every box started in this run, in order.
    QList<QByteArray> Frames() const;
    int Anzahl(const QByteArray& frame) const { return static_cast<int>(Frames().count(frame)); }

    // Kestrix with 'argumente' on its command line (a project name starts a run).
    bool Kestrix_starten(const QStringList& argumente = {});
    // Seconds added to the station clock of the next start.
    qint64 Uhrversatz = 0;
    // An X display (":N") for the next start: the program runs on it with
    // its windows and reports them (Auskunftsdatei); else offscreen.
    QString Anzeige;
    QString Auskunftsdatei() const;

    // Waits until the box has received 'frame' 'n' times.
    bool Frames_abwarten(const QByteArray& frame, int n, int ms = 15000);
    // Waits until the run log holds 'meldung' 'n' times.
    bool Meldung_abwarten(const QString& meldung, int n = 1, int ms = 15000);
    // Puts "Ende.txt" on the data-interface drive and waits for the program to end.
    bool mit_Endedatei_beenden(int ms = 15000);
    bool Ende_abwarten(int ms = 15000);
    bool läuft() const;
    qint64 Pid() const { return kestrix_ ? kestrix_->processId() : 0; }
    int Exitcode() const;
    // As a power failure would: SIGKILL, nothing of the program runs any more.
    void hart_beenden();

    // Files of the station.
    QString Laufwerk(QChar buchstabe) const;        // folder of a drive
    QString Datei(const QString& windowspfad) const;  // text of a file (Windows-1252), "" when missing
    bool vorhanden(const QString& windowspfad) const;
    QStringList Protokollmeldungen() const;  // run log without date and time
    QStringList Protokollzeilen() const;     // run log as written
    QString Dialogprotokoll() const;
    // Logger files of the buffer drive (e:) and of the project's data directory, by name.
    QMap<QString, QString> Pufferdateien() const;
    QMap<QString, QString> Projektdateien(const QString& projektkurzname) const;
    // The power-failure record of a project: its first two bytes.
    QByteArray Stromausfallsatz(const QString& projekt) const;

private:
    Teststation& station_;
    std::unique_ptr<Q7Sim> box_;
    std::unique_ptr<QProcess> kestrix_;
    QString framelog_;
    quint16 suchport_ = 0;
};
