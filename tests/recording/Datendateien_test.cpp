// What a record leaves in the data-interface files and in the logger buffer:
// the exact bytes of the lines, the ring of "Daten&.txt", the files that only
// exist with calculated values, deleted columns, header lines, file names.
#include "Datendateien_Testhilfe.h"

#include "common/Fenster.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"

namespace {
// Two points, "Temp1" in °C and "Druck" in bar, read one second apart.
void Zwei_Punkte(const QString& temp = "1,234", const QString& druck = "-0,50", const QDateTime& wann = Messzeit) {
    Datendateien_Test::Punkt(1, "DCV 10V", "Temp1", 1, 1);
    Datendateien_Test::Punkt(2, "DCV 10V", "Druck", 1, 2);
    Datendateien_Test::Wert(1, temp, "°C", wann);
    Datendateien_Test::Wert(2, druck, "bar", wann.addSecs(1));
}
}

TEST_F(Datendateien_Test, Zeilen_mit_Tabulator_Datum_und_Zeit_am_Zeilenbeginn) {
    Daten.Trennzeichen = "\t";
    Daten.Kopfzeile_roh = "Zeit;Temp1 [°C];Druck [bar];";
    Daten.Headermerker = 1;
    Zwei_Punkte();
    Satz_schreiben();

    EXPECT_EQ(Datei("d:\\Daten.txt"), QByteArray("14 12 06\t09:30:05\t1,234\tTemp1\t\xB0" "C\t-0,50\tDruck\tbar\t\r\n"));
    EXPECT_EQ(Datei("e:\\06121409.txt"), QByteArray("Zeit;Temp1 [\xB0" "C];Druck [bar];\r\n"
                                                    "14.12.06 09:30:05;1,234;-0,50;\r\n"));
    EXPECT_EQ(Daten.Headermerker, 0);
}

TEST_F(Datendateien_Test, Zeilen_mit_Strichpunkt_Zeit_nach_jedem_Wert_und_Dezimalpunkt) {
    Daten.Datenformatsatz.Datum = 0;
    Daten.Datenformatsatz.Zeit_am_Zeilenbeginn = 0;
    Daten.Datenformatsatz.Zeit_nach_jedem_Messwert = -1;
    Daten.Datenformatsatz.Einheiten = 0;
    Daten.Datenformatsatz.Dezimalpunkt = 1;
    Daten.Logtrennzeichen = "\t";
    Daten.Datenloggersatz.Zeit_am_Zeilenbeginn = 0;
    Daten.Datenloggersatz.Zeit_nach_jedem_Messwert = -1;
    Daten.Datenloggersatz.Dezimalpunkt = 1;
    Zwei_Punkte();
    Satz_schreiben();

    EXPECT_EQ(Datei("d:\\Daten.txt"), QByteArray("09:30:05;1.234;Temp1;09:30:06;-0.50;Druck;\r\n"));
    EXPECT_EQ(Datei("e:\\06121409.txt"), QByteArray("14.12.06 09:30:05\t1.234\t14.12.06 09:30:06\t-0.50\t\r\n"));
}

TEST_F(Datendateien_Test, Zeilen_mit_Doppelpunkt_nur_Datum_ohne_Namen_und_ohne_Loggerzeit) {
    Daten.Trennzeichen = ":";
    Daten.Datumsformat = "dd mmm yy";
    Daten.Datenformatsatz.Zeit = 0;
    Daten.Datenformatsatz.Signalnamen = 0;
    Daten.Logtrennzeichen = ":";
    Daten.Datenloggersatz.Zeit_ein = 0;
    Zwei_Punkte();
    Satz_schreiben();

    EXPECT_EQ(Datei("d:\\Daten.txt"), QByteArray("14 Dez 06:1,234:\xB0" "C:-0,50:bar:\r\n"));
    EXPECT_EQ(Datei("e:\\06121409.txt"), QByteArray("1,234:-0,50:\r\n"));
}

