// The real program controlled from outside: the stop file, the update
// hand-off, a power failure, and a box that accepts connections but never answers.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>

#include <csignal>

#include "support/Programmlauf.h"
#include "support/Teststation.h"

namespace {
struct Programm_Steuerung : ::testing::Test {
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

TEST_F(Programm_Steuerung, Viele_Zeitueberschreitungen_lassen_einen_Lauf_der_weitergeht_sobald_die_Box_antwortet) {
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

TEST_F(Programm_Steuerung, Stoppdatei_beendet_das_Programm_nach_dem_laufenden_Scan) {
    Daten.Datenformatsatz.max = 0;
    Daten.Datenformatsatz.Sekundenindex = 1;  // one scan a second
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001"));
    ASSERT_TRUE(lauf.Box_starten());
    ASSERT_TRUE(lauf.Kestrix_starten({"lauf.kxp"}));
    ASSERT_TRUE(lauf.Frames_abwarten("00073!", 2)) << Protokoll();
    EXPECT_EQ(lauf.Stromausfallsatz("lauf.kxp"), QByteArray("\1\0", 2));  // a run is in progress
    ASSERT_TRUE(lauf.mit_Endedatei_beenden(5000));
    EXPECT_EQ(lauf.Exitcode(), 0);
    EXPECT_FALSE(lauf.vorhanden("d:\\Ende.txt"));
    const QList<QByteArray> frames = lauf.Frames();
    ASSERT_GE(frames.size(), 5);
    // The scan under way was completed and written, then the link closed.
    EXPECT_EQ(frames.mid(frames.size() - 3), (QList<QByteArray>{"00073!", "00002!", "00093!"}));
    EXPECT_EQ(lauf.Datei("d:\\Daten&.txt").count("\r\n"), lauf.Anzahl("00073!"));
    EXPECT_EQ(lauf.Stromausfallsatz("lauf.kxp"), QByteArray("\0\0", 2));
    EXPECT_EQ(lauf.Protokollmeldungen().filter(QRegularExpression("^Messung|Timeout")),
              QStringList{"Messung gestartet"});
}

namespace {
// A stand-in for the update program: it notes that it ran.
void Updateprogramm_ablegen(const QString& pfad) {
    Teststation::Datei_schreiben(pfad, "#!/bin/sh\necho gestartet > \"$(dirname \"$0\")/gestartet.txt\"\n");
    QFile(pfad).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
}

TEST_F(Programm_Steuerung, UPDATE_EXE_im_Leerlauf_wird_gestartet_und_beendet_das_Programm) {
    ASSERT_TRUE(lauf.Kestrix_starten());
    ASSERT_TRUE(lauf.Meldung_abwarten("Programm gestartet"));
    Updateprogramm_ablegen(lauf.Laufwerk('d') + "/UPDATE.EXE");
    ASSERT_TRUE(lauf.Ende_abwarten(10000));
    EXPECT_EQ(lauf.Exitcode(), 0);
    EXPECT_TRUE(warten_bis([&] { return lauf.vorhanden("d:\\gestartet.txt"); }, 3000));
    EXPECT_EQ(lauf.Dialogprotokoll(), "");
}

TEST_F(Programm_Steuerung, update_exe_klein_geschrieben_wird_erst_beim_naechsten_Start_geloescht) {
    ASSERT_TRUE(lauf.Kestrix_starten());
    ASSERT_TRUE(lauf.Meldung_abwarten("Programm gestartet"));
    Updateprogramm_ablegen(lauf.Laufwerk('d') + "/update.exe");
    // Three idle ticks: no hand-off.
    EXPECT_FALSE(warten_bis([&] { return !lauf.läuft(); }, 3200));
    EXPECT_TRUE(QFileInfo::exists(lauf.Laufwerk('d') + "/update.exe"));
    ASSERT_TRUE(lauf.mit_Endedatei_beenden(3000));  // the idle check ends it within a tick
    EXPECT_FALSE(lauf.vorhanden("d:\\Ende.txt"));

    ASSERT_TRUE(lauf.Kestrix_starten());
    ASSERT_TRUE(lauf.Meldung_abwarten("Programm gestartet", 2));
    EXPECT_TRUE(warten_bis([&] { return !QFileInfo::exists(lauf.Laufwerk('d') + "/update.exe"); }, 3000));
    ASSERT_TRUE(lauf.mit_Endedatei_beenden(3000));
    EXPECT_FALSE(lauf.vorhanden("d:\\gestartet.txt"));
}

TEST_F(Programm_Steuerung, Nach_hartem_Abbruch_setzt_der_naechste_Start_den_Lauf_fort) {
    Daten.Datenformatsatz.max = 0;
    Daten.Datenformatsatz.Sekundenindex = 1;  // the power fails while the run waits for the next scan
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001"));
    ASSERT_TRUE(lauf.Box_starten({"--signal", "A1=ramp:1:1"}));
    ASSERT_TRUE(lauf.Kestrix_starten({"lauf.kxp"}));
    ASSERT_TRUE(warten_bis(
        [&] {
            const QMap<QString, QString> puffer = lauf.Pufferdateien();
            return !puffer.isEmpty() && puffer.first().count("\r\n") >= 3;
        },
        15000))
        << Protokoll();
    lauf.hart_beenden();
    EXPECT_EQ(lauf.Stromausfallsatz("lauf.kxp"), QByteArray("\1\0", 2));
    const int vorher = static_cast<int>(lauf.Datei("d:\\Daten&.txt").count("\r\n"));
    ASSERT_GE(vorher, 2);

    // No command line: the current project and its power-failure record start the run again.
    ASSERT_TRUE(lauf.Kestrix_starten());
    ASSERT_TRUE(lauf.Frames_abwarten("00051!", 2)) << Protokoll();
    const int bis_neustart = lauf.Anzahl("00073!");
    ASSERT_TRUE(lauf.Frames_abwarten("00073!", bis_neustart + 2)) << Protokoll();
    ASSERT_TRUE(lauf.mit_Endedatei_beenden());
    EXPECT_EQ(lauf.Protokollmeldungen().filter(QRegularExpression("^(Programm|Messung)")),
              (QStringList{"Programm gestartet", "Messung gestartet", "Programm gestartet", "Messung gestartet"}));
    EXPECT_EQ(lauf.Stromausfallsatz("lauf.kxp"), QByteArray("\0\0", 2));

    // The second run goes on with the same project: its data-interface ring
    // starts afresh, the day's logger file holds the lines of both runs.
    const QStringList ring = lauf.Datei("d:\\Daten&.txt").split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(ring.size(), 2);
    const QMap<QString, QString> projektdateien = lauf.Projektdateien("lauf");
    ASSERT_EQ(projektdateien.size(), 1);
    const QStringList logger = projektdateien.first().split("\r\n", Qt::SkipEmptyParts);
    EXPECT_EQ(logger.size(), 1 + vorher + ring.size());
    // The ramp counts readings: every written scan shows the next number, none lost, none twice.
    for (int k = 1; k < logger.size(); ++k)
        EXPECT_EQ(logger[k].section('\t', 1), QString("%1,00000\t").arg(k, 2, 10, QChar('0'))) << k;
}

TEST_F(Programm_Steuerung, Beenden_durch_das_System_waehrend_eines_Laufs_wirkt_wie_ein_Stromausfall) {
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001"));
    ASSERT_TRUE(lauf.Box_starten());
    ASSERT_TRUE(lauf.Kestrix_starten({"lauf.kxp"}));
    ASSERT_TRUE(lauf.Frames_abwarten("00073!", 2)) << Protokoll();
    ::kill(static_cast<pid_t>(lauf.Pid()), SIGTERM);  // as a shutdown asks
    ASSERT_TRUE(lauf.Ende_abwarten(5000));
    EXPECT_EQ(lauf.Exitcode(), 0);
    EXPECT_EQ(lauf.Protokollmeldungen().last(), "Programm beendet");
    EXPECT_EQ(lauf.Stromausfallsatz("lauf.kxp"), QByteArray("\1\0", 2));
    // The next start takes the run up again.
    ASSERT_TRUE(lauf.Kestrix_starten());
    ASSERT_TRUE(lauf.Frames_abwarten("00051!", 2)) << Protokoll();
    ASSERT_TRUE(lauf.Frames_abwarten("00073!", lauf.Anzahl("00073!") + 1)) << Protokoll();
    ASSERT_TRUE(lauf.mit_Endedatei_beenden());
    EXPECT_EQ(lauf.Protokollmeldungen().filter(QRegularExpression("^(Programm|Messung)")),
              (QStringList{"Programm gestartet", "Messung gestartet", "Programm beendet", "Programm gestartet",
                           "Messung gestartet"}));
}

TEST_F(Programm_Steuerung, Beenden_durch_das_System_im_Leerlauf_schliesst_das_Programm) {
    ASSERT_TRUE(lauf.Kestrix_starten());
    ASSERT_TRUE(lauf.Meldung_abwarten("Programm gestartet"));
    ::kill(static_cast<pid_t>(lauf.Pid()), SIGTERM);
    ASSERT_TRUE(lauf.Ende_abwarten(5000));
    EXPECT_EQ(lauf.Exitcode(), 0);
    EXPECT_EQ(lauf.Protokollmeldungen(), (QStringList{"Programm gestartet", "Programm beendet"}));
}

TEST_F(Programm_Steuerung, Projektname_der_Befehlszeile_mit_Pfad_wird_abgelehnt) {
    for (const QString& name : {QString("..\\..\\..\\..\\..\\ausbruch.kxp"), QString("../../../../../ausbruch.kxp")}) {
        ASSERT_TRUE(lauf.Kestrix_starten({name}));
        ASSERT_TRUE(lauf.Meldung_abwarten("Projektname der Befehlszeile abgelehnt (kein reiner Dateiname): " + name))
            << Protokoll();
        ASSERT_TRUE(lauf.mit_Endedatei_beenden());
    }
    EXPECT_EQ(lauf.Datei("c:\\kestrix\\intern\\projbez\\projekt.kxp"), "noname01.kxp\r\n");
    EXPECT_TRUE(lauf.Protokollmeldungen().filter("Messung").isEmpty());
    // Nothing of that name anywhere around the station.
    QDirIterator alles(station.Wurzel() + "/..", QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (alles.hasNext())
        EXPECT_FALSE(alles.next().contains("ausbruch")) << alles.filePath().toStdString();
}
