// Faults of the box during whole runs: silence, replies only to repeats,
// fetches of the wrong length or in pieces, no multimeter, an empty scan
// list, a reference temperature out of range. Each with its run-log lines.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

#include "Messlauf_Testhilfe.h"
#include "platform/Twips.h"
#include "project/Hinweisform.h"

namespace {
const QString Keine_Antwort = QString::fromUtf8("keine Antwort vom Gerät bei folgendem Befehl: ");
const QString Netzwerk_Timeout = "Netzwerk-Timeout, Messung wird neu gestartet, Befehl:  ";

// Sits between the run and the box: every frame goes on to the box (which
// logs it), its reply comes back unless the box is to be silent, and the
// reply to one chosen code can be split in two pieces with a gap.
class Zwischenstueck {
public:
    explicit Zwischenstueck(quint16 boxport) : boxport_(boxport) {
        server_.listen(QHostAddress::LocalHost);
        port_ = server_.serverPort();
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* innen = server_.nextPendingConnection())
                annehmen(innen);
        });
    }
    quint16 Port() const { return port_; }
    // Closed, a connection to the port is refused; opened again on the same port.
    void schließen() { server_.close(); }
    bool öffnen() { return server_.listen(QHostAddress::LocalHost, port_); }

    bool stumm = false;
    int Verbindungen = 0;
    // Called with each frame of the run before it goes on; may change 'stumm'.
    std::function<void(const QByteArray& frame)> beim_Frame;
    // Called when the run connects, with the number of this connection.
    std::function<void(int nummer)> beim_Verbinden;
    QByteArray teilen_bei;  // code whose reply is split
    int teilen_nach = 7;
    int teilen_Lücke_ms = 150;

private:
    void annehmen(QTcpSocket* innen) {
        ++Verbindungen;
        if (beim_Verbinden)
            beim_Verbinden(Verbindungen);
        innen->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        auto* außen = new QTcpSocket(innen);
        außen->connectToHost(QHostAddress::LocalHost, boxport_);
        auto eingang = std::make_shared<QByteArray>();
        auto letzter = std::make_shared<QByteArray>();
        QObject::connect(außen, &QTcpSocket::connected, [außen] {
            außen->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        });
        QObject::connect(innen, &QTcpSocket::readyRead, [=, this] {
            const QByteArray daten = innen->readAll();
            *eingang += daten;
            qsizetype ende;
            while ((ende = eingang->indexOf('!')) >= 0) {
                const QByteArray frame = eingang->left(ende + 1);
                eingang->remove(0, ende + 1);
                *letzter = frame;
                if (beim_Frame)
                    beim_Frame(frame);
                außen->write(frame);
            }
        });
        QObject::connect(außen, &QTcpSocket::readyRead, [=, this] {
            const QByteArray antwort = außen->readAll();
            if (stumm)
                return;
            if (!teilen_bei.isEmpty() && letzter->startsWith(teilen_bei) && antwort.size() > teilen_nach) {
                innen->write(antwort.left(teilen_nach));
                QPointer<QTcpSocket> ziel(innen);
                QTimer::singleShot(teilen_Lücke_ms, [ziel, rest = antwort.mid(teilen_nach)] {
                    if (ziel)
                        ziel->write(rest);
                });
                return;
            }
            innen->write(antwort);
        });
        QObject::connect(innen, &QTcpSocket::disconnected, innen, &QObject::deleteLater);
        QObject::connect(innen, &QTcpSocket::errorOccurred, innen, [innen] { innen->deleteLater(); });
    }

    QTcpServer server_;
    quint16 boxport_;
    quint16 port_ = 0;
};

struct Messlauf_Fehler : Messlaufstation {
    std::unique_ptr<Zwischenstueck> zwischen;

