// The real program against the simulated box: what the box receives during a
// run started from the command line, frame by frame, and the files the run writes.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QRegularExpression>

#include "calc/Datenreihenfolge.h"
#include "support/Programmlauf.h"
#include "support/Teststation.h"

namespace {
// The meter configuration of the default DC voltage block: range 100 V,
// 6 1/2 digits, NPLC 0.4, moving average off, auto-zero on.
const QByteArray Gleichspannung = "00043:FUNC \"VOLT\"\r:VOLT:DC:RANG 100\r:VOLT:DC:DIG 7\r:VOLT:DC:NPLC 0.4\r"
                                  ":VOLT:DC:AVER:TCON MOV\r:VOLT:DC:AVER:STAT OFF\r:SYST:AZER:STAT ON\r!";
const QByteArray Vierdraht = "00043:FUNC \"FRES\"\r:FRES:RANG 1000000\r:FRES:DIG 7\r:FRES:NPLC 0.4\r"
                             ":FRES:AVER:TCON MOV\r:FRES:AVER:STAT OFF\r:SYST:AZER:STAT ON\r!";
const QByteArray Einzeln = "00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r!";
QByteArray Mehrfach(int m) {
    return "00043:TRAC:POIN " + QByteArray::number(m) + "\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 1\r:TRIG:COUN " +
           QByteArray::number(m) + "\r:INIT\r!";
}
QByteArray Proben(int n) {
    return "00043:TRAC:POIN " + QByteArray::number(n) + "\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN " + QByteArray::number(n) +
           "\r:TRIG:COUN 1\r:INIT\r!";
}
const QList<QByteArray> Anfang = {"00051!", "00013!", "00023!"};
const QList<QByteArray> Schluss = {"00002!", "00093!"};

struct Programm_Messlauf : ::testing::Test {
    Teststation station;
    Programmlauf lauf{station};
    void SetUp() override {
#ifndef Q7SIM_PFAD
        GTEST_SKIP() << "without the simulated box";
#endif
        Projekt_grundstellen();
    }
    QString dc() const { return Daten.Messblocktabelle[1].Messblockname.text(); }
    // Saves the project, starts the box and Kestrix with the project on its command line.
    void starten(const QStringList& box = {}) {
        ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001"));
        ASSERT_TRUE(lauf.Box_starten(box));
        ASSERT_TRUE(lauf.Kestrix_starten({"lauf.kxp"}));
    }
    // Lets the run go until the box has seen 'marke' 'n' times, then stops it with "Ende.txt".
    void laufen_lassen(const QByteArray& marke, int n) {
        ASSERT_TRUE(lauf.Frames_abwarten(marke, n)) << lauf.Protokollmeldungen().join('\n').toStdString();
        ASSERT_TRUE(lauf.mit_Endedatei_beenden());
    }
    // The frames of a whole run: the start, the first scan, every further scan, the end.
    // Returns the number of scans, 0 when the frames do not have that form.
    int Scans(const QList<QByteArray>& erster, const QList<QByteArray>& weiterer) {
        const QList<QByteArray> frames = lauf.Frames();
        const qsizetype mitte = frames.size() - Anfang.size() - erster.size() - Schluss.size();
        if (mitte < 0 || mitte % weiterer.size() != 0)
            return 0;
        QList<QByteArray> erwartet = Anfang + erster;
        for (qsizetype k = 0; k < mitte / weiterer.size(); ++k)
            erwartet += weiterer;
        erwartet += Schluss;
        return frames == erwartet ? static_cast<int>(1 + mitte / weiterer.size()) : 0;
    }
    std::string Frametext() const {
        QByteArray text;
        for (QByteArray f : lauf.Frames())
            text += f.replace('\r', "<CR>") + '\n';
        return text.toStdString();
    }
};
}

