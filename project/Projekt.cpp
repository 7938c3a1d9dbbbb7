#include "project/Projekt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QNetworkDatagram>
#include <QSaveFile>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Protokolldatei.h"
#include "common/Steuerelemente.h"
#include "platform/Dialoge.h"
#include "platform/Pfade.h"
#include "platform/Programmende.h"
#include "platform/Text1252.h"
#include "platform/Twips.h"
#include "platform/Warten.h"
#include "platform/Winsockfehler.h"
#include "project/Dateiform.h"
#include "project/Hinweisform.h"
#include "project/MDIForm1.h"
#include "project/Projektdateien.h"
#include "recording/Datendateien.h"
#include "run/Hauptfenster.h"

namespace {
const QString Projektbezeichnungsdatei = "c:\\kestrix\\intern\\projbez\\projekt.kxp";

const char* const Projektverzeichnisse[] = {
    "c:\\kestrix", "c:\\kestrix\\intern", "c:\\kestrix\\intern\\projbez", "c:\\kestrix\\intern\\scanlist",
    "c:\\kestrix\\intern\\kanaele", "c:\\kestrix\\intern\\aufzlist", "c:\\kestrix\\intern\\messbvar",
    "c:\\kestrix\\intern\\fkt_cnst", "c:\\kestrix\\intern\\optiscan", "c:\\kestrix\\intern\\vorg_rei",
    "c:\\kestrix\\intern\\Buttons", "c:\\kestrix\\intern\\Dformat", "c:\\kestrix\\intern\\Datlog",
    "c:\\kestrix\\intern\\Stromaus", "c:\\kestrix\\intern\\SerNo", "c:\\kestrix\\intern\\Matrix"};

using namespace Projektdateien;
// Saved in this order; Stromaus is written by the run alone.
const Tabelle* const Speicherfolge_vor_SerNo[] = {&kanaele,  &scanlist, &aufzlist, &messbvar, &fkt_cnst,
                                                  &optiscan, &vorg_rei, &Buttons,  &Dformat,  &Datlog};
const Tabelle* const Ladefolge[] = {&kanaele, &scanlist, &aufzlist, &messbvar, &fkt_cnst, &optiscan,
                                    &vorg_rei, &Buttons, &Dformat, &Datlog, &Stromaus};
const char* const Löschfolge[] = {"scanlist", "kanaele", "aufzlist", "messbvar", "fkt_cnst", "optiscan", "vorg_rei",
                                  "Buttons", "Dformat", "Datlog", "Stromaus", "SerNo", "Matrix"};

// Written beside and renamed: a save cut short leaves the previous file whole.
bool Datei_ersetzen(const QString& pfad, const QByteArray& inhalt) {
    QSaveFile datei(pfad);
    if (!datei.open(QIODevice::WriteOnly))
        return false;
    datei.write(inhalt);
    return datei.commit();
}

bool Datei_lesen(const QString& pfad, QByteArray& inhalt) {
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    inhalt = datei.readAll();
    return true;
}

QGroupBox* Rahmen(QWidget* eltern, const QString& titel, int l, int t, int w, int h) {
    auto* r = new QGroupBox(titel, eltern);
    Twips::Geometrie(r, l, t, w, h);
    return r;
}

QPushButton* Knopf(QWidget* eltern, const char* name, const QString& text, int l, int t, int w, int h) {
    auto* k = new QPushButton(text, eltern);
    k->setObjectName(name);
    Twips::Geometrie(k, l, t, w, h);
    return k;
}
}  // namespace

const QStringList Projekt::Modelle = {"???",
                                      "Keithley 2000 Multimeter",
                                      "Metex M-4660A Multimeter",
                                      "Prema 5000 Digital Multimeter ",
                                      "Prema 5017 Digital Multimeter ",
                                      "Keithley 2001 Multimeter ",
                                      "Tarvo 2000"};

