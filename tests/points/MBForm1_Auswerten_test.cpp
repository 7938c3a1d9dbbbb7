// SCPI blocks: meter replies into value texts, resistance into temperature,
// and the header line of the logger file.
#include <cmath>

#include "MBForm_Testhilfe.h"
#include "points/MBForm1.h"
#include "support/Teststation.h"

namespace {
// Two DC positions and a thermocouple position, units and names on.
void Scan_vorbereiten() {
    Datenzeile_vorbereiten();
    Block_setzen(1, "Gleichspannung", 0, ":VOLT:DC", 3);
    Block_setzen(2, "TC", 15, ":TEMP", 0);
    Scanposition_setzen(1, "Gleichspannung", "U1");
    Scanposition_setzen(2, "Gleichspannung", "U2");
    Scanposition_setzen(3, "TC", "Ofen");
}

void Auswerten(int zeile, QString antwort, int kanäle, const QString& format = "auto", double faktor = 1,
               int messanzahl = 1) {
    MBForm1::Auswerten(static_cast<i16>(zeile), antwort, static_cast<i16>(kanäle), format, faktor,
                       static_cast<i16>(messanzahl));
}

const Ausgabesatz& Text(int pos) { return Daten.Messwerttexte[pos]; }
}  // namespace

TEST(MBForm1_Auswerten, Eine_Lesung_je_Position) {
    Teststation station;
    Scan_vorbereiten();
    Auswerten(1, "+1.23456789E+00,-2.50000000E-01", 2);
    EXPECT_EQ(Text(1).Logwert, "1,234568");
    EXPECT_EQ(Text(1).Datensegment, "1,234568;U1;V DC;");
    EXPECT_EQ(Text(1).Einheitensegment, "V DC;");
    EXPECT_EQ(Text(1).Blocknummer, 1);
    EXPECT_EQ(Text(2).Logwert, "-0,25000");
    EXPECT_EQ(Text(2).Datensegment, "-0,25000;U2;V DC;");
    EXPECT_EQ(Text(2).Blocknummer, 1);
}

TEST(MBForm1_Auswerten, Format_und_Faktor_des_Blocks) {
    Teststation station;
    Scan_vorbereiten();
    // 6 1/2 digits on the 100 mV range: 0.0123456 V is 12,3456 mV; with
    // 3 1/2 digits it is rounded half away from zero.
    Daten.Messblocktabelle[1].Bereich = 0;
    Auswerten(1, "+1.23456000E-02", 1, "000.0", 1000);
    EXPECT_EQ(Text(1).Logwert, "012,3456");
    Daten.Messblocktabelle[1].Anzeige = 0;
    Auswerten(1, "+1.23456000E-02", 1, "000.0", 1000);
    EXPECT_EQ(Text(1).Logwert, "012,4");
    EXPECT_EQ(Text(1).Datensegment, "012,4;U1;mV DC;");
}

TEST(MBForm1_Auswerten, Zu_wenige_Lesungen_und_Überlauf) {
    Teststation station;
    Scan_vorbereiten();
    Auswerten(1, "+1.50000000E+00", 2);
    EXPECT_EQ(Text(1).Logwert, "1,500000");
    EXPECT_EQ(Text(2).Logwert, "NaN");
    EXPECT_EQ(Text(2).Datensegment, "NaN;U2;V DC;");

    Auswerten(1, "+9.9E37,-9.9E37", 2);
    EXPECT_EQ(Text(1).Logwert, "NaN");
    EXPECT_EQ(Text(1).Datensegment, "NaN;U1;V DC;");
    EXPECT_EQ(Text(2).Logwert, "NaN");
    EXPECT_EQ(Text(2).Datensegment, "NaN;U2;V DC;");

    // 10000.0 after the factor is the meter's marker for no value.
    Auswerten(1, "+1.00000000E+01,+1.00000000E+04", 2, "auto", 1000);
    EXPECT_EQ(Text(1).Logwert, "NaN");
    EXPECT_EQ(Text(2).Logwert, "10000000");
}

