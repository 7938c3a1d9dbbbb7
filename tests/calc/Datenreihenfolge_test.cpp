// The recording-order page: copy of the scan list or fixed columns with
// placeholders, dragging, and the column limit.
#include <gtest/gtest.h>

#include <QTest>

#include "Scanlist_Testhilfe.h"
#include "calc/CalcuReihenfolge.h"

using namespace Testhilfe;

namespace {
// Four points on group A in "festhalten", assigned in the order S1..S4 with
// the blocks R1, V1, V1, R1: optimised, the scan order differs from it.
void Vier_Spalten(Seiten& s, Kanalseite& k, bool scan_halten) {
    Vorgabe({"Gleichspannung", "Widerstand"});
    Blöcke({{"V1", "Gleichspannung"}, {"R1", "Widerstand"}});
    s.Scan_festhalten(scan_halten);
    s.Aufz_festhalten(true);
    k.Punkt(1, 1, "S1", "R1");
    k.Punkt(1, 2, "S2", "V1");
    k.Punkt(1, 3, "S3", "V1");
    k.Punkt(1, 4, "S4", "R1");
}

const QStringList Spalten_1_bis_4 = {"R1 S1 A 01", "V1 S2 A 02", "V1 S3 A 03", "R1 S4 A 04"};
}  // namespace

TEST(Datenreihenfolge, Geloeschtes_Signal_behaelt_seine_Spalte_als_Platzhalter) {
    for (bool scan_halten : {true, false}) {
        SCOPED_TRACE(scan_halten ? "Scanliste festhalten" : "Scanzeit optimieren");
        Seiten s;
        Kanalseite k{*s.scan, *s.aufz};
        Vier_Spalten(s, k, scan_halten);
        ASSERT_EQ(Aufzeichnungstabelle(), Spalten_1_bis_4);

        k.Signal(1, 2, "");
        EXPECT_EQ(Aufzeichnungstabelle(),
                  QStringList({"R1 S1 A 01", "gelöscht! gelöscht! -", "V1 S3 A 03", "R1 S4 A 04"}));
        EXPECT_EQ(s.aufz->List2->count(), 4);
        EXPECT_EQ(s.aufz->List2->item(1)->text(), Listenzeile::bauen(s.aufz->List2->font(), "gelöscht!", "gelöscht!"));
        EXPECT_EQ(Zeilen(s.aufz->List2), QStringList({"R1 S1", "gelöscht! gelöscht!", "V1 S3", "R1 S4"}));
        // The scan list itself loses the point.
        EXPECT_EQ(s.scan->List2->count(), 3);

        // Taking the block away from S4 makes a second placeholder.
        k.Block(1, 4, "");
        EXPECT_EQ(Aufzeichnungstabelle(),
                  QStringList({"R1 S1 A 01", "gelöscht! gelöscht! -", "V1 S3 A 03", "gelöscht! gelöscht! -"}));
    }
}

TEST(Datenreihenfolge, Sense_entfernt_die_Spalte_und_die_folgenden_ruecken_nach) {
    Seiten s;
    Kanalseite k{*s.scan, *s.aufz};
    Vorgabe({"Gleichspannung"});
    Blöcke({{"V1", "Gleichspannung"}});
    s.Scan_festhalten(true);
    s.Aufz_festhalten(true);
    k.Punkt(1, 1, "S1", "V1");
    k.Art(2, 3, "Input");
    k.Punkt(2, 3, "S2", "V1");
    k.Punkt(1, 2, "S3", "V1");
    ASSERT_EQ(Aufzeichnungstabelle(), QStringList({"V1 S1 A 01", "V1 S2 B 03", "V1 S3 A 02"}));

    k.Art(2, 3, "Sense");
    EXPECT_EQ(Aufzeichnungstabelle(), QStringList({"V1 S1 A 01", "V1 S3 A 02"}));
    EXPECT_EQ(Zeilen(s.aufz->List2), QStringList({"V1 S1", "V1 S3"}));
    EXPECT_EQ(Scantabelle(), QStringList({"V1 S1 A 01", "V1 S3 A 02"}));
    EXPECT_TRUE(Daten.Aufzeichnungstabelle[2].Signalname.text().isEmpty());
}