Projekt::Projekt(QWidget* eltern) : QWidget(eltern) {
    Fenster.Projekt = this;
    setObjectName("Projekt");
    setAutoFillBackground(true);
    Twips::Geometrie(this, 0, 0, 4800, 3600);

    Frame2 = Rahmen(this, "aktuelles Projekt:", 60, 0, 2340, 540);
    Label1 = new QLabel(Frame2);
    Twips::Geometrie(Label1, 120, 240, 2100, 255);
    Frame3 = Rahmen(this, "Projektdatei", 2460, 0, 2280, 540);
    Combo1 = new QComboBox(Frame3);
    Combo1->addItems({"speichern unter...", "löschen", "öffnen", "neu"});
    Combo1->setCurrentIndex(-1);
    Twips::Geometrie(Combo1, 90, 200, 2100, 300);

    Frame4 = Rahmen(this, "Seriennummer des verw. Gerätes:", 60, 570, 4680, 480);
    Label3 = new QLabel(Frame4);
    Twips::Geometrie(Label3, 120, 210, 3300, 255);  // the network button sits at the right end

    Frame1 = Rahmen(this, "angeschlossenes Meßgerät :", 2100, 1410, 2640, 1500);
    Combo2 = new QComboBox(Frame1);
    Twips::Geometrie(Combo2, 90, 220, 2460, 300);
    const char* meter[] = {"Com 1", "Com 2", "Com 3", "IEEE 488.2"};
    auto* meterfeld = new QWidget(Frame1);  // exclusive group of its own
    Twips::Geometrie(meterfeld, 60, 560, 2520, 450);
    for (int i = 0; i < 4; ++i) {
        Option1[i] = new QRadioButton(meter[i], meterfeld);
        Twips::Geometrie(Option1[i], (i % 2) * 1200, (i / 2) * 225, i % 2 ? 1320 : 1200, 225);
    }
    auto* scannerfeld = new QWidget(Frame1);
    Twips::Geometrie(scannerfeld, 60, 1050, 2520, 360);
    const char* scanner[] = {"LPT 1", "LPT 2", "LPT 3"};
    for (int i = 0; i < 3; ++i) {
        Option2[i] = new QRadioButton(scanner[i], scannerfeld);
        Twips::Geometrie(Option2[i], i * 840, 60, 840, 225);
    }

    Command9 = Knopf(this, "Command9", "nach verfügbaren Geräten suchen", 60, 1080, 4680, 300);
    List2 = new QListWidget(this);
    List2->setObjectName("List2");
    Twips::Geometrie(List2, 60, 1440, 1980, 1470);

    Command2 = Knopf(this, "Command2", "<<", 60, 3000, 600, 450);
    Command3 = Knopf(this, "Command3", "Speichern", 720, 3000, 1140, 450);
    Command4 = Knopf(this, "Command4", "Abbrechen", 1920, 3000, 1140, 450);
    Command5 = Knopf(this, "Command5", "Hilfe", 3120, 3000, 900, 450);
    Command1 = Knopf(this, "Command1", ">>", 4080, 3000, 600, 450);

    List1 = new QListWidget(this);
    Twips::Geometrie(List1, 2460, 2070, 2280, 420);
    Command6 = Knopf(this, "Command6", "Blöcke", 2460, 2520, 700, 420);
    Command7 = Knopf(this, "Command7", "Headerstring", 3180, 2520, 800, 420);
    Command8 = Knopf(this, "Command8", "Datlogzeile", 4000, 2520, 740, 420);
    Text1 = new QLineEdit(this);
    Twips::Geometrie(Text1, 2460, 2070, 1500, 300);
    Text1->setReadOnly(true);  // shows the data-logger line
    Label4 = new QLabel(this);
    Twips::Geometrie(Label4, 60, 2910, 1200, 90);
    Label5 = new QLabel(this);
    Twips::Geometrie(Label5, 1260, 2910, 1200, 90);

    Timer1 = new QTimer(this);
    connect(Timer1, &QTimer::timeout, this, &Projekt::Timer1_Timer);
    connect(Command9, &QPushButton::clicked, this, &Projekt::Command9_Click);
    connect(List2, &QListWidget::currentRowChanged, this, [this](int zeile) {
        if (zeile >= 0)
            List2_Click(zeile);
    });
    connect(Combo2, &QComboBox::currentIndexChanged, this, &Projekt::Combo2_Click);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &Projekt::Combo1_Click);
    connect(Command1, &QPushButton::clicked, this, &Projekt::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Projekt::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Projekt::speichern);
    connect(Command6, &QPushButton::clicked, this, &Projekt::Command6_Click);
    // "Datlogzeile": the data-logger line the current values make.
    connect(Command8, &QPushButton::clicked, this, [this] {
        Datendateien::Datenlogzeile_erstellen();
        Text1->setText(Daten.Logzeile);
    });
    for (int i = 0; i < 4; ++i)
        connect(Option1[i], &QRadioButton::clicked, this, [i] { Daten.Knopfzustände[5] = static_cast<i16>(i); });
    for (int i = 0; i < 3; ++i)
        connect(Option2[i], &QRadioButton::clicked, this, [i] { Daten.Knopfzustände[6] = static_cast<i16>(i); });

    const bool testanzeige = Daten.Testlabels != 0;
    for (QWidget* w : std::initializer_list<QWidget*>{List1, Command6, Command7, Command8, Text1, Label4, Label5})
        w->setVisible(testanzeige);
    Stationsschalter_anwenden(Command5, Command4);

    // The station's meter settings: device mode shows only the model, a fixed
    // location of the meter hides the frame.
    if (Daten.Betriebsart == "Gerät   ") {
        Frame1->setFixedHeight(Twips::px(615));
        List1->hide();
    }
    if (Daten.MDeviceLocation == "ext" || Daten.MDeviceLocation == "int") {
        Frame1->hide();
        List1->hide();
    }
    hide();
}

