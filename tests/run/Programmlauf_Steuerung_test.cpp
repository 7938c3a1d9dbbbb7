// The real program controlled from outside: the stop file, the update
// hand-off, a power failure, and a box that accepts connections but never answers.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>

#include "support/Programmlauf.h"
#include "support/Teststation.h"

namespace {
struct Steuerung : ::testing::Test {
    Teststation station;
    Programmlauf lauf{station};
    void SetUp() override {
#ifndef Q7SIM_PFAD
        GTEST_SKIP() << "without the simulated box";
#endif
        Projekt_grundstellen();
        Messpunkt_setzen(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "U1");
        Daten.Datenformatsatz.Datum = 0;
        Daten.Datenformatsatz.Zeit = 0;
    }
    std::string Protokoll() const { return lauf.Protokollmeldungen().join('\n').toStdString(); }
    // Seconds since midnight of a run-log line.
    static int Sekunden(const QString& zeile) {
        const QTime t = QTime::fromString(zeile.mid(12, 8), "hh:mm:ss");
        return t.isValid() ? t.msecsSinceStartOfDay() / 1000 : -1;
    }
};
}

TEST_F(Steuerung, Viele_Zeitueberschreitungen_lassen_einen_Lauf_der_weitergeht_sobald_die_Box_antwortet) {
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001"));
    ASSERT_TRUE(lauf.Box_starten({"--silent"}));
    const quint16 port = lauf.Box()->Port();
    ASSERT_TRUE(lauf.Kestrix_starten({"lauf.kxp"}));
    // The first run and four restarts time out; the fifth restart finds a box that answers.
    const QString zeitüberschreitung = "Netzwerk-Timeout, Messung wird neu gestartet, Befehl:  00051";
    ASSERT_TRUE(lauf.Meldung_abwarten(zeitüberschreitung, 5, 80000)) << Protokoll();
    lauf.Box_beenden();
    const QList<QByteArray> stumm = lauf.Frames();
    ASSERT_TRUE(lauf.Box_starten({"--signal", "A1=const:1.5"}, port));
    ASSERT_TRUE(lauf.Frames_abwarten("00073!", 2, 15000)) << Protokoll();
    ASSERT_TRUE(lauf.mit_Endedatei_beenden());
    EXPECT_EQ(lauf.Exitcode(), 0);

    // Each run sent its first frame and its one repeat, nothing more.
    EXPECT_EQ(stumm, QList<QByteArray>(10, "00051!"));
    // The answering box saw one run from its start to its end.
    const QList<QByteArray> frames = lauf.Frames();
    ASSERT_GE(frames.size(), 10);
    EXPECT_EQ(frames.mid(0, 4), (QList<QByteArray>{"00051!", "00013!", "00023!", "11002!"}));
    EXPECT_EQ(frames.count("00051!"), 1);
    EXPECT_EQ(frames.mid(frames.size() - 2), (QList<QByteArray>{"00002!", "00093!"}));

    // Every cycle leaves the same lines at the same rhythm: the repeat after
    // 5 s, the time-out 5 s later, the restart 2 s after it.
    QStringList zeilen;
    for (const QString& z : lauf.Protokollzeilen())
        if (!QRegularExpression("(Protocol|RemotePort|Bind 8001|RemoteHost|SendData) ok$").match(z).hasMatch())
            zeilen << z;
    const QString wiederholung = QString::fromUtf8("keine Antwort vom Gerät bei folgendem Befehl: 00051");
    QStringList erwartet = {"Programm gestartet", "Messung gestartet"};
    for (int k = 0; k < 5; ++k)
        erwartet << wiederholung << zeitüberschreitung << "automatischer Neustart der Messung";
    ASSERT_GE(zeilen.size(), erwartet.size());
    QStringList meldungen;
    for (const QString& z : zeilen)
        meldungen << z.mid(22);
    EXPECT_EQ(meldungen.mid(0, erwartet.size()), erwartet) << Protokoll();
    for (int k = 0; k < 5; ++k) {
        const int basis = 2 + 3 * k;
        const int bis_wiederholung = Sekunden(zeilen[basis]) - Sekunden(zeilen[basis - 1]);
        const int bis_zeitüberschreitung = Sekunden(zeilen[basis + 1]) - Sekunden(zeilen[basis]);
        const int bis_neustart = Sekunden(zeilen[basis + 2]) - Sekunden(zeilen[basis + 1]);
        if (k > 0)  // the first run searches for the box before it connects
            EXPECT_TRUE(bis_wiederholung >= 4 && bis_wiederholung <= 7) << bis_wiederholung;
        EXPECT_TRUE(bis_zeitüberschreitung >= 4 && bis_zeitüberschreitung <= 6) << bis_zeitüberschreitung;
        EXPECT_TRUE(bis_neustart >= 1 && bis_neustart <= 4) << bis_neustart;
    }
    // The run that found the answering box wrote its values and ended normally.
    EXPECT_TRUE(meldungen.mid(erwartet.size()).filter("Timeout").isEmpty()) << Protokoll();
    EXPECT_EQ(lauf.Datei("d:\\Daten.txt"), "01,50000\tU1\tV DC\t\r\n");
    EXPECT_EQ(lauf.Stromausfallsatz("lauf.kxp"), QByteArray("\0\0", 2));
}
