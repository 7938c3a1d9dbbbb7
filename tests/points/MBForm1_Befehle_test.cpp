// SCPI blocks: the command sequence that configures the meter, the display
// format, the factor, the unit and the reading count a block gives the run.
#include <cmath>

#include "MBForm_Testhilfe.h"
#include "points/MBForm1.h"
#include "support/Teststation.h"

namespace {
struct Initergebnis {
    bool gefunden = false;
    QString Initstring;
    QString Anzeigeformat;
    double Faktor = -1;
    i16 Messanzahlwert = -1;
    i16 Funktionsnummer = -1;
};

Initergebnis Init(const QString& block, i16 kaltstelle = 0) {
    Initergebnis e;
    e.gefunden = MBForm1::Initialisierungsstring_erstellen(block, e.Initstring, e.Anzeigeformat, e.Faktor,
                                                           e.Messanzahlwert, kaltstelle, e.Funktionsnummer);
    return e;
}

QString Einheit(const QString& block) {
    QString e = "vorher";
    MBForm1::Einheit_erstellen(block, e);
    return e;
}
}  // namespace

TEST(MBForm1_Initstring, Gleichspannung_sieben_Zeilen) {
    Teststation station;
    Variablen_initialisieren();
    Block_setzen(1, "U_Netz", 0, ":VOLT:DC", 3, 4, 3, 0, 0, 0, 1);
    const Initergebnis e = Init("U_Netz");
    ASSERT_TRUE(e.gefunden);
    EXPECT_EQ(e.Initstring, QString(":FUNC \"VOLT\"\r"
                                    ":VOLT:DC:RANG 100\r"
                                    ":VOLT:DC:DIG 7\r"
                                    ":VOLT:DC:NPLC 0.4\r"
                                    ":VOLT:DC:AVER:TCON MOV\r"
                                    ":VOLT:DC:AVER:STAT OFF\r"
                                    ":SYST:AZER:STAT ON\r"));
    EXPECT_EQ(e.Initstring.count('\r'), 7);
    EXPECT_EQ(e.Anzeigeformat, "00.00");
    EXPECT_EQ(e.Faktor, 1.0);
    EXPECT_EQ(e.Messanzahlwert, 1);
    EXPECT_EQ(e.Funktionsnummer, 0);
    EXPECT_EQ(Einheit("U_Netz"), "V DC");
}

TEST(MBForm1_Initstring, Widerstaende_und_Mittelung) {
    Teststation station;
    Variablen_initialisieren();
    // Four-wire, 10 kOhm, 5 1/2 digits, NPLC 10, 50 readings averaged, repeat, no auto-zero.
    Block_setzen(1, "R4", 3, ":FRES", 2, 11, 2, 8, 4, 1, 0);
    const Initergebnis e = Init("R4");
    EXPECT_EQ(e.Initstring, QString(":FUNC \"FRES\"\r"
                                    ":FRES:RANG 10000\r"
                                    ":FRES:DIG 6\r"
                                    ":FRES:NPLC 10\r"
                                    ":FRES:AVER:TCON REP\r"
                                    ":FRES:AVER:COUN 50;STAT ON\r"
                                    ":SYST:AZER:STAT OFF\r"));
    EXPECT_EQ(e.Anzeigeformat, "00.00");
    EXPECT_EQ(e.Messanzahlwert, 200);
    EXPECT_DOUBLE_EQ(e.Faktor, 0.001);
    EXPECT_EQ(Einheit("R4"), "kOhm");
}

TEST(MBForm1_Initstring, Wechselspannung_ohne_NPLC) {
    Teststation station;
    Variablen_initialisieren();
    Block_setzen(1, "U_AC", 1, ":VOLT:AC", 0, 4, 1, 2, 2, 1, 0);
    const Initergebnis e = Init("U_AC");
    EXPECT_EQ(e.Initstring, QString(":FUNC \"VOLT:AC\"\r"
                                    ":VOLT:AC:RANG 0.1\r"
                                    ":VOLT:AC:DIG 5\r"
                                    ":VOLT:AC:AVER:TCON REP\r"
                                    ":VOLT:AC:AVER:COUN 20;STAT ON\r"
                                    ":SYST:AZER:STAT OFF\r"));
    EXPECT_EQ(e.Anzeigeformat, "000.0");
    EXPECT_EQ(e.Faktor, 1000.0);
    EXPECT_EQ(e.Messanzahlwert, 20);
    EXPECT_EQ(Einheit("U_AC"), "mV AC");
}