TEST_F(Datendateien_Test, Geloeschte_Spalte_zeigt_Platzhalter_und_behaelt_die_Spaltenzahl) {
    Daten.Datenformatsatz.Zeit_am_Zeilenbeginn = 0;
    Daten.Datenformatsatz.Zeit_nach_jedem_Messwert = -1;
    Daten.Datenloggersatz.Zeit_am_Zeilenbeginn = 0;
    Daten.Datenloggersatz.Zeit_nach_jedem_Messwert = -1;
    Punkt(1, "DCV 10V", "Temp1", 1, 1);
    Punkt(3, "DCV 10V", "Druck", 1, 2);
    Daten.Aufzeichnungstabelle[1].Messblockname = "gelöscht!";
    Daten.Aufzeichnungstabelle[1].Signalname = "gelöscht!";
    // the deleted point is gone from the scan list: Druck moved up
    Daten.Scanlistentabelle[2] = Daten.Scanlistentabelle[3];
    Daten.Scanlistentabelle[3] = Scanlistensatz{};
    Daten.Aufzeichnungstabelle[2] = Daten.Scanlistentabelle[2];
    Wert(1, "1,234", "°C", Messzeit);
    Wert(2, "-0,50", "bar", Messzeit.addSecs(1));
    Satz_schreiben();

    EXPECT_EQ(Datei("d:\\Daten.txt"), QByteArray("14 12 06;09:30:05;1,234;Temp1;\xB0" "C;--;9E99;--;--;"
                                                 "09:30:06;-0,50;Druck;bar;\r\n"));
    EXPECT_EQ(Datei("e:\\06121409.txt"), QByteArray("14.12.06 09:30:05;1,234;--;gel\xF6scht!;"
                                                    "14.12.06 09:30:06;-0,50;\r\n"));

    // Without a time per value the placeholder has none either, also when
    // the position option still says "after every value".
    Daten.Datenformatsatz.Zeit = 0;
    Daten.Datenformatsatz.Einheiten = 0;
    Daten.Datenloggersatz.Zeit_ein = 0;
    Wert(1, "1,234", "°C", Messzeit);
    Wert(2, "-0,50", "bar", Messzeit.addSecs(1));
    Satz_schreiben();
    EXPECT_EQ(Datei("d:\\Daten.txt"), QByteArray("14 12 06;1,234;Temp1;9E99;--;-0,50;Druck;\r\n"));
    EXPECT_TRUE(Datei("e:\\06121409.txt").endsWith("\r\n1,234;gel\xF6scht!;-0,50;\r\n"));
}

TEST_F(Datendateien_Test, Spalte_ohne_Punkt_in_der_Scanliste_behaelt_ihre_alten_Texte) {
    Zwei_Punkte();
    Satz_schreiben();
    // Druck's terminal changed in the scan list but not yet in the recording order.
    Zwei_Punkte("2,000", "7,77", Messzeit.addSecs(10));
    Daten.Scanlistentabelle[2].Klemmennummer = 5;
    Daten.Aufzeichnungstabelle[1].Klemmennummer = 2;
    Satz_schreiben();

    EXPECT_EQ(Daten.Aufzeichnungstexte[1].Datensegment, "-0,50;Druck;bar;");
    EXPECT_EQ(Datei("d:\\Daten.txt"), QByteArray("14 12 06;09:30:15;2,000;Temp1;\xB0" "C;-0,50;Druck;bar;\r\n"));
    EXPECT_TRUE(Datei("e:\\06121409.txt").endsWith("\r\n14.12.06 09:30:15;2,000;-0,50;\r\n"));
}

TEST_F(Datendateien_Test, Beide_Zeitoptionen_des_Loggers_geben_Zeilen_ohne_Werte) {
    Daten.Datenloggersatz.Zeit_am_Zeilenbeginn = -1;
    Daten.Datenloggersatz.Zeit_nach_jedem_Messwert = -1;
    Daten.Logzeile = "alt";
    Zwei_Punkte();
    Satz_schreiben();
    Satz_schreiben();
    EXPECT_EQ(Daten.Logzeile, "");
    EXPECT_EQ(Daten.Logzeile_roh, "");
    EXPECT_EQ(Datei("e:\\06121409.txt"), QByteArray("\r\n\r\n"));
}

