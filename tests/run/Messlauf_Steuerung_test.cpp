// The operator's control of a run and its pace: pause, continue and end,
// the data line of a paused scan, the scan interval measured from the scan
// start, also across midnight.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <functional>

#include "Messlauf_Testhilfe.h"
#include "platform/Uhr.h"

namespace {
struct Messlauf_Steuerung : Messlaufstation {
    QString daten_txt() const { return station.Wurzel() + "/d/Daten.txt"; }
    QStringList lauf_protokoll() const {
        QStringList p = station.Protokollmeldungen();
        return p.mid(std::max<qsizetype>(0, p.indexOf("Messung gestartet")));
    }
    // When each frame reached the box (ms since 'start' was called) and what
    // the station clock read then.
    QList<qint64> ankunft;
    QList<double> stationszeit;
    QElapsedTimer zeit;
    void mitschreiben(const std::function<void()>& bei_jedem_Blick = {}) {
        zeit.start();
        auto* blick = new QTimer(haupt);
        QObject::connect(blick, &QTimer::timeout, [this, bei_jedem_Blick] {
            const qsizetype n = box->Frames().size();
            while (ankunft.size() < n) {
                ankunft << zeit.elapsed();
                stationszeit << uhr().Sekunden_seit_Mitternacht();
            }
            if (bei_jedem_Blick)
                bei_jedem_Blick();
        });
        blick->start(5);
    }
    // Indexes of the frames equal to 'frame', in order.
    QList<qsizetype> stellen(const QByteArray& frame) const {
        QList<qsizetype> s;
        const QList<QByteArray> frames = box->Frames();
        for (qsizetype i = 0; i < frames.size(); ++i)
            if (frames[i] == frame)
                s << i;
        return s;
    }
};

const QByteArray Gruppe2 = "00043:TRAC:POIN 2\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 1\r:TRIG:COUN 2\r:INIT\r!";
const QByteArray Einzel = "00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r!";
}  // namespace

TEST_F(Messlauf_Steuerung, Anhalten_weiter_und_beenden_und_die_Datenzeile_des_angehaltenen_Scans) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--delay-ms", "100"});  // room to press the button during an entry
    const QString block = Daten.Messblocktabelle[1].Messblockname.text();
    eintrag(1, 1, 1, block, "U1");
    eintrag(2, 1, 2, block, "U2");
    Daten.Datenformatsatz.max = 1;
    // The operator: pause during entry 1 of scan 2 and continue; pause during
    // the last entry of scan 3 and end the run from the pause.
    int schritt = 0;
    bool zeile_vor_weiter = true, zeile_nach_weiter = false;
    mitschreiben([&] {
        const QString eintrag = haupt->Label3->text();
        const bool angehalten = Daten.Pausenmerker == 1 && !haupt->Command1->isHidden();
        switch (schritt) {
        case 0:
            if (QFile::exists(daten_txt())) {  // scan 1 written
                QFile::remove(daten_txt());
                ++schritt;
            }
            break;
        case 1:
            if (eintrag == "U1") {
                haupt->messen->click();
                ++schritt;
            }
            break;
        case 2:
            if (angehalten) {
                zeile_vor_weiter = QFile::exists(daten_txt());
                haupt->Command1->click();
                ++schritt;
            }
            break;
        case 3:
            if (QFile::exists(daten_txt())) {  // scan 2 written after all
                zeile_nach_weiter = true;
                QFile::remove(daten_txt());
                ++schritt;
            }
            break;
        case 4:
            if (eintrag == "U1")
                ++schritt;
            break;
        case 5:
            if (eintrag == "U2") {
                haupt->messen->click();
                ++schritt;
            }
            break;
        case 6:
            if (angehalten) {
                haupt->messen->click();
                ++schritt;
            }
            break;
        }
    });
    haupt->messen->click();  // returns when the run has ended
    ASSERT_EQ(schritt, 7);

    EXPECT_FALSE(zeile_vor_weiter);
    EXPECT_TRUE(zeile_nach_weiter);
    EXPECT_FALSE(QFile::exists(daten_txt()));  // the scan paused after its last entry
    EXPECT_EQ(lauf_protokoll(), (QStringList{"Messung gestartet", "Messung angehalten", "Messung fortgesetzt",
                                             "Messung angehalten", "Messung beendet"}));
    const QByteArray init = ("00043" + this->init(block) + "!").toLatin1();
    const QList<QByteArray> erwartet = {
        "00051!", "00013!", "00023!",
        "11002!", init, Gruppe2, "00063!", "12002!", "00063!", "00083!", "00053!",
        "11002!", Gruppe2, "00063!", "00002!", "12002!", "00063!", "00083!", "00053!",  // paused after entry 1
        "11002!", Gruppe2, "00063!", "12002!", "00063!", "00083!", "00053!", "00002!",  // paused after entry 2
        "00002!", "00093!"};
    EXPECT_EQ(box->Frames(), erwartet);
    EXPECT_EQ(haupt->messen->text(), "Messung starten");
    EXPECT_TRUE(haupt->messen->isEnabled());
    EXPECT_TRUE(haupt->Command1->isHidden());
}

