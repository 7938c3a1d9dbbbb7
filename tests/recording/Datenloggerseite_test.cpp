// The data-logger page: stored settings, derived texts, file names by
// period, the header marker, and the clock and date dialogs.
#include <QDir>
#include <QDirIterator>

#include <gtest/gtest.h>

#include "common/Programmdaten.h"
#include "platform/Uhr.h"
#include "points/Messstellentabellen.h"
#include "project/MDIForm1.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"
#include "support/Teststation.h"

namespace {
void Uhr_stellen(const QDateTime& ziel) {
    uhr().Versatz_setzen(QDateTime::currentDateTime().msecsTo(ziel) / 1000.0);
}

struct Seite {
    Teststation station;
    Datenlogger seite;
    Seite() {
        Variablen_initialisieren();
        seite.Form_Load();
        seite.Listen_setzen();
    }
};
}

TEST(Datenloggerseite, Vorgaben_nach_dem_Fuellen) {
    Seite s;
    Datenlogger& p = s.seite;
    EXPECT_EQ(p.Label1->text(), "Datalogger");
    EXPECT_TRUE(p.Option1[1]->isChecked());
    EXPECT_EQ(p.Option1[1]->text(), "ein");
    EXPECT_EQ(p.Option1[0]->text(), "aus");
    EXPECT_TRUE(p.Combo1->isEnabled());
    EXPECT_EQ(p.Combo1->currentText(), "Tag");
    EXPECT_EQ(Daten.Dateiperiode, "Tag");
    EXPECT_EQ(p.Combo1->count(), 4);
    EXPECT_EQ(p.Combo1->itemText(3), "Tag");
    EXPECT_EQ(p.Combo9->currentText(), "hh:mm:ss dd.mm.yy");
    EXPECT_EQ(Daten.Logzeitformat, "hh:mm:ss");
    EXPECT_EQ(Daten.Logdatumsformat, "dd.mm.yy");
    EXPECT_EQ(Daten.Logtrennzeichen, "\t");
    EXPECT_TRUE(p.Check1->isChecked());
    EXPECT_TRUE(p.Check2->isChecked());
    EXPECT_TRUE(p.Option2->isChecked());
    EXPECT_FALSE(p.Option5->isChecked());
    EXPECT_TRUE(p.Option4[0]->isChecked());
    EXPECT_EQ(Daten.Datenlogger_bereit, 1);
    EXPECT_FALSE(p.Frame3->isVisibleTo(&p));
    EXPECT_FALSE(p.Frame4->isVisibleTo(&p));
    EXPECT_EQ(p.Combo4->count(), 24);
    EXPECT_EQ(p.Combo4->itemText(0), "00");
    EXPECT_EQ(p.Combo6->itemText(59), "59");
    EXPECT_EQ(p.Combo7->itemText(0), "01");
    EXPECT_EQ(p.Combo3->itemText(11), "12");
    EXPECT_EQ(p.Combo2->itemText(0), "1980");
    EXPECT_EQ(p.Combo2->itemText(99), "2079");
}

TEST(Datenloggerseite, Zeittext_fuer_jedes_Zeitformat) {
    Seite s;
    const QDate tag(2006, 12, 14);
    const QTime zeit(9, 3, 5);
    const QStringList soll = {"09:03:05", "9:3:5", "14.12.06 09:03:05", "14.12.2006 09:03:05"};
    for (int i = 0; i < 4; ++i) {
        s.seite.Combo9->setCurrentIndex(i);
        EXPECT_EQ(Daten.Datenloggersatz.Zeitformatindex, i);
        QString text;
        Datenlogger::LoggZeitDatString(text, tag, zeit);
        EXPECT_EQ(text, soll[i]) << i;
    }
    s.seite.Combo9->setCurrentIndex(1);
    EXPECT_EQ(Daten.Logdatumsformat, "");
}

TEST(Datenloggerseite, Stunde_zeigt_sofort_acht_Ziffern) {
    Seite s;
    Uhr_stellen(QDateTime(QDate(2006, 12, 14), QTime(9, 30, 0)));
    s.seite.Combo1->setCurrentIndex(1);
    EXPECT_EQ(Daten.Dateiperiode, "Stunde");
    EXPECT_EQ(s.seite.Label2->text(), "06121409.txt");
    EXPECT_EQ(Daten.Datenloggersatz.Periodenindex, 1);
    s.seite.Combo1->setCurrentIndex(2);
    EXPECT_EQ(s.seite.Label2->text(), "2006Dez.txt");
    s.seite.Combo1->setCurrentIndex(3);
    EXPECT_EQ(s.seite.Label2->text(), "06Dez14.txt");
}

