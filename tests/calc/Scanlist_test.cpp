// The scan-list page: line format, optimised order, "festhalten", dragging,
// and the limit of 120 points.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QTest>

#include "Scanlist_Testhilfe.h"
#include "project/Projekt.h"

using namespace Testhilfe;

namespace {
int Breite(const QFont& f, const QString& t) { return QFontMetrics(f).horizontalAdvance(t) * 15; }

// Blocks and preset of the worked example: DC voltage first, resistance second.
void Beispielblöcke() {
    Vorgabe({"Gleichspannung", "Widerstand"});
    Blöcke({{"V1", "Gleichspannung"}, {"R1", "Widerstand"}, {"V2", "Gleichspannung"}});
}
}  // namespace

TEST(Scanlist, Zeile_hat_Blockspalte_von_1350_Twips_TAB_und_Signal) {
    Seiten s;
    const QFont f = s.scan->List2->font();
    const QString zeile = Listenzeile::bauen(f, "V1", "Temp_Öl 1");
    const QString spalte = zeile.section('\t', 0, 0);
    EXPECT_EQ(zeile.section('\t', 1), "Temp_Öl 1");
    EXPECT_TRUE(spalte.startsWith("V1 "));
    EXPECT_EQ(spalte.trimmed(), "V1");
    // Just enough blanks: the column reaches 1350 twips, one blank fewer does not.
    EXPECT_GE(Breite(f, spalte), 1350);
    EXPECT_LT(Breite(f, spalte.chopped(1)), 1350);
    // Reading back.
    EXPECT_EQ(Listenzeile::Block(zeile), "V1");
    EXPECT_EQ(Listenzeile::Signal(zeile), "Temp_Öl 1");

    // A block name is cut to its first 16 characters; a wide one gets no blanks.
    const QString lang = Listenzeile::bauen(f, "WWWWWWWWWWWWWWWWXYZ", "S");
    EXPECT_EQ(lang, "WWWWWWWWWWWWWWWW\tS");
    EXPECT_EQ(Listenzeile::Block(lang), "WWWWWWWWWWWWWWWW");
    // A short block that needs few blanks still reads back without the signal.
    EXPECT_EQ(Listenzeile::Block("Widerstand1234\tSig"), "Widerstand1234");
    EXPECT_EQ(Listenzeile::Signal("Widerstand1234\tSig"), "Sig");
}

TEST(Scanlist, Optimierte_Reihenfolge_nach_Funktion_Block_Gruppe_und_Klemme) {
    Seiten s;
    Beispielblöcke();
    Kanalseite k{*s.scan, *s.aufz};
    // Assigned in an order unrelated to the result.
    k.Punkt(3, 2, "U3", "V2");
    k.Punkt(1, 5, "R_a", "R1");
    k.Punkt(5, 1, "U2", "V1");
    k.Punkt(1, 1, "U1", "V1");
    k.Punkt(1, 2, "U4", "V2");
    k.Punkt(3, 1, "R_b", "R1");

    const QStringList erwartet = {"V1 U1 A 01", "V1 U2 E 01", "V2 U4 A 02", "V2 U3 C 02", "R1 R_a A 05", "R1 R_b C 01"};
    EXPECT_EQ(Scantabelle(), erwartet);
    EXPECT_EQ(Zeilen(s.scan->List2), ohne_Klemme(erwartet));
    EXPECT_EQ(Daten.Optiscantabelle[1].Messblock.text(), "V1");
    EXPECT_EQ(Daten.Optiscantabelle[2].Messblock.text(), "V2");
    EXPECT_EQ(Daten.Optiscantabelle[3].Messblock.text(), "R1");
    // The list ends with an empty record after the last point.
    EXPECT_TRUE(Daten.Scanlistentabelle[7].Messblockname.text().isEmpty());
    EXPECT_TRUE(Daten.Scanlistentabelle[7].Zusatztext.text().isEmpty());
}

