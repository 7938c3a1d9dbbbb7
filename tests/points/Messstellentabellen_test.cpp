// The measuring-point tables: default terminal names, block list, names in
// their fixed-width fields, and the reset before a project is loaded.
#include <gtest/gtest.h>

#include "common/Programmdaten.h"
#include "points/Messstellentabellen.h"
#include "support/Teststation.h"

namespace {
QByteArray Bytes(const char* daten, int n) { return QByteArray(daten, n); }
}

TEST(Kanalnamen, Klemmen_und_Anschlussarten_aller_Gruppen) {
    Teststation station;
    Kanalname_in_Var_schreiben();
    const Kanalgruppe* k = Daten.Kanaltabelle;
    EXPECT_EQ(k[1].Klemme[1].text(), "A 01");
    EXPECT_EQ(k[1].Art[1].text(), "Input");
    EXPECT_EQ(k[1].Klemme[8].text(), "A 08");
    EXPECT_EQ(k[2].Klemme[1].text(), "B 01");
    EXPECT_EQ(k[2].Art[1].text(), "Sense");
    EXPECT_EQ(k[15].Klemme[4].text(), "O 04");
    EXPECT_EQ(k[15].Art[4].text(), "Input");
    EXPECT_EQ(k[16].Klemme[8].text(), "P 08");
    EXPECT_EQ(k[16].Art[8].text(), "Sense");
    for (int g = 1; g <= 16; ++g)
        for (int t = 1; t <= 8; ++t) {
            EXPECT_EQ(k[g].Art[t].text(), g % 2 ? "Input" : "Sense") << g << '/' << t;
            EXPECT_EQ(Bytes(k[g].Klemme[t].daten(), 4).mid(1), QByteArray(" 0") + char('0' + t));
        }
}

TEST(Kanalnamen, Element_null_und_Gruppe_null_bleiben_unberuehrt) {
    Teststation station;
    Daten.Kanaltabelle[3].Klemme[0] = "XY";
    Kanalname_in_Var_schreiben();
    EXPECT_EQ(Bytes(Daten.Kanaltabelle[3].Klemme[0].daten(), 4), QByteArray("XY  "));
    for (int g = 1; g <= 16; ++g)
        EXPECT_EQ(Bytes(Daten.Kanaltabelle[g].Art[0].daten(), 5), QByteArray(5, '\0')) << g;
    for (int t = 0; t <= 8; ++t) {
        EXPECT_EQ(Bytes(Daten.Kanaltabelle[0].Klemme[t].daten(), 4), QByteArray(4, '\0'));
        EXPECT_EQ(Bytes(Daten.Kanaltabelle[0].Art[t].daten(), 5), QByteArray(5, '\0'));
    }
    // Names and blocks are not the business of the default names.
    EXPECT_EQ(Bytes(Daten.Kanaltabelle[1].Signalbezeichnung[1].daten(), 20), QByteArray(20, '\0'));
}

TEST(Kanaltabelle, Signalname_von_sechzehn_Zeichen) {
    Teststation station;
    Daten.Kanaltabelle[5].Signalbezeichnung[3] = "Rücklauf_Kessel2";
    const Festtext<20>& feld = Daten.Kanaltabelle[5].Signalbezeichnung[3];
    EXPECT_EQ(feld.roh(), "Rücklauf_Kessel2    ");
    EXPECT_EQ(feld.text(), "Rücklauf_Kessel2");
    EXPECT_EQ(Bytes(feld.daten(), 20).size(), 20);
    EXPECT_EQ(static_cast<unsigned char>(feld.daten()[1]), 0xFC);  // one byte for ü
}

TEST(Messblockliste, Endet_beim_ersten_neu) {
    Teststation station;
    Daten.Messblocktabelle[1].Messblockname = "Gleichspannung";
    Daten.Messblocktabelle[2].Messblockname = "Widerstand";
    Daten.Messblocktabelle[3].Messblockname = "neu";
    Daten.Messblocktabelle[4].Messblockname = "Temperatur";
    EXPECT_EQ(Messblockliste(), QStringList({"Gleichspannung", "Widerstand", "neu"}));

    Daten.Messblocktabelle[1].Messblockname = "neu";
    EXPECT_EQ(Messblockliste(), QStringList({"neu"}));
}

TEST(Messblockliste, Neuer_Block_aus_der_Vorlage) {
    Teststation station;
    Daten.Messblocktabelle[1].Messblockname = "Gleichspannung";
    Daten.Messblocktabelle[2].Messblockname = "neu";
    Daten.Messblocktabelle[2].Mittelung = 7;
    Daten.Messblockvorlage.Funktionsname = "Gleichspannung";
    Daten.Messblockvorlage.Funktionspräfix = ":VOLT:DC";
    Daten.Messblockvorlage.Bereich = 3;
    Daten.Messblockvorlage.Integrationszeit = 4;
    Daten.Messblockvorlage.Anzeige = 3;

    ASSERT_TRUE(Messblock_anlegen("Batterie", true));
    const Messblocksatz& neu = Daten.Messblocktabelle[2];
    EXPECT_EQ(neu.Messblockname.text(), "Batterie");
    EXPECT_EQ(neu.Funktionsname.text(), "Gleichspannung");
    EXPECT_EQ(neu.Funktionspräfix.text(), ":VOLT:DC");
    EXPECT_EQ(neu.Bereich, 3.0f);
    EXPECT_EQ(neu.Integrationszeit, 4.0f);
    EXPECT_EQ(neu.Anzeige, 3);
    EXPECT_EQ(neu.Mittelung, 7);  // not taken from the template
    EXPECT_EQ(Messblockliste(), QStringList({"Gleichspannung", "Batterie", "neu"}));
}