TEST(Dateinamen, Stunde_um_Mitternacht_und_Tag_ueber_den_Tag) {
    Teststation station;
    Daten.Dateiperiode = "Stunde";
    Uhr_stellen(QDateTime(QDate(2007, 3, 31), QTime(23, 59, 0)));
    Datenformat::Dateinamen_erzeug();
    const QString vorher = Daten.Logdateiname;
    Uhr_stellen(QDateTime(QDate(2007, 4, 1), QTime(0, 0, 0)));
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(vorher, "07033123.txt");
    EXPECT_EQ(Daten.Logdateiname, "07040100.txt");

    Daten.Dateiperiode = "Tag";
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(Daten.Logdateiname, "07Apr01.txt");
    Uhr_stellen(QDateTime(QDate(2007, 4, 1), QTime(17, 10, 0)));
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(Daten.Logdateiname, "07Apr01.txt");

    Daten.Dateiperiode = "Monat";
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(Daten.Logdateiname, "2007Apr.txt");
    Daten.Dateiperiode = "Woche";
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(Daten.Logdateiname, "2007Apr.txt");
}

TEST(Datenloggerseite, Fuellen_aus_dem_Projekt_macht_einen_Header_faellig_die_Haekchen_aendern_nichts) {
    Teststation station;
    Variablen_initialisieren();
    Daten.Datenloggersatz.Header_ein = 0;
    Daten.Datenloggersatz.Zeit_ein = 0;
    Datenlogger p;
    p.Form_Load();
    p.Listen_setzen();
    ASSERT_FALSE(p.Check1->isChecked());

    // The next project has the header on, the time off, another separator.
    Daten.Headermerker = 0;
    Daten.Datenloggersatz.Header_ein = 1;
    Daten.Datenloggersatz.Zeit_ein = 1;
    Daten.Datenloggersatz.Trennzeichenindex = 1;
    Daten.Datenloggersatz.Zeit_am_Zeilenbeginn = 0;
    Daten.Datenloggersatz.Zeit_nach_jedem_Messwert = -1;
    p.Listen_setzen();
    EXPECT_TRUE(p.Check1->isChecked());
    EXPECT_TRUE(p.Check2->isChecked());
    EXPECT_TRUE(p.Option5->isChecked());
    EXPECT_EQ(Daten.Logtrennzeichen, ";");
    EXPECT_EQ(Daten.Headermerker, 1);
    EXPECT_EQ(Daten.Datenloggersatz.Header_ein, 1);
    EXPECT_EQ(Daten.Datenloggersatz.Zeit_ein, 1);
    Daten.Headermerker = 0;
    p.Listen_setzen();  // the same project again
    EXPECT_EQ(Daten.Headermerker, 1);

    // The operator's click does.
    p.Check1->click();
    EXPECT_EQ(Daten.Datenloggersatz.Header_ein, 0);
    EXPECT_EQ(Daten.Headermerker, 1);
    Daten.Headermerker = 0;
    p.Check2->click();
    EXPECT_EQ(Daten.Datenloggersatz.Zeit_ein, 0);
    EXPECT_EQ(Daten.Headermerker, 1);
    Daten.Headermerker = 0;
    p.Option2->click();
    EXPECT_EQ(Daten.Datenloggersatz.Zeit_am_Zeilenbeginn, -1);
    EXPECT_EQ(Daten.Datenloggersatz.Zeit_nach_jedem_Messwert, 0);
    EXPECT_EQ(Daten.Headermerker, 1);
    Daten.Headermerker = 0;
    p.Combo8->setCurrentIndex(2);
    EXPECT_EQ(Daten.Logtrennzeichen, ":");
    EXPECT_EQ(Daten.Datenloggersatz.Trennzeichenindex, 2);
    EXPECT_EQ(Daten.Headermerker, 1);
}

TEST(Datenloggerseite, Aus_sperrt_Periode_und_Header) {
    Seite s;
    Datenlogger& p = s.seite;
    p.show();
    p.Option1[0]->click();
    EXPECT_EQ(Daten.Datenloggersatz.Datenlogger_ein, 0);
    EXPECT_FALSE(p.Combo1->isEnabled());
    EXPECT_FALSE(p.Check1->isEnabled());
    p.Option1[1]->click();
    EXPECT_EQ(Daten.Datenloggersatz.Datenlogger_ein, 1);
    EXPECT_TRUE(p.Combo1->isEnabled());
    p.Option4[1]->click();
    EXPECT_EQ(Daten.Datenloggersatz.Dezimalpunkt, 1);
    p.Option4[0]->click();
    EXPECT_EQ(Daten.Datenloggersatz.Dezimalpunkt, 0);
}