TEST(MBForm1_Initstring, Thermoelement_mit_Kaltstelle_23) {
    Teststation station;
    Variablen_initialisieren();
    Block_setzen(1, "TC_Ofen", 15, ":TEMP", 0, 6, 2);
    const Initergebnis e = Init("TC_Ofen", 23);
    EXPECT_EQ(e.Initstring, QString(":FUNC \"TEMP\"\r"
                                    ":TEMP:TC:TYPE J\r"
                                    ":TEMP:TC:RJUN:SIM 23\r"
                                    ":TEMP:DIG 6\r"
                                    ":TEMP:NPLC 1\r"
                                    ":TEMP:AVER:TCON MOV\r"
                                    ":TEMP:AVER:STAT OFF\r"
                                    ":SYST:AZER:STAT ON\r"));
    EXPECT_EQ(e.Anzeigeformat, "000.0");
    EXPECT_EQ(e.Funktionsnummer, 15);
    EXPECT_EQ(e.Faktor, 1.0);
    EXPECT_EQ(Einheit("TC_Ofen"), "°C");

    Block_setzen(1, "TC_K", 16, ":TEMP", 0);
    EXPECT_TRUE(Init("TC_K", 0).Initstring.startsWith(":FUNC \"TEMP\"\r:TEMP:TC:TYPE K\r:TEMP:TC:RJUN:SIM 0\r"));
    EXPECT_EQ(Init("TC_K").Anzeigeformat, "0000");
}

TEST(MBForm1_Initstring, Impuls_nur_der_Bereichsbefehl) {
    Teststation station;
    Variablen_initialisieren();
    Block_setzen(1, "Zaehler", 8, "", 0);
    Initergebnis e = Init("Zaehler");
    EXPECT_EQ(e.Initstring, "1000000050000");
    EXPECT_EQ(e.Anzeigeformat, "000.0");
    EXPECT_EQ(e.Funktionsnummer, 8);
    EXPECT_EQ(e.Faktor, 1.0);
    EXPECT_EQ(Einheit("Zaehler"), "ms");
    Daten.Messblocktabelle[1].Bereich = 1;
    EXPECT_EQ(Init("Zaehler").Initstring, "0000000050000");
}

TEST(MBForm1_Initstring, Frequenz_und_Diode) {
    Teststation station;
    Variablen_initialisieren();
    Block_setzen(1, "f", 7, ":FREQ", 2, 4, 0);
    Block_setzen(2, "Diode", 14, ":DIOD", 0);
    Initergebnis e = Init("f");
    EXPECT_EQ(e.Initstring, QString(":FUNC \"FREQ\"\r:FREQ:THR:VOLT:RANG 30\r:FREQ:DIG 4\r"));
    EXPECT_EQ(e.Anzeigeformat, "auto");
    EXPECT_EQ(Einheit("f"), "Hz");
    e = Init("Diode");
    EXPECT_EQ(e.Initstring, QString(":FUNC \"DIOD\"\r:DIOD:CURR:RANG 0.1e-3\r"));
    EXPECT_EQ(e.Anzeigeformat, "0.000");
    EXPECT_EQ(Einheit("Diode"), "V");
}

TEST(MBForm1_Initstring, Pt100_und_KTY_wie_Widerstand) {
    Teststation station;
    Variablen_initialisieren();
    Block_setzen(1, "Pt", 10, ":FRES", 0, 8, 3, 0, 1, 0, 1);
    EXPECT_EQ(Init("Pt").Initstring, QString(":FUNC \"FRES\"\r:FRES:RANG 1000\r:FRES:DIG 7\r:FRES:NPLC 4\r"
                                             ":FRES:AVER:TCON MOV\r:FRES:AVER:COUN 10;STAT ON\r:SYST:AZER:STAT ON\r"));
    Block_setzen(1, "KTY", 13, ":RES", 0);
    EXPECT_TRUE(Init("KTY").Initstring.startsWith(":FUNC \"RES\"\r:RES:RANG 10000\r"));
    EXPECT_EQ(Einheit("KTY"), "°C");
}