TEST(Scanlist, Block_ohne_Funktion_der_Vorgabe_liefert_keine_Punkte) {
    Seiten s;
    Vorgabe({"Gleichspannung"});
    Blöcke({{"V1", "Gleichspannung"}, {"R1", "Widerstand"}, {"X", ""}});
    Kanalseite k{*s.scan, *s.aufz};
    k.Punkt(1, 1, "R", "R1");
    k.Punkt(1, 2, "X", "X");
    k.Punkt(1, 3, "U", "V1");
    EXPECT_EQ(Scantabelle(), QStringList({"V1 U A 03"}));
}

TEST(Scanlist, Sense_Klemme_steht_in_keiner_Betriebsart_in_der_Liste) {
    for (bool halten : {false, true}) {
        SCOPED_TRACE(halten ? "festhalten" : "Scanzeit optimieren");
        Seiten s;
        Beispielblöcke();
        s.Scan_festhalten(halten);
        Kanalseite k{*s.scan, *s.aufz};
        k.Punkt(1, 1, "U1", "V1");
        // B 01 is a sense terminal: a name and a block make no point of it.
        k.Punkt(2, 1, "U_sense", "V1");
        k.Punkt(1, 2, "U2", "V1");
        EXPECT_EQ(Scantabelle(), QStringList({"V1 U1 A 01", "V1 U2 A 02"}));
        // Switched to "Input" it becomes one; back to "Sense" it leaves again
        // and keeps its names in the channel table.
        k.Art(2, 1, "Input");
        EXPECT_EQ(Scantabelle().size(), 3);
        k.Art(2, 1, "Sense");
        EXPECT_EQ(Scantabelle(), QStringList({"V1 U1 A 01", "V1 U2 A 02"}));
        EXPECT_EQ(Zeilen(s.scan->List2), QStringList({"V1 U1", "V1 U2"}));
        EXPECT_EQ(Daten.Kanaltabelle[2].Signalbezeichnung[1].text(), "U_sense");
        // Rebuilding the optimised order from the channel table does not bring it back.
        s.Scan_festhalten(false);
        EXPECT_EQ(Zeilen(s.scan->List2), QStringList({"V1 U1", "V1 U2"}));
    }
}

TEST(Scanlist, Festhalten_haengt_an_und_behaelt_Position_beim_Umbenennen) {
    Seiten s;
    Beispielblöcke();
    s.Scan_festhalten(true);
    EXPECT_EQ(Daten.Knopfzustände[1], 0);
    EXPECT_EQ(Daten.Knopfzustände[2], -1);
    Kanalseite k{*s.scan, *s.aufz};
    k.Punkt(1, 5, "R_a", "R1");
    k.Punkt(1, 1, "U1", "V1");
    k.Punkt(3, 1, "U2", "V2");
    EXPECT_EQ(Scantabelle(), QStringList({"R1 R_a A 05", "V1 U1 A 01", "V2 U2 C 01"}));

    k.Signal(1, 1, "U_neu");
    EXPECT_EQ(Scantabelle(), QStringList({"R1 R_a A 05", "V1 U_neu A 01", "V2 U2 C 01"}));
    EXPECT_EQ(Zeilen(s.scan->List2), QStringList({"R1 R_a", "V1 U_neu", "V2 U2"}));
    // Another block for the same terminal also stays in place.
    k.Block(1, 5, "V2");
    EXPECT_EQ(Scantabelle(), QStringList({"V2 R_a A 05", "V1 U_neu A 01", "V2 U2 C 01"}));
    // The line is rebuilt in the two-column format.
    EXPECT_EQ(s.scan->List2->item(0)->text(), Listenzeile::bauen(s.scan->List2->font(), "V2", "R_a"));

    // Deleting the signal removes only that line.
    k.Signal(1, 1, "");
    EXPECT_EQ(Scantabelle(), QStringList({"V2 R_a A 05", "V2 U2 C 01"}));
    EXPECT_TRUE(Daten.Kanaltabelle[1].Messblockzuordnung[1].text().isEmpty());
}

