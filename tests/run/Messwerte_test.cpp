// Relays, triggers and value fetches as the box sees and answers them.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "project/Hinweisform.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"
#include "run/Hauptfenster.h"
#include "support/Teststation.h"

TEST(Relaisframe, Beispiele_und_Grenzen) {
    EXPECT_EQ(Hauptfenster::Relaisframe(3, 5, false), "25002");   // letter C, two-wire
    EXPECT_EQ(Hauptfenster::Relaisframe(4, 5, false), "00252");   // letter D
    EXPECT_EQ(Hauptfenster::Relaisframe(3, 5, true), "25252");    // four-wire on C
    EXPECT_EQ(Hauptfenster::Relaisframe(16, 8, true), "00002");   // P is a sense slot
    EXPECT_EQ(Hauptfenster::Relaisframe(16, 8, false), "00882");
    EXPECT_EQ(Hauptfenster::Relaisframe(1, 1, false), "11002");
    EXPECT_EQ(Hauptfenster::Relaisframe(0, 1, false), "00002");
    EXPECT_EQ(Hauptfenster::Relaisframe(17, 1, false), "00002");
}

TEST(Referenztemperatur, Sensorkennlinie_und_Aufteilung) {
    EXPECT_NEAR(Hauptfenster::Referenzsensor_Temperatur(1977), 25.0, 1e-9);
    // (R + 3) / 1980 = 1 + a (T - 25) + b (T - 25)^2 at 50 degrees
    const double r50 = 1980 * (1 + 0.00788 * 25 + 1.937e-5 * 625) - 3;
    EXPECT_NEAR(Hauptfenster::Referenzsensor_Temperatur(r50), 50.0, 1e-9);
    qint16 ganz = -1;
    double rest = -1;
    Hauptfenster::Referenz_aufteilen(23.456789, ganz, rest);
    EXPECT_EQ(ganz, 23);
    EXPECT_DOUBLE_EQ(rest, 0.4567);
    Hauptfenster::Referenz_aufteilen(-3.14159, ganz, rest);
    EXPECT_EQ(ganz, 0);
    EXPECT_DOUBLE_EQ(rest, -3.1415);
    Hauptfenster::Referenz_aufteilen(21, ganz, rest);
    EXPECT_EQ(ganz, 21);
    EXPECT_EQ(rest, 0);
}

namespace {
// A box scripted here, for replies the simulated box does not give.
struct Skriptbox {
    QTcpServer server;
    QList<QList<QByteArray>> antworten;  // per frame: the pieces of its reply
    QList<QByteArray> empfangen;
    Skriptbox() {
        server.listen(QHostAddress::LocalHost);
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            QTcpSocket* s = server.nextPendingConnection();
            s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            QObject::connect(s, &QTcpSocket::readyRead, [this, s] {
                empfangen << s->readAll();
                if (antworten.isEmpty())
                    return;
                const QList<QByteArray> stücke = antworten.takeFirst();
                for (int i = 0; i < stücke.size(); ++i)
                    QTimer::singleShot(i * 40, s, [s, t = stücke[i]] { s->write(t); });
            });
        });
    }
};

struct Abruf : ::testing::Test {
    Teststation station;
    std::unique_ptr<Hauptfenster> haupt;
    std::unique_ptr<Datenformat> format;
    std::unique_ptr<Datenlogger> logger;
    void verbinden(quint16 port) {
        qputenv("KESTRIX_Q7_PORT", QByteArray::number(port));
        haupt = std::make_unique<Hauptfenster>();
        haupt->messen->setText("Messung anhalten");
        Datenformat::Vorgaben_setzen();
        Datenlogger::Vorgaben_setzen();
        format = std::make_unique<Datenformat>();
        format->Listen_setzen();
        logger = std::make_unique<Datenlogger>();
        logger->Listen_setzen();
        Daten.Boxadresse = "127.0.0.1";
        ASSERT_EQ(haupt->Verbindung_öffnen(), Hauptfenster::Verbindung::hergestellt);
    }
};
}

