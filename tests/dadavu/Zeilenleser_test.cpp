// The readers against files written out by hand, line by line, in every
// layout the station writes.
#include <QDateTime>

#include <gtest/gtest.h>

#include <cmath>

#include "dadavu/Zeilenleser.h"
#include "support/Teststation.h"

using namespace dadavu;

namespace {
double ms(int j, int m, int t, int h, int mi, int s) {
    return static_cast<double>(QDateTime(QDate(j, m, t), QTime(h, mi, s)).toMSecsSinceEpoch());
}

// Values with NaN written as a marker, so gaps compare equal.
std::vector<double> lücken_als(std::vector<double> y) {
    for (double& v : y)
        if (std::isnan(v))
            v = -12345;
    return y;
}
constexpr double L = -12345;  // a gap

std::vector<Signalwahl> wahl(std::initializer_list<int> indexe) {
    std::vector<Signalwahl> w;
    for (int i : indexe)
        w.push_back({QString(), i});
    return w;
}
}  // namespace

// Data-interface lines: TAB, decimal comma, date "TT.MM.YY" and time at the
// line start, names and units, a deleted column and a calculated value.
TEST(Datenschnittstelle, TabulatorKommaNamenEinheitenGeloeschteSpalteRechenwert) {
    const QByteArray datei =
        "07 12 26\t00:00:01\t21,53\tTemp\t\xB0" "C\t9E99\t--\t--\t1,234\tDruck\tV DC\t2,5E+01\tSumme\tK\t\r\n"
        "07 12 26\t00:00:00\t21,50\tTemp\t\xB0" "C\t9E99\t--\t--\tNaN\tDruck\tV DC\t9E+99\tSumme\tK\t\r\n"
        "06 12 26\t23:59:59\t-0,5\tTemp\t\xB0" "C\t9E99\t--\t--\t1,2\tDruck\tV DC\t24\tSumme\tK\t\r\n";
    Dateiinhalt d = Datenschnittstelle_lesen(datei, wahl({3, 4, 2}), QDate(2026, 12, 7));
    EXPECT_EQ(d.namen, QStringList({"Temp", "", "Druck", "Summe"}));
    EXPECT_EQ(d.einheiten, QStringList({"\u00B0C", "", "V DC", "K"}));
    EXPECT_EQ(d.reihen[0].name, "Druck");
    EXPECT_EQ(d.reihen[0].einheit, "V DC");
    EXPECT_EQ(d.reihen[0].t, (std::vector<double>{ms(2026, 12, 6, 23, 59, 59), ms(2026, 12, 7, 0, 0, 0), ms(2026, 12, 7, 0, 0, 1)}));
    EXPECT_EQ(lücken_als(d.reihen[0].y), (std::vector<double>{1.2, L, 1.234}));
    EXPECT_EQ(lücken_als(d.reihen[1].y), (std::vector<double>{24, L, 25}));
    EXPECT_EQ(lücken_als(d.reihen[2].y), (std::vector<double>{L, L, L}));
    EXPECT_EQ(d.verworfen, 0);

    // Found by name when the recording order has moved it.
    d = Datenschnittstelle_lesen(datei, {{"Temp", 4}}, QDate(2026, 12, 7));
    EXPECT_EQ(d.reihen[0].y, (std::vector<double>{-0.5, 21.5, 21.53}));
}

// ";" and decimal point, date "TT.MMM" without year, the time before every
// value, units without names, a deleted column with its "--" time.
TEST(Datenschnittstelle, StrichpunktPunktZeitJeWertMonatsnameOhneJahr) {
    const QByteArray datei =
        "07 Dez;14:30:05;21.53;\xB0" "C;--;9E99;--;14:30:06;1.234;V DC;\r\n"
        "07 Dez;14:30:03;21.5;\xB0" "C;--;9E99;--;14:30:04;+9.9E37;V DC;\r\n";
    // The file is from January: "07 Dez" is of the year before.
    const Dateiinhalt d = Datenschnittstelle_lesen(datei, wahl({3, 1}), QDate(2027, 1, 2));
    EXPECT_EQ(d.einheiten, QStringList({"\u00B0C", "", "V DC"}));
    EXPECT_EQ(d.namen, QStringList({"", "", ""}));
    EXPECT_EQ(d.reihen[0].t, (std::vector<double>{ms(2026, 12, 7, 14, 30, 4), ms(2026, 12, 7, 14, 30, 6)}));
    EXPECT_EQ(lücken_als(d.reihen[0].y), (std::vector<double>{L, 1.234}));
    EXPECT_EQ(d.reihen[1].t, (std::vector<double>{ms(2026, 12, 7, 14, 30, 3), ms(2026, 12, 7, 14, 30, 5)}));
}