TEST(Scanlist, Gleiche_Namen_gehoeren_zur_ersten_Klemme) {
    Seiten s;
    Beispielblöcke();
    Daten.Messblocktabelle[4].Messblockname = "Gleichspannung_1X";
    Daten.Messblocktabelle[4].Funktionsname = "Gleichspannung";
    Daten.Messblocktabelle[5].Messblockname = "neu";
    // Both terminals carry a block that agrees in its first 16 characters
    // (the channel page stores no more) and the same signal name.
    Daten.Kanaltabelle[3].Messblockzuordnung[4] = "Gleichspannung_1";
    Daten.Kanaltabelle[3].Signalbezeichnung[4] = "T";
    Daten.Kanaltabelle[1].Messblockzuordnung[7] = "Gleichspannung_1";
    Daten.Kanaltabelle[1].Signalbezeichnung[7] = "T";
    Scanlist::Scanlistmerker({Listenzeile::bauen(QFont(), "Gleichspannung_1X", "T"),
                              Listenzeile::bauen(QFont(), "Gleichspannung_1", "T")});
    EXPECT_EQ(Scantabelle(), QStringList({"Gleichspannung_1 T A 07", "Gleichspannung_1 T A 07"}));
}

TEST(Scanlist, Zwei_markierte_Zeilen_ziehen) {
    Seiten s;
    Beispielblöcke();
    s.Scan_festhalten(true);
    Kanalseite k{*s.scan, *s.aufz};
    for (int t = 1; t <= 5; ++t)
        k.Punkt(1, t, QString("S%1").arg(t), "V1");
    s.fläche.show();
    s.scan->show();
    Ziehliste* liste = s.scan->List2;
    ASSERT_TRUE(liste->isEnabled());
    auto mitte = [liste](int z) { return liste->visualItemRect(liste->item(z)).center(); };

    // Click S2, Ctrl+click S4, then drag both from S4 onto S1.
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, mitte(1));
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, Qt::ControlModifier, mitte(3));
    EXPECT_EQ(liste->Ausgewählte_Zeilen(), QList<int>({1, 3}));
    // A click changes nothing in the order.
    EXPECT_EQ(Zeilen(liste), QStringList({"V1 S1", "V1 S2", "V1 S3", "V1 S4", "V1 S5"}));
    Daten.Headermerker = 0;

    QTest::mousePress(liste->viewport(), Qt::LeftButton, {}, mitte(3));
    EXPECT_EQ(Daten.Ziehmerker, -1);
    EXPECT_EQ(Daten.Ziehstart, 3);
    QTest::mouseMove(liste->viewport(), mitte(2));
    QTest::mouseMove(liste->viewport(), mitte(0));
    QTest::mouseRelease(liste->viewport(), Qt::LeftButton, {}, mitte(0));
    EXPECT_EQ(Daten.Ziehmerker, 0);
    EXPECT_EQ(Zeilen(liste), QStringList({"V1 S2", "V1 S4", "V1 S1", "V1 S3", "V1 S5"}));
    EXPECT_EQ(Scantabelle(), QStringList({"V1 S2 A 02", "V1 S4 A 04", "V1 S1 A 01", "V1 S3 A 03", "V1 S5 A 05"}));
    EXPECT_EQ(Daten.Headermerker, 1);
    // The moved lines stay selected at their new place.
    EXPECT_EQ(liste->Ausgewählte_Zeilen(), QList<int>({0, 1}));

    // Dropped below the last line: they go to the end.
    s.scan->List2_MouseDown(0);
    s.scan->List2_MouseUp(liste->count());
    EXPECT_EQ(Zeilen(liste), QStringList({"V1 S1", "V1 S3", "V1 S5", "V1 S2", "V1 S4"}));
    // In "aus Scanliste übernehmen" the recording order follows.
    EXPECT_EQ(Zeilen(s.aufz->List2), Zeilen(liste));
    EXPECT_EQ(Aufzeichnungstabelle(), Scantabelle());
}

