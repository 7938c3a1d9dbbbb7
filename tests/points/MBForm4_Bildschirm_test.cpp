// The code-driven block window on the 320 x 240 panel.
#include "MBForm_Testhilfe.h"
#include "common/Steuerelemente.h"
#include "points/MBForm4.h"
#include "support/Teststation.h"

TEST(MBForm4_Bildschirm, Gleichspannung_und_Temperatur) {
    Teststation station;
    Schrift_der_Station();
    Variablen_initialisieren();
    Daten.HelpSchalter = Daten.EscSchalter = 1;
    MBForm4 form;
    form.Form_Load();
    form.MBForm_initialisieren();
    form.show();
    EXPECT_EQ(form.size(), QSize(320, 240));
    Listenindex_setzen(form.Meßblockausw, 0);
    Anordnung_prüfen(&form);
    Bild_sichern(&form, "MBForm4_Gleichspannung");
    Listenindex_setzen(form.Meßblockausw, 2);
    Anordnung_prüfen(&form);
    Bild_sichern(&form, "MBForm4_Temperatur");
}