TEST(Datenreihenfolge, Aus_Scanliste_uebernehmen_entfernt_alle_Platzhalter) {
    Seiten s;
    Kanalseite k{*s.scan, *s.aufz};
    Vier_Spalten(s, k, false);
    k.Signal(1, 1, "");
    k.Signal(1, 3, "");
    ASSERT_EQ(Aufzeichnungstabelle(),
              QStringList({"gelöscht! gelöscht! -", "V1 S2 A 02", "gelöscht! gelöscht! -", "R1 S4 A 04"}));
    s.aufz->show();
    EXPECT_TRUE(s.aufz->List2->isEnabled());
    Daten.Headermerker = 0;

    s.Aufz_festhalten(false);
    EXPECT_EQ(Daten.Knopfzustände[3], -1);
    EXPECT_EQ(Daten.Knopfzustände[4], 0);
    EXPECT_EQ(Daten.Headermerker, 1);
    EXPECT_FALSE(s.aufz->List2->isEnabled());
    // Now a copy of the (optimised) scan list.
    EXPECT_EQ(Aufzeichnungstabelle(), QStringList({"V1 S2 A 02", "R1 S4 A 04"}));
    EXPECT_EQ(Zeilen(s.aufz->List2), QStringList({"V1 S2", "R1 S4"}));
    EXPECT_EQ(s.aufz->List2->Zeilen(), s.scan->List2->Zeilen());
    EXPECT_TRUE(Daten.Aufzeichnungstabelle[2].Signalname.text().isEmpty());
}

TEST(Datenreihenfolge, Festhalten_haengt_neue_Punkte_hinten_an_und_benennt_an_Ort_und_Stelle_um) {
    Seiten s;
    Kanalseite k{*s.scan, *s.aufz};
    Vier_Spalten(s, k, false);
    // The scan list is optimised, the columns keep the order of assignment.
    EXPECT_EQ(Scantabelle(), QStringList({"V1 S2 A 02", "V1 S3 A 03", "R1 S1 A 01", "R1 S4 A 04"}));
    EXPECT_EQ(Aufzeichnungstabelle(), Spalten_1_bis_4);

    // A signal without a block is no point yet; with its block it gets
    // exactly one new column at the end.
    k.Signal(3, 1, "S5");
    EXPECT_EQ(Aufzeichnungstabelle(), Spalten_1_bis_4);
    k.Block(3, 1, "V1");
    EXPECT_EQ(Aufzeichnungstabelle(), Spalten_1_bis_4 + QStringList({"V1 S5 C 01"}));
    // A named sense terminal gets no column.
    k.Punkt(2, 1, "S6", "V1");
    EXPECT_EQ(Aufzeichnungstabelle().size(), 5);

    k.Signal(1, 3, "S3_neu");
    k.Block(1, 1, "V1");
    EXPECT_EQ(Aufzeichnungstabelle(),
              QStringList({"V1 S1 A 01", "V1 S2 A 02", "V1 S3_neu A 03", "R1 S4 A 04", "V1 S5 C 01"}));
    EXPECT_EQ(Zeilen(s.aufz->List2), ohne_Klemme(Aufzeichnungstabelle()));
}

