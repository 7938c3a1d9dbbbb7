// The SCPI block window on the 320 x 240 panel for a DC, a thermocouple and a
// pulse block: captions readable, nothing outside its frame, nothing on top
// of another. With KESTRIX_BILDER set the window is saved there as pictures.
#include "MBForm_Testhilfe.h"
#include "common/Steuerelemente.h"
#include "points/MBForm1.h"
#include "support/Teststation.h"

TEST(MBForm1_Bildschirm, Gleichspannung_Thermoelement_Impuls) {
    Teststation station;
    Schrift_der_Station();
    Variablen_initialisieren();
    Daten.HelpSchalter = Daten.EscSchalter = 1;
    Daten.Testlabels = 1;
    MBForm1 form;
    form.Form_Load();
    form.MBForm_initialisieren();
    form.show();
    EXPECT_EQ(form.size(), QSize(320, 240));

    Listenindex_setzen(form.Meßblockausw, 0);
    Anordnung_prüfen(&form);
    Bild_sichern(&form, "MBForm1_Gleichspannung");

    Listenindex_setzen(form.Meßblockausw, 6);
    form.TSensorAuswahl_Click(6);
    Listenindex_setzen(form.Meßblockausw, 6);
    EXPECT_TRUE(form.Frame10->isVisibleTo(&form));
    Anordnung_prüfen(&form);
    Bild_sichern(&form, "MBForm1_Thermoelement");

    Listenindex_setzen(form.Meßblockausw, 8);
    EXPECT_EQ(form.Frame3->title(), "Meßart");
    Anordnung_prüfen(&form);
    Bild_sichern(&form, "MBForm1_Impuls");

    Listenindex_setzen(form.Meßblockausw, 2);
    form.Command8_Click();
    form.Command7_Click();
    Bild_sichern(&form, "MBForm1_Dienst");
}
