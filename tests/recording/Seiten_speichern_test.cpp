// "Speichern" on the data-format and data-logger pages writes the whole
// project, so a setting made there survives the next start.
#include <gtest/gtest.h>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "platform/Pfade.h"
#include "project/Dateiform.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"
#include "support/Teststation.h"

TEST(Seiten_speichern, Datenformat_und_Datenlogger_schreiben_das_Projekt) {
    Teststation station;
    for (QChar lw : {'c', 'd', 'e'})
        station.Laufwerk_anlegen(lw);
    auto rahmen = std::make_unique<MDIForm1>();
    ASSERT_TRUE(rahmen->MDIForm_Load());
    ASSERT_TRUE(Fenster.Projekt && Fenster.Datenformat && Fenster.Datenlogger);
    Fenster.Dateiform->Text1->setText("Probe.kxp");
    Fenster.Projekt->Projektname_aktualisieren();
    ASSERT_TRUE(Fenster.Projekt->alles_speichern());
    const QString dformat = Pfade::lokal("c:\\kestrix\\intern\\Dformat\\Probe.kxp");
    const QString datlog = Pfade::lokal("c:\\kestrix\\intern\\Datlog\\Probe.kxp");

    Daten.Datenformatsatz = {};
    Daten.Datenformatsatz.Minutenindex = 2;
    Daten.Datenformatsatz.Dezimalpunkt = 1;
    Fenster.Datenformat->Command3->click();
    // 14 little-endian 16-bit fields: minute index second, decimal point last.
    EXPECT_EQ(Teststation::Datei_lesen(dformat),
              QByteArray("\0\0\2\0", 4) + QByteArray(22, '\0') + QByteArray("\1\0", 2));

    Daten.Datenloggersatz = {};
    Daten.Datenloggersatz.Datenlogger_ein = 1;
    Daten.Datenloggersatz.Zeit_ein = 1;
    Fenster.Datenlogger->Command3->click();
    // 9 fields: logger on first, time on eighth.
    EXPECT_EQ(Teststation::Datei_lesen(datlog),
              QByteArray("\1\0", 2) + QByteArray(12, '\0') + QByteArray("\1\0\0\0", 4));
    rahmen->entladen();
}
