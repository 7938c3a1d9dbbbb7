#include "run/Hauptfenster.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QtEndian>

#include <cmath>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Protokolldatei.h"
#include "common/Zahltext.h"
#include "platform/Text1252.h"
#include "platform/Twips.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "project/Hinweisform.h"
#include "calc/Datenreihenfolge.h"
#include "calc/Scanlist.h"
#include "platform/Pfade.h"
#include "points/Messstellentabellen.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"

namespace {
QPushButton* knopf(QWidget* eltern, const char* name, const QString& text, int l, int t, int w, int h) {
    auto* k = new QPushButton(text, eltern);
    k->setObjectName(name);
    Twips::Geometrie(k, l, t, w, h);
    return k;
}

QLabel* beschriftung(QWidget* eltern, const char* name, const QString& text, int l, int t, int w, int h) {
    auto* b = new QLabel(text, eltern);
    b->setObjectName(name);
    Twips::Geometrie(b, l, t, w, h);
    return b;
}
}

Hauptfenster::Hauptfenster(QWidget* eltern) : QWidget(eltern) {
    Fenster.Hauptfenster = this;
    setObjectName("Hauptfenster");
    setAutoFillBackground(true);
    setWindowTitle("Kestrix");

    auto* titel = beschriftung(this, "Label7", "Kestrix Q7 Messprogramm", 120, 60, 4500, 330);
    QFont f = titel->font();
    f.setBold(true);
    titel->setFont(f);

    messen = knopf(this, "messen", "Messung starten", 120, 480, 2200, 600);
    Command1 = knopf(this, "Command1", " weiter", 2460, 480, 1100, 600);
    Command1->hide();
    programmieren = knopf(this, "programmieren", "Programmieren", 120, 1200, 2200, 600);
    Ende = knopf(this, "Ende", "Abschalten", 2460, 1200, 2200, 600);

    Label21 = beschriftung(this, "Label21", "", 120, 1920, 4500, 285);
    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Twips::Geometrie(Text1, 120, 2280, 4500, 330);
    Label6 = beschriftung(this, "Label6", "", 120, 2700, 2000, 285);
    Label12 = beschriftung(this, "Label12", "", 120, 3000, 2000, 285);
    Label50 = beschriftung(this, "Label50", "", 2200, 3000, 1000, 285);

    Shape2 = new QFrame(this);
    Shape2->setObjectName("Shape2");
    Shape2->setStyleSheet("background-color: #ffff00; border: 1px solid black;");
    Twips::Geometrie(Shape2, 4320, 2700, 300, 300);
    Shape2->hide();

    updatetimer = new QTimer(this);
    updatetimer->setInterval(1000);
    Messunganhalttimer = new QTimer(this);
    Messunganhalttimer->setInterval(3000);
    Restarttimer = new QTimer(this);

    connect(updatetimer, &QTimer::timeout, this, &Hauptfenster::updatetimer_Timer);
    connect(Ende, &QPushButton::clicked, this, &Hauptfenster::Ende_Click);

    Netzwerktimeout_Wiederanlauf = [this] {
        // Until the run control registers its recovery: tell the operator and drop the link.
        if (Fenster.Hinweisform)
            Fenster.Hinweisform->zeigen(nullptr, "Netzwerk-Timeout, Messung wird neu gestartet!", {}, {});
        Winsock2_zerstören();
    };
}

Hauptfenster::~Hauptfenster() {
    Winsock2_zerstören();
    if (Fenster.Hauptfenster == this)
        Fenster.Hauptfenster = nullptr;
}

void Hauptfenster::Form_Load() {
    Protokolldatei_schreiben("Programm gestartet");
    Twips::Geometrie(this, 0, 0, 4850, 3650);
    RamD_von_update_befreien();
    updatetimer->setInterval(1000);
    updatetimer->start();
    Daten.Stromausfallmerker = 0;  // the project load reads it back
    ::Variablen_initialisieren();

    Projekt* projekt = Fenster.Projekt;
    if (!projekt)
        return;
    projekt->Geräteliste_erstellen();
    projekt->Projektverz_anleg();
    projekt->Projname_Datei_anleg();
    projekt->Projektname_aus_Datei_holen();
    const QString kommandozeile = QCoreApplication::arguments().mid(1).join(' ');
    const QString projektname = kommandozeile.mid(kommandozeile.indexOf(QRegularExpression("[^ ]")));
    if (!kommandozeile.trimmed().isEmpty()) {
        Daten.Projektname = projektname;
        QSaveFile datei(Pfade::lokal("c:\\kestrix\\intern\\projbez\\projekt.kxp"));
        if (datei.open(QIODevice::WriteOnly)) {
            datei.write(Text1252::kodieren(Daten.Projektname + "\r\n"));
            datei.commit();
        }
        Stromausfall_speichern(1);
    }
    projekt->noname01_speichern();
    projekt->Label1->setText(Daten.Projektname);
    projekt->alle_Daten_aus_Dateien_holen();
    projekt->Gerät_in_Geräteliste();
    projekt->Knöpfe_initialisieren();
    projekt->MBForminitialisieren();

    if (Fenster.Scanlist) {
        Fenster.Scanlist->Scanliste_auffrischen();
        Fenster.Scanlist->Scanl_Knöpfe_setzen();
    }
    if (Fenster.Datenreihenfolge) {
        Fenster.Datenreihenfolge->Aufzliste_aus_Puffer_erstellen();
        Fenster.Datenreihenfolge->Aufz_Knöpfe_setzen();
    }
    if (Fenster.Datenformat)
        Fenster.Datenformat->Listen_setzen();
    if (Fenster.Datenlogger)
        Fenster.Datenlogger->Listen_setzen();
    Daten.Headermerker = 0;
}