TEST_F(Programm_Messlauf, Drei_Eintraege_eines_Blocks_mit_einer_Messung_je_Eintrag) {
    Messpunkt_setzen(1, 1, 1, dc(), "U1");
    Messpunkt_setzen(2, 1, 2, dc(), "U2");
    Messpunkt_setzen(3, 1, 3, dc(), "U3");
    starten({"--signal", "A1=const:1.5", "--signal", "A2=const:2.5", "--signal", "A3=const:-3.25"});
    laufen_lassen("00083!", 3);
    // Configured once, the multiple measurement set up at entry 1, one trigger
    // per entry and one fetch of all three at entry 3; later scans set up the
    // multiple measurement again but not the unchanged configuration.
    const QList<QByteArray> gruppe = {Mehrfach(3), "00063!", "12002!", "00063!", "13002!", "00063!", "00083!", "00053!"};
    const int scans = Scans(QList<QByteArray>{"11002!", Gleichspannung} + gruppe, QList<QByteArray>{"11002!"} + gruppe);
    EXPECT_GE(scans, 3) << Frametext();
    EXPECT_EQ(lauf.Exitcode(), 0);
    // Evaluated from entry 1: each value at its own position.
    EXPECT_EQ(lauf.Datei("d:\\Daten.txt").section('\t', 2),
              "01,50000\tU1\tV DC\t02,50000\tU2\tV DC\t-03,25000\tU3\tV DC\t\r\n");
}

TEST_F(Programm_Messlauf, Drei_Eintraege_eines_Blocks_mit_zehn_Messungen_je_Eintrag) {
    Daten.Messblocktabelle[1].Messanzahl = 1;  // "10"
    Messpunkt_setzen(1, 1, 1, dc(), "U1");
    Messpunkt_setzen(2, 1, 2, dc(), "U2");
    Messpunkt_setzen(3, 1, 3, dc(), "U3");
    starten({"--signal", "A1=const:1.5", "--signal", "A2=const:2.5", "--signal", "A3=const:-3.25"});
    laufen_lassen("00083!", 6);
    // Every entry samples and fetches on its own; the block's configuration
    // is sent at entry 1 of every scan, never at entries 2 and 3.
    const QList<QByteArray> scan = {"11002!", Gleichspannung, Proben(10), "00063!", "00083!", "00053!",
                                    "12002!", Proben(10),     "00063!",   "00083!", "00053!",
                                    "13002!", Proben(10),     "00063!",   "00083!", "00053!"};
    EXPECT_GE(Scans(scan, scan), 2) << Frametext();
    // Ten readings per position, each with its signal name and unit once.
    QString u1 = "01,50000\t", u2 = "02,50000\t", u3 = "-03,25000\t";
    EXPECT_EQ(lauf.Datei("d:\\Daten.txt").section('\t', 2),
              u1.repeated(9) + "01,50000\tU1\tV DC\t" + u2.repeated(9) + "02,50000\tU2\tV DC\t" + u3.repeated(9) +
                  "-03,25000\tU3\tV DC\t\r\n");
}

TEST_F(Programm_Messlauf, Benachbarte_Bloecke_mit_gleicher_Einstellung_werden_einmal_eingestellt) {
    Block_hinzufügen("Spannung 2", 1);
    Messpunkt_setzen(1, 1, 1, dc(), "U1");
    Messpunkt_setzen(2, 1, 2, "Spannung 2", "U2");
    starten({"--signal", "A1=const:1.5", "--signal", "A2=const:2.5"});
    laufen_lassen("00073!", 4);
    const QList<QByteArray> zweiter = {"12002!", Einzeln, "00063!", "00073!"};
    EXPECT_GE(Scans(QList<QByteArray>{"11002!", Gleichspannung, Einzeln, "00063!", "00073!"} + zweiter,
                    QList<QByteArray>{"11002!", Einzeln, "00063!", "00073!"} + zweiter),
              2)
        << Frametext();
    EXPECT_EQ(lauf.Anzahl(Gleichspannung), 1);
}

TEST_F(Programm_Messlauf, Ein_Eintrag_bleibt_in_jedem_Scan_an_Position_eins) {
    Daten.Datenformatsatz.Datum = 0;
    Daten.Datenformatsatz.Zeit = 0;
    Messpunkt_setzen(1, 1, 1, dc(), "U1");
    starten({"--signal", "A1=ramp:1:1"});
    laufen_lassen("00073!", 3);
    const int scans = Scans({"11002!", Gleichspannung, Einzeln, "00063!", "00073!"},
                            {"11002!", Einzeln, "00063!", "00073!"});
    ASSERT_GE(scans, 3) << Frametext();
    // The ramp gives 1, 2, 3, ... one per scan; the ring holds them newest first.
    QString ring;
    for (int k = scans; k >= 1; --k)
        ring += QString("%1,00000\tU1\tV DC\t\r\n").arg(k, 2, 10, QChar('0'));
    EXPECT_EQ(lauf.Datei("d:\\Daten&.txt"), ring);
    EXPECT_EQ(lauf.Datei("d:\\Daten.txt"), ring.section("\r\n", 0, 0) + "\r\n");
}

