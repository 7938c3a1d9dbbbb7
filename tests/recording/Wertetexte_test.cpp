// The texts every measured value goes through: significant digits, decimal
// point, date and time patterns, line start and logger time.
#include <cmath>
#include <QLocale>

#include <gtest/gtest.h>

#include "common/Datumstext.h"
#include "common/Programmdaten.h"
#include "common/Zahlformat.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"
#include "support/Teststation.h"

namespace {
QString Digits(int N, const QString& wert, const QString& modus = "auto") {
    QString s = wert, r;
    Datenformat::Digitformat(static_cast<i16>(N), s, r, modus);
    return r;
}

const QDate Nikolaus(2006, 12, 14);
const QTime Morgens(9, 30, 5);
}

TEST(Digitformat, Auto_auf_vier_Stellen) {
    Teststation station;
    EXPECT_EQ(Digits(4, "123,4567890000"), "123,5");
    EXPECT_EQ(Digits(4, "1,0000000000"), "1,000");
    EXPECT_EQ(Digits(4, "-0,5000000000"), "-0,50");
    EXPECT_EQ(Digits(4, "0,0000000000"), "0,000");
    EXPECT_EQ(Digits(4, "12,0000000000"), "12,00");
    EXPECT_EQ(Digits(4, "-1,0000000000"), "-1,00");
    EXPECT_EQ(Digits(4, "1234,6000000000"), "1235");
    EXPECT_EQ(Digits(7, "230,1234567000"), "230,1235");
}

TEST(Digitformat, Rundet_halb_von_null_weg) {
    Teststation station;
    EXPECT_EQ(Digits(4, "1,0005000000"), "1,001");
    EXPECT_EQ(Digits(4, "-1,0005000000"), "-1,001");
    EXPECT_EQ(Digits(1, "2,5000000000"), "3");
    EXPECT_EQ(Digits(4, "9,9996000000"), "10,00");
}

TEST(Digitformat, Wert_ohne_Komma_und_kurzer_Text) {
    Teststation station;
    EXPECT_EQ(Digits(4, "7"), "7,000");
    EXPECT_EQ(Digits(4, "-3"), "-3,00");
}

TEST(Digitformat, Zehn_und_mehr_Vorkommastellen_behalten_ihre_Groesse) {
    Teststation station;
    EXPECT_EQ(Digits(4, "12345678901,0000000000"), "12350000000");
    // Exactly ten integer digits are taken whole, the decimals dropped.
    EXPECT_EQ(Digits(4, "1234567890,0000000000"), "1234567890");
    EXPECT_EQ(Digits(4, "-1234567890,7000000000"), "-1234567890");
}

TEST(Digitformat, Simulierte_Vergleichsstelle_traegt_den_Rest_bei) {
    Teststation station;
    Daten.RJunSim = true;
    Daten.RefTempRest = 0.3;
    EXPECT_EQ(Digits(4, "21,5000000000"), "21,80");
    EXPECT_EQ(Digits(4, "-21,5000000000"), "-21,2");
    Daten.RJunSim = false;
    EXPECT_EQ(Digits(4, "21,5000000000"), "21,50");
}

TEST(Digitformat, Zahlenmuster_des_Messblocks) {
    Teststation station;
    // Digits 3 of the block: N = 7, the pattern gets three more decimals.
    EXPECT_EQ(Digits(7, "1,2345678900", "00.00"), "01,23457");
    EXPECT_EQ(Digits(4, "1,0000000000", "000.0"), "001,0");
    EXPECT_EQ(Digits(5, "12,3456000000", "0000"), "0012,3");
    EXPECT_EQ(Digits(6, "-0,0123450000", "0.000"), "-0,01235");
    EXPECT_EQ(Digits(4, "1234,5600000000", "0000."), "1235,");
}

TEST(KommazuPunkt, Nur_das_erste_Komma) {
    QString a = "1,5", b = "1.5", c = "15", d = "1,5,5", e = "";
    Datenformat::KommazuPunkt(a);
    Datenformat::KommazuPunkt(b);
    Datenformat::KommazuPunkt(c);
    Datenformat::KommazuPunkt(d);
    Datenformat::KommazuPunkt(e);
    EXPECT_EQ(a, "1.5");
    EXPECT_EQ(b, "1.5");
    EXPECT_EQ(c, "15");
    EXPECT_EQ(d, "1.5,5");
    EXPECT_EQ(e, "");
}

TEST(Zahlformat, Muster_mit_Raute_und_Null) {
    EXPECT_EQ(Zahl_formatieren(0.5, "#.000"), ",500");
    EXPECT_EQ(Zahl_formatieren(12.5, "#0.00000#"), "12,50000");
    EXPECT_EQ(Zahl_formatieren(12.123456, "#0.00000#"), "12,123456");
    EXPECT_EQ(Zahl_formatieren(0.125, "0.00"), "0,13");
    EXPECT_EQ(Zahl_formatieren(-0.001, "0.00"), "0,00");
    EXPECT_EQ(Zahl_als_Text(0.1 + 0.2), "0,3");
}