Projekt::~Projekt() {
    Winsock1_2.reset();
    if (Fenster.Projekt == this)
        Fenster.Projekt = nullptr;
}

// ---- project store -------------------------------------------------------------

void Projekt::Projektverz_anleg() {
    Daten.Projektname = "noname1";
    for (const char* verzeichnis : Projektverzeichnisse) {
        const QString pfad = Pfade::lokal(verzeichnis);
        if (QFileInfo(pfad).isDir())
            continue;
        QDir().mkpath(pfad);
        if (QString(verzeichnis) == "c:\\kestrix\\intern\\projbez")
            Daten.Projektname.clear();  // first start on this station
    }
    // A save cut short by a power failure is finished or dropped before
    // anything reads the projects.
    if (!Speicherung_nachholen())
        Protokolldatei_schreiben("Projekt konnte nicht fertig gespeichert werden: " +
                                 QDir::toNativeSeparators(Pfade::lokal("c:\\kestrix\\intern\\.fertig")));
}

void Projekt::Projname_Datei_anleg() {
    // A station whose current-project file went missing gets it back too.
    const QString pfad = Pfade::lokal(Projektbezeichnungsdatei);
    if (Daten.Projektname.isEmpty() || !QFileInfo::exists(pfad))
        Datei_ersetzen(pfad, "noname01.kxp\r\n");
}

void Projekt::Projektname_aus_Datei_holen() {
    QByteArray inhalt;
    Datei_lesen(Pfade::lokal(Projektbezeichnungsdatei), inhalt);
    const QString text = Text1252::dekodieren(inhalt);
    Daten.Projektname = text.left(text.indexOf('.') + 1 + 3);
}

void Projekt::Projektname_aktualisieren() {
    Daten.Projektname = Fenster.Dateiform ? Fenster.Dateiform->Text1->text() : QString();
    Datei_ersetzen(Pfade::lokal(Projektbezeichnungsdatei), Text1252::kodieren(Daten.Projektname + "\r\n"));
    Label1->setText(Daten.Projektname);
}

void Projekt::Combo1_Click(int index) {
    if (index < 0 || !Fenster.Dateiform)
        return;
    Fenster.Dateiform->öffnen(Combo1->itemText(index));
    // The same action chosen again must open the dialog again.
    const QSignalBlocker still(Combo1);
    Combo1->setCurrentIndex(-1);
}

bool Projekt::speichern() {
    if (Label1->text() == "noname01.kxp") {
        if (Fenster.Dateiform)
            Fenster.Dateiform->öffnen("speichern unter...");
        return false;
    }
    return alles_speichern();
}

void Projekt::noname01_speichern() {
    if (Daten.Projektname == "noname01.kxp")
        alles_speichern();
}

bool Projekt::alles_speichern() { return Projekt_sichern(false); }

bool Projekt::speichern_unter(const QString& name, bool mit_Messdatenverzeichnis) {
    const QString alt = Daten.Projektname;
    const QString altkurz = Daten.Projektkurzname;
    Daten.Projektname = name;
    if (mit_Messdatenverzeichnis && Messdatenverzeichnis_anlegen)
        Messdatenverzeichnis_anlegen();
    if (!Projekt_sichern(true)) {
        Daten.Projektname = alt;
        Daten.Projektkurzname = altkurz;
        return false;
    }
    Label1->setText(name);
    return true;
}