TEST_F(Programm_Messlauf, Relaisrahmen_fuer_Zwei_und_Vierdraht_und_Buchstabe_P) {
    const QString vier = Daten.Messblocktabelle[4].Messblockname.text();  // "4-Draht Widerst."
    Messpunkt_setzen(1, 3, 5, dc(), "C5");     // C5, input side
    Messpunkt_setzen(2, 4, 5, dc(), "D5");     // D5, sense side
    Messpunkt_setzen(3, 3, 5, vier, "R C5");   // C5 four-wire: input and sense
    Messpunkt_setzen(4, 16, 3, vier, "R P3");  // P is a sense slot: no relay at all
    starten();
    laufen_lassen("00083!", 4);
    const QList<QByteArray> zweidraht = {Mehrfach(2), "00063!", "00252!", "00063!", "00083!", "00053!"};
    const QList<QByteArray> vierdraht = {Mehrfach(2), "00063!", "00002!", "00063!", "00083!", "00053!"};
    EXPECT_GE(Scans(QList<QByteArray>{"25002!", Gleichspannung} + zweidraht + QList<QByteArray>{"25252!", Vierdraht} +
                        vierdraht,
                    QList<QByteArray>{"25002!", Gleichspannung} + zweidraht + QList<QByteArray>{"25252!", Vierdraht} +
                        vierdraht),
              2)
        << Frametext();
    // The default readings of the box: slot number + channel / 100; nothing connected reads overflow.
    const QStringList felder = lauf.Datei("d:\\Daten.txt").split('\t');
    ASSERT_GE(felder.size(), 14);
    EXPECT_EQ(felder.mid(2, 6), (QStringList{"03,05000", "C5", "V DC", "04,05000", "D5", "V DC"}));
    EXPECT_EQ(felder.mid(11, 3), (QStringList{"NaN", "R P3", "MOhm"}));
}

TEST_F(Programm_Messlauf, Datendateien_zeigen_die_Werte_der_Klemmen_umgerechnet_und_formatiert) {
    // The station clock at 10:20 on the 14th of March 2027, so that the run stays within one hour.
    lauf.Uhrversatz = QDateTime(QDate(2027, 3, 14), QTime(10, 20)).toSecsSinceEpoch() - QDateTime::currentSecsSinceEpoch();
    Messblocksatz& pt100 = Block_hinzufügen("Vorlauf PT100", 1);
    pt100.Funktionsname = "PT 100 2-Draht";
    pt100.Funktionsnummer = 9;
    pt100.Funktionspräfix = ":RES";
    pt100.Bereich = 0;
    Messpunkt_setzen(1, 1, 1, dc(), "U1");
    Messpunkt_setzen(2, 1, 2, dc(), "U2");
    Messpunkt_setzen(3, 3, 1, "Vorlauf PT100", "Vorlauf");
    // 138.5 ohms is 100 degrees for the sensor curve of the program.
    starten({"--signal", "A1=const:1.5", "--signal", "A2=const:-0.0421", "--signal", "C1=const:138.5"});
    laufen_lassen("00073!", 3);
    const int scans = lauf.Anzahl("00073!");
    EXPECT_EQ(lauf.Anzahl("00043:FUNC \"RES\"\r:RES:RANG 1000\r:RES:DIG 7\r:RES:NPLC 0.4\r:RES:AVER:TCON MOV\r"
                          ":RES:AVER:STAT OFF\r:SYST:AZER:STAT ON\r!"),
              scans);

    // Data interface: date and time at the line start, then value, name and unit of each point.
    const QString zeile = lauf.Datei("d:\\Daten.txt");
    EXPECT_TRUE(QRegularExpression(QString::fromUtf8("^14 03 27\t10:2\\d:\\d\\d\t01,50000\tU1\tV DC\t-00,04210\tU2\tV DC\t"
                                                     "100,0000\tVorlauf\t°C\t\r\n$"))
                    .match(zeile)
                    .hasMatch())
        << zeile.toStdString();
    EXPECT_EQ(lauf.Datei("d:\\Daten&.txt").count("\r\n"), scans);

    // Logger: the day's file moved from the buffer into the project directory
    // at the end of the run, with its header line first.
    EXPECT_TRUE(lauf.Pufferdateien().isEmpty());
    const QMap<QString, QString> projektdateien = lauf.Projektdateien("lauf");
    ASSERT_EQ(projektdateien.keys(), QStringList{"27Mrz14.txt"});
    const QStringList zeilen = projektdateien.first().split("\r\n");
    ASSERT_EQ(zeilen.size(), scans + 2);
    EXPECT_EQ(zeilen[0], QString::fromUtf8("Zeit/Datum\tU1 [V DC]\tU2 [V DC]\tVorlauf [°C]\t"));
    for (int k = 1; k <= scans; ++k)
        EXPECT_TRUE(QRegularExpression("^14\\.03\\.27 10:2\\d:\\d\\d\t01,50000\t-00,04210\t100,0000\t$")
                        .match(zeilen[k])
                        .hasMatch())
            << zeilen[k].toStdString();
    EXPECT_EQ(zeilen.last(), "");
    EXPECT_EQ(lauf.Dialogprotokoll(), "");
}