TEST(Zahlformat, Winzige_Werte_runden_auf_null) {
    int falsch = 0;
    for (int e = 12; e <= 300; ++e)
        for (int m = 1; m <= 9; ++m)
            for (const double v : {m * std::pow(10.0, -e), -m * std::pow(10.0, -e)})
                falsch += Zahl_formatieren(v, "0.0000000000") != "0,0000000000";
    EXPECT_EQ(falsch, 0);
    EXPECT_EQ(Zahl_formatieren(-2.5E-21, "#0.000"), "0,000");
    EXPECT_EQ(Zahl_formatieren(5E-11, "0.0000000000"), "0,0000000001");
    EXPECT_EQ(Zahl_formatieren(4.9E-11, "0.0000000000"), "0,0000000000");
}

TEST(Datumstext, Deutsche_Monatskuerzel_unabhaengig_vom_Gebietsschema) {
    const QLocale vorher;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QStringList soll = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun", "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(Datum_formatieren(QDate(2007, m, 3), "dd mmm"), "03 " + soll[m - 1]);
    QLocale::setDefault(vorher);
}

TEST(Datumstext, Muster_der_Datenzeilen) {
    EXPECT_EQ(Datum_formatieren(Nikolaus, "dd mm yy"), "14 12 06");
    EXPECT_EQ(Datum_formatieren(Nikolaus, "dd mm yyyy"), "14 12 2006");
    EXPECT_EQ(Datum_formatieren(Nikolaus, "dd mmm yy"), "14 Dez 06");
    EXPECT_EQ(Datum_formatieren(QDate(2009, 3, 5), "dd.mm.yy"), "05.03.09");
    EXPECT_EQ(Datum_formatieren(QDate(2009, 3, 5), "yymmmdd"), "09Mrz05");
    EXPECT_EQ(Datum_formatieren(QDate(2009, 3, 5), "yyyymmm"), "2009Mrz");
    EXPECT_EQ(Zeit_formatieren(QTime(9, 5, 3), "hh:mm:ss"), "09:05:03");
    EXPECT_EQ(Zeit_formatieren(QTime(9, 5, 3), "h:m:s"), "9:5:3");
    EXPECT_EQ(Zeit_formatieren(QTime(0, 0, 0), "h:m:s"), "0:0:0");
}

TEST(Zeilentexte, Datum_und_Zeit_am_Zeilenbeginn) {
    Teststation station;
    Daten.Datenformatsatz = {0, 0, 0, 1, 1, 2, 0, 1, -1, 0, 1, 1, 1, 0};
    Daten.Trennzeichen = ";";
    Daten.Datumsformat = "dd mmm";
    Daten.Zeitformat = "hh:mm:ss";
    QString z = "alt", w = "alt";
    Datenformat::ZeilenDatstring(z, Nikolaus, Morgens);
    Datenformat::MW_Zeitstring(w, Morgens);
    EXPECT_EQ(z, "14 Dez;09:30:05;");
    EXPECT_EQ(w, "");
    EXPECT_EQ(Daten.Stundenstempel, "1409");

    Daten.Datenformatsatz.Zeit_am_Zeilenbeginn = 0;
    Daten.Datenformatsatz.Zeit_nach_jedem_Messwert = -1;
    Daten.Zeitformat = "h:m:s";
    Datenformat::ZeilenDatstring(z, Nikolaus, Morgens);
    Datenformat::MW_Zeitstring(w, Morgens);
    EXPECT_EQ(z, "14 Dez;");
    EXPECT_EQ(w, "9:30:5;");

    Daten.Datenformatsatz.Zeit = 0;
    Daten.Datenformatsatz.Datum = 0;
    Datenformat::ZeilenDatstring(z, QDate(2007, 1, 6), QTime(14, 0, 0));
    Datenformat::MW_Zeitstring(w, Morgens);
    EXPECT_EQ(z, "");
    EXPECT_EQ(w, "");
    EXPECT_EQ(Daten.Stundenstempel, "0614");
}

TEST(Zeilentexte, Einheit_und_Signalname_nur_wenn_angehakt) {
    Teststation station;
    Daten.Trennzeichen = "\t";
    Daten.Datenformatsatz.Einheiten = 1;
    Daten.Datenformatsatz.Signalnamen = 0;
    QString e = "alt", s = "alt";
    Datenformat::Einheit_ja_nein("V DC", e);
    Datenformat::Signam_ja_nein("Vorlauf", s);
    EXPECT_EQ(e, "V DC\t");
    EXPECT_EQ(s, "");
    Daten.Datenformatsatz.Einheiten = 0;
    Daten.Datenformatsatz.Signalnamen = 1;
    Datenformat::Einheit_ja_nein("V DC", e);
    Datenformat::Signam_ja_nein("Vorlauf", s);
    EXPECT_EQ(e, "");
    EXPECT_EQ(s, "Vorlauf\t");
}

TEST(Loggerzeit, Datum_vor_der_Zeit) {
    Teststation station;
    QString t;
    Daten.Logdatumsformat = "dd.mm.yy";
    Daten.Logzeitformat = "hh:mm:ss";
    Datenlogger::LoggZeitDatString(t, Nikolaus, Morgens);
    EXPECT_EQ(t, "14.12.06 09:30:05");
    Daten.Logdatumsformat = "";
    Datenlogger::LoggZeitDatString(t, Nikolaus, Morgens);
    EXPECT_EQ(t, "09:30:05");
    Daten.Logdatumsformat = "dd.mm.yyyy";
    Daten.Logzeitformat = "";
    Datenlogger::LoggZeitDatString(t, Nikolaus, Morgens);
    EXPECT_EQ(t, "14.12.2006");
}