    // The box behind the piece in the middle: the run talks to the piece.
    void mit_Zwischenstueck(const QStringList& argumente) {
        starten(argumente);
        zwischen = std::make_unique<Zwischenstueck>(box->Port());
        qputenv("KESTRIX_Q7_PORT", QByteArray::number(zwischen->Port()));
    }
    QString block(int b) const { return Daten.Messblocktabelle[b].Messblockname.text(); }
    QStringList protokoll() const { return station.Protokollmeldungen(); }
    // The run log without the lines before the run started.
    QStringList lauf_protokoll() const {
        QStringList p = protokoll();
        return p.mid(std::max<qsizetype>(0, p.indexOf("Messung gestartet")));
    }
    void stoppdatei() { Teststation::Datei_schreiben(station.Wurzel() + "/d/Ende.txt", ""); }
    // Watches the notice window: every text it showed, with both buttons hidden or not.
    QStringList hinweise;
    void hinweise_beobachten() {
        auto* blick = new QTimer(haupt);
        QObject::connect(blick, &QTimer::timeout, [this] {
            Hinweisform* h = Fenster.Hinweisform;
            if (!h || h->isHidden())
                return;
            const QString eintrag = h->Label1->text() + (h->Command1->isHidden() ? "" : " [1]") +
                                    (h->Command3->isHidden() ? "" : " [" + h->Command3->text() + "]");
            if (hinweise.isEmpty() || hinweise.last() != eintrag)
                hinweise << eintrag;
        });
        blick->start(5);
    }
};

const QByteArray Einzel = "00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r!";
}  // namespace

TEST_F(Messlauf_Fehler, Box_verstummt_im_Lauf_wird_neu_gestartet_bis_sie_wieder_antwortet) {
    MBForm1::Meßblockvar_vorbeleg();
    mit_Zwischenstueck({"--signal", "A1=const:1.5"});
    eintrag(1, 1, 1, block(1), "U1");
    Daten.Datenformatsatz.max = 1;
    Takt_ms(100);
    hinweise_beobachten();
    // Silent from the third trigger on, and for the whole second connection.
    int auslöser = 0;
    zwischen->beim_Frame = [&](const QByteArray& f) {
        if (f == "00063!" && ++auslöser == 3)
            zwischen->stumm = true;
    };
    QElapsedTimer zeit;
    qint64 verstummt = -1, neu_verbunden = -1;
    zwischen->beim_Verbinden = [&](int n) {
        if (n == 2)
            neu_verbunden = zeit.elapsed();
        if (n == 3)
            zwischen->stumm = false;
    };
    auto* wächter = new QTimer(haupt);
    int höchstens = 0;
    QObject::connect(wächter, &QTimer::timeout, [&] {
        höchstens = std::max(höchstens, haupt->Läufe_aktiv());
        if (verstummt < 0 && protokoll().contains(Netzwerk_Timeout + "00063"))
            verstummt = zeit.elapsed();
        if (zwischen->Verbindungen == 3 && box->Frames().count("00073!") >= 4)
            stoppdatei();
    });
    wächter->start(5);
    zeit.start();
    haupt->messen->click();
    ASSERT_TRUE(warten_bis([&] { return station.Ende.Aufrufe == 1 && haupt->Läufe_aktiv() == 0; }, 20000));

    EXPECT_EQ(lauf_protokoll(), (QStringList{"Messung gestartet", Keine_Antwort + "00063", Netzwerk_Timeout + "00063",
                                             "Timeout bei Einzelwert holen: 0 von 7 bzw. 15",
                                             "automatischer Neustart der Messung", Keine_Antwort + "00051",
                                             Netzwerk_Timeout + "00051", "automatischer Neustart der Messung"}));
    EXPECT_EQ(hinweise.value(0), "Netzwerk-Timeout, Messung wird neu gestartet!");
    EXPECT_EQ(höchstens, 1);
    // The restart 2 s after the time-out (the connection follows half a second later).
    EXPECT_GE(neu_verbunden - verstummt, 2400);
    EXPECT_LT(neu_verbunden - verstummt, 3500);

    const QByteArray init = ("00043" + this->init(block(1)) + "!").toLatin1();
    const QList<QByteArray> scan = {"11002!", Einzel, "00063!", "00073!"};
    QList<QByteArray> erwartet = {"00051!", "00013!", "00023!", "11002!", init, Einzel, "00063!", "00073!"};
    erwartet += scan;
    // silent: the trigger once more, then nothing, not even the end sequence
    erwartet += {"11002!", Einzel, "00063!", "00063!"};
    erwartet += {"00051!", "00051!"};  // the restart meets silence too
    erwartet += {"00051!", "00013!", "00023!", "11002!", init, Einzel, "00063!", "00073!"};
    const QList<QByteArray> frames = box->Frames();
    ASSERT_GE(frames.size(), erwartet.size() + 2);
    EXPECT_EQ(frames.mid(0, erwartet.size()), erwartet);
    EXPECT_EQ(frames.mid(frames.size() - 2), (QList<QByteArray>{"00002!", "00093!"}));
    EXPECT_EQ(Daten.Messwerttexte[1].Anzeigetext, Daten.Trennzeichen + "+1.50000000E+00");
}

