// Whole measurement runs against the simulated box: what the box receives,
// what the run logs, and the values it hands on.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Zahltext.h"
#include "points/MBForm1.h"
#include "project/Hinweisform.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"
#include "run/Hauptfenster.h"
#include "support/Teststation.h"
#include "Messlauf_Testhilfe.h"

namespace {
struct Messlauf : Messlaufstation {};
}

TEST_F(Messlauf, Drei_Eintraege_eines_Blocks_werden_einmal_eingestellt_und_zusammen_geholt) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--signal", "A1=const:1.5", "--signal", "A2=const:2.5", "--signal", "A3=const:-3.25"});
    const QString block = Daten.Messblocktabelle[1].Messblockname.text();
    eintrag(1, 1, 1, block, "U1");
    eintrag(2, 1, 2, block, "U2");
    eintrag(3, 1, 3, block, "U3");
    Daten.Datenformatsatz.max = 1;
    nach_scans_beenden(2);
    haupt->messen->click();  // returns when the run has ended

    const QByteArray konfiguration = (QString("00043") + init(block) + "!").toLatin1();
    const QList<QByteArray> rest = {"00043:TRAC:POIN 3\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 1\r:TRIG:COUN 3\r:INIT\r!",
                                    "00063!", "12002!", "00063!", "13002!", "00063!", "00083!", "00053!"};
    QList<QByteArray> erwartet = {"00051!", "00013!", "00023!", "11002!", konfiguration};
    erwartet += rest;
    erwartet += "11002!";  // the same configuration is not sent again
    erwartet += rest;
    const QList<QByteArray> frames = box->Frames();
    ASSERT_GE(frames.size(), erwartet.size() + 2);
    EXPECT_EQ(frames.mid(0, erwartet.size()), erwartet);
    EXPECT_EQ(frames.mid(frames.size() - 2), (QList<QByteArray>{"00002!", "00093!"}));
    EXPECT_EQ(station.Ende.Aufrufe, 1);  // the stop file ends the program
    EXPECT_NEAR(Zahl_lesen(Daten.Messwerttexte[1].Logwert).value_or(0), 1.5, 1e-6);
    EXPECT_NEAR(Zahl_lesen(Daten.Messwerttexte[2].Logwert).value_or(0), 2.5, 1e-6);
    EXPECT_NEAR(Zahl_lesen(Daten.Messwerttexte[3].Logwert).value_or(0), -3.25, 1e-6);
    const QStringList log = station.Protokollmeldungen();
    EXPECT_TRUE(log.contains("Messung gestartet"));
    EXPECT_TRUE(log.filter("Timeout").isEmpty());
}

TEST_F(Messlauf, Ein_Eintrag_ueber_mehrere_Scans_bleibt_an_Position_eins) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--signal", "A1=ramp:1:1"});
    eintrag(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "U1");
    Daten.Datenformatsatz.max = 1;
    nach_scans_beenden(3);
    haupt->messen->click();
    const int scans = box->Frames().count("00073!");
    EXPECT_GE(scans, 3);
    EXPECT_NEAR(Zahl_lesen(Daten.Messwerttexte[1].Logwert).value_or(0), scans, 1e-6);  // the ramp's last reading
    EXPECT_TRUE(Daten.Messwerttexte[2].Logwert.isEmpty());
}

TEST_F(Messlauf, Keine_Box_im_Netz_meldet_und_startet_neu) {
    Daten.Boxadresse.clear();
    Fenster.Projekt->Seriennummer = "Q79999999";  // nobody answers for it
    qputenv("KESTRIX_DISCOVERY_ADDR", "127.0.0.3");
    qputenv("KESTRIX_DISCOVERY_PORT", "1");
    Daten.Scanlistentabelle[1].Signalname = "U1";
    haupt->messen->click();
    qunsetenv("KESTRIX_DISCOVERY_ADDR");
    qunsetenv("KESTRIX_DISCOVERY_PORT");
    EXPECT_EQ(Fenster.Hinweisform->Label1->text(), QString::fromUtf8("Kein Messgerät im Netzwerk gefunden!"));
    EXPECT_FALSE(Fenster.Hinweisform->isHidden());
    EXPECT_TRUE(haupt->Restarttimer->isActive());
    EXPECT_EQ(haupt->messen->text(), "Messung starten");
    const QStringList log = station.Protokollmeldungen();
    // Every search tick logs its five socket steps; how many ticks fit into
    // the fifteen looks depends on the timing, the lines around them do not.
    const QStringList tick = {"Protocol ok", "RemotePort ok", "Bind 8001 ok", "RemoteHost ok", "SendData ok"};
    ASSERT_GE(log.size(), 3 + tick.size());
    EXPECT_EQ(log.mid(0, 2), (QStringList{"Programm gestartet", "Messung gestartet"}));
    EXPECT_EQ(log.last(), "Messung abgebrochen");
    const QStringList ticks = log.mid(2, log.size() - 3);
    ASSERT_EQ(ticks.size() % tick.size(), 0) << ticks.join(" | ").toStdString();
    for (qsizetype i = 0; i < ticks.size(); i += tick.size())
        EXPECT_EQ(ticks.mid(i, tick.size()), tick);
    haupt->Restarttimer->stop();
}

TEST_F(Messlauf, Leere_Scanliste_endet_mit_Hinweis) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({});
    haupt->messen->click();
    EXPECT_EQ(Fenster.Hinweisform->Label1->text(),
              QString::fromUtf8("Sie müssen mind. 1 Signal im Fenster \"Kanalbelegung\" eintragen!"));
    EXPECT_EQ(haupt->messen->text(), "Messung starten");
    const QStringList log = station.Protokollmeldungen();
    EXPECT_TRUE(log.contains("Messung angehalten"));
    EXPECT_TRUE(log.contains("Messung beendet"));
}

TEST_F(Messlauf, Viele_Zeitueberschreitungen_lassen_genau_einen_Lauf) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--silent-on", "00023"});
    eintrag(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "U1");
    Takt_ms(100);  // a time-out in 1 s
    int höchstens = 0;
    auto* wächter = new QTimer(haupt);
    QObject::connect(wächter, &QTimer::timeout, [&] { höchstens = std::max(höchstens, haupt->Läufe_aktiv()); });
    wächter->start(10);
    // Two time-outs in a row: the restart of the second waits for the first run to unwind.
    QTimer::singleShot(9000, haupt, [&] {
        haupt->Restarttimer->stop();
        box->beenden();
    });
    haupt->messen->click();
    ASSERT_TRUE(warten_bis([&] { return station.Protokollmeldungen().count("automatischer Neustart der Messung") >= 1; },
                           40000));
    warten_bis([&] { return haupt->Läufe_aktiv() == 0 && !haupt->Restarttimer->isActive(); }, 40000);
    EXPECT_EQ(höchstens, 1);
    EXPECT_GE(station.Protokollmeldungen().count("Netzwerk-Timeout, Messung wird neu gestartet, Befehl:  00023"), 1);
}