bool Projekt::Projekt_sichern(bool als_aktuelles) {
    if (Rechenliste_speichern)
        Rechenliste_speichern();
    setCursor(Qt::WaitCursor);
    QList<Satzdatei> dateien;
    for (const Tabelle* t : Speicherfolge_vor_SerNo)
        dateien.append({t->Verzeichnis, schreiben(*t, Daten)});
    dateien.append({"SerNo", Text1252::kodieren(Seriennummer + "\r\n")});
    dateien.append({matrix.Verzeichnis, schreiben(matrix, Daten)});
    const QByteArray bezeichnung = Text1252::kodieren(Daten.Projektname + "\r\n");
    QStringList fehlgeschlagen;
    bool unverändert = true;
    const bool ok = Projekt_schreiben(Daten.Projektname, dateien, als_aktuelles ? &bezeichnung : nullptr,
                                      fehlgeschlagen, unverändert);
    unsetCursor();
    if (!ok) {
        dialoge().Meldung("Das Projekt wurde nicht vollständig gespeichert. Nicht geschrieben:\r" +
                          fehlgeschlagen.join("\r") +
                          (unverändert ? "\rDie Projektdateien sind unverändert."
                                       : "\rDer Rest wird beim nächsten Start nachgetragen."));
        return false;
    }
    return true;
}

void Projekt::alle_Daten_aus_Dateien_holen() {
    while (Daten.Projektname.isEmpty() || !QFileInfo::exists(Pfad("kanaele", Daten.Projektname))) {
        dialoge().Meldung("Projekt nicht vorhanden!");
        const QString antwort = dialoge().Eingabe("Bitte gültigen Projektnamen z.B. \"Noname01.kxp\" angeben");
        if (antwort.isEmpty()) {
            // Cancelled: without a project the program cannot go on.
            programmende().sofort_beenden(1);
            return;
        }
        if (Fenster.Dateiform)
            Fenster.Dateiform->Text1->setText(antwort);
        Projektname_aktualisieren();
    }
    for (const Tabelle* t : Ladefolge) {
        QByteArray inhalt;
        const QString pfad = Pfad(t->Verzeichnis, Daten.Projektname);
        if (Datei_lesen(pfad, inhalt))
            lesen(*t, inhalt, Daten);
        else if (t != &Stromaus)
            Protokolldatei_schreiben("Projektdatei fehlt: " + QDir::toNativeSeparators(pfad));
    }
    QByteArray sernr;
    Datei_lesen(Pfad("SerNo", Daten.Projektname), sernr);
    Seriennummer = Text1252::dekodieren(sernr);
    Seriennummer.remove('\r').remove('\n');
    Label3->setText(Seriennummer);
    Daten.Boxadresse.clear();
    QByteArray matrixdatei;
    if (Datei_lesen(Pfad("matrix", Daten.Projektname), matrixdatei))
        lesen(matrix, matrixdatei, Daten);
}

void Projekt::löschen() {
    if (!Fenster.Dateiform || Fenster.Dateiform->Text1->text().isEmpty())
        return;
    const QString name = Fenster.Dateiform->Text1->text();
    for (const char* verzeichnis : Löschfolge)
        QFile::remove(Pfad(verzeichnis, name));
    Fenster.Dateiform->File1_auffrischen();
    Fenster.Dateiform->Text1->clear();
}

void Projekt::Reseten() {
    Daten.Resetmerker = 1;
    Ereignisse_verarbeiten();
    setCursor(Qt::WaitCursor);
    Ereignisse_verarbeiten();
    if (Fenster.MDIForm1)
        Fenster.MDIForm1->neu_laden();  // shows the main window and this page again, clears Resetmerker
}

void Projekt::Knöpfe_initialisieren() {
    const int meter = Daten.DevicePort;
    if (meter >= 0 && meter < 4)
        Option1[meter]->setChecked(true);
    const int scanner = Daten.Knopfzustände[6];
    if (scanner >= 0 && scanner < 3)
        Option2[scanner]->setChecked(true);
}

// ---- devices ---------------------------------------------------------------------

void Projekt::Geräteliste_erstellen() {
    const QSignalBlocker still(Combo2);
    Combo2->clear();
    Combo2->addItems(Modelle);
    Combo2->setCurrentIndex(0);
}