// ":" as separator splits "h:m:s" into three pieces; no date: the newest line
// is of the file's day, a line before midnight of the day before. A line
// without time gives record numbers.
TEST(Datenschnittstelle, DoppelpunktOhneDatumUndZeilenOhneZeit) {
    const QByteArray datei = "0:0:3:21,5:1,234:\r\n"
                             "23:59:58:21,4:1,2:\r\n";
    Dateiinhalt d = Datenschnittstelle_lesen(datei, wahl({2}), QDate(2026, 12, 8));
    EXPECT_EQ(d.namen.size(), 2);
    EXPECT_EQ(d.reihen[0].t, (std::vector<double>{ms(2026, 12, 7, 23, 59, 58), ms(2026, 12, 8, 0, 0, 3)}));
    EXPECT_EQ(d.reihen[0].y, (std::vector<double>{1.2, 1.234}));

    d = Datenschnittstelle_lesen("07 12 2026:21,6:\r\n07 12 2026:21,5:\r\n", wahl({1}), QDate(2026, 12, 7));
    EXPECT_FALSE(d.mit_zeit);
    EXPECT_EQ(d.reihen[0].t, (std::vector<double>{1, 2}));
    EXPECT_EQ(d.reihen[0].y, (std::vector<double>{21.5, 21.6}));
}

// Hour file with header, TAB, comma, time at the line start, a deleted
// column ("gelöscht!"), "NaN" and "+9.9E37"; a line cut off by a power
// failure and continued by the next record, and a last line without end.
TEST(Loggerdatei, StundendateiMitKopfGeloeschtUndStromausfall) {
    const QByteArray datei = "Zeit/Datum\tTemp [\xB0" "C]\tgel\xF6scht! []\tDruck [V DC]\t\r\n"
                             "14:00:00\t21,5\tgel\xF6scht!\t1,2\t\r\n"
                             "14:00:01\tNaN\tgel\xF6scht!\t+9.9E37\t\r\n"
                             "14:00:02\t21,7\tgel\xF6sc"
                             "14:00:03\t21,8\tgel\xF6scht!\t1,3\t\r\n"
                             "14:00:04\t21,9\tgel\xF6scht!\t1,4\t\r\n"
                             "14:00:05\t22,0\tgel";
    const QDate tag = Datum_aus_Dateiname("26120714.txt");
    ASSERT_EQ(tag, QDate(2026, 12, 7));
    const Dateiinhalt d = Loggerdatei_lesen(datei, {{"Druck", 1}, {QString(), 1}}, tag, tag, "26120714.txt");
    EXPECT_EQ(d.namen, QStringList({"Temp", "gel\u00F6scht!", "Druck"}));
    EXPECT_EQ(d.reihen[0].name, "Druck");
    EXPECT_EQ(d.reihen[0].einheit, "V DC");
    EXPECT_EQ(d.reihen[0].t, (std::vector<double>{ms(2026, 12, 7, 14, 0, 0), ms(2026, 12, 7, 14, 0, 1), ms(2026, 12, 7, 14, 0, 4)}));
    EXPECT_EQ(lücken_als(d.reihen[0].y), (std::vector<double>{1.2, L, 1.4}));
    EXPECT_EQ(lücken_als(d.reihen[1].y), (std::vector<double>{21.5, L, 21.9}));
    EXPECT_EQ(d.verworfen, 2);
}