TEST(Datenloggerseite, Uhrzeit_einstellen) {
    Seite s;
    Datenlogger& p = s.seite;
    p.show();
    Uhr_stellen(QDateTime(QDate(2006, 12, 14), QTime(9, 30, 0)));
    p.Combo1->setCurrentIndex(1);
    p.Command8->click();
    EXPECT_TRUE(p.Frame3->isVisible());
    EXPECT_EQ(p.Combo4->currentText(), "09");
    EXPECT_EQ(p.Combo5->currentText(), "30");
    EXPECT_FALSE(p.Frame1->isEnabled());
    EXPECT_FALSE(p.Frame5->isEnabled());
    EXPECT_FALSE(p.Frame6->isEnabled());

    p.Combo4->setCurrentIndex(23);
    p.Combo5->setCurrentIndex(15);
    p.Combo6->setCurrentIndex(0);
    p.Command5->click();
    const QDateTime jetzt = uhr().jetzt();
    EXPECT_EQ(jetzt.date(), QDate(2006, 12, 14));
    EXPECT_EQ(jetzt.time().hour(), 23);
    EXPECT_EQ(jetzt.time().minute(), 15);
    EXPECT_LE(jetzt.time().second(), 2);
    EXPECT_FALSE(p.Frame3->isVisible());
    EXPECT_TRUE(p.Frame1->isEnabled() && p.Frame5->isEnabled() && p.Frame6->isEnabled());
    EXPECT_EQ(p.Label2->text(), "06121423.txt");

    // Esc leaves the clock alone.
    p.Command8->click();
    p.Combo4->setCurrentIndex(5);
    p.Command4->click();
    EXPECT_EQ(uhr().jetzt().time().hour(), 23);
    EXPECT_FALSE(p.Frame3->isVisible());
    EXPECT_TRUE(p.Frame1->isEnabled());
}

TEST(Datenloggerseite, Datum_einstellen) {
    Seite s;
    Datenlogger& p = s.seite;
    p.show();
    Uhr_stellen(QDateTime(QDate(2006, 12, 14), QTime(9, 30, 0)));
    p.Command9->click();
    EXPECT_TRUE(p.Frame4->isVisible());
    EXPECT_EQ(p.Combo7->currentText(), "14");
    EXPECT_EQ(p.Combo3->currentText(), "12");
    EXPECT_EQ(p.Combo2->currentText(), "2006");
    EXPECT_FALSE(p.Frame1->isEnabled());

    p.Combo7->setCurrentIndex(0);
    p.Combo3->setCurrentIndex(2);
    p.Combo2->setCurrentIndex(2024 - 1980);
    p.Command7->click();
    EXPECT_EQ(uhr().jetzt().date(), QDate(2024, 3, 1));
    EXPECT_EQ(uhr().jetzt().time().hour(), 9);
    EXPECT_EQ(Daten.Dateiperiode, "Tag");
    EXPECT_EQ(p.Label2->text(), "24Mrz01.txt");
    EXPECT_FALSE(p.Frame4->isVisible());
    EXPECT_TRUE(p.Frame1->isEnabled());

    // A day the month lacks changes nothing.
    p.Command9->click();
    p.Combo7->setCurrentIndex(30);
    p.Combo3->setCurrentIndex(1);
    p.Command7->click();
    EXPECT_EQ(uhr().jetzt().date(), QDate(2024, 3, 1));
}

TEST(Datenloggerseite, Pufferlaufwerk_aendern) {
    Teststation station;
    MDIForm1 rahmen;
    station.Laufwerke.Typen['e'] = Laufwerkstyp::RAMDisk;
    station.Laufwerke.Typen['g'] = Laufwerkstyp::fest;
    Daten.Ramdisk2 = QString("e:\\");
    const QString ini = station.Programmverzeichnis() + "/Kesti.ini";
    const QByteArray vorher = Teststation::Datei_lesen(ini);
    Datenlogger p;
    p.Form_Load();
    station.Dialoge.Antworten = {"g"};
    p.Label17_Click();
    EXPECT_EQ(station.Dialoge.Meldungen.value(0),
              "Bitte gültigen Laufwerksbuchstaben für Zwischenspeicher angeben! (z.B.: e)");
    QByteArray soll = vorher;
    soll.replace("Ramdisk2=e:\\", "Ramdisk2=g:\\");
    EXPECT_EQ(Teststation::Datei_lesen(ini), soll);
    EXPECT_EQ(Daten.Ramdisk2.roh(), "g:\\");
    EXPECT_EQ(p.Label16->text(), "g:\\Harddisk ");
    EXPECT_EQ(p.Label16->palette().color(QPalette::Window), QColor(0xFF, 0xC0, 0xC0));
}

TEST(Datenloggerseite, Hilfe_und_Abbrechen_nach_Stationsschaltern) {
    Teststation station;
    Daten.HelpSchalter = 1;
    Daten.EscSchalter = 0;
    Datenlogger p;
    p.Form_Load();
    p.show();
    EXPECT_TRUE(p.Command11->isVisible());
    EXPECT_FALSE(p.Command10->isVisible());
    EXPECT_EQ(p.size(), QSize(320, 240));
    p.Command2->click();
    EXPECT_FALSE(p.isVisible());
}