TEST(Scanlist, Optimieren_waehlen_ordnet_neu_und_sperrt_die_Liste) {
    Seiten s;
    Beispielblöcke();
    s.Scan_festhalten(true);
    Kanalseite k{*s.scan, *s.aufz};
    k.Punkt(1, 2, "R", "R1");
    k.Punkt(1, 1, "U", "V1");
    s.scan->show();
    EXPECT_TRUE(s.scan->List2->isEnabled());
    s.Scan_festhalten(false);
    EXPECT_EQ(Daten.Knopfzustände[1], -1);
    EXPECT_EQ(Daten.Knopfzustände[2], 0);
    EXPECT_FALSE(s.scan->List2->isEnabled());
    EXPECT_EQ(Scantabelle(), QStringList({"V1 U A 01", "R1 R A 02"}));
    EXPECT_EQ(Aufzeichnungstabelle(), Scantabelle());
}

TEST(Scanlist, Auffrischen_und_Knoepfe_aus_den_gespeicherten_Daten) {
    Seiten s;
    s.fläche.show();
    Daten.Scanlistentabelle[1].Messblockname = "R1";
    Daten.Scanlistentabelle[1].Signalname = "Wid";
    Daten.Scanlistentabelle[2].Messblockname = "V1";
    Daten.Scanlistentabelle[2].Signalname = "Sp";
    Daten.Scanlistentabelle[3].Signalname = "";
    Daten.Scanlistentabelle[4].Messblockname = "X";
    Daten.Scanlistentabelle[4].Signalname = "hinter dem Ende";
    s.scan->Scanliste_auffrischen();
    EXPECT_EQ(Zeilen(s.scan->List2), QStringList({"R1 Wid", "V1 Sp"}));

    // Optimise stored: the list cannot be dragged, and restoring does not
    // reorder it.
    Daten.Knopfzustände[1] = -1;
    Daten.Knopfzustände[2] = 0;
    s.scan->Scanl_Knöpfe_setzen();
    EXPECT_TRUE(s.scan->Option2->isChecked());
    EXPECT_FALSE(s.scan->Option1->isChecked());
    s.scan->show();
    EXPECT_FALSE(s.scan->List2->isEnabled());
    EXPECT_EQ(Zeilen(s.scan->List2), QStringList({"R1 Wid", "V1 Sp"}));

    // Neither stored: neither shown, nothing written back.
    Daten.Knopfzustände[1] = 0;
    s.scan->Scanl_Knöpfe_setzen();
    EXPECT_FALSE(s.scan->Option1->isChecked() || s.scan->Option2->isChecked());
    EXPECT_EQ(Daten.Knopfzustände[1], 0);
    EXPECT_EQ(Daten.Knopfzustände[2], 0);

    Daten.Knopfzustände[1] = 0;
    Daten.Knopfzustände[2] = -1;
    s.scan->Scanl_Knöpfe_setzen();
    EXPECT_TRUE(s.scan->Option1->isChecked());
    EXPECT_TRUE(s.scan->List2->isEnabled());
    // An empty list is disabled on activation.
    s.scan->hide();
    s.scan->List2->clear();
    s.scan->show();
    EXPECT_FALSE(s.scan->List2->isEnabled());
}

TEST(Scanlist, Seite_folgt_den_Stationsschaltern_und_zeigt_die_Aufzeichnung) {
    Seiten s;
    EXPECT_EQ(s.scan->size(), QSize(320, 240));
    EXPECT_EQ(s.scan->Label1->text(), "Scanreihenfolge");
    EXPECT_EQ(s.scan->Option1->text(), "festhalten");
    EXPECT_EQ(s.scan->Option2->text(), "Scanzeit optimieren");
    Daten.HelpSchalter = 1;
    Daten.EscSchalter = 1;
    s.scan->Form_Load();
    EXPECT_FALSE(s.scan->Command8->isHidden());
    EXPECT_FALSE(s.scan->Command4->isHidden());
    Daten.HelpSchalter = 0;
    Daten.EscSchalter = 0;
    s.scan->Form_Load();
    EXPECT_TRUE(s.scan->Command8->isHidden());
    EXPECT_TRUE(s.scan->Command4->isHidden());
    s.fläche.show();
    s.scan->show();
    s.scan->Command1->click();
    EXPECT_TRUE(s.aufz->isVisible());
    s.scan->Command2->click();
    EXPECT_FALSE(s.scan->isVisible());
}

