// The command link as the box sees it: frames byte for byte, the repeat after
// five ticks, the network time-out after ten, replies in pieces, box variables.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "run/Hauptfenster.h"
#include "support/Teststation.h"
#include "platform/Uhr.h"

namespace {
struct Verbindung : ::testing::Test {
    Teststation station;
    std::unique_ptr<Hauptfenster> haupt;
    int wiederanläufe = 0;

    void SetUp() override {
#ifndef Q7SIM_PFAD
        GTEST_SKIP() << "without the simulated box";
#endif
    }
    // The main window in the running look, linked to a box on 'port'.
    void verbinden(quint16 port) {
        qputenv("KESTRIX_Q7_PORT", QByteArray::number(port));
        haupt = std::make_unique<Hauptfenster>();
        haupt->Form_Load();
        haupt->messen->setText("Messung anhalten");
        haupt->Netzwerktimeout_Wiederanlauf = [this] {
            ++wiederanläufe;
            haupt->Winsock2_zerstören();
        };
        Daten.Boxadresse = "127.0.0.1";
        ASSERT_EQ(haupt->Verbindung_öffnen(), Hauptfenster::Verbindung::hergestellt);
    }
    QString framelog() const { return station.Programmverzeichnis() + "/frames.log"; }
};
}

TEST_F(Verbindung, Die_Frames_kommen_Byte_fuer_Byte_an) {
    Q7Sim box({"--firmware", "V1.02.7"}, framelog());
    ASSERT_TRUE(box.läuft());
    verbinden(box.Port());
    haupt->TCPIPBefehl_mit_Antwort("00051");
    EXPECT_EQ(haupt->Label21->text(), "Q7 Firmwareversion: V1.02.7");
    haupt->TCPIPBefehl_mit_Antwort("00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r");
    EXPECT_EQ(haupt->AntwortDa, 1);
    haupt->TCPIPBefehl_mit_Antwort("25002");
    haupt->Verbindung_schließen();
    EXPECT_EQ(haupt->Winsock2_1, nullptr);
    EXPECT_EQ(box.Frames(), (QList<QByteArray>{"00051!", "00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r!", "25002!",
                                               "00002!", "00093!"}));
    EXPECT_TRUE(station.Protokollmeldungen().filter("Timeout").isEmpty());
}

TEST_F(Verbindung, Antwort_erst_auf_die_Wiederholung) {
    Q7Sim box({"--repeat-only"}, framelog());
    ASSERT_TRUE(box.läuft());
    verbinden(box.Port());
    QElapsedTimer dauer;
    dauer.start();
    haupt->TCPIPBefehl_mit_Antwort("00013");
    EXPECT_GE(dauer.elapsed(), 4000);
    EXPECT_LT(dauer.elapsed(), 8000);
    EXPECT_EQ(haupt->AntwortDa, 1);
    EXPECT_LT(Daten.Timeoutzähler, 10);
    EXPECT_EQ(wiederanläufe, 0);
    EXPECT_EQ(station.Protokollmeldungen(),
              (QStringList{"Programm gestartet", QString::fromUtf8("keine Antwort vom Gerät bei folgendem Befehl: 00013")}));
    EXPECT_EQ(box.Frames(), (QList<QByteArray>{"00013!", "00013!"}));
}

TEST_F(Verbindung, Stumme_Box_fuehrt_zum_Netzwerk_Timeout_und_einem_Wiederanlauf) {
    Q7Sim box({"--silent"}, framelog());
    ASSERT_TRUE(box.läuft());
    verbinden(box.Port());
    QElapsedTimer dauer;
    dauer.start();
    haupt->TCPIPBefehl_mit_Antwort("00023");
    EXPECT_GE(dauer.elapsed(), 9000);
    EXPECT_LT(dauer.elapsed(), 13000);
    EXPECT_EQ(Daten.Timeoutzähler, 10);
    EXPECT_EQ(wiederanläufe, 1);
    EXPECT_FALSE(haupt->Shape2->isVisible());
    EXPECT_EQ(station.Protokollmeldungen(),
              (QStringList{"Programm gestartet", QString::fromUtf8("keine Antwort vom Gerät bei folgendem Befehl: 00023"),
                           "Netzwerk-Timeout, Messung wird neu gestartet, Befehl:  00023"}));

    // The dead link sends nothing and returns at once.
    dauer.restart();
    haupt->TCPIPBefehl_mit_Antwort("00002");
    haupt->Verbindung_schließen();
    EXPECT_LT(dauer.elapsed(), 200);
    EXPECT_EQ(wiederanläufe, 1);
    warten_bis([] { return false; }, 200);
    EXPECT_EQ(box.Frames(), (QList<QByteArray>{"00023!", "00023!"}));
}

