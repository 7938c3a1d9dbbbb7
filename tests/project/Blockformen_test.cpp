// The project page routes block editing to the block form of the meter
// model, and creates blocks from typed names.
#include <gtest/gtest.h>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Steuerelemente.h"
#include "keyboard/Tastatur.h"
#include "platform/Warten.h"
#include "points/MBForm1.h"
#include "points/MBForm4.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"
#include "support/Teststation.h"

namespace {
struct Seiten {
    Projekt projekt;
    MBForm1 scpi;
    MBForm4 code;
    Seiten() {
        Variablen_initialisieren();
        scpi.Form_Load();
        code.Form_Load();
        projekt.Geräteliste_erstellen();
    }
    void Modell(int index) { Listenindex_setzen(projekt.Combo2, index); }
};
}  // namespace

TEST(Blockformen, Modelle_der_Geräteliste) {
    Teststation station;
    Seiten s;
    ASSERT_EQ(s.projekt.Combo2->count(), 7);
    EXPECT_EQ(s.projekt.Combo2->currentText(), "???");
    EXPECT_EQ(s.projekt.Combo2->itemText(3), "Prema 5000 Digital Multimeter ");
    EXPECT_EQ(s.projekt.Combo2->itemText(4), "Prema 5017 Digital Multimeter ");
    EXPECT_EQ(s.projekt.Combo2->itemText(5), "Keithley 2001 Multimeter ");
    EXPECT_EQ(s.projekt.Combo2->itemText(6), "Tarvo 2000");
}

TEST(Blockformen, Anzeigen_Ausblenden_Enablen_nach_Modell) {
    Teststation station;
    Seiten s;
    for (int modell : {1, 6}) {
        s.Modell(modell);
        EXPECT_EQ(Daten.Messblocktabelle[1].Gerätetyp, modell);
        s.scpi.setEnabled(false);
        s.projekt.MBForm_Enablen();
        EXPECT_TRUE(s.scpi.isEnabled());
        s.projekt.MBForm_anzeigen();
        EXPECT_TRUE(s.scpi.isVisible());
        EXPECT_FALSE(s.code.isVisible());
        s.scpi.setEnabled(false);
        s.projekt.MBForm_ausblenden();
        EXPECT_FALSE(s.scpi.isVisible());
        EXPECT_TRUE(s.scpi.isEnabled());
    }
    s.Modell(2);
    s.projekt.MBForm_anzeigen();
    EXPECT_TRUE(s.code.isVisible());
    EXPECT_FALSE(s.scpi.isVisible());
    s.projekt.MBForm_ausblenden();
    EXPECT_FALSE(s.code.isVisible());
    for (int modell : {0, 3, 4, 5}) {
        s.Modell(modell);
        s.projekt.MBForm_anzeigen();
        EXPECT_FALSE(s.scpi.isVisible()) << modell;
        EXPECT_FALSE(s.code.isVisible()) << modell;
    }
}

TEST(Blockformen, Modellwahl_initialisiert_die_Blockform) {
    Teststation station;
    {
        Seiten s;
        s.Modell(1);
        EXPECT_EQ(Messblockliste().size(), 10);
        EXPECT_EQ(s.scpi.Meßblockausw->count(), 10);
        EXPECT_EQ(Daten.Vorgabetabelle[2].Vorgabefunktion.text(), "Thermoelement J");
        EXPECT_EQ(Daten.Messblocktabelle[1].Gerätetyp, 1);
    }
    Variablen_initialisieren();
    Seiten s;
    s.Modell(2);
    EXPECT_EQ(Messblockliste(), QStringList({"Gleichspannung", "Widerstand", "Temperatur", "neu"}));
    EXPECT_EQ(s.code.Meßblockausw->count(), 4);
    EXPECT_EQ(s.scpi.Meßblockausw->count(), 0);
    EXPECT_EQ(Daten.Messblocktabelle[1].Gerätetyp, 2);

    // Other models initialise nothing.
    Variablen_initialisieren();
    s.Modell(4);
    EXPECT_TRUE(Daten.Messblocktabelle[1].Messblockname.text().isEmpty());
}

