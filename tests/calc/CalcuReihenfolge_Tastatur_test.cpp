// A formula typed on the on-screen keyboard reaches the calculation list.
#include <gtest/gtest.h>

#include "calc/CalcuReihenfolge.h"
#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "keyboard/Tastatur.h"
#include "project/Hinweisform.h"
#include "project/MDIForm1.h"
#include "support/Teststation.h"

TEST(Formel_von_der_Tastatur, Uebernommen_oder_mit_Hinweis_abgelehnt) {
    Teststation station;
    for (QChar lw : {'c', 'd', 'e'})
        station.Laufwerk_anlegen(lw);
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    CalcuReihenfolge* seite = Fenster.CalcuReihenfolge;
    Tastatur* tastatur = Fenster.Tastatur;
    ASSERT_TRUE(seite && tastatur);
    const int zeilen = seite->List2->count();
    seite->List2->setCurrentRow(zeilen - 1);  // the closing entry: a new definition
    seite->List2_DblClick();
    EXPECT_EQ(Daten.Tastaturaufrufer, "CalcuReihenfolge");
    EXPECT_FALSE(tastatur->isHidden());

    tastatur->Text1->setText("[U1]*2");  // no "=": refused with the notice
    tastatur->Label4_Click();
    EXPECT_EQ(Fenster.Hinweisform->Label1->text(), "Fehler im Rechenstring!");
    EXPECT_FALSE(tastatur->isEnabled());
    EXPECT_EQ(seite->List2->count(), zeilen);
    Fenster.Hinweisform->Command3->click();
    EXPECT_TRUE(tastatur->isEnabled());

    tastatur->Text1->setText("Doppelt=[U1]*2_V");
    tastatur->Label4_Click();
    EXPECT_TRUE(tastatur->isHidden());
    EXPECT_EQ(seite->List2->count(), zeilen + 1);
    EXPECT_EQ(seite->List2->item(zeilen - 1)->text(), "Doppelt=[U1]*2_V");
    EXPECT_EQ(Daten.Headermerker, 1);
    rahmen.entladen();
}
