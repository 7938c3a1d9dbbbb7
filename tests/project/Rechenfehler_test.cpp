// A broken "Rechen.ini" found at the start of a run ends the real program;
// the next start must come up idle instead of ending again and again.
#include <gtest/gtest.h>

#include "support/Programmlauf.h"
#include "support/Teststation.h"

TEST(Rechenfehler, Beendet_mit_geloeschtem_Stromausfallsatz_und_der_naechste_Start_bleibt_im_Leerlauf) {
#ifndef Q7SIM_PFAD
    GTEST_SKIP() << "without the simulated box";
#endif
    Teststation station;
    Programmlauf lauf{station};
    Projekt_grundstellen();
    Messpunkt_setzen(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "U1");
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001", "P=([U1]*2_W\r\n"));
    ASSERT_TRUE(lauf.Box_starten());
    ASSERT_TRUE(lauf.Kestrix_starten({"lauf.kxp"}));  // a project on the command line starts a run
    ASSERT_TRUE(lauf.Ende_abwarten(20000));
    EXPECT_EQ(lauf.Stromausfallsatz("lauf.kxp"), QByteArray("\0\0", 2));
    EXPECT_EQ(lauf.Dialogprotokoll().count("Fehlerhafte Klammersetzung"), 1);

    ASSERT_TRUE(lauf.Kestrix_starten());
    ASSERT_TRUE(lauf.Meldung_abwarten("Programm gestartet", 2));
    warten_bis([] { return false; }, 4000);  // past the frame's restart after a power failure
    EXPECT_TRUE(lauf.läuft());
    EXPECT_EQ(lauf.Dialogprotokoll().count("Fehlerhafte Klammersetzung"), 1);
    EXPECT_EQ(lauf.Protokollmeldungen().count("Messung gestartet"), 0);
    EXPECT_TRUE(lauf.mit_Endedatei_beenden());
}