TEST_F(Programm_Messlauf, Thermoelement_mit_Referenztemperatur_der_Box) {
    Messblocksatz& te = Block_hinzufügen("Abgas TE-K", 1);
    te.Funktionsname = "Thermoelement K";
    te.Funktionsnummer = 16;
    te.Funktionspräfix = ":TEMP";
    te.Bereich = 0;
    Messpunkt_setzen(1, 3, 2, "Abgas TE-K", "Abgas");
    starten({"--signal", "C2=const:245.2", "--reftemp", "23.5"});
    laufen_lassen("00073!", 3);
    // Every scan reads the reference first; the meter gets its whole degrees.
    const QByteArray konfiguration = "00043:FUNC \"TEMP\"\r:TEMP:TC:TYPE K\r:TEMP:TC:RJUN:SIM 23\r:TEMP:DIG 7\r"
                                     ":TEMP:NPLC 0.4\r:TEMP:AVER:TCON MOV\r:TEMP:AVER:STAT OFF\r:SYST:AZER:STAT ON\r!";
    EXPECT_GE(Scans({"00033!", "22002!", konfiguration, Einzeln, "00063!", "00073!"},
                    {"00033!", "22002!", Einzeln, "00063!", "00073!"}),
              3)
        << Frametext();
    // The half degree the meter was not given is added to its reading.
    EXPECT_EQ(lauf.Datei("d:\\Daten.txt").section('\t', 2), QString::fromUtf8("0245,700\tAbgas\t°C\t\r\n"));
}

TEST_F(Programm_Messlauf, Ueber_Mitternacht_geht_der_Takt_weiter_und_die_Tagesdatei_wechselt) {
    Daten.Datenformatsatz.max = 0;
    Daten.Datenformatsatz.Sekundenindex = 1;  // one scan a second
    Messpunkt_setzen(1, 1, 1, dc(), "U1");
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001"));
    ASSERT_TRUE(lauf.Box_starten({"--signal", "A1=ramp:1:1"}));
    // Start at 23:59:50 on the 14th of March 2027: the first scans fall before midnight.
    lauf.Uhrversatz =
        QDateTime(QDate(2027, 3, 14), QTime(23, 59, 50)).toSecsSinceEpoch() - QDateTime::currentSecsSinceEpoch();
    ASSERT_TRUE(lauf.Kestrix_starten({"lauf.kxp"}));
    ASSERT_TRUE(warten_bis(
        [&] {
            const QMap<QString, QString> puffer = lauf.Pufferdateien();
            return puffer.contains("27Mrz15.txt") && puffer["27Mrz15.txt"].count("\r\n") >= 3;
        },
        25000))
        << lauf.Pufferdateien().keys().join(' ').toStdString();
    ASSERT_TRUE(lauf.mit_Endedatei_beenden());

    // The hour change moved the day before into its file; the end of the run moved the new day.
    const QMap<QString, QString> dateien = lauf.Projektdateien("lauf");
    ASSERT_EQ(dateien.keys(), (QStringList{"27Mrz14.txt", "27Mrz15.txt"}));
    EXPECT_TRUE(lauf.Pufferdateien().isEmpty());
    const QStringList vorher = dateien["27Mrz14.txt"].split("\r\n", Qt::SkipEmptyParts);
    const QStringList nachher = dateien["27Mrz15.txt"].split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(vorher.size(), 2);
    ASSERT_GE(nachher.size(), 4);
    EXPECT_EQ(vorher[0], "Zeit/Datum\tU1 [V DC]\t");
    EXPECT_EQ(nachher[0], "Zeit/Datum\tU1 [V DC]\t");
    int nächster = 1;
    QList<int> sekunden;  // since midnight before the run
    for (int tag = 0; tag < 2; ++tag) {
        const QStringList& datei = tag == 0 ? vorher : nachher;
        for (const QString& zeile : datei.mid(1)) {
            EXPECT_TRUE(zeile.startsWith(tag == 0 ? "14.03.27 23:59:" : "15.03.27 00:00:")) << zeile.toStdString();
            // The ramp counts the readings: no line lost or repeated by the move.
            EXPECT_EQ(zeile.section('\t', 1), QString("%1,00000\t").arg(nächster++, 2, 10, QChar('0')));
            sekunden << tag * 86400 + QTime::fromString(zeile.mid(9, 8), "hh:mm:ss").msecsSinceStartOfDay() / 1000;
        }
    }
    // One scan a second on both sides of midnight.
    for (int k = 1; k < sekunden.size(); ++k)
        EXPECT_TRUE(sekunden[k] - sekunden[k - 1] >= 0 && sekunden[k] - sekunden[k - 1] <= 2) << k;
    EXPECT_GE(sekunden.last() - sekunden.first(), sekunden.size() - 3);
}

