#pragma once
// A whole measurement run in the test process: the frame with its main
// window, a station of its own and the simulated box on loopback.
#include <gtest/gtest.h>

#include <QTimer>

#include <memory>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "points/MBForm1.h"
#include "project/MDIForm1.h"
#include "run/Hauptfenster.h"
#include "support/Teststation.h"

struct Messlaufstation : ::testing::Test {
    Teststation station;
    std::unique_ptr<MDIForm1> rahmen;
    std::unique_ptr<Q7Sim> box;
    Hauptfenster* haupt = nullptr;

    void SetUp() override {
#ifndef Q7SIM_PFAD
        GTEST_SKIP() << "without the simulated box";
#endif
        for (QChar lw : {'c', 'd', 'e'})
            station.Laufwerk_anlegen(lw);
        rahmen = std::make_unique<MDIForm1>();
        ASSERT_TRUE(rahmen->MDIForm_Load());
        haupt = Fenster.Hauptfenster;
        Daten.Messblocktabelle[1].Gerätetyp = 1;
        Daten.RefTempMeasurement = "0";
    }
    void TearDown() override {
        if (haupt)
            haupt->Restarttimer->stop();
        if (rahmen)
            rahmen->entladen();
    }
    // The box with these options; the run reaches it at 127.0.0.1.
    void starten(const QStringList& argumente) {
        box = std::make_unique<Q7Sim>(argumente, framelog());
        ASSERT_TRUE(box->läuft());
        qputenv("KESTRIX_Q7_PORT", QByteArray::number(box->Port()));
        Daten.Boxadresse = "127.0.0.1";
    }
    QString framelog() const { return station.Programmverzeichnis() + "/frames.log"; }
    void eintrag(int i, int gruppe, int klemme, const QString& block, const QString& signal) {
        Daten.Scanlistentabelle[i].Gruppennummer = static_cast<i16>(gruppe);
        Daten.Scanlistentabelle[i].Klemmennummer = static_cast<i16>(klemme);
        Daten.Scanlistentabelle[i].Messblockname = block;
        Daten.Scanlistentabelle[i].Signalname = signal;
    }
    // Ends the run with the stop file once 'scans' data-line starts were taken.
    void nach_scans_beenden(int scans) {
        auto* uhrwerk = new QTimer(haupt);
        QObject::connect(uhrwerk, &QTimer::timeout, [this, scans, uhrwerk] {
            if (box->Frames().count("00023!") >= 1 && box->Frames().count("00083!") + box->Frames().count("00073!") >= scans) {
                Teststation::Datei_schreiben(station.Wurzel() + "/d/Ende.txt", "");
                uhrwerk->stop();
            }
        });
        uhrwerk->start(20);
    }
    QString init(const QString& block) {
        QString text, format;
        double faktor = 1;
        i16 anzahl = 1, funktion = 0;
        MBForm1::Initialisierungsstring_erstellen(block, text, format, faktor, anzahl, 0, funktion);
        return text;
    }
    // A time-out is ten ticks of the update timer; a shorter tick keeps the
    // count and brings a time-out down to ten times 'ms'.
    void Takt_ms(int ms) { haupt->updatetimer->setInterval(ms); }
};