TEST_F(Verbindung, Antwort_in_Stuecken) {
    Q7Sim box({"--chunks", "3", "--chunk-gap-ms", "30"});
    ASSERT_TRUE(box.läuft());
    verbinden(box.Port());
    // The version is read: its reply is gathered until the 7 characters are there.
    haupt->TCPIPBefehl_mit_Antwort("00051");
    EXPECT_EQ(haupt->Label21->text(), "Q7 Firmwareversion: V1.02.7");
    warten_bis([] { return false; }, 200);
    // A reply nobody reads counts as there with its first piece.
    haupt->Empfangspuffer.clear();
    haupt->Bytezähler = 0;
    haupt->TCPIPBefehl_mit_Antwort("00013");
    EXPECT_EQ(haupt->AntwortDa, 1);
    EXPECT_EQ(haupt->Letztantwort, "O");
    warten_bis([] { return false; }, 200);
    EXPECT_EQ(haupt->Empfangspuffer, "OK");
    EXPECT_EQ(haupt->Bytezähler, 2);
    EXPECT_EQ(haupt->Letztantwort, "K");
    // The service line gets the last piece when it is on the screen.
    haupt->show();
    haupt->Text1->show();
    EXPECT_EQ(haupt->Text1->text(), "K");
}

TEST_F(Verbindung, Boxvariable_als_Exponentialzahl_mit_Punkt) {
    Q7Sim box({"--signal", "T:Betr.-Std.=const:1234.5"});
    ASSERT_TRUE(box.läuft());
    verbinden(box.Port());
    haupt->TCPIPBefehl_mit_Antwort("00041Betr.-Std.\r");
    EXPECT_EQ(haupt->TVariable, "1.234500E+03");
}

TEST_F(Verbindung, Nicht_erreichbare_Box_bricht_nach_zehn_Takten_ab) {
    Q7Sim box;  // only to learn a port that nobody listens on afterwards
    ASSERT_TRUE(box.läuft());
    const quint16 port = box.Port();
    box.beenden();
    qputenv("KESTRIX_Q7_PORT", QByteArray::number(port));
    haupt = std::make_unique<Hauptfenster>();
    haupt->messen->setText("Messung anhalten");
    Daten.Boxadresse = "127.0.0.1";
    QElapsedTimer dauer;
    dauer.start();
    EXPECT_EQ(haupt->Verbindung_öffnen(), Hauptfenster::Verbindung::nicht_erreichbar);
    EXPECT_GE(dauer.elapsed(), 9000);
    EXPECT_TRUE(station.Protokollmeldungen().contains("Winsock Fehler: 10061  Verbindung abgelehnt"));
    Daten.Boxadresse.clear();
    EXPECT_EQ(haupt->Verbindung_öffnen(), Hauptfenster::Verbindung::keine_Boxadresse);
}

// Replies the simulated box would never give, from a box scripted here.
namespace {
struct Skriptbox {
    QTcpServer server;
    QList<QByteArray> antworten;
    Skriptbox() {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            QTcpSocket* s = server.nextPendingConnection();
            QObject::connect(s, &QTcpSocket::readyRead, [this, s] {
                s->readAll();
                if (!antworten.isEmpty())
                    s->write(antworten.takeFirst());
            });
        });
    }
};
}

TEST_F(Verbindung, Boxvariable_ohne_Zahl) {
    Skriptbox box;
    box.antworten = {"T-Variable: ", "T-Variable: Fehler 3,5", "xxxxxxxxxxx2,5"};
    verbinden(box.server.serverPort());
    haupt->TCPIPBefehl_mit_Antwort("00041a");
    EXPECT_EQ(haupt->TVariable, "+9.9E37");  // nothing after the marker
    haupt->TCPIPBefehl_mit_Antwort("00041a");
    EXPECT_EQ(haupt->TVariable, "Fehler 3.5");  // text passes, first comma to point
    haupt->TCPIPBefehl_mit_Antwort("00041a");
    EXPECT_EQ(haupt->TVariable, "2.500000E+00");  // no marker: from the 12th character on
}

TEST(Delay_events, Mitternacht_verkuerzt_und_verlaengert_nicht) {
    Teststation station;
    Hauptfenster haupt;
    for (double vor_mitternacht : {0.3, 0.05}) {
        uhr().Versatz_setzen(0);
        const QDateTime jetzt = uhr().jetzt();
        const QDateTime ziel(jetzt.date(), QTime(23, 59, 59, 1000 - static_cast<int>(vor_mitternacht * 1000)));
        uhr().Versatz_setzen(jetzt.msecsTo(ziel) / 1000.0);
        QElapsedTimer dauer;
        dauer.start();
        Delay_events(0.6);
        EXPECT_GE(dauer.elapsed(), 590);
        EXPECT_LT(dauer.elapsed(), 1200);
        EXPECT_LT(uhr().Sekunden_seit_Mitternacht(), 10);  // the wait did pass midnight
    }
    // The running clock, once it is on the screen.
    haupt.show();
    haupt.Label6->show();
    EXPECT_FALSE(haupt.Label6->text().isEmpty());
}
