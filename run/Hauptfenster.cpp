#include "run/Hauptfenster.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QtEndian>

#include <algorithm>
#include <cmath>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Protokolldatei.h"
#include "common/Steuerelemente.h"
#include "common/Zahltext.h"
#include "platform/Text1252.h"
#include "platform/Twips.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "platform/Winsockfehler.h"
#include "project/Hinweisform.h"
#include "calc/CalcuReihenfolge.h"
#include "calc/Datenreihenfolge.h"
#include "calc/Scanlist.h"
#include "platform/Pfade.h"
#include "points/Kanalbelegung.h"
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

    // Right column: the run buttons. Left: the value list during a run, the
    // single-value display and the service labels.
    messen = knopf(this, "messen", "Messung starten", 3300, 60, 1500, 600);
    Command1 = knopf(this, "Command1", " weiter", 3300, 720, 1500, 600);
    Command1->hide();
    programmieren = knopf(this, "programmieren", "Programmieren", 3300, 1380, 1500, 600);
    Ende = knopf(this, "Ende", "Abschalten", 3300, 2040, 1500, 600);

    Frame1 = new QGroupBox("Messwerte:", this);
    Frame1->setObjectName("Frame1");
    Twips::Geometrie(Frame1, 60, 0, 3180, 3111);
    List1 = new QListWidget(Frame1);
    List1->setObjectName("List1");
    Twips::Geometrie(List1, 60, 240, 3060, 2795);
    Frame1->hide();

    const char* beschriftungen[] = {" Signalname:", "Meßblock:", "Kanal:", " aktueller Meßwert:", "[s] bis neuer Scan:"};
    for (int i = 0; i < 5; ++i) {
        Label2[i] = beschriftung(this, "Label2", beschriftungen[i], 60, 60 + i * 330, 1400, 285);
        Label2[i]->hide();
    }
    Label3 = beschriftung(this, "Label3", "", 1500, 60, 1740, 285);
    Label9 = beschriftung(this, "Label9", "", 1500, 390, 1740, 285);
    Label4 = beschriftung(this, "Label4", "", 1500, 720, 1740, 285);
    Label1 = beschriftung(this, "Label1", "Meßbereich !", 1500, 1050, 1740, 285);
    Label13 = beschriftung(this, "Label13", "", 1500, 1380, 800, 285);
    Label15 = beschriftung(this, "Label15", "", 2340, 1380, 800, 285);
    for (QLabel* l : {Label3, Label9, Label4, Label1, Label13, Label15})
        l->hide();

    Label17 = beschriftung(this, "Label17", "Kestrix Q7 Messprogramm", 60, 60, 3180, 330);
    QFont f = Label17->font();
    f.setBold(true);
    Label17->setFont(f);
    Label21 = beschriftung(this, "Label21", "", 60, 3360, 3180, 240);
    Label18 = knopf(this, "Label18", "Modultreiber", 3300, 2700, 720, 420);
    Label19 = knopf(this, "Label19", "Modul", 4080, 2700, 720, 420);
    Label18->hide();
    Label19->hide();

    // service controls, shown with the display when Testlabels is 1
    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Twips::Geometrie(Text1, 60, 1800, 3180, 300);
    Label6 = beschriftung(this, "Label6", "", 60, 2160, 1500, 240);
    Label12 = beschriftung(this, "Label12", "", 60, 2430, 3180, 240);
    Label50 = beschriftung(this, "Label50", "", 1620, 2160, 800, 240);
    Label5 = beschriftung(this, "Label5", "", 60, 2700, 1000, 240);
    Label7 = beschriftung(this, "Label7", "", 1080, 2700, 1000, 240);
    Label8 = beschriftung(this, "Label8", "", 2100, 2700, 1000, 240);
    Label10 = beschriftung(this, "Label10", "", 60, 2970, 1000, 240);
    Label11 = beschriftung(this, "Label11", "", 1080, 2970, 1000, 240);
    Label14 = beschriftung(this, "Label14", "", 2100, 2970, 1000, 240);
    Command2 = knopf(this, "Command2", "Test", 2460, 2130, 780, 300);
    Command3 = knopf(this, "Command3", "Liste", 2460, 3240, 780, 330);
    Hauptfenstertest_Ausblenden();

    Shape2 = new QFrame(this);
    Shape2->setObjectName("Shape2");
    Shape2->setStyleSheet("background-color: #ffff00; border: 1px solid black;");
    Twips::Geometrie(Shape2, 4440, 3240, 300, 300);
    Shape2->hide();

    updatetimer = new QTimer(this);
    updatetimer->setInterval(1000);
    Messunganhalttimer = new QTimer(this);
    Messunganhalttimer->setInterval(3000);
    Restarttimer = new QTimer(this);

    connect(updatetimer, &QTimer::timeout, this, &Hauptfenster::updatetimer_Timer);
    connect(Ende, &QPushButton::clicked, this, &Hauptfenster::Ende_Click);
    connect(messen, &QPushButton::clicked, this, &Hauptfenster::messen_Click);
    connect(Command1, &QPushButton::clicked, this, &Hauptfenster::Command1_Click);
    connect(programmieren, &QPushButton::clicked, this, &Hauptfenster::programmieren_Click);
    connect(Messunganhalttimer, &QTimer::timeout, this, &Hauptfenster::Messunganhalttimer_Timer);
    connect(Restarttimer, &QTimer::timeout, this, &Hauptfenster::Restarttimer_Timer);
    connect(List1, &QListWidget::itemClicked, this, [this](QListWidgetItem* z) { List1_Click(List1->row(z)); });
    connect(Label18, &QPushButton::clicked, this, [] { Fenster_nach_vorn("Vivorirovez-Modultreiber"); });
    connect(Label19, &QPushButton::clicked, this, [] { Fenster_nach_vorn("Orvamet-VivorIrovezModul "); });
    connect(Command3, &QPushButton::clicked, this, &Hauptfenster::Command3_Click);

    Netzwerktimeout_Wiederanlauf = [this] {
        if (Fenster.Hinweisform)
            Fenster.Hinweisform->zeigen(nullptr, "Netzwerk-Timeout, Messung wird neu gestartet!", {}, {});
        Neustart_vorbereiten();
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
    // The name becomes a file name in several folders of the station: a
    // name that leaves its folder would write elsewhere.
    const bool nur_Dateiname = !projektname.contains("..") && !projektname.contains('/') &&
                               !projektname.contains('\\') && !projektname.contains(':');
    if (!kommandozeile.trimmed().isEmpty() && !nur_Dateiname)
        Protokolldatei_schreiben("Projektname der Befehlszeile abgelehnt (kein reiner Dateiname): " + projektname);
    if (!kommandozeile.trimmed().isEmpty() && nur_Dateiname) {
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

    if (Fenster.Kanalbelegung)
        Fenster.Kanalbelegung->Labels_auffrischen();
    if (Fenster.Scanlist) {
        Fenster.Scanlist->Scanliste_auffrischen();
        Fenster.Scanlist->Scanl_Knöpfe_setzen();
    }
    if (Fenster.Datenreihenfolge) {
        Fenster.Datenreihenfolge->Aufzliste_aus_Puffer_erstellen();
        Fenster.Datenreihenfolge->Aufz_Knöpfe_setzen();
    }
    if (Fenster.CalcuReihenfolge)
        Fenster.CalcuReihenfolge->Speicherart_Knöpfe_setzen();
    if (Fenster.Datenformat)
        Fenster.Datenformat->Listen_setzen();
    if (Fenster.Datenlogger)
        Fenster.Datenlogger->Listen_setzen();
    if (projekt->Messdatenverzeichnis_anlegen)
        projekt->Messdatenverzeichnis_anlegen();
    if (Fenster.CalcuReihenfolge)
        Fenster.CalcuReihenfolge->rechnenini_lesen();
    Daten.Headermerker = 0;
}

void Hauptfenster::Form_Unload() { Protokolldatei_schreiben("Programm beendet"); }

void Hauptfenster::Editoren_auffrischen() {
    if (Fenster.Scanlist)
        Fenster.Scanlist->Scanliste_auffrischen();
    if (Fenster.Datenreihenfolge)
        Fenster.Datenreihenfolge->Aufzliste_aus_Puffer_erstellen();
    if (Fenster.Kanalbelegung)
        Fenster.Kanalbelegung->Labels_auffrischen();
    if (Fenster.Scanlist)
        Fenster.Scanlist->Scanl_Knöpfe_setzen();
    if (Fenster.Datenreihenfolge)
        Fenster.Datenreihenfolge->Aufz_Knöpfe_setzen();
    if (Fenster.CalcuReihenfolge)
        Fenster.CalcuReihenfolge->Speicherart_Knöpfe_setzen();
    if (Fenster.Datenformat)
        Fenster.Datenformat->Listen_setzen();
    if (Fenster.Projekt && Fenster.Projekt->Messdatenverzeichnis_anlegen)
        Fenster.Projekt->Messdatenverzeichnis_anlegen();
    if (Fenster.CalcuReihenfolge)
        Fenster.CalcuReihenfolge->rechnenini_lesen();
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

namespace {
// The codes whose replies the run reads.
bool Antwort_wird_gelesen(const QString& Befehl) {
    const QString code = Befehl.left(5);
    return code == "00051" || code == "00023" || code == "00041" || code == "00033";
}

// A number as the box writes it ends in an exponent of two digits
// ("+1.23456789E+00", "+9.9E37", "1.234567E-05").
bool Zahl_ganz(const QString& text) {
    const QString t = text.trimmed();
    const qsizetype n = t.size();
    if (n < 4 || !t[n - 1].isDigit() || !t[n - 2].isDigit())
        return false;
    const qsizetype e = (t[n - 3] == '+' || t[n - 3] == '-') ? n - 4 : n - 3;
    return e >= 1 && t[e].toUpper() == 'E' && t[e - 1].isDigit();
}

// Whether the reply is whole by its own form; other forms wait for quiet.
bool Antwort_ganz(const QString& Befehl, const QString& antwort) {
    const QString code = Befehl.left(5);
    if (code == "00051")
        return antwort.size() >= 7;
    if (code == "00023")
        return !antwort.trimmed().isEmpty();
    if (code == "00041") {
        const qsizetype marke = antwort.indexOf("T-Variable: ");
        return marke >= 0 && Zahl_ganz(antwort.mid(marke + 12));
    }
    if (code == "00033")
        return antwort.count(',') >= 3 && Zahl_ganz(antwort.section(',', 3));
    return true;
}

QElapsedTimer& Monotonuhr() {
    static QElapsedTimer uhr = [] {
        QElapsedTimer u;
        u.start();
        return u;
    }();
    return uhr;
}
}  // namespace

qint64 Hauptfenster::seit_letztem_Empfang_ms() const {
    return letzter_Empfang_ms_ < 0 ? Ruhe_ms : Monotonuhr().elapsed() - letzter_Empfang_ms_;
}

void Hauptfenster::Nachzügler_abwarten() {
    if (!Winsock2_1)
        return;
    const qint64 vorher = empfangen_gesamt_;
    // A box that never stops sending must not hold the run.
    const QDeadlineTimer höchstens(5 * Ruhe_ms);
    for (qint64 ruhig; (ruhig = seit_letztem_Empfang_ms()) < Ruhe_ms && !höchstens.hasExpired();)
        Ereignisse_abwarten(static_cast<int>(Ruhe_ms - ruhig));
    if (empfangen_gesamt_ != vorher)
        stückweise_ = true;
    nach_Wiederholung_ = false;
}

void Hauptfenster::vor_Abruf() {
    if (stückweise_ || nach_Wiederholung_)
        Nachzügler_abwarten();
}

void Hauptfenster::TCPIPBefehl_mit_Antwort(const QString& Befehl) {
    if (Daten.Timeoutzähler == 10)
        return;
    const bool lesen = Antwort_wird_gelesen(Befehl);
    // "00023" comes once per run and shows whether this box sends its
    // replies in pieces; the others wait only when it does.
    if (nach_Wiederholung_ || (lesen && (stückweise_ || Befehl == "00023")))
        Nachzügler_abwarten();
    Letztantwort.clear();
    antwort_.clear();
    AntwortDa = 0;
    senden(Befehl);
    Daten.Timeoutzähler = 0;
    updatetimer->start();
    Shape2->hide();

    bool wiederholt = false;
    while (Daten.Timeoutzähler < 10) {
        if (AntwortDa == 1) {
            if (!lesen || Antwort_ganz(Befehl, antwort_))
                break;
            const qint64 ruhig = seit_letztem_Empfang_ms();
            if (ruhig >= Ruhe_ms)
                break;
            Ereignisse_abwarten(static_cast<int>(Ruhe_ms - ruhig));
            continue;
        }
        Ereignisse_abwarten(1000);  // a tick or the reply ends the wait
        if (Daten.Timeoutzähler >= 5 && !wiederholt && AntwortDa != 1) {
            Protokolldatei_schreiben("keine Antwort vom Gerät bei folgendem Befehl: " + Befehl);
            AntwortDa = 0;
            senden(Befehl);
            wiederholt = true;
        }
    }
    updatetimer->stop();
    // The box may still answer the first of the two frames.
    if (wiederholt)
        nach_Wiederholung_ = true;
    if (lesen && AntwortDa == 1) {
        Letztantwort = antwort_;
        Text_zeigen(Text1, Letztantwort);
    }

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


void Hauptfenster::Winsock2_DataArrival() {
    if (!Winsock2_1)
        return;
    const QByteArray daten = Winsock2_1->readAll();
    if (daten.isEmpty())
        return;
    Letztantwort = Text1252::dekodieren(daten);
    Empfangspuffer += Letztantwort;
    antwort_ += Letztantwort;
    empfangen_gesamt_ += daten.size();
    letzter_Empfang_ms_ = Monotonuhr().elapsed();
    Bytezähler += static_cast<qint32>(daten.size());
    Text_zeigen(Text1, Letztantwort);
    AntwortDa = 1;
}

void Hauptfenster::Winsock2_Error(int nummer, const QString& beschreibung) {
    Protokolldatei_schreiben("Winsock Fehler: " + QString::number(nummer) + "  " + beschreibung);
}

void Hauptfenster::Winsock2_erzeugen() {
    Winsock2_zerstören();
    stückweise_ = nach_Wiederholung_ = false;
    letzter_Empfang_ms_ = -1;
    Winsock2_1 = std::make_unique<QTcpSocket>();
    QTcpSocket* s = Winsock2_1.get();
    connect(s, &QTcpSocket::readyRead, this, &Hauptfenster::Winsock2_DataArrival);
    connect(s, &QTcpSocket::errorOccurred, this, [this, s](QAbstractSocket::SocketError fehler) {
        const Winsockfehler::Fehler f = Winsockfehler::zu(fehler, s->errorString());
        Winsock2_Error(f.Nummer, f.Beschreibung);
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
    // The deadline runs on the monotonic clock, so passing midnight (or a
    // station clock moved meanwhile) neither shortens nor lengthens the wait;
    // the clock shown counts on past 86400 as the station clock would.
    const double start = uhr().Sekunden_seit_Mitternacht();
    QElapsedTimer vergangen;
    vergangen.start();
    const qint64 dauer_ns = static_cast<qint64>(std::llround(std::max(0.0, Sekunden) * 1e9));
    for (;;) {
        const qint64 ns = vergangen.nsecsElapsed();
        if (Fenster.Hauptfenster)
            Text_zeigen(Fenster.Hauptfenster->Label6, QString::number(start + ns / 1e9, 'f', 2));
        const qint64 rest_ns = dauer_ns - ns;
        if (rest_ns <= 0)
            return;
        // Blocks in the event loop until an event or the deadline.
        Ereignisse_abwarten_ns(rest_ns);
    }
}
