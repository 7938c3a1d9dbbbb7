// The channel assignment page: groups, kinds, blocks and signal names as the
// operator edits them, and what each edit does to the scan list and the
// recording order under every pair of order options.
#include <gtest/gtest.h>

#include <QTest>

#include "Kanalbelegung_Testhilfe.h"
#include "common/Steuerelemente.h"

using namespace Kanaltest;

namespace {
bool keine_Merker() {
    const Änderungsmerker_t& m = Daten.Änderungsmerker;
    return !(m.Merker_hinzu || m.Merker_gelöscht || m.Merker_geändert || m.Merker_Sense);
}
}  // namespace

TEST(Kanalbelegung, Laden_und_Schalter) {
    Teststation station;
    Daten.HelpSchalter = 0;
    Daten.EscSchalter = 0;
    Daten.Testlabels = 0;
    Variablen_initialisieren();
    QWidget fläche;
    auto* kanal = new Kanalbelegung(&fläche);
    kanal->Form_Load();
    EXPECT_TRUE(kanal->Command8->isHidden());  // "Hilfe"
    EXPECT_TRUE(kanal->Command4->isHidden());  // "Abbrechen"
    EXPECT_FALSE(kanal->Command3->isHidden());
    for (QLabel* l : {kanal->Label5, kanal->Label6, kanal->Label7, kanal->Label8, kanal->Label9})
        EXPECT_TRUE(l->isHidden());
    EXPECT_TRUE(kanal->List1->isHidden());
    EXPECT_TRUE(kanal->Meßblock->isHidden());
    ASSERT_EQ(kanal->List1->count(), 2);
    EXPECT_EQ(kanal->List1->item(0)->text(), "Input");
    EXPECT_EQ(kanal->List1->item(1)->text(), "Sense");
    EXPECT_EQ(Daten.aktuelle_Gruppe, 1);
    EXPECT_EQ(kanal->size(), QSize(320, 240));
    // A click does not bring the marker labels back while Testlabels is 0.
    kanal->Label2_Click(0);
    EXPECT_TRUE(kanal->Label5->isHidden());
}

TEST(Kanalbelegung, Gruppen_blaettern) {
    Kanalstation s;
    EXPECT_EQ(Spalte(s.kanal->Label1),
              QStringList({"A 01", "A 02", "A 03", "A 04", "A 05", "A 06", "A 07", "A 08"}));
    EXPECT_EQ(Spalte(s.kanal->Label2), QStringList(8, "Input"));

    s.kanal->Command6->click();  // previous in A: nothing
    EXPECT_EQ(Daten.aktuelle_Gruppe, 1);
    EXPECT_EQ(s.kanal->Label1[0]->text(), "A 01");

    s.kanal->Command5->click();
    EXPECT_EQ(Daten.aktuelle_Gruppe, 2);
    EXPECT_EQ(s.kanal->Label1[7]->text(), "B 08");
    EXPECT_EQ(Spalte(s.kanal->Label2), QStringList(8, "Sense"));
    // Only the sense slots offer the kind change.
    EXPECT_EQ(s.kanal->Label2[3]->cursor().shape(), Qt::PointingHandCursor);

    s.Gruppe(16);
    EXPECT_EQ(s.kanal->Label1[0]->text(), "P 01");
    s.kanal->Command5->click();  // next in P: nothing
    EXPECT_EQ(Daten.aktuelle_Gruppe, 16);
    EXPECT_EQ(s.kanal->Label1[7]->text(), "P 08");

    s.Gruppe(15);
    EXPECT_EQ(s.kanal->Label2[3]->cursor().shape(), Qt::ArrowCursor);

    s.kanal->Labels_auffrischen();
    EXPECT_EQ(Daten.aktuelle_Gruppe, 1);
    EXPECT_EQ(s.kanal->Label1[2]->text(), "A 03");
}