TEST_F(Abruf, Einzelwert_in_zwei_Stuecken_wird_ganz_genommen) {
    Skriptbox box;
    box.antworten = {{"+1.2345", "6789E+00"}};
    verbinden(box.server.serverPort());
    QString wert;
    haupt->Keith2000_MeßwHolen(1, wert);
    EXPECT_EQ(wert, "+1.23456789E+00");
    EXPECT_TRUE(station.Protokollmeldungen().isEmpty());
}

TEST_F(Abruf, Ueberlaufwert_wird_sofort_genommen_andere_sieben_Bytes_warten_eine_Abfrage) {
    // The rest of a 15-byte value comes about 160 ms after its first 7 bytes:
    // after the first poll, before the second.
    Skriptbox box;
    box.antworten = {{"+9.9E37", "", "", "", "12345678"}, {"+1.2345", "", "", "", "6789E+00"}};
    verbinden(box.server.serverPort());
    QString überlauf, wert;
    haupt->Keith2000_MeßwHolen(1, überlauf);
    EXPECT_EQ(überlauf, "+9.9E37");
    QTest::qWait(300);
    haupt->Keith2000_MeßwHolen(1, wert);
    EXPECT_EQ(wert, "+1.23456789E+00");
}

TEST_F(Abruf, Einzelwert_falscher_Laenge_und_ohne_Antwort) {
    Skriptbox box;
    box.antworten = {{"+1.234567"}, {"ok"}};
    verbinden(box.server.serverPort());
    QString wert;
    haupt->Keith2000_MeßwHolen(1, wert);
    EXPECT_EQ(wert, "+9.9E37");
    haupt->messen->setText("Messung anhalten");
    QString zweiter;  // only two bytes come
    haupt->Keith2000_MeßwHolen(1, zweiter);
    EXPECT_EQ(zweiter, "+9.9E37");
    EXPECT_EQ(station.Protokollmeldungen(),
              (QStringList{"Bytesanzahl falsch bei Einzelwert holen: 9 von 7 bzw. 15",
                           "Timeout bei Einzelwert holen: 2 von 7 bzw. 15"}));
}

TEST_F(Abruf, Gepufferte_Werte_genau_so_lang_wie_angekuendigt) {
    Skriptbox box;
    // Header 33 = 32 bytes of values + 1: all 42 bytes make the fetch complete at once.
    box.antworten = {{"0000000033+1.00000000E+00,+2.00000000E+00,"}, {"ok"}};
    verbinden(box.server.serverPort());
    QElapsedTimer dauer;
    dauer.start();
    QString werte;
    haupt->Keith2000_MeßwHolen(2, werte);
    EXPECT_EQ(werte, "+1.00000000E+00,+2.00000000E+00,");
    EXPECT_LT(dauer.elapsed(), 300);
    EXPECT_TRUE(station.Protokollmeldungen().isEmpty());
    EXPECT_EQ(box.empfangen.last(), "00053!");
}

TEST_F(Abruf, Gepufferte_Werte_ein_Byte_zu_viel_und_ohne_Kopf) {
    Skriptbox box;
    box.antworten = {{"0000000033+1.00000000E+00,+2.00000000E+00,x"}, {"ok"}, {"ok"}, {"ok"}};
    verbinden(box.server.serverPort());
    QString werte;
    haupt->Keith2000_MeßwHolen(2, werte);
    EXPECT_EQ(werte, "+9.9E37,+9.9E37,");
    haupt->Keith2000_MeßwHolen(3, werte);
    EXPECT_EQ(werte, "+9.9E37,+9.9E37,+9.9E37,");
    EXPECT_EQ(station.Protokollmeldungen(),
              (QStringList{"Timeout bei Messwertholen. Messwerte nicht vollständig angekommen: 33 von 33",
                           "Timeout bei Warten auf MesswertHeader: 2 von 10",
                           "Timeout bei Messwertholen. Messwerte nicht vollständig angekommen: 2 von -9"}));
}

