#pragma once
// A station with the data-interface drive d:, the buffer drive e:, the
// project "Versuch" and its channel file, and helpers that leave the output
// texts of a scan as the value reading and the block evaluation would.
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include "calc/CalcuReihenfolge.h"
#include "common/Programmdaten.h"
#include "platform/Pfade.h"
#include "platform/Uhr.h"
#include "recording/Datendateien.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"
#include "support/Teststation.h"

class Datendateien_Test : public ::testing::Test {
protected:
    Teststation station;

    void SetUp() override {
        Datendateien::Zustand_zurücksetzen();
        station.Laufwerk_anlegen('c');
        station.Laufwerk_anlegen('d');
        station.Laufwerk_anlegen('e');
        Daten.Ramdisk1 = "d:\\";
        Daten.Ramdisk2 = "e:\\";
        Datenformat::Vorgaben_setzen();
        Datenlogger::Vorgaben_setzen();
        Daten.Trennzeichen = ";";
        Daten.Datumsformat = "dd mm yy";
        Daten.Zeitformat = "hh:mm:ss";
        Daten.Logtrennzeichen = ";";
        Daten.Logzeitformat = "hh:mm:ss";
        Daten.Logdatumsformat = "dd.mm.yy";
        Daten.Knopfzustände[7] = -1;  // calculated values appended
        Daten.Knopfzustände[8] = 0;
        Daten.Projektname = "Versuch.kxp";
        Datendateien::Meßdatenverz_anleg();
        QDir().mkpath(Pfade::lokal("c:\\kestrix\\intern\\kanaele"));
        Teststation::Datei_schreiben(Pfade::lokal("c:\\kestrix\\intern\\kanaele\\Versuch.kxp"), "x");
        Daten.Dateiperiode = "Stunde";
        Daten.Logdateiname = "06121409.txt";
        CalcuReihenfolge::Rechenlogteil.clear();
        CalcuReihenfolge::Rechenkopf.clear();
        CalcuReihenfolge::Rechendatenteil.clear();
    }
    void TearDown() override { Datendateien::Zustand_zurücksetzen(); }

public:

    // Scan position 'pos' and recording-order column pos - 1.
    static void Punkt(int pos, const QString& block, const QString& signal, i16 gruppe, i16 klemme) {
        for (Scanlistensatz* s : {&Daten.Scanlistentabelle[pos], &Daten.Aufzeichnungstabelle[pos - 1]}) {
            s->Messblockname = block;
            s->Signalname = signal;
            s->Gruppennummer = gruppe;
            s->Klemmennummer = klemme;
        }
    }

    // The texts of one value as reading and evaluation leave them.
    static void Wert(int pos, const QString& wert, const QString& einheit, const QDateTime& wann) {
        Ausgabesatz& a = Daten.Messwerttexte[pos];
        Datenformat::ZeilenDatstring(a.Zeilenanfang, wann.date(), wann.time());
        Datenformat::MW_Zeitstring(a.Messwertzeit, wann.time());
        Datenlogger::LoggZeitDatString(a.Logzeit, wann.date(), wann.time());
        QString v = wert;
        if (Daten.Datenformatsatz.Dezimalpunkt == 1)
            Datenformat::KommazuPunkt(v);
        QString n, u;
        Datenformat::Signam_ja_nein(Daten.Scanlistentabelle[pos].Signalname.text(), n);
        Datenformat::Einheit_ja_nein(einheit, u);
        a.Datensegment = a.Messwertzeit + v + Daten.Trennzeichen + n + u;
        a.Einheitensegment = u;
        a.Logwert = wert;
    }

    // One record as the run writes it after a complete scan.
    static void Satz_schreiben() {
        Datendateien::Reihenfolge_ändern();
        Datendateien::Datenlogzeile_erstellen();
        Datendateien::Meßdatei_öffnen();
        Datendateien::Meßdat_speichern();
        Datendateien::Meßdatei_schließen();
    }

    static QByteArray Datei(const QString& windowspfad) { return Teststation::Datei_lesen(Pfade::lokal(windowspfad)); }
    static bool Vorhanden(const QString& windowspfad) { return QFileInfo::exists(Pfade::lokal(windowspfad)); }

    // The station clock at this moment (local time).
    static void Uhr_stellen(const QDateTime& wann) {
        uhr().Versatz_setzen(static_cast<double>(QDateTime::currentDateTime().msecsTo(wann)) / 1000.0);
    }
};

const QDateTime Messzeit(QDate(2006, 12, 14), QTime(9, 30, 5));