TEST(Blockformen, Im_Geraetebetrieb_gilt_das_Modell_der_Station) {
    Teststation station;
    Seiten s;
    Daten.MeasureDevice = 2;
    Daten.Messblocktabelle[1].Gerätetyp = 1;  // as the project was saved
    s.projekt.MBForminitialisieren();
    EXPECT_EQ(Daten.Messblocktabelle[1].Gerätetyp, 2);
    EXPECT_EQ(Messblockliste(), QStringList({"Gleichspannung", "Widerstand", "Temperatur", "neu"}));
    EXPECT_EQ(s.scpi.Meßblockausw->count(), 0);
    Daten.MeasureDevice = 0;
}

TEST(Blockformen, Ohne_Fenster_bekommt_der_Lauf_Vorgaben_und_Tabellen) {
    Teststation station;
    Variablen_initialisieren();
    Projekt projekt;
    Daten.Messblocktabelle[1].Gerätetyp = 1;
    projekt.MBForminitialisieren();
    EXPECT_EQ(Messblockliste().size(), 10);
    EXPECT_EQ(Daten.Messblockvorlage.Funktionspräfix.text(), ":VOLT:DC");
}

TEST(Blockformen, Neuer_Block_aus_getipptem_Namen) {
    Teststation station;
    Seiten s;
    s.Modell(1);
    s.projekt.MBFormTastaturtextverarbeit("Heizung");
    const Messblocksatz& b = Daten.Messblocktabelle[10];
    EXPECT_EQ(b.Messblockname.roh(), "Heizung" + QString(13, ' '));
    EXPECT_EQ(b.Funktionsname.text(), "Gleichspannung");
    EXPECT_EQ(b.Funktionspräfix.text(), ":VOLT:DC");
    EXPECT_EQ(b.Bereich, 3.0f);
    EXPECT_EQ(b.Integrationszeit, 4.0f);
    EXPECT_EQ(b.Anzeige, 3);
    EXPECT_EQ(Daten.Messblocktabelle[11].Messblockname.text(), "neu");
    EXPECT_EQ(s.scpi.Meßblockausw->currentText(), "Heizung");
    EXPECT_EQ(s.scpi.Meßblockausw->count(), 11);
    EXPECT_EQ(s.scpi.Meßblockausw->itemText(10), "neu");

    Variablen_initialisieren();
    s.Modell(2);
    Daten.Messblocktabelle[4].Funktionspräfix = QString("alt");
    s.projekt.MBFormTastaturtextverarbeit("Pumpe");
    EXPECT_EQ(Daten.Messblocktabelle[4].Messblockname.text(), "Pumpe");
    EXPECT_EQ(Daten.Messblocktabelle[4].Funktionspräfix.text(), "alt");
    EXPECT_EQ(Daten.Messblocktabelle[5].Messblockname.text(), "neu");
    EXPECT_EQ(s.code.Meßblockausw->currentText(), "Pumpe");
}

TEST(Blockformen, Volle_Tabelle_bleibt_heil) {
    Teststation station;
    Seiten s;
    s.Modell(1);
    for (int i = 10; i <= 19; ++i)
        s.projekt.MBFormTastaturtextverarbeit("Block" + QString::number(i));
    ASSERT_EQ(Messblockliste().size(), 20);
    EXPECT_TRUE(station.Dialoge.Meldungen.isEmpty());
    Messblocksatz vorher[21];
    std::copy(std::begin(Daten.Messblocktabelle), std::end(Daten.Messblocktabelle), vorher);

    s.projekt.MBFormTastaturtextverarbeit("Zuviel");
    ASSERT_EQ(station.Dialoge.Meldungen.size(), 1);
    EXPECT_TRUE(station.Dialoge.Meldungen[0].contains("19 Meßblöcke")) << station.Dialoge.Meldungen[0].toStdString();
    for (int b = 0; b <= 20; ++b) {
        EXPECT_EQ(Daten.Messblocktabelle[b].Messblockname, vorher[b].Messblockname) << b;
        EXPECT_EQ(Daten.Messblocktabelle[b].Funktionsname, vorher[b].Funktionsname) << b;
    }
    EXPECT_EQ(Daten.Messblocktabelle[20].Messblockname.text(), "neu");

    // The "neu" entry of a full list does not even open the entry.
    station.Dialoge.Meldungen.clear();
    Listenindex_setzen(s.scpi.Meßblockausw, 19);
    EXPECT_EQ(station.Dialoge.Meldungen.size(), 1);
    EXPECT_TRUE(s.scpi.isEnabled());
    EXPECT_EQ(s.scpi.Meßblockausw->currentText(), "Block19");
}