TEST(MBForm1_Auswerten, Unlesbare_Lesungen_halten_nichts_an) {
    Teststation station;
    Scan_vorbereiten();
    const QStringList unlesbar = {"", "abc", "+", "-", "+1.0E+9999", "-1.0E-99999", "+1.0", "E+05", "+1.2.3E+00",
                                  "++1.0E+00", "+1.0E", "\r\n", QString(200, 'x')};
    for (const QString& lesung : unlesbar) {
        Daten.Messwerttexte[1] = {};
        Daten.Messwerttexte[2] = {};
        Auswerten(1, lesung + ",+2.00000000E+00", 2);
        EXPECT_EQ(Text(1).Logwert, "NaN") << lesung.toStdString();
        EXPECT_EQ(Text(1).Datensegment, "NaN;U1;V DC;") << lesung.toStdString();
        EXPECT_EQ(Text(2).Logwert, "2,000000") << lesung.toStdString();
    }
    double wert = 7;
    EXPECT_FALSE(MBForm1::Meßdatenstring_aufbereit("+1.0E+400", wert));
    EXPECT_TRUE(std::isnan(wert));
    EXPECT_TRUE(MBForm1::Meßdatenstring_aufbereit("-4.50000E-03", wert));
    EXPECT_DOUBLE_EQ(wert, -0.0045);
    EXPECT_TRUE(MBForm1::Meßdatenstring_aufbereit("1.234567E+00", wert));
    EXPECT_DOUBLE_EQ(wert, 1.234567);
    // The last value of a buffered reply keeps its comma.
    EXPECT_TRUE(MBForm1::Meßdatenstring_aufbereit("+2.5E+01,", wert));
    EXPECT_DOUBLE_EQ(wert, 25);
}

TEST(MBForm1_Auswerten, Kaltstelle_abziehen) {
    Teststation station;
    Scan_vorbereiten();
    Daten.Referenztemperatur = 23.5;
    Auswerten(3, "+1.00250000E+02", 1, "000.0");
    EXPECT_EQ(Text(3).Logwert, "100,2500");
    EXPECT_EQ(Text(3).Datensegment, "100,2500;Ofen;°C;");
    Daten.Messblocktabelle[2].Kaltstelle_subtrahieren = 1;
    Auswerten(3, "+1.00250000E+02", 1, "000.0");
    EXPECT_EQ(Text(3).Logwert, "076,7500");
    EXPECT_EQ(Text(3).Blocknummer, 2);
    // Only thermocouples subtract it.
    Daten.Messblocktabelle[1].Kaltstelle_subtrahieren = 1;
    Auswerten(1, "+1.00250000E+02", 1);
    EXPECT_EQ(Text(1).Logwert, "100,2500");
}

TEST(MBForm1_Auswerten, Dezimalpunkt_nur_im_Datentext) {
    Teststation station;
    Scan_vorbereiten();
    Daten.Datenformatsatz.Dezimalpunkt = 1;
    Auswerten(1, "+1.23456789E+00", 1);
    EXPECT_EQ(Text(1).Logwert, "1,234568");
    EXPECT_EQ(Text(1).Datensegment, "1.234568;U1;V DC;");
}

TEST(MBForm1_Auswerten, Ohne_Einheiten_und_Namen) {
    Teststation station;
    Scan_vorbereiten();
    Daten.Datenformatsatz.Einheiten = 0;
    Daten.Datenformatsatz.Signalnamen = 0;
    Auswerten(1, "+1.23456789E+00", 1);
    EXPECT_EQ(Text(1).Datensegment, "1,234568;");
    EXPECT_EQ(Text(1).Einheitensegment, "");
}

TEST(MBForm1_Auswerten, Mehrere_Lesungen_einer_Position) {
    Teststation station;
    Scan_vorbereiten();
    Daten.Messwerttexte[2].Datensegment = "unberührt";
    Auswerten(1, "+1.50000000E+00,+2.50000000E+00,+3.25000000E+00,", 3, "auto", 1, 3);
    EXPECT_EQ(Text(1).Datensegment, "1,500000;2,500000;3,250000;U1;V DC;");
    EXPECT_EQ(Text(1).Logwert, "3,250000");
    EXPECT_EQ(Text(2).Datensegment, "unberührt");

    Auswerten(1, "+1.50000000E+00,+2.50000000E+00,", 3, "auto", 1, 3);
    EXPECT_EQ(Text(1).Datensegment, "1,500000;2,500000;NaN;U1;V DC;");
    EXPECT_EQ(Text(1).Logwert, "NaN");
}

TEST(MBForm1_Auswerten, Zeit_vor_jedem_Wert_und_am_Zeilenbeginn) {
    Teststation station;
    Scan_vorbereiten();
    Daten.Messwerttexte[1].Messwertzeit = "12:00:00;";
    Daten.Messwerttexte[2].Messwertzeit = "12:00:01;";
    Auswerten(1, "+1.50000000E+00,+2.50000000E+00", 2);
    EXPECT_EQ(Text(1).Datensegment, "12:00:00;1,500000;U1;V DC;");
    EXPECT_EQ(Text(2).Datensegment, "12:00:01;2,500000;U2;V DC;");

    // With the time at the line start the first value carries none, and
    // its time text is kept for the line.
    Daten.Datenformatsatz.Zeit_am_Zeilenbeginn = -1;
    Auswerten(1, "+1.50000000E+00,+2.50000000E+00", 2);
    EXPECT_EQ(Text(1).Datensegment, "1,500000;U1;V DC;");
    EXPECT_EQ(Text(1).Messwertzeit, "12:00:00;");
    EXPECT_EQ(Text(2).Datensegment, "12:00:01;2,500000;U2;V DC;");
}