void Hauptfenster::Form_Unload() { Protokolldatei_schreiben("Programm beendet"); }

void Hauptfenster::Editoren_auffrischen() {
    if (Fenster.Scanlist)
        Fenster.Scanlist->Scanliste_auffrischen();
    if (Fenster.Datenreihenfolge)
        Fenster.Datenreihenfolge->Aufzliste_aus_Puffer_erstellen();
    if (Fenster.Scanlist)
        Fenster.Scanlist->Scanl_Knöpfe_setzen();
    if (Fenster.Datenreihenfolge)
        Fenster.Datenreihenfolge->Aufz_Knöpfe_setzen();
    if (Fenster.Datenformat)
        Fenster.Datenformat->Listen_setzen();
    if (Fenster.Datenlogger)
        Fenster.Datenlogger->Listen_setzen();
}

void Hauptfenster::Stromausfall_speichern(qint16 Zustand) {
    // A record of two bytes; the program takes no action when it cannot be written.
    QFile datei(Pfade::lokal("c:\\kestrix\\intern\\Stromaus\\" + Daten.Projektname));
    if (!datei.open(QIODevice::ReadWrite))
        return;
    char satz[2];
    qToLittleEndian(Zustand, satz);
    datei.write(satz, 2);
}

void Hauptfenster::RamD_von_update_befreien() {
    QFile::remove(Pfade::lokal(Daten.Ramdisk1.roh() + "update.exe"));
}

quint16 Hauptfenster::Boxport() {
    bool ok = false;
    const int port = qEnvironmentVariable("KESTRIX_Q7_PORT").toInt(&ok);
    return ok && port > 0 && port < 65536 ? static_cast<quint16>(port) : 7;
}

// ---- command link -----------------------------------------------------------

void Hauptfenster::senden(const QString& Befehl) {
    if (!Winsock2_1)
        return;
    Winsock2_1->write(Text1252::kodieren(Befehl + "!"));
    Winsock2_1->flush();
}

void Hauptfenster::TCPIPBefehl_mit_Antwort(const QString& Befehl) {
    if (Daten.Timeoutzähler == 10)
        return;
    Letztantwort.clear();
    AntwortDa = 0;
    senden(Befehl);
    Daten.Timeoutzähler = 0;
    updatetimer->start();
    Shape2->hide();

    bool wiederholt = false;
    while (AntwortDa != 1 && Daten.Timeoutzähler < 10) {
        Ereignisse_abwarten(1000);  // a tick or the reply ends the wait
        if (Daten.Timeoutzähler >= 5 && !wiederholt && AntwortDa != 1) {
            Protokolldatei_schreiben("keine Antwort vom Gerät bei folgendem Befehl: " + Befehl);
            AntwortDa = 0;
            senden(Befehl);
            wiederholt = true;
        }
    }
    updatetimer->stop();

    if (Befehl == "00051")
        Label21->setText("Q7 Firmwareversion: " + Letztantwort.left(7));

    if (Befehl.left(5) == "00041" && AntwortDa == 1) {
        const qsizetype marke = Letztantwort.indexOf("T-Variable: ");
        // Without the marker the value is taken from the 12th character on.
        const QString wert = Letztantwort.mid(marke >= 0 ? marke + 12 : 11);
        QString text = Format_Exponent(wert);
        if (text.isEmpty())
            text = "+9.9E37";
        const qsizetype komma = text.indexOf(',');
        if (komma >= 0)
            text[komma] = '.';
        TVariable = text;
    }

    if (Daten.Timeoutzähler >= 10)
        Netzwerktimeout(Befehl);
}