TEST_F(Datendateien_Test, Logger_aus_schreibt_nur_die_Datenschnittstelle) {
    Daten.Datenloggersatz.Datenlogger_ein = 0;
    Daten.Logzeile = "alt";
    Daten.Headermerker = 1;
    Zwei_Punkte();
    Satz_schreiben();
    EXPECT_EQ(Daten.Logzeile, "alt");
    EXPECT_EQ(Daten.Headermerker, 1);
    EXPECT_FALSE(Vorhanden("e:\\06121409.txt"));
    EXPECT_EQ(Datei("d:\\Daten.txt"), QByteArray("14 12 06;09:30:05;1,234;Temp1;\xB0" "C;-0,50;Druck;bar;\r\n"));
}

TEST_F(Datendateien_Test, Ohne_berechnete_Werte_bleiben_Roh_und_Rechdat_unberuehrt) {
    Teststation::Datei_schreiben(Pfade::lokal("d:\\Rohdat.txt"), "alt roh\r\n");
    Teststation::Datei_schreiben(Pfade::lokal("d:\\Rechdat.txt"), "alt rech\r\n");
    // Texts of a definition list that was there before must not reach the files.
    CalcuReihenfolge::Rechendatenteil = "99;alt;V;";
    Daten.Logzeile_rech = "09:00:00;99;";
    CalcuReihenfolge seite;  // the list holds only its closing line
    seite.List2->addItem(CalcuReihenfolge::Leerer_Eintrag);
    Zwei_Punkte();
    Satz_schreiben();

    EXPECT_EQ(Datei("d:\\Rohdat.txt"), "alt roh\r\n");
    EXPECT_EQ(Datei("d:\\Rechdat.txt"), "alt rech\r\n");
    EXPECT_FALSE(Vorhanden("d:\\Rohdat&.txt"));
    EXPECT_FALSE(Vorhanden("d:\\Rechdat&.txt"));
    EXPECT_EQ(Daten.Logzeile, Daten.Logzeile_roh);
    EXPECT_EQ(Daten.Logzeile_rech, "");
    EXPECT_EQ(Datei("d:\\Daten.txt"), QByteArray("14 12 06;09:30:05;1,234;Temp1;\xB0" "C;-0,50;Druck;bar;\r\n"));
    EXPECT_EQ(QDir(Pfade::lokal("d:\\")).entryList(QDir::Files),
              (QStringList{"Daten&.txt", "Daten.txt", "Rechdat.txt", "Rohdat.txt"}));
}

TEST_F(Datendateien_Test, Berechnete_Werte_in_allen_Dateien) {
    CalcuReihenfolge seite;
    seite.List2->addItems({"Summe=[Temp1]+[Druck]_V", CalcuReihenfolge::Neuer_Eintrag});
    Zwei_Punkte("1,5", "2,25");
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    Daten.Kopfzeile_roh = "Zeit;Temp1 [°C];Druck [bar];";
    Daten.Headermerker = 1;
    Satz_schreiben();

    EXPECT_EQ(Datei("d:\\Daten.txt"), QByteArray("14 12 06;09:30:05;1,5;Temp1;\xB0" "C;2,25;Druck;bar;3,75;Summe;V;\r\n"));
    EXPECT_EQ(Datei("d:\\Rohdat.txt"), QByteArray("14 12 06;09:30:05;1,5;Temp1;\xB0" "C;2,25;Druck;bar;\r\n"));
    EXPECT_EQ(Datei("d:\\Rechdat.txt"), QByteArray("14 12 06;09:30:05;3,75;Summe;V;\r\n"));
    EXPECT_TRUE(Vorhanden("d:\\Rohdat&.txt"));
    EXPECT_TRUE(Vorhanden("d:\\Rechdat&.txt"));
    EXPECT_EQ(Datei("d:\\Rohdat&.txt"), "");
    EXPECT_EQ(Datei("d:\\Rechdat&.txt"), "");
    EXPECT_EQ(Daten.Logzeile, "14.12.06 09:30:05;1,5;2,25;3,75;");
    EXPECT_EQ(Daten.Logzeile_roh, "14.12.06 09:30:05;1,5;2,25;");
    EXPECT_EQ(Datei("e:\\06121409.txt"), QByteArray("Zeit;Temp1 [\xB0" "C];Druck [bar];Summe [V];\r\n"
                                                    "14.12.06 09:30:05;1,5;2,25;3,75;\r\n"));

    // The empty companions are recreated empty with every record.
    Teststation::Datei_schreiben(Pfade::lokal("d:\\Rohdat&.txt"), "fremd\r\n");
    Satz_schreiben();
    EXPECT_EQ(Datei("d:\\Rohdat&.txt"), "");
}