TEST(MBForm1_R_zu_T, Platin_KTY_und_Grenzen) {
    double T = -1;
    MBForm1::R_zu_T(9, 100.0, T);
    EXPECT_NEAR(T, 0.0, 1e-3);
    MBForm1::R_zu_T(6, 138.5, T);
    EXPECT_NEAR(T, 100.0, 0.5);
    MBForm1::R_zu_T(10, 138.5, T);
    EXPECT_NEAR(T, 100.0, 0.5);
    MBForm1::R_zu_T(11, 1385.0, T);
    EXPECT_NEAR(T, 100.0, 0.5);
    MBForm1::R_zu_T(12, 1000.0, T);
    EXPECT_NEAR(T, 0.0, 1e-3);
    // (R + 3) / 1980 = 1 is the KTY at 25 degrees.
    MBForm1::R_zu_T(13, 1977.0, T);
    EXPECT_NEAR(T, 25.0, 1e-6);
    // No real root: the value stays.
    MBForm1::R_zu_T(9, 1000.0, T);
    EXPECT_EQ(T, 1000.0);
    MBForm1::R_zu_T(13, -5000.0, T);
    EXPECT_EQ(T, -5000.0);
    MBForm1::R_zu_T(14, 0.612, T);
    EXPECT_EQ(T, 0.612);
    MBForm1::R_zu_T(0, 1.5, T);
    EXPECT_EQ(T, 1.5);
}

TEST(MBForm1_Auswerten, Pt100_als_Temperatur) {
    Teststation station;
    Datenzeile_vorbereiten();
    Block_setzen(1, "Pt", 9, ":RES", 0, 4, 1);
    Scanposition_setzen(1, "Pt", "Raum");
    Auswerten(1, "+1.00000000E+02", 1, "000.0");
    EXPECT_EQ(Text(1).Datensegment.section(';', 1), "Raum;°C;");
    EXPECT_EQ(Text(1).Logwert, "000,00");
}

namespace {
void Aufzeichnung_vorbereiten() {
    Datenzeile_vorbereiten();
    Block_setzen(1, "Gleichspannung", 0, ":VOLT:DC", 3);
    Block_setzen(2, "Widerstand", 2, ":RES", 4);
    Daten.Logtrennzeichen = ";";
    Daten.Aufzeichnungstabelle[0].Signalname = QString("U1");
    Daten.Aufzeichnungstabelle[1].Signalname = QString("R1");
    Daten.Aufzeichnungstexte[0].Blocknummer = 1;
    Daten.Aufzeichnungstexte[1].Blocknummer = 2;
    Datenloggersatz_t& l = Daten.Datenloggersatz;
    l.Datenlogger_ein = 1;
    l.Header_ein = 1;
    l.Zeit_ein = 1;
    l.Zeit_am_Zeilenbeginn = -1;
    l.Zeit_nach_jedem_Messwert = 0;
}
}  // namespace

TEST(MBForm1_Header, Kopfzeile_nach_Loggereinstellung) {
    Teststation station;
    Aufzeichnung_vorbereiten();
    Datenloggersatz_t& l = Daten.Datenloggersatz;
    MBForm1::Header_erstellen();
    EXPECT_EQ(Daten.Kopfzeile_roh, "Zeit/Datum;U1 [V DC];R1 [MOhm];");

    l.Zeit_am_Zeilenbeginn = 0;
    l.Zeit_nach_jedem_Messwert = -1;
    MBForm1::Header_erstellen();
    EXPECT_EQ(Daten.Kopfzeile_roh, "Zeit/Datum;U1 [V DC];Zeit/Datum;R1 [MOhm];");

    l.Zeit_ein = 0;
    MBForm1::Header_erstellen();
    EXPECT_EQ(Daten.Kopfzeile_roh, "U1 [V DC];R1 [MOhm];");

    l.Zeit_ein = 1;
    l.Zeit_am_Zeilenbeginn = -1;  // both time options: no header
    MBForm1::Header_erstellen();
    EXPECT_EQ(Daten.Kopfzeile_roh, "");

    l.Zeit_nach_jedem_Messwert = 0;
    l.Header_ein = 0;
    MBForm1::Header_erstellen();
    EXPECT_EQ(Daten.Kopfzeile_roh, "");

    l.Header_ein = 1;
    l.Datenlogger_ein = 0;
    MBForm1::Header_erstellen();
    EXPECT_EQ(Daten.Kopfzeile_roh, "");
}
