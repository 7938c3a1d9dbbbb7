// The real program against the simulated box with a matrix after every scan:
// the matrices leave the meter in diode mode, so the next scan's first entry
// must set its block up again before it measures.
#include <gtest/gtest.h>

#include "support/Programmlauf.h"
#include "support/Teststation.h"

namespace {
const QByteArray Gleichspannung = "00043:FUNC \"VOLT\"\r:VOLT:DC:RANG 100\r:VOLT:DC:DIG 7\r:VOLT:DC:NPLC 0.4\r"
                                  ":VOLT:DC:AVER:TCON MOV\r:VOLT:DC:AVER:STAT OFF\r:SYST:AZER:STAT ON\r!";
const QByteArray Einzeln = "00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r!";
}  // namespace

TEST(Programm_Matrix, Nach_der_Matrix_stellt_der_erste_Eintrag_seinen_Block_wieder_ein) {
#ifndef Q7SIM_PFAD
    GTEST_SKIP() << "without the simulated box";
#endif
    Teststation station;
    Programmlauf lauf{station};
    Projekt_grundstellen();
    Daten.Datenformatsatz.Datum = 0;
    Daten.Datenformatsatz.Zeit = 0;
    Daten.Datenformatsatz.max = 1;
    Messpunkt_setzen(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "U1");
    Daten.Matrixtabelle[2].Aktiv = 1;  // matrix B: two diodes
    Daten.Matrixtabelle[2].Punktzahl = 1;
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001"));
    // 12 V at the terminal; the diode test would see 12.1 V, beyond its range.
    ASSERT_TRUE(lauf.Box_starten({"--signal", "A1=dcv 12"}));
    ASSERT_TRUE(lauf.Kestrix_starten({"lauf.kxp"}));
    ASSERT_TRUE(lauf.Frames_abwarten("00061!", 3));
    ASSERT_TRUE(lauf.mit_Endedatei_beenden());

    // Every scan reads the terminal as a DC voltage.
    const QStringList ring = lauf.Datei("d:\\Daten&.txt").split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(ring.size(), 3);
    for (const QString& zeile : ring)
        EXPECT_EQ(zeile, "12,00000\tU1\tV DC\t");

    // Each scan begins as the first did: the block's setting again, no other extra frame.
    const QList<QByteArray> scan = {"11002!", Gleichspannung, Einzeln, "00063!", "00073!"};
    const QList<QByteArray> matrix = {"00043:FUNC \"FRES\"\r:FRES:RANG 100\r!",
                                      Einzeln,
                                      "00063!",
                                      "00043:FUNC \"DIOD\"\r:DIOD:CURR:RANG 0.1e-3\r!",
                                      "00043:TRAC:POIN 2\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 1\r:TRIG:COUN 2\r:INIT\r!",
                                      "00061!", "21212!", "00063!", "21222!", "00063!", "00071!", "00083!", "00053!"};
    const QList<QByteArray> frames = lauf.Frames();
    QList<QByteArray> erwartet = {"00051!", "00013!", "00023!"};
    while (erwartet.size() + 2 < frames.size())
        erwartet += scan + matrix;
    erwartet += QList<QByteArray>{"00002!", "00093!"};
    QByteArray text;
    for (QByteArray f : frames)
        text += f.replace('\r', "<CR>") + '\n';
    EXPECT_EQ(frames, erwartet) << text.toStdString();
}