// 120 records are all the table has: the 121st point is refused with a
// message, in both modes, and nothing beyond the table is written.
TEST(Scanlist, Der_121_Punkt_wird_abgewiesen) {
    for (bool halten : {true, false}) {
        SCOPED_TRACE(halten ? "festhalten" : "Scanzeit optimieren");
        Seiten s;
        Vorgabe({"Gleichspannung"});
        Blöcke({{"V1", "Gleichspannung"}});
        s.Scan_festhalten(halten);
        s.Aufz_festhalten(true);
        for (int g = 2; g <= 16; g += 2)
            for (int t = 1; t <= 8; ++t)
                Daten.Kanaltabelle[g].Art[t] = "Input";
        Daten.Optiscantabelle[0].Messblock = "Wache";
        Daten.Optiscantabelle[0].Zusatz = "Wache";
        Kanalseite k{*s.scan, *s.aufz};
        // Groups P down to A, so that in optimised order the newest point
        // would come first.
        int n = 0;
        for (int g = 16; g >= 1 && n < 120; --g)
            for (int t = 1; t <= 8 && n < 120; ++t, ++n)
                k.Punkt(g, t, QString("P%1").arg(n + 1), "V1");
        ASSERT_EQ(s.scan->List2->count(), 120);
        ASSERT_TRUE(s.station.Dialoge.Meldungen.isEmpty());
        const QStringList vorher = Scantabelle();
        ASSERT_EQ(vorher.size(), 120);

        k.Punkt(1, 1, "P121", "V1");
        ASSERT_EQ(s.station.Dialoge.Meldungen.size(), 1);
        EXPECT_EQ(s.station.Dialoge.Meldungen[0],
                  "Die Scanliste ist voll: mehr als 120 Meßpunkte können nicht gespeichert werden!\r"
                  "Nicht aufgenommen: A 01 P121");
        EXPECT_EQ(s.scan->List2->count(), 120);
        EXPECT_EQ(Scantabelle(), vorher);
        EXPECT_EQ(Daten.Optiscantabelle[0].Messblock.text(), "Wache");
        EXPECT_EQ(Daten.Optiscantabelle[0].Zusatz.text(), "Wache");
        // The recording order did not take the refused point either.
        EXPECT_EQ(Aufzeichnungstabelle().size(), 120);
        EXPECT_FALSE(Aufzeichnungstabelle().join(',').contains("P121"));

        // With one place free again it fits.
        k.Signal(16, 1, "");
        k.Block(1, 1, "");
        k.Block(1, 1, "V1");
        EXPECT_EQ(s.scan->List2->count(), 120);
        EXPECT_TRUE(Scantabelle().contains("V1 P121 A 01"));
    }
}

TEST(Scanlist, Speichern_schreibt_das_Projekt_mit_der_Scanliste) {
    Seiten s;
    Beispielblöcke();
    Kanalseite k{*s.scan, *s.aufz};
    k.Punkt(1, 1, "U1", "V1");
    auto* projekt = new Projekt(&s.fläche);
    projekt->Projektverz_anleg();
    Daten.Projektname = "probe.kxp";
    projekt->Label1->setText("probe.kxp");
    const QString datei = Pfade::lokal("c:\\kestrix\\intern\\scanlist\\probe.kxp");
    ASSERT_FALSE(QFileInfo::exists(datei));
    s.scan->Command3->click();
    EXPECT_TRUE(QFileInfo::exists(datei));
    // The first record holds the point's signal name.
    EXPECT_TRUE(Teststation::Datei_lesen(datei).contains("U1"));
    QFile::remove(datei);
    s.aufz->Command3->click();
    EXPECT_TRUE(QFileInfo::exists(datei));
}
