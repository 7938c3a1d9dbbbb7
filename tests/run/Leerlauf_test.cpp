// The idle checks on the data-interface drive, the configuration list and the value list.
#include <gtest/gtest.h>

#include "common/Programmdaten.h"
#include "points/Messstellentabellen.h"
#include "run/Hauptfenster.h"
#include "support/Teststation.h"

namespace {
struct Leerlauf : ::testing::Test {
    Teststation station;
    std::unique_ptr<Hauptfenster> haupt;
    QString d(const QString& name) const { return station.Wurzel() + "/d/" + name; }
    void SetUp() override {
        station.Laufwerk_anlegen('d');
        Daten.Ramdisk1 = "d:\\";
        haupt = std::make_unique<Hauptfenster>();
    }
};
}

TEST_F(Leerlauf, Stoppdatei_beendet_das_Programm_und_wird_geloescht) {
    haupt->updatetimer_Timer();
    EXPECT_EQ(station.Ende.Aufrufe, 0);
    Teststation::Datei_schreiben(d("Ende.txt"), "");
    haupt->updatetimer_Timer();
    EXPECT_EQ(station.Ende.Aufrufe, 1);
    EXPECT_FALSE(QFileInfo::exists(d("Ende.txt")));
    Teststation::Datei_schreiben(d("ENDE.TXT"), "");  // another spelling is no stop file
    haupt->updatetimer_Timer();
    EXPECT_EQ(station.Ende.Aufrufe, 1);
}

TEST_F(Leerlauf, Update_wird_gestartet_und_das_Programm_beendet) {
    Teststation::Datei_schreiben(d("update.exe"), "");
    haupt->updatetimer_Timer();  // lower case: not the hand-off
    EXPECT_TRUE(station.Starter.Gestartet.isEmpty());
    haupt->RamD_von_update_befreien();  // the next load deletes it
    EXPECT_FALSE(QFileInfo::exists(d("update.exe")));

    Teststation::Datei_schreiben(d("UPDATE.EXE"), "");
    haupt->updatetimer_Timer();
    EXPECT_EQ(station.Starter.Gestartet, QStringList{"d:\\update.exe"});
    EXPECT_EQ(station.Ende.Aufrufe, 1);

    // A start that fails keeps the program running and is logged once.
    station.Starter.Erfolg = false;
    station.Ende.Aufrufe = 0;
    haupt->updatetimer_Timer();
    haupt->updatetimer_Timer();
    EXPECT_EQ(station.Ende.Aufrufe, 0);
    EXPECT_EQ(station.Protokollmeldungen(), QStringList{"UPDATE.EXE konnte nicht gestartet werden"});

    // A new file on the drive is tried again, without a restart.
    Teststation::Datei_schreiben(d("UPDATE.EXE"), "MZ");
    station.Starter.Erfolg = true;
    haupt->updatetimer_Timer();
    EXPECT_EQ(station.Starter.Gestartet, QStringList({"d:\\update.exe", "d:\\update.exe", "d:\\update.exe"}));
    EXPECT_EQ(station.Ende.Aufrufe, 1);
}

TEST_F(Leerlauf, Beim_Messen_keine_Leerlaufpruefung) {
    Teststation::Datei_schreiben(d("Ende.txt"), "");
    haupt->messen->setText("Messung anhalten");
    haupt->updatetimer_Timer();
    EXPECT_EQ(station.Ende.Aufrufe, 0);
    EXPECT_EQ(Daten.Timeoutzähler, 1);
}

TEST_F(Leerlauf, Konfigurationsliste_Zeile_fuer_Zeile) {
    Variablen_initialisieren();
    Daten.Kanaltabelle[1].Signalbezeichnung[1] = "Vorlauf";
    Daten.Kanaltabelle[1].Messblockzuordnung[1] = "Gleichspannung";
    Daten.Kanaltabelle[1].Signalbezeichnung[2] = "nur Name";
    Daten.Rechentabelle[0].Name = "Leistung";
    Daten.Rechentabelle[0].Formel = "[U]*[I]";
    haupt->Messstellenliste_erzeugen();
    const QByteArray liste = Teststation::Datei_lesen(d("Konfigurationsliste.txt"));
    const QList<QByteArray> zeilen = liste.split('\n');
    EXPECT_EQ(zeilen[0], "Kanal\tSignalart\tSignalbezeichnung\tMessblockbezeichnung\r");
    EXPECT_EQ(zeilen[1], "\r");
    EXPECT_EQ(zeilen[2], "A 1\tInput   \tVorlauf             \tGleichspannung\r");
    EXPECT_EQ(zeilen[3], "A 2\tInput   \tnur Name            \t nicht belegt   \r");
    EXPECT_EQ(zeilen[4], "A 3\tInput   \t nicht belegt   \t nicht belegt   \r");
    EXPECT_EQ(zeilen[10], "\r");
    EXPECT_EQ(zeilen[11], "B 1\tSense   \t nicht belegt   \t nicht belegt   \r");
    EXPECT_TRUE(liste.endsWith("\r\n\r\nRechenformeln:\r\n\r\nLeistung         = [U]*[I]\r\n"));
}

TEST_F(Leerlauf, Werteliste_mit_Vorzeichenplatz) {
    Daten.Scanlistentabelle[1].Signalname = "Vorlauf";
    Daten.Messwerttexte[1].Logwert = "23,5";
    Daten.Scanlistentabelle[2].Signalname = "Rücklauf";
    Daten.Messwerttexte[2].Logwert = "-1,5";
    Daten.Scanlistentabelle[3].Signalname = "Strom";
    Daten.Messwerttexte[3].Logwert = "1,2E-03";
    Daten.Scanlistentabelle[4].Signalname = "";
    Daten.Datenloggersatz.Datenlogger_ein = 1;
    Daten.Rechentabelle[0].Name = "Gross";
    Daten.Rechentabelle[0].Ergebnis = 123456.7891;
    Daten.Rechentabelle[0].Format = "0.0000";
    Daten.Rechentabelle[0].Einheit = "W";
    haupt->Messdatenliste_füllen();
    ASSERT_EQ(haupt->List1->count(), 5);
    EXPECT_TRUE(haupt->List1->item(1)->text().endsWith("\t 23,5"));
    EXPECT_TRUE(haupt->List1->item(2)->text().endsWith("\t-1,5"));
    EXPECT_TRUE(haupt->List1->item(3)->text().endsWith("\t1,2E-03"));
    EXPECT_TRUE(haupt->List1->item(4)->text().contains(" 1.23E+05"));
    EXPECT_TRUE(haupt->List1->item(4)->text().endsWith("W"));
}
