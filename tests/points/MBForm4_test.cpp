// Code-driven blocks: the code string, factor and unit, the readings, and the
// window's lists.
#include <QLineEdit>

#include "MBForm_Testhilfe.h"
#include "common/Steuerelemente.h"
#include "points/MBForm4.h"
#include "run/Hauptfenster.h"
#include "support/Teststation.h"

namespace {
Messblocksatz& Block4(int nr, const QString& name, const QString& funktion, float bereich, float zeit, i16 anzeige = 385) {
    Messblocksatz& b = Daten.Messblocktabelle[nr];
    b.Messblockname = name;
    b.Funktionsname = funktion;
    b.Bereich = bereich;
    b.Integrationszeit = zeit;
    b.Anzeige = anzeige;
    Daten.Messblocktabelle[nr + 1].Messblockname = QString("neu");
    return b;
}

struct Code {
    bool gefunden = false;
    QString Initstring = "vorher";
    QString Anzeigeformat = "vorher";
    double Faktor = -1;
};

Code Init4(const QString& block) {
    Code c;
    c.gefunden = MBForm4::Initialisierungsstring_erstellen(block, c.Initstring, c.Anzeigeformat, c.Faktor);
    return c;
}
}  // namespace

TEST(MBForm4_Code, Vorgabeblock_Gleichspannung) {
    Teststation station;
    Variablen_initialisieren();
    Block4(1, "Gleichspannung", "Gleichspannung", 0.2f, 0.1f);
    const Code c = Init4("Gleichspannung");
    ASSERT_TRUE(c.gefunden);
    EXPECT_EQ(c.Initstring, "VDR1T1A0M0C0L1Q1");
    EXPECT_EQ(c.Anzeigeformat, "#.000000#");
    EXPECT_EQ(c.Faktor, 1.0);
    EXPECT_FALSE(Init4("Unbekannt").gefunden);
    EXPECT_EQ(Init4("Unbekannt").Initstring, "vorher");
}

TEST(MBForm4_Code, Bereichscodes) {
    Teststation station;
    Variablen_initialisieren();
    Messblocksatz& b = Block4(1, "U", "Gleichspannung", 2, 6);
    const struct {
        float bereich;
        const char* code;
        const char* format;
    } fälle[] = {{2, "VDR2A0M0C0L1Q1", "#0.00000#"},      {20, "VDR3A0M0C0L1Q1", "#00.0000#"},
                 {200, "VDR4A0M0C0L1Q1", "#000.000#"},    {1000, "VDR5A0M0C0L1Q1", "#0000.00#"},
                 {2000, "VDR5A0M0C0L1Q1", "#0000.00#"},   {10000, "VDR6A0M0C0L1Q1", "#00000.0#"},
                 {12000, "VDR6A0M0C0L1Q1", "#00000.0#"},  {500, "VDA0M0C0L1Q1", "vorher"},
                 {0.25f, "VDA0M0C0L1Q1", "vorher"}};
    for (const auto& f : fälle) {
        b.Bereich = f.bereich;
        const Code c = Init4("U");
        EXPECT_EQ(c.Initstring, f.code) << f.bereich;
        EXPECT_EQ(c.Anzeigeformat, f.format) << f.bereich;
    }
}

TEST(MBForm4_Code, Zeitcodes_und_Anzeige) {
    Teststation station;
    Variablen_initialisieren();
    Messblocksatz& b = Block4(1, "U", "Wechselspannung", 0.2f, 6);
    EXPECT_EQ(Init4("U").Initstring, "VAR1A0M0C0L1Q1");
    b.Integrationszeit = 8;
    EXPECT_EQ(Init4("U").Initstring, "VAR1A0M0C0L1Q1");
    b.Integrationszeit = 10;
    EXPECT_EQ(Init4("U").Initstring, "VAR1T4A0M0C0L1Q1");
    b.Integrationszeit = 1;
    EXPECT_EQ(Init4("U").Initstring, "VAR1A0M0C0L1Q1");
    b.Anzeige = 5;
    EXPECT_EQ(Init4("U").Initstring, "VAR1T2A0M0C0L1Q1");
    EXPECT_EQ(Init4("U").Anzeigeformat, "#.000000#");
    b.Anzeige = 6;
    EXPECT_EQ(Init4("U").Initstring, "VAR1T3A0M0C0L1Q1");
    EXPECT_EQ(Init4("U").Anzeigeformat, "#.0000000#");
}