void Projekt::Gerät_in_Geräteliste() {
    const int modell = Daten.MeasureDevice != 0 ? Daten.MeasureDevice : Daten.Messblocktabelle[1].Gerätetyp;
    {
        const QSignalBlocker still(Combo2);
        Combo2->setCurrentIndex(modell >= 0 && modell < Modelle.size() ? modell : 0);
    }
    Label3->setText(Seriennummer);
}

void Projekt::Combo2_Click(int index) {
    if (index < 0)
        return;
    Daten.Messblocktabelle[1].Gerätetyp = static_cast<i16>(index);
    MBForminitialisieren();
}

void Projekt::TCPGeräteliste_zurücksetzen() {
    for (Gerätesatz& g : Geräteliste)
        g = {};
    Geräteanzahl = 0;
    Daten.Boxadresse.clear();
}

QString Projekt::Entdeckungsadresse() {
    const QString gesetzt = qEnvironmentVariable("KESTRIX_DISCOVERY_ADDR");
    return gesetzt.isEmpty() ? "255.255.255.255" : gesetzt;
}

quint16 Projekt::Entdeckungsport() {
    bool ok = false;
    const int port = qEnvironmentVariable("KESTRIX_DISCOVERY_PORT").toInt(&ok);
    return ok && port > 0 && port < 65536 ? static_cast<quint16>(port) : 8001;
}

void Projekt::Command9_Click() {
    if (Command9->text() == "nach verfügbaren Geräten suchen") {
        Daten.Boxadresse.clear();
        List2->clear();
        for (Gerätesatz& g : Geräteliste)
            g = {};
        Gelistet = Geräteanzahl = Suchzähler = 0;
        Command9->setText("Suche abbrechen");
        suche_läuft_ = true;
        Timer1->start(1);
    } else if (Command9->text() == "Suche abbrechen") {
        Command9->setText("nach verfügbaren Geräten suchen");
        suche_läuft_ = false;
        Timer1->stop();
    }
}

void Projekt::Suchtakt_senden() {
    const QByteArray anfrage("0 1 ");
    int fehler = 0;
    while (Winsock1_2 && Winsock1_2->writeDatagram(anfrage, QHostAddress(Entdeckungsadresse()), Entdeckungsport()) < 0) {
        ++fehler;
        Delay_events(0.05);
        if (fehler == 5) {
            Protokolldatei_schreiben("Fehler beim Suchen nach Messgerät, " + QString::number(fehler) + " ter Versuch");
            Winsock1_2.reset();
            Delay_events(0.05);
            Winsock1_2 = std::make_unique<QUdpSocket>();
            Winsock1_2->bind(QHostAddress::AnyIPv4, Entdeckungsport(),
                             QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
        } else if (fehler >= 10) {
            Winsock1_2.reset();
        }
    }
}

void Projekt::Timer1_Timer() {
    // One tick at a time: the tick's own wait must not start the next one.
    Timer1->stop();
    Suchpuffer.clear();
    Winsock1_2 = std::make_unique<QUdpSocket>();
    QUdpSocket* socket = Winsock1_2.get();
    Protokolldatei_schreiben("Protocol ok");
    Protokolldatei_schreiben("RemotePort ok");
    socket->bind(QHostAddress::AnyIPv4, Entdeckungsport(), QUdpSocket::ShareAddress | QUdpSocket::ReuseAddressHint);
    Protokolldatei_schreiben("Bind 8001 ok");
    connect(socket, &QUdpSocket::readyRead, this, [this, socket] {
        while (socket->hasPendingDatagrams()) {
            const QByteArray antwort = socket->receiveDatagram().data();
            if (antwort != "0 1 ")  // our own request, looped back by a broadcast
                Suchpuffer += Text1252::dekodieren(antwort) + '\r';
        }
    });
    connect(socket, &QUdpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError fehler) {
        if (fehler != QAbstractSocket::AddressInUseError)
            Protokolldatei_schreiben("Winsock Fehler bei Adresse suchen: " +
                                     Winsockfehler::Text(fehler, socket->errorString()));
    });
    Protokolldatei_schreiben("RemoteHost ok");
    Suchtakt_senden();
    Protokolldatei_schreiben("SendData ok");

    Delay_events(Suchzähler + 0.5);

    ++Suchzähler;
    Label4->setText(QString::number(Suchzähler));
    if (Suchzähler > 10)
        Suchzähler = 0;
    Suchpuffer_auswerten(Suchpuffer, Geräteliste, Geräteanzahl);
    for (; Gelistet < 21 && !Geräteliste[Gelistet].Seriennummer.isEmpty(); ++Gelistet)
        List2->addItem(Geräteliste[Gelistet].IPAdresse + "    " + Geräteliste[Gelistet].Seriennummer);
    Winsock1_2.reset();
    if (suche_läuft_)
        Timer1->start(1000);
}

