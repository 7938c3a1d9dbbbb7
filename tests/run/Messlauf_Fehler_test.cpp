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
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* innen = server_.nextPendingConnection())
                annehmen(innen);
        });
    }
    quint16 Port() const { return server_.serverPort(); }

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
