// Fixed-width fields, the code page at the file boundary, and the run log.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "common/Festtext.h"
#include "common/Programmdaten.h"
#include "common/Protokolldatei.h"
#include "platform/Text1252.h"
#include "platform/Uhr.h"
#include "support/Teststation.h"

TEST(Festtext, Zuweisen_fuellt_auf_und_schneidet_ab) {
    Festtext<5> art;
    art = "Sense";
    EXPECT_EQ(QByteArray(art.daten(), 5), QByteArray("Sense"));
    art = "In";
    EXPECT_EQ(QByteArray(art.daten(), 5), QByteArray("In   "));
    EXPECT_EQ(art.text(), "In");
    art = "Inputs";
    EXPECT_EQ(QByteArray(art.daten(), 5), QByteArray("Input"));
}

TEST(Festtext, Nie_zugewiesen_ist_nicht_leer) {
    Festtext<20> name;
    EXPECT_EQ(QByteArray(name.daten(), 20), QByteArray(20, '\0'));
    EXPECT_FALSE(name.ist_leer());
    EXPECT_NE(name.text(), QString());
    name = "";
    EXPECT_TRUE(name.ist_leer());
    EXPECT_EQ(QByteArray(name.daten(), 20), QByteArray(20, ' '));
}

TEST(Festtext, Sechzehn_Zeichen_im_Zwanzigerfeld) {
    Festtext<20> name;
    name = "Vorlauftemperat1";
    EXPECT_EQ(QByteArray(name.daten(), 20), QByteArray("Vorlauftemperat1    "));
    EXPECT_EQ(name.text(), "Vorlauftemperat1");
    EXPECT_EQ(Links16(QString("Gleichspannung_lang")), "Gleichspannung_l");
}

TEST(Festtext, Umlaute_als_ein_Byte) {
    Festtext<8> wert;
    wert = "Gerät";
    EXPECT_EQ(QByteArray(wert.daten(), 8), QByteArray("Ger\xE4t   "));
    EXPECT_EQ(wert.text(), QString::fromUtf8("Gerät"));
}

TEST(Text1252, Jedes_Byte_uebersteht_den_Rundweg) {
    QByteArray alle;
    for (int b = 0; b < 256; ++b)
        alle.append(static_cast<char>(b));
    EXPECT_EQ(Text1252::kodieren(Text1252::dekodieren(alle)), alle);
}

TEST(Text1252, Sonderzeichen_der_Codepage) {
    EXPECT_EQ(Text1252::kodieren(QString::fromUtf8("€ß°µÄ")), QByteArray("\x80\xDF\xB0\xB5\xC4"));
    EXPECT_EQ(Text1252::dekodieren(QByteArray("\x80\x84\x96")), QString::fromUtf8("€„–"));
    EXPECT_EQ(Text1252::kodieren(QString::fromUtf8("Ω")), QByteArray("?"));
}

TEST(Programmdaten, Alles_beginnt_bei_null) {
    Programmdaten frisch;
    EXPECT_EQ(frisch.Messblocktabelle[1].Gerätetyp, 0);
    EXPECT_EQ(QByteArray(frisch.Kanaltabelle[16].Signalbezeichnung[8].daten(), 20), QByteArray(20, '\0'));
    EXPECT_EQ(frisch.Timeoutzähler, 0);
    EXPECT_TRUE(frisch.Boxadresse.isEmpty());
    EXPECT_EQ(frisch.Datenformatsatz.Dezimalpunkt, 0);
    EXPECT_EQ(frisch.Knopfzustände[10], 0);
}

TEST(Protokolldatei, Zeilen_mit_Datum_Zeit_und_CRLF_in_Aufrufreihenfolge) {
    Teststation station;
    uhr().Versatz_setzen(QDateTime::currentDateTime().secsTo(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7))));
    Protokolldatei_schreiben("Programm gestartet");
    Protokolldatei_schreiben("keine Antwort vom Gerät bei folgendem Befehl: 00051");
    const QByteArray inhalt = Teststation::Datei_lesen(station.Programmverzeichnis() + "/Protokolldat.txt");
    const QList<QByteArray> zeilen = inhalt.split('\n');
    ASSERT_EQ(zeilen.size(), 3);
    EXPECT_TRUE(zeilen[0].startsWith("04.03.2026  05:06:0")) << zeilen[0].constData();
    EXPECT_TRUE(zeilen[0].endsWith("  Programm gestartet\r"));
    EXPECT_TRUE(zeilen[1].endsWith("  keine Antwort vom Ger\xE4t bei folgendem Befehl: 00051\r"));
    EXPECT_EQ(zeilen[2], "");
}

TEST(Protokolldatei, Nicht_beschreibbar_wird_still_uebergangen) {
    Teststation station;
    qputenv("KESTRIX_PROGDIR", (station.Programmverzeichnis() + "/fehlt").toUtf8());
    Protokolldatei_schreiben("Messung gestartet");  // must neither crash nor create the folder
    EXPECT_FALSE(QFileInfo::exists(station.Programmverzeichnis() + "/fehlt"));
}

TEST(Protokolldatei, Volles_Protokoll_wird_beiseitegelegt_und_neu_begonnen) {
    Teststation station;
    Protokolldatei_Grenze_setzen(200);  // 6 lines of 32 bytes
    for (int n = 10; n < 30; ++n)
        Protokolldatei_schreiben("Messung " + QString::number(n));
    Protokolldatei_Grenze_setzen(0);
    const QByteArray jetzt = Teststation::Datei_lesen(Protokolldateipfad());
    const QByteArray alt = Teststation::Datei_lesen(Protokolldatei_alt_pfad());
    EXPECT_EQ(Protokolldatei_alt_pfad(), station.Programmverzeichnis() + "/Protokolldat_alt.txt");
    EXPECT_LE(jetzt.size(), 200);
    EXPECT_LE(alt.size(), 200);
    // The newest lines without a gap, each a whole line of the usual form.
    const QList<QByteArray> zeilen = (alt + jetzt).split('\n');
    ASSERT_GE(zeilen.size(), 8);
    for (qsizetype k = 0; k + 1 < zeilen.size(); ++k)
        EXPECT_TRUE(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d{4}  \\d\\d:\\d\\d:\\d\\d  Messung \\d\\d\\r$")
                        .match(QString::fromLatin1(zeilen[k]))
                        .hasMatch())
            << zeilen[k].constData();
    EXPECT_TRUE(zeilen[zeilen.size() - 2].endsWith("Messung 29\r"));
    EXPECT_TRUE(zeilen[0].endsWith("Messung " + QByteArray::number(29 - (zeilen.size() - 2)) + "\r"));
}