void Hauptfenster::Netzwerktimeout(const QString& Befehl) {
    Protokolldatei_schreiben("Netzwerk-Timeout, Messung wird neu gestartet, Befehl:  " + Befehl);
    Daten.Timeoutzähler = 10;
    if (Netzwerktimeout_Wiederanlauf)
        Netzwerktimeout_Wiederanlauf();
    Ereignisse_verarbeiten();
    Shape2->hide();
}

void Hauptfenster::updatetimer_Timer() {
    if (messen->text() == "Messung starten" && messen->isEnabled()) {
        Shape2->hide();
        Leerlaufprüfungen();
        return;
    }
    ++Daten.Timeoutzähler;
    if (Daten.Timeoutzähler > 5)
        Shape2->show();
}

void Hauptfenster::Leerlaufprüfungen() {}

void Hauptfenster::Winsock2_DataArrival() {
    if (!Winsock2_1)
        return;
    const QByteArray daten = Winsock2_1->readAll();
    if (daten.isEmpty())
        return;
    Letztantwort = Text1252::dekodieren(daten);
    Empfangspuffer += Letztantwort;
    Bytezähler += static_cast<qint32>(daten.size());
    Text1->setText(Letztantwort);
    AntwortDa = 1;
}

void Hauptfenster::Winsock2_Error(int nummer, const QString& beschreibung) {
    Protokolldatei_schreiben("Winsock Fehler: " + QString::number(nummer) + "  " + beschreibung);
}

void Hauptfenster::Winsock2_erzeugen() {
    Winsock2_zerstören();
    Winsock2_1 = std::make_unique<QTcpSocket>();
    QTcpSocket* s = Winsock2_1.get();
    connect(s, &QTcpSocket::readyRead, this, &Hauptfenster::Winsock2_DataArrival);
    connect(s, &QTcpSocket::errorOccurred, this, [this, s](QAbstractSocket::SocketError fehler) {
        Winsock2_Error(static_cast<int>(fehler), s->errorString());
    });
    connect(s, &QTcpSocket::connected, this,
            [s] { s->setSocketOption(QAbstractSocket::LowDelayOption, 1); });
}

void Hauptfenster::Winsock2_zerstören() {
    if (!Winsock2_1)
        return;
    Winsock2_1->disconnect(this);
    Winsock2_1->abort();
    Winsock2_1.reset();
}

Hauptfenster::Verbindung Hauptfenster::Verbindung_öffnen() {
    Delay_events(0.5);
    Winsock2_erzeugen();
    if (Daten.Boxadresse.isEmpty())
        return Verbindung::keine_Boxadresse;
    Winsock2_1->connectToHost(Daten.Boxadresse, Boxport());
    Daten.Timeoutzähler = 0;
    updatetimer->start();
    while (Winsock2_1 && Winsock2_1->state() != QAbstractSocket::ConnectedState && Daten.Timeoutzähler < 10)
        Ereignisse_abwarten(1000);
    updatetimer->stop();
    Shape2->hide();
    if (!Winsock2_1 || Daten.Timeoutzähler >= 10)
        return Verbindung::nicht_erreichbar;
    return Verbindung::hergestellt;
}

void Hauptfenster::Verbindung_schließen() {
    TCPIPBefehl_mit_Antwort("00002");
    TCPIPBefehl_mit_Antwort("00093");
    if (Daten.Timeoutzähler == 10 || !Winsock2_1)
        return;
    Winsock2_1->disconnectFromHost();
    // A box that never confirms the close must not hold the run: ten seconds at most.
    const QDeadlineTimer frist(10000);
    while (Winsock2_1 && Winsock2_1->state() != QAbstractSocket::UnconnectedState && !frist.hasExpired())
        Ereignisse_abwarten(static_cast<int>(frist.remainingTime()) + 1);
    Winsock2_zerstören();
}

void Hauptfenster::Ende_Click() {
    const i16 typ = Daten.Messblocktabelle[1].Gerätetyp;
    if (typ < 1 || typ > 5)
        return;
    hide();
    if (Fenster.MDIForm1)
        Fenster.MDIForm1->entladen();
}

// ---- waiting ------------------------------------------------------------------

void Delay_events(double Sekunden) {
    const double start = uhr().Sekunden_seit_Mitternacht();
    for (;;) {
        double jetzt = uhr().Sekunden_seit_Mitternacht();
        if (jetzt < start)
            jetzt += 86400;  // midnight passed
        if (Fenster.Hauptfenster)
            Fenster.Hauptfenster->Label6->setText(QString::number(jetzt, 'f', 2));
        const double rest = start + Sekunden - jetzt;
        if (rest <= 0)
            return;
        Ereignisse_abwarten(static_cast<int>(std::ceil(rest * 1000)));
    }
}