TEST(MBForm4_Code, Funktionen_Faktor_und_Einheit) {
    Teststation station;
    Variablen_initialisieren();
    Messblocksatz& b = Block4(1, "X", "Widerstand", 0.2f, 0.1f);
    Code c = Init4("X");
    EXPECT_EQ(c.Initstring, "O2R1T1A0M0C0L1Q1");
    EXPECT_DOUBLE_EQ(c.Faktor, 0.001);
    b.Funktionsname = QString("Gleichstrom");
    EXPECT_EQ(Init4("X").Initstring, "IDR1T1A0M0C0L1Q1");
    EXPECT_EQ(Init4("X").Faktor, 1000.0);
    b.Funktionsname = QString("Wechselstrom");
    EXPECT_EQ(Init4("X").Initstring, "IAR1T1A0M0C0L1Q1");
    b.Funktionsname = QString("Temperatur");
    c = Init4("X");
    EXPECT_EQ(c.Initstring, "R1T1A0M0C0L1Q1");
    EXPECT_EQ(c.Faktor, -1.0);

    QString e = "vorher";
    MBForm4::Einheit_erstellen("Widerstand", e);
    EXPECT_EQ(e, "Ohm");
    MBForm4::Einheit_erstellen("Temperatur", e);
    EXPECT_EQ(e, QString(QChar(176)) + "C");
    MBForm4::Einheit_erstellen("Gleichspannung      ", e);
    EXPECT_EQ(e, "mV DC");
    MBForm4::Einheit_erstellen("Wechselstrom", e);
    EXPECT_EQ(e, "mV DC");
}

TEST(MBForm4_Code, Lesungen) {
    double wert = 42;
    EXPECT_TRUE(MBForm4::Meßdatenstring_aufbereit("+1.50000E+00", wert));
    EXPECT_DOUBLE_EQ(wert, 1.5);
    EXPECT_TRUE(MBForm4::Meßdatenstring_aufbereit("-2.5E-03", wert));
    EXPECT_DOUBLE_EQ(wert, -0.0025);
    EXPECT_TRUE(MBForm4::Meßdatenstring_aufbereit("0.125E+01", wert));
    EXPECT_DOUBLE_EQ(wert, 1.25);
    wert = 42;
    for (const char* lesung : {" 1.0E+00", "A1.0E+00", "", "1.0E+00", "+", "+1.0", "-E+05", "+1.0E+999"}) {
        EXPECT_FALSE(MBForm4::Meßdatenstring_aufbereit(lesung, wert)) << lesung;
        EXPECT_EQ(wert, 42.0) << lesung;
    }
}