TEST_F(Messlauf_Fehler, Fuenf_Neustarts_gegen_eine_stumme_Box_lassen_einen_Lauf_und_ein_bedienbares_Fenster) {
    MBForm1::Meßblockvar_vorbeleg();
    mit_Zwischenstueck({"--signal", "A1=const:2.5"});
    eintrag(1, 1, 1, block(1), "U1");
    Daten.Datenformatsatz.max = 1;
    Takt_ms(50);
    // Accepts every connection; the first six meet silence, the seventh an answer.
    zwischen->stumm = true;
    zwischen->beim_Verbinden = [&](int n) { zwischen->stumm = n < 7; };
    int höchstens = 0;
    QElapsedTimer zeit;
    qint64 letzter_Takt = 0, längste_Lücke = 0;
    // A power failure while a restart is pending must find the run recorded.
    const QString stromaus = Pfade::lokal("c:\\kestrix\\intern\\Stromaus\\" + Daten.Projektname);
    int anstehend = 0, gelöscht = 0;
    auto* wächter = new QTimer(haupt);
    QObject::connect(wächter, &QTimer::timeout, [&] {
        längste_Lücke = std::max(längste_Lücke, zeit.elapsed() - letzter_Takt);
        letzter_Takt = zeit.elapsed();
        höchstens = std::max(höchstens, haupt->Läufe_aktiv());
        if (haupt->Restarttimer->isActive()) {
            ++anstehend;
            gelöscht += Teststation::Datei_lesen(stromaus).left(2) != QByteArray("\x01\x00", 2);
        }
        if (zwischen->Verbindungen == 7 && box->Frames().count("00073!") >= 2)
            stoppdatei();
    });
    zeit.start();
    wächter->start(20);
    haupt->messen->click();
    ASSERT_TRUE(warten_bis([&] { return station.Ende.Aufrufe == 1 && haupt->Läufe_aktiv() == 0; }, 30000));

    EXPECT_EQ(höchstens, 1);
    EXPECT_LT(längste_Lücke, 300);  // the window kept processing its events throughout
    EXPECT_GT(anstehend, 10);
    EXPECT_EQ(gelöscht, 0);
    QStringList erwartet{"Messung gestartet"};
    for (int i = 0; i < 6; ++i) {
        if (i > 0)
            erwartet << "automatischer Neustart der Messung";
        erwartet << Keine_Antwort + "00051" << Netzwerk_Timeout + "00051";
    }
    erwartet << "automatischer Neustart der Messung";
    EXPECT_EQ(lauf_protokoll(), erwartet);
    EXPECT_EQ(Daten.Messwerttexte[1].Anzeigetext, Daten.Trennzeichen + "+2.50000000E+00");
    EXPECT_EQ(box->Frames().mid(0, 12), QList<QByteArray>(12, "00051!"));
}