void Projekt::Suchpuffer_auswerten(QString& puffer, Gerätesatz (&liste)[21], qint16& anzahl) {
    while (!puffer.isEmpty() && puffer.contains('.')) {
        const qsizetype punkt = puffer.indexOf('.');
        // The first number of the address, right-aligned in the three characters before the dot.
        QString erste = puffer.mid(std::max<qsizetype>(0, punkt - 3), std::min<qsizetype>(3, punkt));
        erste = QString(3 - erste.size(), ' ') + erste;
        erste.replace(' ', '0');
        if (erste.startsWith('0'))
            erste = erste.right(2);
        if (erste.startsWith('0'))
            erste = erste.right(1);
        qsizetype pos = puffer.indexOf(' ', punkt);
        if (pos < 0)
            pos = puffer.size();
        const QString adresse = erste + puffer.mid(punkt, pos - punkt);
        for (int feld = 0; feld < 3; ++feld) {
            while (pos < puffer.size() && puffer[pos] == ' ')
                ++pos;
            while (pos < puffer.size() && puffer[pos] != ' ')
                ++pos;
        }
        QString gruppe = puffer.mid(pos, 15);
        // A reply ends at its carriage return; a short group keeps what it has.
        const qsizetype ende = gruppe.indexOf('\r');
        if (ende >= 0)
            gruppe.truncate(ende);
        const QString seriennummer = gruppe.mid(6, 9);
        puffer = puffer.mid(pos + 15);
        if (seriennummer.isEmpty())
            continue;
        bool bekannt = false;
        for (int i = 0; i <= anzahl && i < 21; ++i)
            bekannt = bekannt || liste[i].Seriennummer == seriennummer;
        if (!bekannt && anzahl < 21) {
            liste[anzahl] = {adresse, seriennummer};
            ++anzahl;
        }
    }
}

void Projekt::List2_Click(int zeile) {
    if (zeile < 0 || zeile >= 21)
        return;
    Daten.Boxadresse = Geräteliste[zeile].IPAdresse;
    Seriennummer = Geräteliste[zeile].Seriennummer;
    Label3->setText(Seriennummer);
    Label4->setText(QString::number(zeile));
}

void Projekt::Q7AdresseFinden() {
    if (!Daten.Boxadresse.isEmpty())
        return;
    suche_läuft_ = true;
    Timer1->start(1);
    for (int runde = 0; runde < 15; ++runde) {
        Delay_events(0.6);
        bool gefunden = false;
        // Without a serial number the free entry after the last box matches
        // at once: the search ends with no address.
        for (int i = 0; i <= Geräteanzahl && i < 21; ++i) {
            if (Geräteliste[i].Seriennummer == Seriennummer.left(9)) {
                Daten.Boxadresse = Geräteliste[i].IPAdresse;
                Label4->setText(Daten.Boxadresse);
                gefunden = true;
                break;
            }
        }
        if (gefunden)
            break;
    }
    suche_läuft_ = false;
    Timer1->stop();
}

void Projekt::Command1_Click() {
    if (Combo2->currentText() == "???") {
        if (Fenster.Hinweisform)
            Fenster.Hinweisform->zeigen_Ok(this, "Sie müßen erst das Modell des angeschl. Gerätes auswählen!");
        return;
    }
    if (Weiter)
        Weiter();
}

void Projekt::Command2_Click() {
    Command9->setText("nach verfügbaren Geräten suchen");
    suche_läuft_ = false;
    Timer1->stop();
    hide();
}

void Projekt::Command6_Click() {
    for (int b = 1; b <= 20; ++b) {
        const Messblocksatz& m = Daten.Messblocktabelle[b];
        List1->addItem(QString::number(m.Funktionsnummer) + "   " + m.Funktionspräfix.text() + "   " +
                       m.Messblockname.text());
    }
}