TEST(Kanalbelegung, Art_nur_in_geraden_Gruppen) {
    Kanalstation s;
    s.kanal->Label2_Click(4);
    EXPECT_TRUE(s.kanal->List1->isHidden());
    EXPECT_TRUE(s.kanal->Command5->isEnabled());
    EXPECT_EQ(Daten.Kanaltabelle[1].Art[5].text(), "Input");

    s.Gruppe(2);
    s.kanal->Label2_Click(4);
    EXPECT_FALSE(s.kanal->List1->isHidden());
    EXPECT_FALSE(s.kanal->Command5->isEnabled());
    EXPECT_FALSE(s.kanal->Command6->isEnabled());
    EXPECT_EQ(Daten.aktuelle_Zeile, 4);
    s.kanal->List1_Click(0);
    EXPECT_TRUE(s.kanal->List1->isHidden());
    EXPECT_TRUE(s.kanal->Command5->isEnabled());
    EXPECT_EQ(Daten.Kanaltabelle[2].Art[5].text(), "Input");
    EXPECT_EQ(s.kanal->Label2[4]->text(), "Input");
    EXPECT_EQ(s.Marker(), QStringList({"hinzu"}));
}

TEST(Kanalbelegung, gleiche_Art_setzt_keinen_Merker) {
    Kanalstation s;
    Kanalstation::Blöcke({{"V1", "Gleichspannung"}});
    Kanalstation::Vorgabe({"Gleichspannung"});
    s.Punkt(0, "Ua", "V1");
    s.Gruppe(2);
    Daten.Headermerker = 0;
    s.Art(1, "Sense");
    EXPECT_EQ(s.Marker(), QStringList({"nichts"}));
    EXPECT_TRUE(keine_Merker());
    EXPECT_EQ(Daten.Headermerker, 1);
    EXPECT_EQ(Scantabelle(), QStringList({"V1 Ua A 01"}));
    EXPECT_EQ(Aufzeichnungstabelle(), QStringList({"V1 Ua A 01"}));
}

TEST(Kanalbelegung, Sense_behaelt_die_Namen_in_der_Kanaltabelle) {
    for (bool aufz_halten : {false, true}) {
        SCOPED_TRACE(aufz_halten ? "Aufzeichnung festhalten" : "aus Scanliste übernehmen");
        Kanalstation s;
        Kanalstation::Blöcke({{"V1", "Gleichspannung"}});
        Kanalstation::Vorgabe({"Gleichspannung"});
        s.Aufz_festhalten(aufz_halten);
        s.Punkt(0, "Ua", "V1");
        s.Gruppe(2);
        s.Art(1, "Input");
        s.Punkt(1, "Ub", "V1");
        ASSERT_EQ(Scantabelle(), QStringList({"V1 Ua A 01", "V1 Ub B 02"}));

        s.Art(1, "Sense");
        EXPECT_EQ(s.Marker(), QStringList({"auf Sense geändert"}));
        EXPECT_EQ(Daten.Änderungsmerker.Alter_Messblock, "V1");
        EXPECT_EQ(Daten.Änderungsmerker.Alter_Signalname, "Ub");
        EXPECT_EQ(Daten.Kanaltabelle[2].Art[2].text(), "Sense");
        EXPECT_EQ(Daten.Kanaltabelle[2].Signalbezeichnung[2].text(), "Ub");
        EXPECT_EQ(Daten.Kanaltabelle[2].Messblockzuordnung[2].text(), "V1");
        EXPECT_EQ(s.kanal->Label4[1]->text(), "Ub");
        EXPECT_EQ(s.kanal->Label3[1]->text(), "V1");
        // It leaves both lists: a sense terminal is never measured on its own.
        EXPECT_EQ(Scantabelle(), QStringList({"V1 Ua A 01"}));
        EXPECT_EQ(Aufzeichnungstabelle(), QStringList({"V1 Ua A 01"}));
        EXPECT_EQ(Zeilen(s.aufz->List2), QStringList({"V1 Ua"}));
        EXPECT_TRUE(keine_Merker());
    }
}