namespace {
// Two calculated values over U1 = 1.5 and U2 = -0.0421, the second with a logger format.
const QByteArray Rechenwerte = "Summe=[U1]+[U2]_V\r\nDiff=[U1]-[U2]_V_0.00\r\n";
const QRegularExpression Loggerzeit("^14\\.03\\.27 10:2\\d:\\d\\d\t");
}

TEST_F(Programm_Messlauf, Berechnete_Werte_an_den_Messwerten_in_allen_Dateien) {
    lauf.Uhrversatz = QDateTime(QDate(2027, 3, 14), QTime(10, 20)).toSecsSinceEpoch() - QDateTime::currentSecsSinceEpoch();
    Daten.Datenformatsatz.Datum = 0;
    Daten.Datenformatsatz.Zeit = 0;
    Messpunkt_setzen(1, 1, 1, dc(), "U1");
    Messpunkt_setzen(2, 1, 2, dc(), "U2");
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001", Rechenwerte));
    ASSERT_TRUE(lauf.Box_starten({"--signal", "A1=const:1.5", "--signal", "A2=const:-0.0421"}));
    ASSERT_TRUE(lauf.Kestrix_starten({"lauf.kxp"}));
    laufen_lassen("00083!", 2);

    const QString messwerte = "01,50000\tU1\tV DC\t-00,04210\tU2\tV DC\t";
    const QString rechenwerte = "1,4579\tSumme\tV\t1,5421\tDiff\tV\t";
    EXPECT_EQ(lauf.Datei("d:\\Daten.txt"), messwerte + rechenwerte + "\r\n");
    EXPECT_EQ(lauf.Datei("d:\\Rohdat.txt"), messwerte + "\r\n");
    EXPECT_EQ(lauf.Datei("d:\\Rechdat.txt"), rechenwerte + "\r\n");
    EXPECT_TRUE(lauf.vorhanden("d:\\Rohdat&.txt") && lauf.Datei("d:\\Rohdat&.txt").isEmpty());
    EXPECT_TRUE(lauf.vorhanden("d:\\Rechdat&.txt") && lauf.Datei("d:\\Rechdat&.txt").isEmpty());

    const QMap<QString, QString> dateien = lauf.Projektdateien("lauf");
    ASSERT_EQ(dateien.keys(), QStringList{"27Mrz14.txt"});
    const QStringList zeilen = dateien.first().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(zeilen.size(), 3);
    EXPECT_EQ(zeilen[0], "Zeit/Datum\tU1 [V DC]\tU2 [V DC]\tSumme [V]\tDiff [V]\t");
    for (const QString& zeile : zeilen.mid(1)) {
        EXPECT_TRUE(Loggerzeit.match(zeile).hasMatch()) << zeile.toStdString();
        EXPECT_EQ(zeile.mid(18), "01,50000\t-00,04210\t1,4579\t1,54\t");
    }
}