TEST_F(Abruf, Ausloesen_mit_Zeitstempeln_und_Relais_gegen_die_simulierte_Box) {
#ifndef Q7SIM_PFAD
    GTEST_SKIP() << "without the simulated box";
#endif
    Q7Sim box({"--signal", "C5=const:1.5"}, station.Programmverzeichnis() + "/frames.log");
    ASSERT_TRUE(box.läuft());
    verbinden(box.Port());
    Daten.Messblocktabelle[1].Messblockname = "Gleichspannung";
    Daten.Messblocktabelle[1].Funktionspräfix = ":VOLT:DC";
    Daten.Scanlistentabelle[1].Messblockname = "Gleichspannung";
    Daten.Scanlistentabelle[1].Gruppennummer = 3;
    Daten.Scanlistentabelle[1].Klemmennummer = 5;
    Daten.Scanlistentabelle[2].Messblockname = "unbekannt";
    haupt->Relais_schließen(1);
    haupt->Relais_schließen(2);  // a block that is not in the table closes nothing
    haupt->Keith2000_Einzel_MehrfachMsg("Einzelmessung", 1, 1, 1, 1);
    QString wert;
    haupt->Keith2000_MeßwHolen(1, wert);
    EXPECT_EQ(wert, "+1.50000000E+00");
    EXPECT_FALSE(Daten.Messwerttexte[1].Logzeit.isEmpty());
    EXPECT_FALSE(Daten.Messwerttexte[1].Zeilenanfang.isEmpty());
    haupt->Keith2000_Einzel_MehrfachMsg("Mehrfachmessung", 1, 3, 1, 2);
    haupt->Keith2000_Einzel_MehrfachMsg("Mehrfachmessung", 1, 3, 2, 3);
    EXPECT_TRUE(Daten.Messwerttexte[2].Zeilenanfang.isEmpty());
    haupt->Keith2000_Einzel_MehrfachMsg("Samplemessung", 4, 1, 1, 4);
    EXPECT_EQ(box.Frames(), (QList<QByteArray>{
                                "25002!", "00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r!", "00063!", "00073!",
                                "00043:TRAC:POIN 3\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 1\r:TRIG:COUN 3\r:INIT\r!",
                                "00063!", "00063!",
                                "00043:TRAC:POIN 4\r:TRAC:FEED:CONT NEXT\r:SAMP:COUN 4\r:TRIG:COUN 1\r:INIT\r!",
                                "00063!"}));
}

TEST_F(Abruf, Referenztemperatur_Grenzen_und_Ueberlauf) {
    Skriptbox box;
    const double r50 = 1980 * (1 + 0.00788 * 24.9 + 1.937e-5 * 24.9 * 24.9) - 3;
    const QByteArray fünfzig = QByteArray::number(r50, 'E', 8);  // 49.9 degrees
    const double r60 = 1980 * (1 + 0.00788 * 35 + 1.937e-5 * 1225) - 3;
    const QByteArray sechzig = QByteArray::number(r60, 'E', 8);
    box.antworten = {{fünfzig + "," + fünfzig + "," + fünfzig + "," + fünfzig},
                     {sechzig + "," + sechzig + "," + sechzig + "," + sechzig},
                     {"+1.97700000E+03,+9.9E37,+1.97700000E+03,+1.97700000E+03"}};
    verbinden(box.server.serverPort());
    auto* hinweis = new Hinweisform(haupt.get());
    qint16 ganz = -1;
    double rest = -7;
    haupt->Keith2000_RefTemp(ganz, rest);
    EXPECT_EQ(ganz, 49);
    EXPECT_NEAR(rest, 0.9, 1e-3);
    EXPECT_FALSE(hinweis->isVisibleTo(haupt.get()));

    int gedrückt = 0;
    QObject::connect(haupt->messen, &QPushButton::clicked, [&] { ++gedrückt; });
    rest = -7;
    haupt->Keith2000_RefTemp(ganz, rest);
    EXPECT_EQ(ganz, 50);
    EXPECT_EQ(rest, -7);  // left as it was
    EXPECT_EQ(hinweis->Label1->text(), QString::fromUtf8("Thermoelement- Referenztemperatur       > 50°C!"));
    EXPECT_EQ(gedrückt, 1);
    hinweis->Command3->click();

    haupt->Keith2000_RefTemp(ganz, rest);  // the second reading overflows: mean is T1 / 4
    EXPECT_EQ(hinweis->Label1->text(), QString::fromUtf8("keine Thermoelement-Referenz- Temperaturmess. mögl.! "));
    EXPECT_EQ(gedrückt, 2);
    EXPECT_EQ(ganz, 6);
    EXPECT_DOUBLE_EQ(rest, 0.25);
}