TEST(Kanalbelegung, Widerstand_ueber_Gleichspannung) {
    Kanalstation s;
    Kanalstation::Blöcke({{"Gleichspannung", "Gleichspannung"}, {"Widerstand", "Widerstand"}});
    Kanalstation::Vorgabe({"Gleichspannung", "Widerstand"});
    s.Punkt(0, "U1", "Gleichspannung");
    s.Punkt(1, "U2", "Gleichspannung");
    s.Block(0, "Widerstand");
    EXPECT_EQ(s.Marker(), QStringList({"geändert"}));
    EXPECT_EQ(Daten.Änderungsmerker.Umbenannt_Messblock, "Gleichspannung");
    EXPECT_EQ(Daten.Änderungsmerker.Umbenannt_Signalname, "U1");
    EXPECT_EQ(Daten.Kanaltabelle[1].Messblockzuordnung[1].text(), "Widerstand");
    EXPECT_EQ(s.kanal->Label3[0]->text(), "Widerstand");
    EXPECT_TRUE(s.kanal->Meßblock->isHidden());
    EXPECT_TRUE(s.kanal->Command5->isEnabled());
    EXPECT_EQ(Scantabelle(), QStringList({"Gleichspannung U2 A 02", "Widerstand U1 A 01"}));
    EXPECT_EQ(Aufzeichnungstabelle(), QStringList({"Gleichspannung U2 A 02", "Widerstand U1 A 01"}));
}

TEST(Kanalbelegung, Blockliste_bis_neu_und_16_Zeichen) {
    Kanalstation s;
    Daten.Messblocktabelle[1].Messblockname = "Gleichspannung";
    Daten.Messblocktabelle[2].Messblockname = "Thermoelement_Typ_K";  // 19 characters
    Daten.Messblocktabelle[3].Messblockname = "neu";
    Daten.Messblocktabelle[4].Messblockname = "Rest";
    s.kanal->Label3_Click(5);
    EXPECT_FALSE(s.kanal->Meßblock->isHidden());
    EXPECT_FALSE(s.kanal->Command6->isEnabled());
    QStringList einträge;
    for (int i = 0; i < s.kanal->Meßblock->count(); ++i)
        einträge << s.kanal->Meßblock->itemText(i);
    EXPECT_EQ(einträge, QStringList({"Gleichspannung", "Thermoelement_Ty", "neu"}));
    s.kanal->Meßblock_Click(1);
    EXPECT_EQ(s.kanal->Label3[5]->text(), "Thermoelement_Ty");
    EXPECT_EQ(Daten.Kanaltabelle[1].Messblockzuordnung[6].roh(), "Thermoelement_Ty    ");
    EXPECT_EQ(s.Marker(), QStringList({"hinzu"}));
}

TEST(Kanalbelegung, neu_oeffnet_die_Tastatur_und_laesst_die_Klemme) {
    Kanalstation s;
    Kanalstation::Blöcke({{"V1", "Gleichspannung"}});
    s.Punkt(0, "Ua", "V1");
    Daten.Headermerker = 0;
    s.Block(0, "neu");
    EXPECT_EQ(Daten.Tastaturaufrufer, "MBForm");
    EXPECT_TRUE(s.tastatur->isVisible());
    EXPECT_TRUE(s.tastatur->Text1->text().isEmpty());
    EXPECT_FALSE(s.kanal->isEnabled());
    EXPECT_EQ(s.kanal->Meßblock->currentText(), "");
    // The block window stays in the background with its list emptied.
    EXPECT_FALSE(s.mbform1->isVisible());
    EXPECT_EQ(s.mbform1->Meßblockausw->count(), 0);
    EXPECT_EQ(Daten.Kanaltabelle[1].Messblockzuordnung[1].text(), "V1");
    EXPECT_EQ(s.kanal->Label3[0]->text(), "V1");
    EXPECT_TRUE(keine_Merker());
    EXPECT_TRUE(s.Marker().isEmpty());
    EXPECT_EQ(Daten.Headermerker, 0);

    // The name typed there becomes a block that the block list offers.
    s.tippen({"Shift", "P", "T", "1", "0", "0"});
    EXPECT_EQ(s.tastatur->Text1->text(), "PT100");
    s.tastatur->Label4_Click();
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_TRUE(s.kanal->isEnabled());
    // The block window comes up with the new block to configure it.
    EXPECT_TRUE(s.mbform1->isVisible());
    EXPECT_TRUE(s.mbform1->isEnabled());
    QStringList im_Blockfenster;
    for (int i = 0; i < s.mbform1->Meßblockausw->count(); ++i)
        im_Blockfenster << s.mbform1->Meßblockausw->itemText(i);
    EXPECT_TRUE(im_Blockfenster.contains("PT100")) << im_Blockfenster.join('|').toStdString();
    EXPECT_EQ(Daten.Messblocktabelle[2].Messblockname.text(), "PT100");
    EXPECT_EQ(Daten.Messblocktabelle[3].Messblockname.text(), "neu");
    s.kanal->Label3_Click(1);
    QStringList einträge;
    for (int i = 0; i < s.kanal->Meßblock->count(); ++i)
        einträge << s.kanal->Meßblock->itemText(i);
    EXPECT_EQ(einträge, QStringList({"V1", "PT100", "neu"}));
    EXPECT_EQ(Daten.Kanaltabelle[1].Messblockzuordnung[1].text(), "V1");
}