TEST_F(Messlauf_Steuerung, Das_Intervall_zaehlt_vom_Scanbeginn_und_ein_zu_langer_Scan_folgt_sofort) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--delay-ms", "300"});  // a scan of four or five frames takes 1.3 to 1.6 s
    eintrag(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "U1");
    Daten.Datenformatsatz.max = 0;
    Daten.Aufzeichnungsintervall = 2;
    mitschreiben([&] {
        const QList<qsizetype> scans = stellen("11002!");
        if (scans.size() == 2)
            Daten.Aufzeichnungsintervall = 1;  // from scan 2 on shorter than a scan
        if (scans.size() == 3)
            Teststation::Datei_schreiben(station.Wurzel() + "/d/Ende.txt", "");
    });
    haupt->messen->click();
    const QList<qsizetype> scans = stellen("11002!");
    const QList<qsizetype> abrufe = stellen("00073!");
    ASSERT_EQ(scans.size(), 3);
    ASSERT_GE(abrufe.size(), 2);
    ASSERT_GE(ankunft.size(), scans[2] + 1);
    // Scan 1 took about 1.6 s of its 2 s: the next starts 2 s after it began.
    EXPECT_NEAR(ankunft[scans[1]] - ankunft[scans[0]], 2000, 200);
    // Scan 2 is longer than 1 s: scan 3 starts as soon as the last reply is in.
    EXPECT_LT(ankunft[scans[2]] - ankunft[abrufe[1]], 300 + 150);
    EXPECT_EQ(stellen("00002!").size(), 1);  // only the end sequence's
    EXPECT_TRUE(lauf_protokoll().filter("Timeout").isEmpty());
}

TEST_F(Messlauf_Steuerung, Mitternacht_zwischen_Scanbeginn_und_Warten_verkuerzt_das_Intervall_nicht) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--delay-ms", "300"});
    eintrag(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "U1");
    Daten.Datenformatsatz.max = 0;
    Daten.Aufzeichnungsintervall = 3;
    mitschreiben([&] {
        if (stellen("11002!").size() == 2)
            Teststation::Datei_schreiben(station.Wurzel() + "/d/Ende.txt", "");
    });
    // The first scan starts about 1.4 s after the click (connect, three
    // frames), so it begins shortly before midnight and measures after it.
    uhr().Versatz_setzen(uhr().Versatz() + (86400 - 2.2) - uhr().Sekunden_seit_Mitternacht());
    haupt->messen->click();
    const QList<qsizetype> scans = stellen("11002!");
    const QList<qsizetype> abrufe = stellen("00073!");
    ASSERT_EQ(scans.size(), 2);
    ASSERT_GE(abrufe.size(), 1);
    ASSERT_GT(stationszeit[scans[0]], 86000.0) << "scan 1 must begin before midnight";
    ASSERT_LT(stationszeit[abrufe[0]], 100.0) << "and its wait begin after it";
    EXPECT_NEAR(ankunft[scans[1]] - ankunft[scans[0]], 3000, 200);
}

// Closing the frame while a run is going (the system shutting down) cannot
// unload the pages the run is using: the program ends at once, as after a
// power failure, and the power-failure record stays set for the next start.
TEST_F(Messlauf_Steuerung, Schliessen_waehrend_eines_Laufs_endet_wie_ein_Stromausfall) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({});
    eintrag(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "U1");
    Daten.Datenformatsatz.max = 1;
    bool geschlossen = false;
    int enden_beim_schliessen = 0;
    mitschreiben([&] {
        if (!geschlossen && stellen("00073!").size() == 1) {
            geschlossen = true;
            rahmen->close();
            enden_beim_schliessen = station.Ende.Aufrufe;
            // The end was only recorded here: the run goes on until the stop file.
            Teststation::Datei_schreiben(station.Wurzel() + "/d/Ende.txt", "");
        }
    });
    haupt->messen->click();
    ASSERT_TRUE(geschlossen);
    EXPECT_EQ(enden_beim_schliessen, 1);
    EXPECT_EQ(Fenster.Hauptfenster, haupt);  // nothing was unloaded under the run
    const QStringList log = lauf_protokoll();
    ASSERT_GE(log.size(), 2);
    EXPECT_EQ(log.mid(0, 2), (QStringList{"Messung gestartet", "Programm beendet"}));
}