TEST(MBForm1_Faktor, Einheiten_und_Shunts) {
    Teststation station;
    Variablen_initialisieren();
    Block_setzen(1, "Widerstand", 2, ":RES", 1);
    EXPECT_DOUBLE_EQ(Init("Widerstand").Faktor, 0.001);
    EXPECT_EQ(Einheit("Widerstand"), "kOhm");
    Daten.Messblocktabelle[1].Bereich = 4;
    EXPECT_DOUBLE_EQ(Init("Widerstand").Faktor, 0.000001);
    EXPECT_EQ(Einheit("Widerstand"), "MOhm");
    Daten.Messblocktabelle[1].Bereich = 0;
    EXPECT_DOUBLE_EQ(Init("Widerstand").Faktor, 1.0);
    EXPECT_EQ(Einheit("Widerstand"), "Ohm");

    Block_setzen(1, "mV", 0, ":VOLT:DC", 0);
    EXPECT_DOUBLE_EQ(Init("mV").Faktor, 1000.0);
    EXPECT_EQ(Einheit("mV"), "mV DC");

    // The shunt wins over the unit: "4-20mA 100 Ohm" is mA DC but factor 10.
    Block_setzen(1, "Strom", 4, ":VOLT:DC", 0);
    EXPECT_DOUBLE_EQ(Init("Strom").Faktor, 10.0);
    EXPECT_EQ(Einheit("Strom"), "mA DC");
    EXPECT_EQ(Init("Strom").Initstring.section('\r', 1, 1), ":VOLT:DC:RANG 10");
    const double shunt4[5] = {10, 10, 1000, 10, 100};
    for (int r = 0; r < 5; ++r) {
        Daten.Messblocktabelle[1].Bereich = r;
        EXPECT_DOUBLE_EQ(Init("Strom").Faktor, shunt4[r]) << r;
    }
    Daten.Messblocktabelle[1].Bereich = 3;
    EXPECT_EQ(Einheit("Strom"), "A DC");
    Block_setzen(1, "Wstrom", 5, ":VOLT:AC", 0);
    const double shunt5[4] = {10, 1000, 10, 100};
    for (int r = 0; r < 4; ++r) {
        Daten.Messblocktabelle[1].Bereich = r;
        EXPECT_DOUBLE_EQ(Init("Wstrom").Faktor, shunt5[r]) << r;
    }
}

TEST(MBForm1_Initstring, Namen_auf_16_Zeichen_verglichen) {
    Teststation station;
    Variablen_initialisieren();
    Block_setzen(1, "Gleichspannung", 0, ":VOLT:DC", 3);
    Block_setzen(2, "Temperaturfuehler", 9, ":RES", 0);
    EXPECT_EQ(Init("Temperaturfuehle").Funktionsnummer, 9);
    EXPECT_EQ(Init("Temperaturfuehler_X").Funktionsnummer, 9);
    EXPECT_EQ(MBForm1::Block_suchen("Gleichspannung"), 1);
    // Blocks behind the first "neu" are not in use.
    Daten.Messblocktabelle[4].Messblockname = QString("Alt");
    EXPECT_EQ(MBForm1::Block_suchen("Alt"), 0);

    const Initergebnis e = Init("gibt es nicht");
    EXPECT_FALSE(e.gefunden);
    EXPECT_EQ(e.Initstring, "");
    EXPECT_EQ(e.Faktor, 1.0);
    EXPECT_EQ(e.Messanzahlwert, 1);
    EXPECT_EQ(Einheit("gibt es nicht"), "");
}