TEST(Messblockliste, Volle_Tabelle_bleibt_unversehrt) {
    Teststation station;
    for (int b = 1; b <= 18; ++b)
        Daten.Messblocktabelle[b].Messblockname = QString("Block %1").arg(b);
    Daten.Messblocktabelle[19].Messblockname = "neu";
    ASSERT_TRUE(Messblock_anlegen("Block 19", false));
    ASSERT_EQ(Messblockliste().size(), 20);
    EXPECT_EQ(Daten.Messblocktabelle[20].Messblockname.text(), "neu");

    Programmdaten vorher = Daten;
    EXPECT_FALSE(Messblock_anlegen("Block 20", false));
    for (int b = 1; b <= 20; ++b)
        EXPECT_EQ(Daten.Messblocktabelle[b].Messblockname, vorher.Messblocktabelle[b].Messblockname) << b;
    EXPECT_EQ(Messblockliste().size(), 20);
    EXPECT_EQ(Messblockliste().last(), "neu");
}

TEST(Variablen_initialisieren, Namen_leer_Zahlen_bleiben_Klemmen_benannt) {
    Teststation station;
    Daten.Kanaltabelle[4].Signalbezeichnung[2] = "Druck";
    Daten.Kanaltabelle[4].Messblockzuordnung[2] = "Strom";
    Daten.Messblocktabelle[3].Messblockname = "Strom";
    Daten.Messblocktabelle[3].Bereich = 2;
    Daten.Messblocktabelle[3].Gerätetyp = 1;
    Daten.Scanlistentabelle[7].Signalname = "Druck";
    Daten.Scanlistentabelle[7].Klemmennummer = 2;
    Daten.Aufzeichnungstabelle[0].Signalname = "Druck";
    Daten.Vorgabetabelle[2].Vorgabefunktion = "Widerstand";

    Variablen_initialisieren();

    EXPECT_EQ(Daten.Kanaltabelle[4].Signalbezeichnung[2].roh(), QString(20, ' '));
    EXPECT_EQ(Daten.Kanaltabelle[4].Messblockzuordnung[2].roh(), QString(20, ' '));
    EXPECT_EQ(Daten.Kanaltabelle[4].Klemme[2].text(), "D 02");
    EXPECT_EQ(Daten.Kanaltabelle[4].Art[2].text(), "Sense");
    EXPECT_EQ(Daten.Messblocktabelle[3].Messblockname.roh(), QString(20, ' '));
    EXPECT_EQ(Daten.Messblocktabelle[3].Reserve_Text4.roh(), "  ");
    EXPECT_EQ(Daten.Messblocktabelle[3].Bereich, 2.0f);
    EXPECT_EQ(Daten.Messblocktabelle[3].Gerätetyp, 1);
    EXPECT_EQ(Daten.Funktionskonstantentabelle[5].Text2.roh(), QString(30, ' '));
    EXPECT_EQ(Daten.Scanlistentabelle[7].Signalname.roh(), QString(20, ' '));
    EXPECT_EQ(Daten.Scanlistentabelle[7].Klemmennummer, 2);
    EXPECT_EQ(Daten.Aufzeichnungstabelle[0].Signalname.roh(), QString(20, ' '));
    EXPECT_EQ(Daten.Vorgabetabelle[2].Vorgabefunktion.text(), "Widerstand");
}

TEST(Variablen_initialisieren, Aufzeichnungseinstellungen_auf_Vorgabe) {
    Teststation station;
    Daten.Datenformatsatz.Trennzeichenindex = 2;
    Daten.Datenformatsatz.max = 0;
    Daten.Datenloggersatz.Zeitformatindex = 0;
    Variablen_initialisieren();

    const Datenformatsatz_t& f = Daten.Datenformatsatz;
    const i16 format[14] = {f.Stundenindex, f.Minutenindex, f.Sekundenindex, f.max, f.Trennzeichenindex,
                            f.Datumsformatindex, f.Zeitformatindex, f.Einheiten, f.Zeit_am_Zeilenbeginn,
                            f.Zeit_nach_jedem_Messwert, f.Datum, f.Zeit, f.Signalnamen, f.Dezimalpunkt};
    const i16 format_soll[14] = {0, 0, 0, 1, 0, 0, 0, 1, -1, 0, 1, 1, 1, 0};
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(format[i], format_soll[i]) << "Feld " << i + 1;

    const Datenloggersatz_t& l = Daten.Datenloggersatz;
    const i16 logger[9] = {l.Datenlogger_ein, l.Header_ein, l.Periodenindex, l.Trennzeichenindex, l.Zeitformatindex,
                           l.Zeit_am_Zeilenbeginn, l.Zeit_nach_jedem_Messwert, l.Zeit_ein, l.Dezimalpunkt};
    const i16 logger_soll[9] = {1, 1, 0, 0, 2, -1, 0, 1, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(logger[i], logger_soll[i]) << "Feld " << i + 1;
}