TEST(Kanalbelegung, Signalzelle_oeffnet_die_Tastatur) {
    Kanalstation s;
    Daten.Kanaltabelle[1].Signalbezeichnung[4] = "Vorlauf";
    s.kanal->Labels_auffrischen();
    QTest::mouseClick(s.kanal->Label4[3], Qt::LeftButton);
    EXPECT_EQ(Daten.Tastaturaufrufer, "Kanalbelegung");
    EXPECT_EQ(Daten.aktuelle_Zeile, 3);
    EXPECT_TRUE(s.tastatur->isVisible());
    EXPECT_EQ(s.tastatur->Text1->text(), "Vorlauf");
    EXPECT_FALSE(s.kanal->isEnabled());
    EXPECT_FALSE(s.kanal->Label5->isHidden());

    // "Esc" discards the entry.
    s.tastatur->Text1->setText("Rücklauf");
    QTest::mouseClick(s.tastatur->Label3, Qt::LeftButton);
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_TRUE(s.kanal->isEnabled());
    EXPECT_EQ(Daten.Kanaltabelle[1].Signalbezeichnung[4].text(), "Vorlauf");
    EXPECT_EQ(s.kanal->Label4[3]->text(), "Vorlauf");
    EXPECT_TRUE(s.Marker().isEmpty());
}

TEST(Kanalbelegung, Signalname_loeschen_leert_den_Block) {
    Kanalstation s;
    Kanalstation::Blöcke({{"V1", "Gleichspannung"}});
    Kanalstation::Vorgabe({"Gleichspannung"});
    s.Punkt(2, "Ua", "V1");
    s.Signal(2, "");
    EXPECT_EQ(s.Marker(), QStringList({"gelöscht"}));
    EXPECT_EQ(Daten.Änderungsmerker.Alter_Messblock, "V1");
    EXPECT_EQ(Daten.Änderungsmerker.Alter_Signalname, "Ua");
    EXPECT_TRUE(Daten.Kanaltabelle[1].Signalbezeichnung[3].text().isEmpty());
    EXPECT_TRUE(Daten.Kanaltabelle[1].Messblockzuordnung[3].text().isEmpty());
    EXPECT_TRUE(s.kanal->Label3[2]->text().isEmpty());
    EXPECT_TRUE(Scantabelle().isEmpty());
}

TEST(Kanalbelegung, Formularklick_schliesst_die_Listen) {
    Kanalstation s;
    s.Gruppe(2);
    s.kanal->Label2_Click(0);
    s.kanal->Label3_Click(1);
    ASSERT_FALSE(s.kanal->Label5->isHidden());
    QTest::mouseClick(s.kanal, Qt::LeftButton, {}, QPoint(317, 100));
    EXPECT_TRUE(s.kanal->List1->isHidden());
    EXPECT_TRUE(s.kanal->Meßblock->isHidden());
    EXPECT_TRUE(s.kanal->Command5->isEnabled());
    EXPECT_TRUE(s.kanal->Label5->isHidden());
}