TEST(Datenreihenfolge, Zwei_markierte_Zeilen_ziehen_schreibt_die_Tabelle_neu) {
    Seiten s;
    Kanalseite k{*s.scan, *s.aufz};
    Vier_Spalten(s, k, false);
    k.Signal(1, 2, "");  // column 2 is a placeholder
    s.fläche.show();
    s.aufz->show();
    Ziehliste* liste = s.aufz->List2;
    ASSERT_TRUE(liste->isEnabled());
    auto mitte = [liste](int z) { return liste->visualItemRect(liste->item(z)).center(); };

    // Select columns 1 and 2 (Shift extends), drag them onto column 4: they
    // go in before it and leave placeholders, so column 3 keeps its place.
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, mitte(0));
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, Qt::ShiftModifier, mitte(1));
    ASSERT_EQ(liste->Ausgewählte_Zeilen(), QList<int>({0, 1}));
    Daten.Headermerker = 0;
    QTest::mousePress(liste->viewport(), Qt::LeftButton, {}, mitte(1));
    QTest::mouseMove(liste->viewport(), mitte(3));
    QTest::mouseRelease(liste->viewport(), Qt::LeftButton, {}, mitte(3));
    EXPECT_EQ(Zeilen(liste), QStringList({"gelöscht! gelöscht!", "gelöscht! gelöscht!", "V1 S3", "R1 S1",
                                          "gelöscht! gelöscht!", "R1 S4"}));
    EXPECT_EQ(Aufzeichnungstabelle(),
              QStringList({"gelöscht! gelöscht! -", "gelöscht! gelöscht! -", "V1 S3 A 03", "R1 S1 A 01",
                           "gelöscht! gelöscht! -", "R1 S4 A 04"}));
    EXPECT_EQ(Daten.Headermerker, 1);
    // The scan list is not touched by it.
    EXPECT_EQ(Scantabelle(), QStringList({"V1 S3 A 03", "R1 S1 A 01", "R1 S4 A 04"}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Datenreihenfolge, Spalte_121_wird_abgewiesen) {
    Seiten s;
    Kanalseite k{*s.scan, *s.aufz};
    Vorgabe({"Gleichspannung"});
    Blöcke({{"V1", "Gleichspannung"}});
    s.Scan_festhalten(true);
    s.Aufz_festhalten(true);
    for (int g = 2; g <= 16; g += 2)
        for (int t = 1; t <= 8; ++t)
            Daten.Kanaltabelle[g].Art[t] = "Input";
    int n = 0;
    for (int g = 1; g <= 16 && n < 120; ++g)
        for (int t = 1; t <= 8 && n < 120; ++t, ++n)
            k.Punkt(g, t, QString("P%1").arg(n + 1), "V1");
    // One deleted column keeps its place: the scan list has room, the columns have not.
    k.Signal(1, 1, "");
    ASSERT_EQ(Aufzeichnungstabelle().size(), 120);
    ASSERT_EQ(s.scan->List2->count(), 119);
    const QStringList vorher = Aufzeichnungstabelle();

    k.Punkt(16, 1, "Neu", "V1");
    EXPECT_EQ(s.scan->List2->count(), 120);
    ASSERT_EQ(s.station.Dialoge.Meldungen.size(), 1);
    EXPECT_EQ(s.station.Dialoge.Meldungen[0],
              "Die Aufzeichnungsreihenfolge ist voll: mehr als 120 Spalten können nicht gespeichert werden!\r"
              "Nicht aufgenommen: P 01 Neu\r"
              "Gelöschte Spalten entfernt \"aus Scanliste übernehmen\".");
    EXPECT_EQ(Aufzeichnungstabelle(), vorher);
    EXPECT_EQ(s.aufz->List2->count(), 120);
    EXPECT_TRUE(Daten.Aufzeichnungstabelle[120].Signalname.text().isEmpty());
}

TEST(Datenreihenfolge, Aus_dem_Puffer_erstellen_und_Knoepfe_setzen) {
    Seiten s;
    Datenreihenfolge::Platzhalter_setzen(Daten.Aufzeichnungstabelle[1]);
    Daten.Aufzeichnungstabelle[0].Messblockname = "V1";
    Daten.Aufzeichnungstabelle[0].Signalname = "U";
    Daten.Aufzeichnungstabelle[2].Messblockname = "R1";
    Daten.Aufzeichnungstabelle[2].Signalname = "R";
    s.aufz->Aufzliste_aus_Puffer_erstellen();
    EXPECT_EQ(Zeilen(s.aufz->List2), QStringList({"V1 U", "gelöscht! gelöscht!", "R1 R"}));

    // Fresh tables: take over from the scan list.
    EXPECT_TRUE(s.aufz->Option2->isChecked());
    EXPECT_EQ(Daten.Knopfzustände[3], -1);
    // Neither stored: neither shown, nothing written back.
    Daten.Knopfzustände[3] = 0;
    s.aufz->Aufz_Knöpfe_setzen();
    EXPECT_FALSE(s.aufz->Option1->isChecked() || s.aufz->Option2->isChecked());
    EXPECT_EQ(Daten.Knopfzustände[3], 0);
    EXPECT_EQ(Daten.Knopfzustände[4], 0);
    Daten.Knopfzustände[3] = 0;
    Daten.Knopfzustände[4] = -1;
    s.aufz->Aufz_Knöpfe_setzen();
    EXPECT_TRUE(s.aufz->Option1->isChecked());
    EXPECT_FALSE(s.aufz->Option2->isChecked());
    // Restoring keeps the placeholders.
    EXPECT_EQ(s.aufz->List2->count(), 3);
    s.aufz->show();
    EXPECT_TRUE(s.aufz->List2->isEnabled());

    EXPECT_EQ(s.aufz->Label1->text(), "Aufzeichnungsreihenfolge");
    EXPECT_EQ(s.aufz->Option2->text(), "aus Scanliste übernehmen");
    EXPECT_EQ(s.aufz->size(), QSize(320, 240));
}

TEST(Datenreihenfolge, Pfeil_zeigt_die_Rechenliste_mit_den_Signalen_der_Scanliste) {
    Seiten s;
    Kanalseite k{*s.scan, *s.aufz};
    Vier_Spalten(s, k, false);
    auto* rechnen = new CalcuReihenfolge(&s.fläche);
    s.fläche.show();
    s.aufz->show();
    s.aufz->Command1->click();
    EXPECT_TRUE(rechnen->isVisible());
    EXPECT_EQ(rechnen->Signalliste, QStringList({"S2", "S3", "S1", "S4"}));
    s.aufz->Command2->click();
    EXPECT_FALSE(s.aufz->isVisible());
}