TEST_F(Programm_Messlauf, Berechnete_Werte_separat_gespeichert) {
    lauf.Uhrversatz = QDateTime(QDate(2027, 3, 14), QTime(10, 20)).toSecsSinceEpoch() - QDateTime::currentSecsSinceEpoch();
    Daten.Knopfzustände[7] = 0;  // "separat speichern"
    Daten.Knopfzustände[8] = -1;
    Messpunkt_setzen(1, 1, 1, dc(), "U1");
    Messpunkt_setzen(2, 1, 2, dc(), "U2");
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001", Rechenwerte));
    ASSERT_TRUE(lauf.Box_starten({"--signal", "A1=const:1.5", "--signal", "A2=const:-0.0421"}));
    ASSERT_TRUE(lauf.Kestrix_starten({"lauf.kxp"}));
    laufen_lassen("00083!", 2);

    const QMap<QString, QString> dateien = lauf.Projektdateien("lauf");
    ASSERT_EQ(dateien.keys(), (QStringList{"27Mrz14.cal", "27Mrz14.roh"}));
    const QStringList rech = dateien["27Mrz14.cal"].split("\r\n", Qt::SkipEmptyParts);
    const QStringList roh = dateien["27Mrz14.roh"].split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(rech.size(), 3);
    ASSERT_EQ(roh.size(), rech.size());
    EXPECT_EQ(rech[0], "Zeit/Datum\tSumme [V]\tDiff [V]\t");
    EXPECT_EQ(roh[0], "Zeit/Datum\tU1 [V DC]\tU2 [V DC]\t");
    for (int k = 1; k < rech.size(); ++k) {
        EXPECT_TRUE(Loggerzeit.match(rech[k]).hasMatch()) << rech[k].toStdString();
        EXPECT_EQ(rech[k].mid(18), "1,4579\t1,54\t");
        EXPECT_EQ(roh[k].mid(18), "01,50000\t-00,04210\t");
        EXPECT_EQ(roh[k].left(17), rech[k].left(17));  // the same scan in the same line
    }
}

TEST_F(Programm_Messlauf, Impulsblock_liest_eine_Boxvariable_statt_zu_messen) {
    const QString impuls = Daten.Messblocktabelle[9].Messblockname.text();  // "Impuls IZ1-200", NAMUR
    Messpunkt_setzen(1, 1, 1, impuls, "Puls");
    starten({"--signal", "T:1000000050000=const:12.5"});
    laufen_lassen("000411000000050000!", 3);
    // Both relays of the terminal, then the variable named by the block; no trigger, no fetch.
    EXPECT_GE(Scans({"11112!", "000411000000050000!"}, {"11112!", "000411000000050000!"}), 3) << Frametext();
    EXPECT_TRUE(lauf.Datei("d:\\Daten.txt").endsWith("012,5000\tPuls\tms\t\r\n")) << lauf.Datei("d:\\Daten.txt").toStdString();
    // Without a trigger the entry still takes its time: the line starts with date and time.
    EXPECT_TRUE(QRegularExpression("^\\d\\d \\d\\d \\d\\d\t\\d\\d:\\d\\d:\\d\\d\t012,5000\tPuls\tms\t\r\n$")
                    .match(lauf.Datei("d:\\Daten.txt"))
                    .hasMatch())
        << lauf.Datei("d:\\Daten.txt").toStdString();
}

TEST_F(Programm_Messlauf, Gezogene_Spalte_laesst_in_festhalten_einen_Platzhalter_zurueck) {
    Messpunkt_setzen(1, 1, 1, dc(), "U1");
    Messpunkt_setzen(2, 1, 2, dc(), "U2");
    Messpunkt_setzen(3, 1, 3, dc(), "U3");
    for (int t = 1; t <= 3; ++t)
        Daten.Kanaltabelle[1].Art[t] = "Input";
    {
        // "festhalten", U1 dragged onto U3: it goes in before U3, its old column stays.
        Daten.Knopfzustände[3] = 0;
        Daten.Knopfzustände[4] = -1;
        Datenreihenfolge seite;
        seite.Aufz_Knöpfe_setzen();
        seite.Aufzliste_aus_Puffer_erstellen();
        seite.List2->Auswahl_setzen({0});
        seite.List2_MouseDown(0);
        seite.List2_MouseUp(2);
    }
    starten({"--signal", "A1=const:1.5", "--signal", "A2=const:2.5", "--signal", "A3=const:-3.25"});
    laufen_lassen("00083!", 2);
    EXPECT_EQ(lauf.Datei("d:\\Daten.txt").section('\t', 2),
              "9E99\t--\t--\t02,50000\tU2\tV DC\t01,50000\tU1\tV DC\t-03,25000\tU3\tV DC\t\r\n");
}