TEST(Kanalbelegung, Pfeilknoepfe) {
    Kanalstation s;
    s.kanal->Command1->click();
    EXPECT_TRUE(s.scan->isVisible());
    s.kanal->Command2->click();
    EXPECT_FALSE(s.kanal->isVisible());
}

// ---- every marker under every pair of order options ---------------------------

namespace {
struct Paar {
    bool scan_halten;
    bool aufz_halten;
    const char* name;
};
const Paar Paare[] = {{false, false, "Scanzeit optimieren / aus Scanliste übernehmen"},
                      {true, false, "Scanliste festhalten / aus Scanliste übernehmen"},
                      {false, true, "Scanzeit optimieren / Aufzeichnung festhalten"},
                      {true, true, "Scanliste festhalten / Aufzeichnung festhalten"}};

// Ra on A 03 with R1, Ua on A 01 with V1, Ub on B 02 (switched to "Input")
// with V1, entered in that order, signal before block.
struct Aufbau {
    Kanalstation s;
    explicit Aufbau(const Paar& p) {
        Kanalstation::Blöcke({{"V1", "Gleichspannung"}, {"R1", "Widerstand"}});
        Kanalstation::Vorgabe({"Gleichspannung", "Widerstand"});
        s.Scan_festhalten(p.scan_halten);
        s.Aufz_festhalten(p.aufz_halten);
        s.Punkt(2, "Ra", "R1");
        s.Punkt(0, "Ua", "V1");
        s.Gruppe(2);
        s.Art(1, "Input");
        s.Punkt(1, "Ub", "V1");
        s.Gruppe(1);
    }
};

// The scan list for the optimised and the kept order, the recording order
// when it is kept (otherwise it is the scan list).
void prüfen(const Aufbau& a, const Paar& p, const QStringList& scan_opt, const QStringList& scan_halten,
            const QStringList& aufz_halten) {
    const QStringList scan = p.scan_halten ? scan_halten : scan_opt;
    EXPECT_EQ(Scantabelle(), scan);
    const QStringList aufz = p.aufz_halten ? aufz_halten : scan;
    EXPECT_EQ(Aufzeichnungstabelle(), aufz);
    QStringList ohne;
    for (const QString& z : aufz)
        ohne << z.section(' ', 0, z.endsWith(" -") ? -2 : -3);
    EXPECT_EQ(Zeilen(a.s.aufz->List2), ohne);
    EXPECT_TRUE(keine_Merker());
    EXPECT_EQ(Daten.Headermerker, 1);
}
}  // namespace

TEST(Kanalbelegung_Listen, Ausgangslage) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        prüfen(a, p, {"V1 Ua A 01", "V1 Ub B 02", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"},
               {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"});
    }
}

TEST(Kanalbelegung_Listen, hinzu) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        a.s.Signal(1, "Uc");
        EXPECT_EQ(a.s.Marker(), QStringList({"hinzu"}));
        a.s.Block(1, "V1");
        EXPECT_EQ(a.s.Marker(), QStringList({"hinzu"}));
        // Kept orders append the new point at the end.
        prüfen(a, p, {"V1 Ua A 01", "V1 Uc A 02", "V1 Ub B 02", "R1 Ra A 03"},
               {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02", "V1 Uc A 02"},
               {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02", "V1 Uc A 02"});
    }
}

TEST(Kanalbelegung_Listen, geloescht_Signalname) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        a.s.Signal(0, "");
        EXPECT_EQ(a.s.Marker(), QStringList({"gelöscht"}));
        // A kept recording order keeps the column as a placeholder.
        prüfen(a, p, {"V1 Ub B 02", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Ub B 02"},
               {"R1 Ra A 03", "gelöscht! gelöscht! -", "V1 Ub B 02"});
    }
}

TEST(Kanalbelegung_Listen, geloescht_Block) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        // A block with an empty name takes the assignment away.
        Daten.Messblocktabelle[3].Messblockname = "";
        Daten.Messblocktabelle[4].Messblockname = "neu";
        a.s.Block(0, "");
        EXPECT_EQ(a.s.Marker(), QStringList({"gelöscht"}));
        EXPECT_EQ(Daten.Änderungsmerker.Alter_Messblock, "V1");
        EXPECT_EQ(Daten.Änderungsmerker.Alter_Signalname, "Ua");
        EXPECT_EQ(Daten.Kanaltabelle[1].Signalbezeichnung[1].text(), "Ua");
        EXPECT_TRUE(Daten.Kanaltabelle[1].Messblockzuordnung[1].text().isEmpty());
        prüfen(a, p, {"V1 Ub B 02", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Ub B 02"},
               {"R1 Ra A 03", "gelöscht! gelöscht! -", "V1 Ub B 02"});
    }
}