TEST_F(Messlauf_Fehler, Box_die_nur_wiederholte_Frames_beantwortet) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--repeat-only", "--signal", "A1=const:1.25"});
    eintrag(1, 1, 1, block(1), "U1");
    Daten.Datenformatsatz.max = 1;
    Takt_ms(100);
    nach_scans_beenden(1);
    haupt->messen->click();
    ASSERT_TRUE(warten_bis([&] { return haupt->Läufe_aktiv() == 0; }, 20000));

    // Every frame waits five ticks and is sent twice; nothing times out.
    const QString init = this->init(block(1));
    QStringList erwartet{"Messung gestartet"};
    for (const QString& b : {QString("00051"), QString("00013"), QString("00023"), QString("11002"), "00043" + init,
                             QString("00043:SAMP:COUN 1\r:TRIG:COUN 1\r:INIT\r"), QString("00063"),
                             QString("00073")})
        erwartet << Keine_Antwort + b;
    ASSERT_GE(lauf_protokoll().size(), erwartet.size());
    EXPECT_EQ(lauf_protokoll().mid(0, erwartet.size()), erwartet);
    EXPECT_TRUE(lauf_protokoll().filter("Timeout").isEmpty());
    EXPECT_EQ(lauf_protokoll().mid(lauf_protokoll().size() - 2),
              (QStringList{Keine_Antwort + "00002", Keine_Antwort + "00093"}));
    EXPECT_EQ(Daten.Messwerttexte[1].Anzeigetext, Daten.Trennzeichen + "+1.25000000E+00");
    EXPECT_EQ(station.Ende.Aufrufe, 1);
    const QList<QByteArray> frames = box->Frames();
    ASSERT_GE(frames.size(), 4);
    EXPECT_EQ(frames.mid(0, 4), (QList<QByteArray>{"00051!", "00051!", "00013!", "00013!"}));
}

TEST_F(Messlauf_Fehler, Gepufferter_Abruf_ohne_Kopf_ist_ein_Netzwerk_Timeout) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--silent-on", "00083"});
    for (int i = 1; i <= 3; ++i)
        eintrag(i, 1, i, block(1), "U" + QString::number(i));
    Daten.Datenformatsatz.max = 1;
    Takt_ms(100);
    haupt->messen->click();
    ASSERT_TRUE(warten_bis([&] { return haupt->Läufe_aktiv() == 0; }, 20000));
    haupt->Restarttimer->stop();

    // The polls run out after the link is dead: header and completeness are both reported.
    EXPECT_EQ(lauf_protokoll(),
              (QStringList{"Messung gestartet", Keine_Antwort + "00083", Netzwerk_Timeout + "00083",
                           "Timeout bei Warten auf MesswertHeader: 0 von 10",
                           QString::fromUtf8("Timeout bei Messwertholen. Messwerte nicht vollständig angekommen: 0 von -9")}));
    const QList<QByteArray> frames = box->Frames();
    ASSERT_GE(frames.size(), 2);
    // Neither "00053" nor the end sequence reach the box.
    EXPECT_EQ(frames.mid(frames.size() - 3), (QList<QByteArray>{"00063!", "00083!", "00083!"}));
    EXPECT_EQ(haupt->messen->text(), "Messung starten");
}

TEST_F(Messlauf_Fehler, Abrufe_falscher_Laenge_werden_gemeldet_und_als_fehlend_geschrieben) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--wrong-length", "--signal", "A1=const:1.5", "--signal", "A2=const:1.5", "--signal", "A3=const:1.5"});
    for (int i = 1; i <= 3; ++i)
        eintrag(i, 1, i, block(1), "U" + QString::number(i));
    eintrag(4, 1, 4, block(3), "R4");
    Daten.Datenformatsatz.max = 1;
    nach_scans_beenden(4);  // two fetches a scan
    haupt->messen->click();
    ASSERT_TRUE(warten_bis([&] { return haupt->Läufe_aktiv() == 0; }, 20000));

    // Header 50 announces 50 bytes after it, 48 come (three values of 16).
    const QString gepuffert =
        QString::fromUtf8("Timeout bei Messwertholen. Messwerte nicht vollständig angekommen: 48 von 50");
    const QString einzeln = "Bytesanzahl falsch bei Einzelwert holen: 10 von 7 bzw. 15";
    EXPECT_EQ(lauf_protokoll(), (QStringList{"Messung gestartet", gepuffert, einzeln, gepuffert, einzeln}))
        << lauf_protokoll().join(" | ").toStdString();
    EXPECT_EQ(Daten.Messwerttexte[3].Anzeigetext, Daten.Trennzeichen + "+9.9E37,+9.9E37,+9.9E37,");
    EXPECT_EQ(Daten.Messwerttexte[4].Anzeigetext, Daten.Trennzeichen + "+9.9E37");
}