TEST_F(Datendateien_Test, Berechnete_Werte_erreichen_die_Schnittstelle_auch_mit_Logger_aus) {
    Daten.Datenloggersatz.Datenlogger_ein = 0;
    CalcuReihenfolge seite;
    seite.List2->addItems({"Summe=[Temp1]+[Druck]_V", CalcuReihenfolge::Neuer_Eintrag});
    Zwei_Punkte("1,5", "2,25");
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    Satz_schreiben();
    EXPECT_EQ(Datei("d:\\Rechdat.txt"), QByteArray("14 12 06;09:30:05;3,75;Summe;V;\r\n"));
}

TEST_F(Datendateien_Test, Kopfzeile_einmal_je_Headermerker_angehaengt_und_getrennt) {
    CalcuReihenfolge seite;
    seite.List2->addItems({"Summe=[Temp1]+[Druck]_V", CalcuReihenfolge::Neuer_Eintrag});
    Zwei_Punkte("1,5", "2,25");
    ASSERT_TRUE(seite.CalcuVar_vorbelegen());
    Daten.Kopfzeile_roh = "Zeit;Temp1;Druck;";

    // appended
    Daten.Headermerker = 1;
    Satz_schreiben();
    Satz_schreiben();
    Daten.Headermerker = 1;
    Satz_schreiben();
    const QByteArray zeile = "14.12.06 09:30:05;1,5;2,25;3,75;\r\n";
    EXPECT_EQ(Datei("e:\\06121409.txt"), "Zeit;Temp1;Druck;Summe [V];\r\n" + zeile + zeile +
                                             "Zeit;Temp1;Druck;Summe [V];\r\n" + zeile);

    // separate: ".cal" starts its lines with the time, ".roh" has the measured values
    Daten.Knopfzustände[7] = 0;
    Daten.Knopfzustände[8] = -1;
    Daten.Headermerker = 1;
    Satz_schreiben();
    Satz_schreiben();
    EXPECT_EQ(Daten.Rechdateiname, "06121409.cal");
    EXPECT_EQ(Daten.Rohdateiname, "06121409.roh");
    EXPECT_EQ(Datei("e:\\06121409.cal"), QByteArray("Zeit/Datum;Summe [V];\r\n"
                                                    "14.12.06 09:30:05;3,75;\r\n"
                                                    "14.12.06 09:30:05;3,75;\r\n"));
    EXPECT_EQ(Datei("e:\\06121409.roh"), QByteArray("Zeit;Temp1;Druck;\r\n"
                                                    "14.12.06 09:30:05;1,5;2,25;\r\n"
                                                    "14.12.06 09:30:05;1,5;2,25;\r\n"));
    EXPECT_EQ(Daten.Headermerker, 0);
}