// ":" between fields, point, date and time before every value, no header; the
// last value of a line is a deleted column with time "--".
TEST(Loggerdatei, TagesdateiDoppelpunktDatumZeitJeWert) {
    const QByteArray datei = "07.12.2026 23:59:59:1.5:07.12.2026 23:59:59:2.5:\r\n"
                             "08.12.2026 00:00:00:1.6:08.12.2026 00:00:01:2.6:\r\n"
                             "08.12.2026 00:00:02:1.7:--:gel\xF6scht!:\r\n";
    const QDate tag = Datum_aus_Dateiname("26Dez07.roh");
    ASSERT_EQ(tag, QDate(2026, 12, 7));
    const Dateiinhalt d = Loggerdatei_lesen(datei, wahl({2}), tag, tag);
    EXPECT_EQ(d.reihen[0].t, (std::vector<double>{ms(2026, 12, 7, 23, 59, 59), ms(2026, 12, 8, 0, 0, 1), ms(2026, 12, 8, 0, 0, 2)}));
    EXPECT_EQ(lücken_als(d.reihen[0].y), (std::vector<double>{2.5, 2.6, L}));

    // Two-digit years with the date: "TT.MM.YY hh:mm:ss", ";" between fields.
    const Dateiinhalt kurz = Loggerdatei_lesen("07.12.26 09:30:05;4,25;\r\n", wahl({1}), QDate(), QDate(2026, 12, 9));
    EXPECT_EQ(kurz.reihen[0].t, (std::vector<double>{ms(2026, 12, 7, 9, 30, 5)}));
}

// Month file of calculated values: unpadded time without date, the days
// counted from the first of the month at each midnight. A file without
// time: record numbers.
TEST(Loggerdatei, MonatsdateiOhneDatumUndDateiOhneZeit) {
    const QDate monat = Datum_aus_Dateiname("2026Dez.cal");
    ASSERT_EQ(monat, QDate(2026, 12, 1));
    Dateiinhalt d = Loggerdatei_lesen("23:59:59;1,5;\r\n0:0:1;1,6;\r\n", wahl({1}), monat, QDate(2026, 12, 2));
    EXPECT_EQ(d.reihen[0].t, (std::vector<double>{ms(2026, 12, 1, 23, 59, 59), ms(2026, 12, 2, 0, 0, 1)}));

    d = Loggerdatei_lesen("1,5\t2,5\t\r\n1,6\t2,6\t\r\n", wahl({2}), QDate(), QDate(2026, 12, 2));
    EXPECT_FALSE(d.mit_zeit);
    EXPECT_EQ(d.reihen[0].t, (std::vector<double>{1, 2}));
    EXPECT_EQ(d.reihen[0].y, (std::vector<double>{2.5, 2.6}));
}

// A new header in the middle of a file (recording order changed): the signal
// is followed by its name; the column count of each part is its own.
TEST(Loggerdatei, NeuerKopfMitGetauschtenSpalten) {
    const QByteArray datei = "Zeit/Datum;A [V DC];B [Ohm];\r\n"
                             "10:00:00;1,0;100;\r\n"
                             "Zeit/Datum;B [Ohm];C [V DC];A [V DC];\r\n"
                             "10:00:01;101;5,0;1,1;\r\n";
    const Dateiinhalt d = Loggerdatei_lesen(datei, {{"A", 1}}, QDate(2026, 12, 7), QDate(2026, 12, 7));
    EXPECT_EQ(d.reihen[0].y, (std::vector<double>{1.0, 1.1}));
    EXPECT_EQ(d.verworfen, 0);
}

// Matrix data files: header with the scan signal and the point labels;
// a temperature out of range is written -1, a voltage out of range 0.
TEST(Loggerdatei, MatrixdateienMitPlatzhaltern) {
    const QByteArray c = "Zeit/Datum;Kessel [\xB0" "C];C1;C2;\r\n"
                         "07.12.26 14:00:00;21,5;25,1234;-1;\r\n"
                         "07.12.26 14:00:01;21,6;25,2;26,0;\r\n";
    const QString name = "26120714_MatrixC_c.txt";
    EXPECT_EQ(Datum_aus_Dateiname(name), QDate(2026, 12, 7));
    Dateiinhalt d = Loggerdatei_lesen(c, {{"C2", 1}, {"C1", 1}}, QDate(2026, 12, 7), QDate(2026, 12, 7), name);
    EXPECT_EQ(d.namen, QStringList({"Kessel", "C1", "C2"}));
    EXPECT_EQ(lücken_als(d.reihen[0].y), (std::vector<double>{L, 26.0}));
    EXPECT_EQ(d.reihen[1].y, (std::vector<double>{25.1234, 25.2}));

    d = Loggerdatei_lesen("0,512345;0;\r\n", wahl({1, 2}), QDate(), QDate(2026, 12, 7), "Kessel_r.txt");
    EXPECT_FALSE(Datum_aus_Dateiname("Kessel_r.txt").isValid());
    EXPECT_EQ(lücken_als({d.reihen[0].y[0], d.reihen[1].y[0]}), (std::vector<double>{0.512345, L}));
}