TEST(Kanalbelegung_Listen, geaendert_Signalname) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        a.s.Signal(0, "Uz");
        EXPECT_EQ(a.s.Marker(), QStringList({"geändert"}));
        EXPECT_EQ(Daten.Änderungsmerker.Umbenannt_Messblock, "V1");
        EXPECT_EQ(Daten.Änderungsmerker.Umbenannt_Signalname, "Ua");
        prüfen(a, p, {"V1 Uz A 01", "V1 Ub B 02", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Uz A 01", "V1 Ub B 02"},
               {"R1 Ra A 03", "V1 Uz A 01", "V1 Ub B 02"});
    }
}

TEST(Kanalbelegung_Listen, geaendert_Messblock) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        a.s.Block(2, "V1");
        EXPECT_EQ(a.s.Marker(), QStringList({"geändert"}));
        prüfen(a, p, {"V1 Ua A 01", "V1 Ra A 03", "V1 Ub B 02"}, {"V1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"},
               {"V1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"});
    }
}

TEST(Kanalbelegung_Listen, auf_Sense_geaendert) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        a.s.Gruppe(2);
        a.s.Art(1, "Sense");
        prüfen(a, p, {"V1 Ua A 01", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Ua A 01"}, {"R1 Ra A 03", "V1 Ua A 01"});
    }
}

TEST(Kanalbelegung_Listen, nichts_geaendert) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        Daten.Headermerker = 0;
        a.s.Signal(2, "Ra");
        EXPECT_EQ(a.s.Marker(), QStringList({"nichts"}));
        a.s.Block(0, "V1");
        EXPECT_EQ(a.s.Marker(), QStringList({"nichts"}));
        prüfen(a, p, {"V1 Ua A 01", "V1 Ub B 02", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"},
               {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"});
    }
}

TEST(Kanalbelegung_Listen, ohne_Optionspaar_wird_nichts_gerufen) {
    Aufbau a(Paare[0]);
    Optionen_setzen(a.s.scan->Option1, false, a.s.scan->Option2, false);
    Daten.Headermerker = 0;
    a.s.Punkt(1, "Uc", "V1");
    a.s.Signal(0, "");
    EXPECT_TRUE(keine_Merker());
    EXPECT_EQ(Daten.Headermerker, 1);
    EXPECT_EQ(Scantabelle(), QStringList({"V1 Ua A 01", "V1 Ub B 02", "R1 Ra A 03"}));
    EXPECT_EQ(Aufzeichnungstabelle(), QStringList({"V1 Ua A 01", "V1 Ub B 02", "R1 Ra A 03"}));
}

TEST(Kanalbelegung, nie_belegte_Felder_zeigen_leere_Zellen) {
    Teststation station;
    Daten = Programmdaten{};  // before the variable initialisation: zero characters
    QWidget fläche;
    auto* kanal = new Kanalbelegung(&fläche);
    auto* tastatur = new Tastatur(&fläche);
    kanal->Form_Load();
    tastatur->Form_Load();
    EXPECT_EQ(kanal->Label1[0]->text(), "");
    EXPECT_EQ(kanal->Label4[0]->text(), "");
    EXPECT_EQ(kanal->Label3[0]->text(), "");
    kanal->Label4_Click(0);
    EXPECT_EQ(tastatur->Text1->text(), "");
}