TEST_F(Datendateien_Test, Ringpuffer_haelt_die_letzten_99_Zeilen_neueste_zuerst) {
    Punkt(1, "DCV 10V", "Temp1", 1, 1);
    const auto satz = [](int n) {
        Wert(1, QString("%1,0").arg(n), "°C", Messzeit);
        Daten.Messwerttexte[1].Zeilenanfang = QString("Nr %1;").arg(n);
        Satz_schreiben();
    };
    satz(1);
    EXPECT_EQ(Datei("d:\\Daten&.txt"), QByteArray("Nr 1;1,0;Temp1;\xB0" "C;\r\n"));

    for (int n = 2; n <= 150; ++n)
        satz(n);
    const QList<QByteArray> zeilen = Datei("d:\\Daten&.txt").split('\n');
    ASSERT_EQ(zeilen.size(), 100);  // 99 lines and the empty rest after the last line end
    EXPECT_TRUE(zeilen.last().isEmpty());
    for (int k = 0; k < 99; ++k)
        EXPECT_EQ(zeilen[k], "Nr " + QByteArray::number(150 - k) + ";" + QByteArray::number(150 - k) +
                                 ",0;Temp1;\xB0" "C;\r") << k;
    EXPECT_EQ(Datei("d:\\Daten.txt"), QByteArray("Nr 150;150,0;Temp1;\xB0" "C;\r\n"));
    EXPECT_EQ(Daten.Datenpuffer[1], "Nr 150;150,0;Temp1;°C;");
    EXPECT_EQ(Daten.Datenpuffer[100], "Nr 51;51,0;Temp1;°C;");
}

TEST_F(Datendateien_Test, Dateinamen_nach_Stunde_Tag_und_Monat) {
    Daten.Dateiperiode = "Stunde";
    Uhr_stellen(QDateTime(QDate(2006, 12, 31), QTime(23, 59, 0)));
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(Daten.Logdateiname, "06123123.txt");
    Uhr_stellen(QDateTime(QDate(2007, 1, 1), QTime(0, 0, 0)));
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(Daten.Logdateiname, "07010100.txt");

    Daten.Dateiperiode = "Tag";
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(Daten.Logdateiname, "07Jan01.txt");
    Uhr_stellen(QDateTime(QDate(2007, 1, 1), QTime(23, 59, 0)));
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(Daten.Logdateiname, "07Jan01.txt");

    Daten.Dateiperiode = "Monat";
    Uhr_stellen(QDateTime(QDate(2007, 3, 15), QTime(12, 0, 0)));
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(Daten.Logdateiname, "2007Mrz.txt");
    Daten.Dateiperiode = "irgendwas";
    Datenformat::Dateinamen_erzeug();
    EXPECT_EQ(Daten.Logdateiname, "2007Mrz.txt");
}

TEST_F(Datendateien_Test, Verzeichnisse_und_Projektkurzname) {
    for (const char* pfad : {"c:\\kestrix\\extern\\messdat\\Versuch", "c:\\kestrix\\extern\\config\\Versuch",
                             "c:\\kestrix\\intern\\protdat"})
        EXPECT_TRUE(QFileInfo(Pfade::lokal(pfad)).isDir()) << pfad;
    EXPECT_EQ(Daten.Projektkurzname, "Versuch");
    Daten.Projektname = "Ohne_Endung";
    Datendateien::Projektkurzname();
    EXPECT_EQ(Daten.Projektkurzname, "Ohne_Endung");
    Daten.Projektname = "a.b.kxp";
    Datendateien::Meßdatenverz_anleg();
    EXPECT_TRUE(QFileInfo(Pfade::lokal("c:\\kestrix\\extern\\messdat\\a")).isDir());
    // An existing directory in another spelling is used, not doubled.
    QDir().mkpath(Pfade::Stationswurzel() + "/c/kestrix/extern/messdat/GROSS");
    Daten.Projektname = "gross.kxp";
    Datendateien::Meßdatenverz_anleg();
    EXPECT_FALSE(QFileInfo::exists(Pfade::Stationswurzel() + "/c/kestrix/extern/messdat/gross"));
}

TEST_F(Datendateien_Test, Projektseite_legt_die_Datenverzeichnisse_eines_gewaehlten_Projekts_an) {
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    ASSERT_NE(Fenster.Projekt, nullptr);
    ASSERT_TRUE(Fenster.Projekt->Messdatenverzeichnis_anlegen);
    Daten.Projektname = "Neu.kxp";
    Fenster.Projekt->Messdatenverzeichnis_anlegen();
    EXPECT_EQ(Daten.Projektkurzname, "Neu");
    EXPECT_TRUE(QFileInfo(Pfade::lokal("c:\\kestrix\\extern\\messdat\\Neu")).isDir());
    EXPECT_TRUE(QFileInfo(Pfade::lokal("c:\\kestrix\\extern\\config\\Neu")).isDir());
}