TEST_F(Messlauf_Fehler, Einzelwert_in_zwei_Stuecken_wird_beim_naechsten_Blick_ganz_genommen) {
    MBForm1::Meßblockvar_vorbeleg();
    mit_Zwischenstueck({"--signal", "A1=const:1.23456789"});
    // 7 bytes now, 8 after 150 ms: a poll sees the 7, the next one the whole value.
    zwischen->teilen_bei = "00073";
    eintrag(1, 1, 1, block(1), "U1");
    Daten.Datenformatsatz.max = 1;
    nach_scans_beenden(2);
    haupt->messen->click();
    ASSERT_TRUE(warten_bis([&] { return haupt->Läufe_aktiv() == 0; }, 20000));
    EXPECT_EQ(lauf_protokoll(), QStringList{"Messung gestartet"});
    EXPECT_EQ(Daten.Messwerttexte[1].Anzeigetext, Daten.Trennzeichen + "+1.23456789E+00");
}

TEST_F(Messlauf_Fehler, Ohne_Multimeter_bleibt_die_angehaltene_Ansicht_bis_zum_Beenden) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--no-meter"});
    eintrag(1, 1, 1, block(1), "U1");
    haupt->messen->click();
    ASSERT_EQ(haupt->Läufe_aktiv(), 0);
    EXPECT_EQ(haupt->messen->text(), "Messung beenden");
    EXPECT_TRUE(haupt->messen->isEnabled());
    EXPECT_FALSE(haupt->Command1->isHidden());
    EXPECT_FALSE(haupt->Frame1->isHidden());
    EXPECT_EQ(haupt->List1->height(), Twips::px(2010));
    EXPECT_EQ(box->Frames(), (QList<QByteArray>{"00051!", "00013!", "00023!", "00002!", "00093!"}));
    EXPECT_EQ(lauf_protokoll(), (QStringList{"Messung gestartet", "Messung angehalten"}));

    haupt->messen->click();  // the operator ends it
    EXPECT_EQ(lauf_protokoll(), (QStringList{"Messung gestartet", "Messung angehalten", "Messung beendet"}));
    EXPECT_EQ(haupt->messen->text(), "Messung starten");
    EXPECT_TRUE(haupt->messen->isEnabled());
    EXPECT_TRUE(haupt->Command1->isHidden());
    EXPECT_FALSE(haupt->programmieren->isHidden());
    // idle again: the stop file is seen by the idle check
    stoppdatei();
    EXPECT_TRUE(warten_bis([&] { return station.Ende.Aufrufe == 1; }, 3000));
}

TEST_F(Messlauf_Fehler, Ohne_Multimeter_beginnt_weiter_den_Lauf_neu) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({"--no-meter"});
    eintrag(1, 1, 1, block(1), "U1");
    haupt->messen->click();
    ASSERT_FALSE(haupt->Command1->isHidden());
    haupt->Command1->click();  // " weiter": the meter is asked again
    EXPECT_EQ(lauf_protokoll(), (QStringList{"Messung gestartet", "Messung angehalten", "Messung fortgesetzt",
                                             "Messung gestartet", "Messung angehalten"}));
    EXPECT_EQ(box->Frames().count("00023!"), 2);
    EXPECT_EQ(haupt->Läufe_aktiv(), 0);
    // Still no meter: the paused look again, never a running look with no run.
    EXPECT_EQ(haupt->messen->text(), "Messung beenden");
    EXPECT_FALSE(haupt->Command1->isHidden());
}

