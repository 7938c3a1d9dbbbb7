// The operator's walk through the set-up pages of the running program:
// three signals on group A with two blocks, typed on the on-screen keyboard,
// then the scan list in optimised order and the recording order.
#include <gtest/gtest.h>

#include <QDir>
#include <QTest>

#include "Kanalbelegung_Testhilfe.h"
#include "common/Steuerelemente.h"
#include "project/MDIForm1.h"

using namespace Kanaltest;

namespace {
void tippen(Tastatur* tastatur, std::initializer_list<const char*> tasten) {
    for (const char* t : tasten) {
        const QString b = QString::fromUtf8(t);
        QWidget* taste = b == "Shift" ? tastatur->Label6 : b == "Return" ? tastatur->Label4 : tastatur->Taste_mit(b);
        ASSERT_NE(taste, nullptr) << t;
        QTest::mouseClick(taste, Qt::LeftButton);
    }
}

void Block_wählen(Kanalbelegung* kanal, int zeile, const QString& block) {
    QTest::mouseClick(kanal->Label3[zeile], Qt::LeftButton);
    ASSERT_TRUE(kanal->Meßblock->isVisible());
    const int index = kanal->Meßblock->findText(block);
    ASSERT_GE(index, 0) << block.toStdString();
    emit kanal->Meßblock->activated(index);
}
}  // namespace

TEST(Kanalbelegung_Rundgang, drei_Signale_zwei_Bloecke_bis_zur_Aufzeichnung) {
    Teststation station;
    for (QChar lw : {'c', 'd', 'e'})
        station.Laufwerk_anlegen(lw);
    station.Laufwerke.Typen['d'] = Laufwerkstyp::RAMDisk;
    QFont schrift("DejaVu Sans");
    schrift.setPixelSize(11);
    QApplication::setFont(schrift);
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    rahmen.show();
    ASSERT_NE(Fenster.Kanalbelegung, nullptr);
    ASSERT_NE(Fenster.Tastatur, nullptr);

    // The project page (as "Programmieren" opens it), the meter of the
    // project, ">>" to the channel page.
    Projekt* projekt = Fenster.Projekt;
    projekt->show();
    projekt->raise();
    Listenindex_setzen(projekt->Combo2, projekt->Combo2->findText("Keithley 2000 Multimeter"));
    ASSERT_EQ(Daten.Messblocktabelle[1].Gerätetyp, 1);
    QTest::mouseClick(projekt->Command1, Qt::LeftButton);
    Kanalbelegung* kanal = Fenster.Kanalbelegung;
    Tastatur* tastatur = Fenster.Tastatur;
    ASSERT_TRUE(kanal->isVisible());
    EXPECT_EQ(kanal->Label1[0]->text(), "A 01");

    // A 01 "R1" on "Widerstand", A 02 "U2" and A 03 "U3" on "Gleichspannung".
    const struct {
        int zeile;
        std::initializer_list<const char*> tasten;
        const char* block;
    } punkte[] = {{0, {"Shift", "R", "1", "Shift", "Return"}, "Widerstand"},
                  {1, {"Shift", "U", "2", "Shift", "Return"}, "Gleichspannung"},
                  {2, {"Shift", "U", "3", "Shift", "Return"}, "Gleichspannung"}};
    for (const auto& p : punkte) {
        QTest::mouseClick(kanal->Label4[p.zeile], Qt::LeftButton);
        ASSERT_TRUE(tastatur->isVisible());
        EXPECT_FALSE(kanal->isEnabled());
        tippen(tastatur, p.tasten);
        EXPECT_FALSE(tastatur->isVisible());
        EXPECT_TRUE(kanal->isEnabled());
        Block_wählen(kanal, p.zeile, p.block);
    }
    EXPECT_EQ(Spalte(kanal->Label4).mid(0, 4), QStringList({"R1", "U2", "U3", ""}));
    EXPECT_EQ(Spalte(kanal->Label3).mid(0, 4), QStringList({"Widerstand", "Gleichspannung", "Gleichspannung", ""}));
    EXPECT_TRUE(station.Dialoge.Meldungen.isEmpty()) << station.Dialoge.Meldungen.join('|').toStdString();

    // ">>": the scan list, optimised: direct voltage before resistance (the
    // preset order of the SCPI meter), within a block by terminal.
    QTest::mouseClick(kanal->Command1, Qt::LeftButton);
    Scanlist* scan = Fenster.Scanlist;
    ASSERT_TRUE(scan->isVisible());
    EXPECT_TRUE(scan->Option2->isChecked());  // "Scanzeit optimieren"
    EXPECT_EQ(Zeilen(scan->List2), QStringList({"Gleichspannung U2", "Gleichspannung U3", "Widerstand R1"}));
    EXPECT_EQ(Scantabelle(), QStringList({"Gleichspannung U2 A 02", "Gleichspannung U3 A 03", "Widerstand R1 A 01"}));

    // ">>": the recording order takes the scan order over.
    QTest::mouseClick(scan->Command1, Qt::LeftButton);
    Datenreihenfolge* aufz = Fenster.Datenreihenfolge;
    ASSERT_TRUE(aufz->isVisible());
    EXPECT_TRUE(aufz->Option2->isChecked());  // "aus Scanliste übernehmen"
    EXPECT_EQ(Zeilen(aufz->List2), QStringList({"Gleichspannung U2", "Gleichspannung U3", "Widerstand R1"}));
    EXPECT_EQ(Aufzeichnungstabelle(),
              QStringList({"Gleichspannung U2 A 02", "Gleichspannung U3 A 03", "Widerstand R1 A 01"}));
    EXPECT_EQ(Daten.Headermerker, 1);

    const QString ziel = qEnvironmentVariable("KESTRIX_BILDER");
    if (!ziel.isEmpty()) {
        QDir().mkpath(ziel);
        kanal->grab().save(ziel + "/rundgang_kanalbelegung.png");
        scan->grab().save(ziel + "/rundgang_scanlist.png");
        aufz->grab().save(ziel + "/rundgang_datenreihenfolge.png");
    }
    rahmen.entladen();
    EXPECT_EQ(Fenster.Kanalbelegung, nullptr);
    EXPECT_EQ(Fenster.Tastatur, nullptr);
    EXPECT_EQ(Fenster.Mausfangform, nullptr);
}
