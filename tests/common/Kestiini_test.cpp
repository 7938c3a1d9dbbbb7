// The station settings file is overwritten in place and otherwise untouched.
#include <gtest/gtest.h>

#include "common/Kestiini.h"
#include "support/Teststation.h"

namespace {
const QByteArray Beispiel =
    "Betriebsart=Ger\xE4t   \r\n"
    "Esc=0\r\n"
    "EscSchalter=1\r\n"
    "DisplayType=ExtMoni\r\n"
    "Ramdisk1=d:\\\r\n"
    "Ramdisk2=e:\\\r\n";

struct Kestiini : ::testing::Test {
    Teststation station;
    QString pfad = station.Programmverzeichnis() + "/Kesti.ini";
    void SetUp() override { Teststation::Datei_schreiben(pfad, Beispiel); }
    QByteArray inhalt() const { return Teststation::Datei_lesen(pfad); }
};
}

TEST_F(Kestiini, Lesen_nimmt_die_Breite_nach_dem_Trennzeichen) {
    EXPECT_EQ(Kestiini_abfragen("Betriebsart", "8"), QString::fromUtf8("Gerät   "));
    EXPECT_EQ(Kestiini_abfragen("DisplayType", "7"), "ExtMoni");
    EXPECT_EQ(Kestiini_abfragen("Ramdisk1", "3"), "d:\\");
}

TEST_F(Kestiini, Der_erste_Treffer_gilt_auch_fuer_einen_Schluesselanfang) {
    EXPECT_EQ(Kestiini_abfragen("Esc", "1"), "0");
    EXPECT_EQ(Kestiini_abfragen("EscSchalter", "1"), "1");
    ASSERT_TRUE(Kestiini_schreiben("Esc", "1", "7"));
    QByteArray erwartet = Beispiel;
    erwartet.replace("Esc=0", "Esc=7");
    EXPECT_EQ(inhalt(), erwartet);
}

TEST_F(Kestiini, Schreiben_laesst_den_Rest_Byte_fuer_Byte_stehen) {
    ASSERT_TRUE(Kestiini_schreiben("Ramdisk1", "3", "f:\\"));
    EXPECT_EQ(inhalt(),
              QByteArray("Betriebsart=Ger\xE4t   \r\nEsc=0\r\nEscSchalter=1\r\nDisplayType=ExtMoni\r\n"
                         "Ramdisk1=f:\\\r\nRamdisk2=e:\\\r\n"));
}

TEST_F(Kestiini, Kuerzerer_Wert_ersetzt_nur_seine_eigenen_Zeichen) {
    ASSERT_TRUE(Kestiini_schreiben("DisplayType", "7", "1/4"));
    EXPECT_TRUE(inhalt().contains("DisplayType=1/4Moni\r\n"));
    ASSERT_TRUE(Kestiini_schreiben("Ramdisk2", "3", "g:\\xyz"));  // never more than the width
    EXPECT_TRUE(inhalt().endsWith("Ramdisk2=g:\\\r\n"));
}

TEST_F(Kestiini, Fehlender_Schluessel_veraendert_die_Datei_nicht) {
    EXPECT_EQ(Kestiini_abfragen("OperatingSystem", "6"), "");
    EXPECT_FALSE(Kestiini_schreiben("OperatingSystem", "6", "WIN95b"));
    EXPECT_EQ(inhalt(), Beispiel);
}

TEST_F(Kestiini, Fehlende_Datei_liefert_leer_und_schreibt_nichts) {
    QFile::remove(pfad);
    EXPECT_FALSE(Kestiini_lesbar());
    EXPECT_EQ(Kestiini_abfragen("Ramdisk1", "3"), "");
    EXPECT_FALSE(Kestiini_schreiben("Ramdisk1", "3", "d:\\"));
    EXPECT_FALSE(QFileInfo::exists(pfad));
}

TEST(Kestiini_Vorgabe, Jeder_Schluessel_ist_da_und_kuerzere_stehen_vorn) {
    Teststation station;
    const QByteArray ini = Teststation::Datei_lesen(station.Programmverzeichnis() + "/Kesti.ini");
    const char* schlüssel[] = {"Betriebsart", "MDeviceLocation", "DisplayType", "Testlabels", "Esc", "Help",
                               "MeasureDevice", "DevicePort", "HelpSchalter", "EscSchalter",
                               "OperatingSystem", "RefTempMeasurement", "Ramdisk1", "Ramdisk2"};
    for (const char* s : schlüssel)
        EXPECT_TRUE(ini.contains(QByteArray(s) + "=")) << s;
    EXPECT_LT(ini.indexOf("Esc="), ini.indexOf("EscSchalter="));
    EXPECT_LT(ini.indexOf("Help="), ini.indexOf("HelpSchalter="));
    EXPECT_EQ(Kestiini_abfragen("Ramdisk1", "3"), "d:\\");
    EXPECT_EQ(Kestiini_abfragen("DisplayType", "7"), "1/4 VGA");
    EXPECT_EQ(Kestiini_abfragen("OperatingSystem", "6"), "WIN95b");
}