TEST(MBForm4_Fenster, Vorgaben_und_Listen) {
    Teststation station;
    Variablen_initialisieren();
    Daten.HelpSchalter = Daten.EscSchalter = 1;
    MBForm4 form;
    form.Form_Load();
    form.MBForm_initialisieren();
    EXPECT_EQ(Messblockliste(), QStringList({"Gleichspannung", "Widerstand", "Temperatur", "neu"}));
    EXPECT_EQ(Daten.Messblocktabelle[2].Funktionspräfix.text(), "O4");
    EXPECT_EQ(Daten.Messblocktabelle[4].Funktionsname.roh(), QString(20, ' '));
    EXPECT_EQ(Daten.Vorgabetabelle[3].Vorgabefunktion.text(), "Temperatur");
    EXPECT_EQ(form.Meßblockausw->count(), 4);
    // No block chosen: no values shown.
    EXPECT_EQ(form.Meßblockausw->currentIndex(), -1);
    EXPECT_EQ(form.Meßfkt->currentText(), "");
    EXPECT_EQ(form.Bereich->currentText(), "");
    EXPECT_EQ(form.Integrationszeit->count(), 3);
    EXPECT_EQ(form.Anzeige->itemText(1), "396");

    Listenindex_setzen(form.Meßblockausw, 1);
    EXPECT_EQ(form.Frame3->title(), "Bereich [kOhm]");
    EXPECT_EQ(form.Meßfkt->currentText(), "Widerstand");
    emit form.Bereich->activated(0);
    EXPECT_EQ(Daten.Messblocktabelle[2].Bereich, 0.2f);
    EXPECT_EQ(form.Bereich->currentText(), "0,2");

    form.Integrationszeit->setCurrentIndex(2);
    emit form.Integrationszeit->activated(2);
    EXPECT_EQ(Daten.Messblocktabelle[2].Integrationszeit, 10.0f);
    EXPECT_EQ(Daten.Messblocktabelle[2].Anzeige, 385);
    form.Anzeige->setCurrentIndex(1);
    emit form.Anzeige->activated(1);
    EXPECT_EQ(Daten.Messblocktabelle[2].Anzeige, 396);

    // A typed value with the decimal comma; a text that is no number changes nothing.
    form.Bereich->setEditText("2000");
    emit form.Bereich->lineEdit()->editingFinished();
    EXPECT_EQ(Daten.Messblocktabelle[2].Bereich, 2000.0f);
    form.Bereich->setEditText("0,2");
    emit form.Bereich->lineEdit()->editingFinished();
    EXPECT_EQ(Daten.Messblocktabelle[2].Bereich, 0.2f);
    form.Bereich->setEditText("viel");
    emit form.Bereich->lineEdit()->editingFinished();
    EXPECT_EQ(Daten.Messblocktabelle[2].Bereich, 0.2f);

    // Function change: the range list and the stored range follow.
    form.Meßfkt->setCurrentIndex(0);
    emit form.Meßfkt->activated(0);
    EXPECT_EQ(Daten.Messblocktabelle[2].Funktionsname.text(), "Gleichspannung");
    EXPECT_EQ(form.Frame3->title(), "Bereich [Volt]");
    form.Meßfkt->setCurrentIndex(5);
    emit form.Meßfkt->activated(5);
    EXPECT_EQ(Daten.Messblocktabelle[2].Bereich, 99.0f);

    QString code, format;
    double faktor = 0;
    Daten.Messblocktabelle[2].Funktionsname = QString("Widerstand");
    Daten.Messblocktabelle[2].Bereich = 0.2f;
    MBForm4::Initialisierungsstring_erstellen("Widerstand", code, format, faktor);
    EXPECT_EQ(code, "O2R1T4A0M0C0L1Q1");

    // The main window shows range, integration time and display of the block sent.
    Hauptfenster haupt;
    Daten.Messblocktabelle[2].Integrationszeit = 10.0f;
    Daten.Messblocktabelle[2].Anzeige = 396;
    MBForm4::Initialisierungsstring_erstellen("Widerstand", code, format, faktor);
    EXPECT_EQ(haupt.Label10->text(), "0,2");
    EXPECT_EQ(haupt.Label11->text(), "10");
    EXPECT_EQ(haupt.Label14->text(), "396");
}

TEST(MBForm4_Fenster, Betriebsart_Prg) {
    Teststation station;
    Daten.Betriebsart = "Prg     ";
    Daten.HelpSchalter = 0;
    Daten.EscSchalter = 0;
    MBForm4 form;
    form.Form_Load();
    EXPECT_EQ(form.Label1->text(), "Meßblockkonfiguration Mod. 4660-A");
    EXPECT_FALSE(form.Label1->isVisibleTo(&form));
    EXPECT_EQ(form.height(), 247);  // 3700 twips
    EXPECT_FALSE(form.Command5->isVisibleTo(&form));
    EXPECT_FALSE(form.Command4->isVisibleTo(&form));
}