TEST(MBForm1_Vorgaben, Standardblöcke_Vorlage_und_Reihenfolge) {
    Teststation station;
    Variablen_initialisieren();
    MBForm1::Ausdruck_zu_Index();
    MBForm1::Var_Vorgebreihenfolge_festleg();
    MBForm1::Meßblockvar_vorbeleg();
    const QStringList erwartet = {"Gleichspannung", "Wechselspannung", "Widerstand", "4-Draht Widerst.", "Gleichstrom",
                                  "Wechselstrom", "Temperatur", "Frequenz", "Impuls IZ1-200", "neu"};
    EXPECT_EQ(Messblockliste(), erwartet);
    const Messblocksatz& g = Daten.Messblocktabelle[5];
    EXPECT_EQ(g.Funktionsname.text(), "Gleichstrom");
    EXPECT_EQ(g.Funktionsnummer, 4);
    EXPECT_EQ(g.Funktionspräfix.text(), ":VOLT:DC");
    EXPECT_EQ(g.Bereich, 1.0f);
    EXPECT_EQ(g.Integrationszeit, 4.0f);
    EXPECT_EQ(g.Anzeige, 3);
    EXPECT_EQ(g.Autozero, 1);
    EXPECT_EQ(Daten.Messblocktabelle[10].Funktionspräfix.text(), ":VOLT:DC");

    const Messblocksatz& v = Daten.Messblockvorlage;
    EXPECT_EQ(v.Funktionsname.text(), "Gleichspannung");
    EXPECT_EQ(v.Funktionspräfix.text(), ":VOLT:DC");
    EXPECT_EQ(v.Bereich, 3.0f);
    EXPECT_EQ(v.Integrationszeit, 4.0f);
    EXPECT_EQ(v.Anzeige, 3);
    EXPECT_EQ(v.Sensortyp, 1);

    const char* reihenfolge[18] = {"Gleichspannung",  "Thermoelement J", "Thermoelement K", "Thermoelement T",
                                   "Wechselspannung", "Widerstand",      "PT 100 2-Draht",  "PT 1000 2-Draht",
                                   "KTY 1X-6",        "1N 4148",         "4-Draht Widerst.", "PT 100 4-Draht",
                                   "PT 1000 4-Draht", "Gleichstrom",     "Wechselstrom",    "Temperatur",
                                   "Frequenz",        "Impuls IZ1-200"};
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(Daten.Vorgabetabelle[i + 1].Vorgabefunktion.text(), reihenfolge[i]) << i + 1;

    // A named table is left alone.
    Daten.Messblocktabelle[1].Messblockname = QString("Eigener");
    Daten.Messblocktabelle[2].Messblockname = QString("neu");
    MBForm1::Meßblockvar_vorbeleg();
    EXPECT_EQ(Messblockliste(), QStringList({"Eigener", "neu"}));
}

TEST(MBForm1_Tabellen, Bereichstexte_mit_ihren_Leerzeichen) {
    MBForm1::Ausdruck_zu_Index();
    EXPECT_EQ(MBForm1::Bereichstabelle[0][1].Text, "1.000000  V");
    EXPECT_EQ(MBForm1::Bereichstabelle[0][3].Text, "30.0000   V");
    EXPECT_EQ(MBForm1::Bereichstabelle[2][0].Text, "100.0000  Ohm");
    EXPECT_EQ(MBForm1::Bereichstabelle[3][4].Text, "1.000000 MOhm");
    EXPECT_EQ(MBForm1::Bereichstabelle[4][3].Text, "1A     0,1 Ohm");
    EXPECT_EQ(MBForm1::Bereichstabelle[5][0].Text, "20mA   100 Ohm");
    EXPECT_EQ(MBForm1::Bereichstabelle[11][0].Text, "10000.00  Ohm");
    EXPECT_EQ(MBForm1::Bereichstabelle[16][0].Text, "-200 - 1372°C");
    EXPECT_EQ(MBForm1::NPLC_Liste[0].Text, "0.01");
    EXPECT_EQ(MBForm1::NPLC_Liste[6].Text, "   1");
    EXPECT_EQ(MBForm1::NPLC_Liste[11].Text, "  10");
    EXPECT_EQ(MBForm1::Sensorliste[8], "Thermoelement T");
}