TEST(Blockformen, Eingabe_für_neu_legt_den_Block_an) {
    Teststation station;
    Seiten s;
    s.Modell(1);
    s.projekt.MBForm_anzeigen();
    station.Dialoge.Antworten << "Gleichspannung" << "Druckmessung_lang_ueber" << "   " << "Druck";
    Listenindex_setzen(s.scpi.Meßblockausw, 9);
    EXPECT_FALSE(s.scpi.isEnabled());
    EXPECT_EQ(Daten.Tastaturaufrufer, "MBForm");
    Ereignisse_verarbeiten();
    EXPECT_EQ(station.Dialoge.Meldungen.filter("!"),
              QStringList({"Diese Messblockname existiert bereits!", "Bitte max. 16 Zeichen!",
                           "Messblockname darf nicht aus Leerzeichen bestehen!"}));
    EXPECT_TRUE(s.scpi.isEnabled());
    EXPECT_TRUE(s.scpi.isVisible());
    EXPECT_EQ(Messblockliste().at(9), "Druck");
    EXPECT_EQ(s.scpi.Meßblockausw->currentText(), "Druck");

    // Leaving the entry hides the form and enables it again.
    Listenindex_setzen(s.scpi.Meßblockausw, 10);
    Ereignisse_verarbeiten();
    EXPECT_FALSE(s.scpi.isVisible());
    EXPECT_TRUE(s.scpi.isEnabled());
    EXPECT_EQ(Messblockliste().size(), 11);
}

TEST(Blockformen, Löschen_setzt_das_Modell_der_Seite) {
    Teststation station;
    Seiten s;
    s.Modell(6);
    Listenindex_setzen(s.scpi.Meßblockausw, 0);
    s.scpi.Command6_Click();
    EXPECT_EQ(Messblockliste().first(), "Wechselspannung");
    EXPECT_EQ(Daten.Messblocktabelle[1].Gerätetyp, 6);
}

TEST(Blockformen, Neuer_Block_über_die_Bildschirmtastatur) {
    Teststation station;
    Seiten s;
    Tastatur tastatur;
    tastatur.Form_Load();
    s.Modell(1);
    s.projekt.MBForm_anzeigen();
    Listenindex_setzen(s.scpi.Meßblockausw, 9);  // "neu"
    EXPECT_TRUE(tastatur.isVisible());
    EXPECT_FALSE(s.scpi.isEnabled());
    EXPECT_EQ(Daten.Tastaturaufrufer, "MBForm");
    EXPECT_EQ(tastatur.Text1->text(), "");

    tastatur.Text1->setText("Widerstand");  // exists: the keyboard stays open
    tastatur.Label4_Click();
    EXPECT_TRUE(tastatur.isVisible());
    EXPECT_EQ(Messblockliste().size(), 10);

    tastatur.Text1->setText("Vorlauf");
    tastatur.Label4_Click();
    EXPECT_FALSE(tastatur.isVisible());
    EXPECT_TRUE(s.scpi.isEnabled());
    EXPECT_TRUE(s.scpi.isVisible());
    EXPECT_EQ(Messblockliste().at(9), "Vorlauf");
    EXPECT_EQ(Daten.Messblocktabelle[10].Funktionspräfix.text(), ":VOLT:DC");
    EXPECT_EQ(s.scpi.Meßblockausw->currentText(), "Vorlauf");
    EXPECT_EQ(s.scpi.Meßblockausw->count(), 11);

    // Esc: the block form is hidden and usable again, nothing created.
    Listenindex_setzen(s.scpi.Meßblockausw, 10);
    EXPECT_TRUE(tastatur.isVisible());
    tastatur.Label3_Click();
    EXPECT_FALSE(s.scpi.isVisible());
    EXPECT_TRUE(s.scpi.isEnabled());
    EXPECT_EQ(Messblockliste().size(), 11);
}
