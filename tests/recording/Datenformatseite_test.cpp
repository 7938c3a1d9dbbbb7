// The data-format page: filling from the stored settings, what each control
// changes, the scan interval and the drive link.
#include <QDir>
#include <QDirIterator>

#include <gtest/gtest.h>

#include "common/Programmdaten.h"
#include "points/Messstellentabellen.h"
#include "project/MDIForm1.h"
#include "recording/Datenformat.h"
#include "support/Teststation.h"

namespace {
QStringList Alle_Dateien(const QString& ordner) {
    QStringList dateien;
    QDirIterator it(ordner, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        dateien << it.next();
    dateien.sort();
    return dateien;
}

struct Seite {
    Teststation station;
    Datenformat seite;
    Seite() {
        Variablen_initialisieren();
        seite.Form_Load();
        seite.Listen_setzen();
    }
};
}

TEST(Datenformatseite, Vorgaben_nach_dem_Fuellen) {
    Seite s;
    Datenformat& p = s.seite;
    EXPECT_EQ(p.Label1->text(), "Datenaufzeichnung");
    EXPECT_EQ(p.Combo3->currentText(), "Tabulator");
    EXPECT_EQ(Daten.Trennzeichen, QString(QChar(9)));
    EXPECT_EQ(p.Combo1->currentText(), "TT.MM.YY");
    EXPECT_EQ(Daten.Datumsformat, "dd mm yy");
    EXPECT_EQ(p.Combo2->currentText(), "hh:mm:ss");
    EXPECT_EQ(Daten.Zeitformat, "hh:mm:ss");
    EXPECT_TRUE(p.Check4->isChecked());
    EXPECT_FALSE(p.Combo4->isEnabled());
    EXPECT_FALSE(p.Combo6->isEnabled());
    EXPECT_EQ(p.Combo4->currentText(), "--");
    EXPECT_EQ(Daten.Aufzeichnungsintervall, 0.0);
    EXPECT_TRUE(p.Option2->isChecked());
    EXPECT_FALSE(p.Option1->isChecked());
    EXPECT_TRUE(p.Option4->isChecked());
    EXPECT_TRUE(p.Check1->isChecked() && p.Check2->isChecked() && p.Check3->isChecked() && p.Check5->isChecked());
    EXPECT_EQ(p.Combo4->count(), 25);
    EXPECT_EQ(p.Combo5->count(), 61);
    EXPECT_EQ(p.Combo5->itemText(60), "60");
    EXPECT_EQ(p.Combo1->count(), 4);
    EXPECT_EQ(p.Combo1->itemText(3), "TT.MMM YY");
    EXPECT_EQ(p.Combo3->itemText(2), "Doppelpunkt");
}

TEST(Datenformatseite, Max_abwaehlen_gibt_eine_Sekunde) {
    Seite s;
    s.seite.Check4->setChecked(false);
    EXPECT_TRUE(s.seite.Combo6->isEnabled());
    EXPECT_EQ(s.seite.Combo6->currentText(), "1");
    EXPECT_EQ(Daten.Datenformatsatz.max, 0);
    EXPECT_EQ(Daten.Datenformatsatz.Sekundenindex, 1);
    EXPECT_EQ(Daten.Aufzeichnungsintervall, 1.0);

    s.seite.Combo5->setCurrentIndex(2);
    EXPECT_EQ(Daten.Aufzeichnungsintervall, 121.0);

    s.seite.Check4->setChecked(true);
    EXPECT_EQ(Daten.Datenformatsatz.max, 1);
    EXPECT_EQ(Daten.Aufzeichnungsintervall, 0.0);
    EXPECT_EQ(s.seite.Combo5->currentText(), "--");
    EXPECT_EQ(s.seite.Combo6->currentText(), "--");
}

TEST(Datenformatseite, Eine_Stunde_null_Minuten_null_Sekunden) {
    Seite s;
    Daten.Datenformatsatz.max = 0;
    Daten.Datenformatsatz.Stundenindex = 1;
    s.seite.Listen_setzen();
    EXPECT_EQ(s.seite.Combo4->currentText(), "1");
    EXPECT_EQ(s.seite.Combo5->currentText(), "--");
    EXPECT_EQ(s.seite.Combo6->currentText(), "--");
    EXPECT_EQ(Daten.Aufzeichnungsintervall, 3600.0);
}

TEST(Datenformatseite, Fuellen_behaelt_das_gespeicherte_Intervall) {
    // The page showed "max" before; the next project scans every 5 minutes.
    Seite s;
    Daten.Datenformatsatz.max = 0;
    Daten.Datenformatsatz.Minutenindex = 5;
    s.seite.Listen_setzen();
    EXPECT_FALSE(s.seite.Check4->isChecked());
    EXPECT_TRUE(s.seite.Combo5->isEnabled());
    EXPECT_EQ(Daten.Datenformatsatz.Sekundenindex, 0);
    EXPECT_EQ(Daten.Datenformatsatz.Minutenindex, 5);
    EXPECT_EQ(Daten.Aufzeichnungsintervall, 300.0);
}

TEST(Datenformatseite, Gespeicherte_Auswahl_zaehlt_als_Klick) {
    Seite s;
    Daten.Trennzeichen = "?";
    Daten.Datumsformat = "?";
    Daten.Zeitformat = "?";
    Daten.Datenformatsatz.Datumsformatindex = 3;
    s.seite.Listen_setzen();  // separator and time format stay at the same index
    EXPECT_EQ(Daten.Trennzeichen, "\t");
    EXPECT_EQ(Daten.Datumsformat, "dd mmm yy");
    EXPECT_EQ(Daten.Zeitformat, "hh:mm:ss");

    s.seite.Combo3->setCurrentIndex(1);
    EXPECT_EQ(Daten.Trennzeichen, ";");
    EXPECT_EQ(Daten.Datenformatsatz.Trennzeichenindex, 1);
    s.seite.Combo3->setCurrentIndex(2);
    EXPECT_EQ(Daten.Trennzeichen, ":");
    s.seite.Combo2->setCurrentIndex(1);
    EXPECT_EQ(Daten.Zeitformat, "h:m:s");
    EXPECT_EQ(Daten.Datenformatsatz.Zeitformatindex, 1);
    s.seite.Combo1->setCurrentIndex(1);
    EXPECT_EQ(Daten.Datumsformat, "dd mm yyyy");
    s.seite.Combo1->setCurrentIndex(2);
    EXPECT_EQ(Daten.Datumsformat, "dd mmm");
}

TEST(Datenformatseite, Haekchen_und_Optionen_in_die_Felder) {
    Seite s;
    Datenformat& p = s.seite;
    p.Option1->setChecked(true);
    EXPECT_EQ(Daten.Datenformatsatz.Zeit_am_Zeilenbeginn, 0);
    EXPECT_EQ(Daten.Datenformatsatz.Zeit_nach_jedem_Messwert, -1);
    p.Option3->setChecked(true);
    EXPECT_EQ(Daten.Datenformatsatz.Dezimalpunkt, 1);
    p.Option4->setChecked(true);
    EXPECT_EQ(Daten.Datenformatsatz.Dezimalpunkt, 0);
    p.Check3->setChecked(false);
    p.Check5->setChecked(false);
    EXPECT_EQ(Daten.Datenformatsatz.Einheiten, 0);
    EXPECT_EQ(Daten.Datenformatsatz.Signalnamen, 0);

    p.Check1->setChecked(false);
    EXPECT_EQ(Daten.Datenformatsatz.Datum, 0);
    EXPECT_FALSE(p.Combo1->isEnabled());
    p.Check2->setChecked(false);
    EXPECT_EQ(Daten.Datenformatsatz.Zeit, 0);
    EXPECT_FALSE(p.Combo2->isEnabled());
    EXPECT_FALSE(p.Option1->isEnabled());
    EXPECT_FALSE(p.Option2->isEnabled());

    // Filled again from what was stored, the page shows the same.
    p.Listen_setzen();
    EXPECT_TRUE(p.Option1->isChecked());
    EXPECT_FALSE(p.Option2->isChecked());
    EXPECT_FALSE(p.Check1->isChecked());
    EXPECT_FALSE(p.Combo1->isEnabled());
    EXPECT_FALSE(p.Combo2->isEnabled());
    EXPECT_EQ(Daten.Datenformatsatz.Zeit_nach_jedem_Messwert, -1);
}

TEST(Datenformatseite, Hilfe_und_Abbrechen_nach_Stationsschaltern) {
    Teststation station;
    Daten.HelpSchalter = 0;
    Daten.EscSchalter = 1;
    Datenformat p;
    p.Form_Load();
    p.show();
    EXPECT_FALSE(p.Command8->isVisible());
    EXPECT_TRUE(p.Command4->isVisible());
    EXPECT_EQ(p.Command8->text(), "Hilfe");
    EXPECT_EQ(p.Command4->text(), "Abbrechen");
    EXPECT_EQ(p.Command3->text(), "Speichern");
    EXPECT_EQ(p.size(), QSize(320, 240));
    p.Command2->click();
    EXPECT_FALSE(p.isVisible());
}

TEST(Datenformatseite, Laufwerk_aendern_schreibt_nur_Ramdisk1) {
    Teststation station;
    MDIForm1 rahmen;
    station.Laufwerke.Typen['f'] = Laufwerkstyp::RAMDisk;
    station.Laufwerke.Typen['d'] = Laufwerkstyp::fest;
    Daten.Ramdisk1 = QString("d:\\");
    const QString ini = station.Programmverzeichnis() + "/Kesti.ini";
    const QByteArray vorher = Teststation::Datei_lesen(ini);
    Datenformat p;
    p.Form_Load();

    station.Dialoge.Antworten = {"f"};
    p.Label17_Click();
    ASSERT_FALSE(station.Dialoge.Meldungen.isEmpty());
    EXPECT_EQ(station.Dialoge.Meldungen.first(),
              "Bitte gültigen Laufwerksbuchstaben für Datenschnittstelle angeben! (z.B.: d)");
    QByteArray soll = vorher;
    soll.replace("Ramdisk1=d:\\", "Ramdisk1=f:\\");
    EXPECT_EQ(Teststation::Datei_lesen(ini), soll);
    EXPECT_EQ(Daten.Ramdisk1.roh(), "f:\\");
    EXPECT_EQ(p.Label16->text(), "f:\\Ramdisk ");

    // An empty answer or one that is no drive letter keeps the drive.
    station.Dialoge.Antworten = {""};
    p.Label17_Click();
    station.Dialoge.Antworten = {"."};
    p.Label17_Click();
    EXPECT_EQ(Teststation::Datei_lesen(ini), soll);
    EXPECT_EQ(Daten.Ramdisk1.roh(), "f:\\");
    EXPECT_EQ(station.Ende.Aufrufe, 0);
}

TEST(Datenformatseite, Laufwerk_das_nicht_gespeichert_werden_kann_wird_gemeldet) {
    Teststation station;
    const QString ini = station.Programmverzeichnis() + "/Kesti.ini";
    QByteArray ohne = Teststation::Datei_lesen(ini);
    ohne.replace("Ramdisk1=d:\\\r\n", "");
    Teststation::Datei_schreiben(ini, ohne);
    Datenformat p;
    station.Dialoge.Antworten = {"f"};
    p.Label17_Click();
    ASSERT_EQ(station.Dialoge.Meldungen.size(), 2);
    EXPECT_TRUE(station.Dialoge.Meldungen[1].contains("Kesti.ini")) << station.Dialoge.Meldungen[1].toStdString();
    EXPECT_EQ(Teststation::Datei_lesen(ini), ohne);
}

TEST(Datenformatseite, Bedienen_schreibt_keine_Datei) {
    Teststation station;
    const QStringList vorher = Alle_Dateien(station.Wurzel()) + Alle_Dateien(station.Programmverzeichnis());
    const QByteArray ini = Teststation::Datei_lesen(station.Programmverzeichnis() + "/Kesti.ini");
    {
        Datenformat p;
        Variablen_initialisieren();
        p.Form_Load();
        p.Listen_setzen();
        p.show();
        p.Check4->click();
        p.Combo4->setCurrentIndex(3);
        p.Combo3->setCurrentIndex(1);
        p.Option3->click();
        p.Check5->click();
        p.Command3->click();
        p.Command4->click();
        p.Command8->click();
        p.Command1->click();
    }
    EXPECT_EQ(Alle_Dateien(station.Wurzel()) + Alle_Dateien(station.Programmverzeichnis()), vorher);
    EXPECT_EQ(Teststation::Datei_lesen(station.Programmverzeichnis() + "/Kesti.ini"), ini);
}