TEST_F(Messlauf_Fehler, Leere_Scanliste_meldet_und_beendet_den_Lauf) {
    MBForm1::Meßblockvar_vorbeleg();
    starten({});
    hinweise_beobachten();
    haupt->messen->click();
    EXPECT_EQ(lauf_protokoll(), (QStringList{"Messung gestartet", "Messung angehalten", "Messung beendet"}));
    EXPECT_EQ(hinweise, QStringList{QString::fromUtf8(
                            "Sie müssen mind. 1 Signal im Fenster \"Kanalbelegung\" eintragen! [Ok]")});
    EXPECT_EQ(box->Frames(), (QList<QByteArray>{"00051!", "00013!", "00023!", "00002!", "00093!"}));
    EXPECT_EQ(haupt->messen->text(), "Messung starten");
    EXPECT_FALSE(haupt->Restarttimer->isActive());
    EXPECT_FALSE(haupt->isEnabled());  // until the notice is acknowledged
    Fenster.Hinweisform->Command3->click();
    EXPECT_TRUE(haupt->messen->isEnabled());
}

namespace {
struct Referenztemperatur_Lauf : Messlauf_Fehler {
    // One thermocouple entry; the reference temperature is measured in every scan.
    void thermoelement() {
        MBForm1::Meßblockvar_vorbeleg();
        Messblocksatz& b = Daten.Messblocktabelle[9];  // in place of the pulse counter
        b.Gerätetyp = 1;
        b.Messblockname = QString("Thermo K");
        b.Funktionsname = QString("Thermoelement K");
        b.Funktionsnummer = 16;
        b.Funktionspräfix = QString(":TEMP");
        b.Bereich = 1;
        b.Integrationszeit = 4;
        b.Anzeige = 3;
        b.Autozero = 1;
        eintrag(1, 1, 1, "Thermo K", "T1");
        Daten.RefTempMeasurement = "1";
        Daten.Datenformatsatz.max = 1;
        QFile::remove(station.Wurzel() + "/d/Daten.txt");
    }
    // The run pauses itself after the entry; the operator acknowledges the
    // notice and ends the run.
    void quittieren_und_beenden() {
        auto* bediener = new QTimer(haupt);
        QObject::connect(bediener, &QTimer::timeout, [this, bediener] {
            if (Daten.Pausenmerker != 1 || haupt->Command1->isHidden())
                return;
            bediener->stop();
            Fenster.Hinweisform->Command3->click();
            haupt->messen->click();
        });
        bediener->start(10);
    }
    QByteArray initframe() const {
        for (const QByteArray& f : box->Frames())
            if (f.startsWith("00043:FUNC"))
                return f;
        return {};
    }
};
}  // namespace

TEST_F(Referenztemperatur_Lauf, Ueber_50_Grad_meldet_haelt_an_und_gibt_dem_Messgeraet_50) {
    thermoelement();
    starten({"--reftemp", "60"});
    hinweise_beobachten();
    quittieren_und_beenden();
    haupt->messen->click();  // returns when the run has ended

    EXPECT_EQ(hinweise.value(0), QString::fromUtf8("Thermoelement- Referenztemperatur       > 50°C!") + " [Ok]");
    EXPECT_EQ(lauf_protokoll(), (QStringList{"Messung gestartet", "Messung angehalten", "Messung beendet"}));
    EXPECT_TRUE(initframe().contains(":TEMP:TC:RJUN:SIM 50\r")) << initframe().toStdString();
    const QList<QByteArray> frames = box->Frames();
    EXPECT_EQ(frames.mid(0, 5), (QList<QByteArray>{"00051!", "00013!", "00023!", "00033!", "11002!"}));
    EXPECT_EQ(frames.mid(frames.size() - 2), (QList<QByteArray>{"00002!", "00093!"}));
    // paused at the end of the scan: no data line
    EXPECT_FALSE(QFile::exists(station.Wurzel() + "/d/Daten.txt"));
}

TEST_F(Referenztemperatur_Lauf, Ueberlauf_des_Referenzfuehlers_meldet_einmal_und_rechnet_mit_null) {
    thermoelement();
    starten({"--reftemp", "1e30"});  // every reading of the sensor overflows
    hinweise_beobachten();
    quittieren_und_beenden();
    haupt->messen->click();  // returns when the run has ended

    EXPECT_EQ(hinweise,
              QStringList{QString::fromUtf8("keine Thermoelement-Referenz- Temperaturmess. mögl.! ") + " [Ok]"});
    EXPECT_EQ(lauf_protokoll(), (QStringList{"Messung gestartet", "Messung angehalten", "Messung beendet"}));
    EXPECT_TRUE(initframe().contains(":TEMP:TC:RJUN:SIM 0\r")) << initframe().toStdString();
    EXPECT_EQ(Daten.Referenztemperatur, 0);
    EXPECT_EQ(box->Frames().count("00033!"), 1);
}

TEST_F(Referenztemperatur_Lauf, Antworten_in_Stuecken_werden_erst_ganz_gelesen) {
    MBForm1::Meßblockvar_vorbeleg();
    const Messblocksatz impuls = Daten.Messblocktabelle[9];  // read with 00041
    thermoelement();
    Daten.Messblocktabelle[10] = impuls;
    Daten.Messblocktabelle[10].Gerätetyp = 0;
    Daten.Messblocktabelle[10].Messblockname = QString("Puls");
    Daten.Messblocktabelle[11].Messblockname = QString("neu");
    eintrag(2, 1, 2, "Puls", "P1");
    // Every reply in three pieces: late pieces of one reply reach the program
    // while it waits for the next.
    starten({"--chunks", "3", "--chunk-gap-ms", "50", "--signal", "T:1000000050000=const:12.5"});
    nach_scans_beenden(3);
    haupt->messen->click();
    ASSERT_TRUE(warten_bis([&] { return haupt->Läufe_aktiv() == 0; }, 30000));

    EXPECT_EQ(lauf_protokoll(), QStringList{"Messung gestartet"});
    EXPECT_NEAR(Daten.Referenztemperatur, 23.5, 0.05);
    EXPECT_EQ(haupt->TVariable, "1.250000E+01");
    EXPECT_GE(box->Frames().count("00033!"), 3);
}

TEST_F(Messlauf_Fehler, Unerreichbare_Box_meldet_bricht_ab_und_startet_neu_bis_sie_erreichbar_ist) {
    MBForm1::Meßblockvar_vorbeleg();
    mit_Zwischenstueck({"--signal", "A1=const:0.75"});
    zwischen->schließen();  // every connection refused
    eintrag(1, 1, 1, block(1), "U1");
    Daten.Datenformatsatz.max = 1;
    Takt_ms(100);
    hinweise_beobachten();
    bool geöffnet = false;
    auto* wächter = new QTimer(haupt);
    QObject::connect(wächter, &QTimer::timeout, [&] {
        if (!geöffnet && protokoll().contains("automatischer Neustart der Messung")) {
            geöffnet = zwischen->öffnen();
        }
        if (box->Frames().count("00073!") >= 1)
            stoppdatei();
    });
    wächter->start(5);
    haupt->messen->click();
    ASSERT_TRUE(warten_bis([&] { return station.Ende.Aufrufe == 1 && haupt->Läufe_aktiv() == 0; }, 20000));

    EXPECT_EQ(lauf_protokoll(), (QStringList{"Messung gestartet", "Winsock Fehler: 10061  Verbindung abgelehnt",
                                             "Messung abgebrochen", "automatischer Neustart der Messung"}));
    // shown with "Ok" for two seconds, then without, until the restart
    EXPECT_EQ(hinweise, (QStringList{QString::fromUtf8("Messgerät nicht mehr verfügbar! [Ok]"),
                                     QString::fromUtf8("Messgerät nicht mehr verfügbar!")}));
    EXPECT_EQ(box->Frames().mid(0, 3), (QList<QByteArray>{"00051!", "00013!", "00023!"}));
    EXPECT_EQ(Daten.Messwerttexte[1].Anzeigetext, Daten.Trennzeichen + "+7.50000000E-01");
}
