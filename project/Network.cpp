#include "project/Network.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMouseEvent>
#include <QSysInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/Fenster.h"
#include "common/Steuerelemente.h"
#include "keyboard/Tastatur.h"
#include "platform/Dialoge.h"
#include "platform/Pfade.h"
#include "platform/Programmstarter.h"
#include "platform/Text1252.h"
#include "platform/Twips.h"

namespace {
struct Sanduhr {
    Sanduhr() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sanduhr() { QApplication::restoreOverrideCursor(); }
};

QLabel* Beschriftung(QWidget* eltern, const QString& text, int l, int t, int w, int h) {
    auto* label = new QLabel(text, eltern);
    Twips::Geometrie(label, l, t, w, h);
    return label;
}

QLineEdit* Feld(QWidget* eltern, const char* name, int l, int t, int w, int h) {
    auto* feld = new QLineEdit(eltern);
    feld->setObjectName(name);
    // Typed on the on-screen keyboard only.
    feld->setReadOnly(true);
    Twips::Geometrie(feld, l, t, w, h);
    return feld;
}

QPushButton* Knopf(QWidget* eltern, const char* name, const QString& text, int l, int t, int w, int h) {
    auto* knopf = new QPushButton(text, eltern);
    knopf->setObjectName(name);
    Twips::Geometrie(knopf, l, t, w, h);
    return knopf;
}

// The keyboard's caller "Network".
void Network_Return(Tastatur& tastatur, const QString& text) {
    tastatur.hide();
    if (Network* seite = Fenster.Network) {
        seite->Tastaturtext_übernehmen(text);
        seite->setEnabled(true);
        seite->show();
        seite->raise();
    }
}

void Network_Esc() {
    if (Network* seite = Fenster.Network) {
        seite->setEnabled(true);
        seite->show();
        seite->raise();
    }
}

bool alles_schreiben(int fd, const QByteArray& inhalt) {
    const char* p = inhalt.constData();
    qsizetype rest = inhalt.size();
    while (rest > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(rest));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        rest -= n;
    }
    return true;
}
}  // namespace

Network::Network(QWidget* eltern) : QWidget(eltern) {
    Fenster.Network = this;
    setObjectName("Network");
    setWindowTitle("Netzwerkeinstellungen");
    setAutoFillBackground(true);
    Twips::Geometrie(this, 0, 0, 4800, 3600);

    Frame1 = new QGroupBox("Microsoft-Netzwerk Einstellungen", this);
    Frame1->setObjectName("Frame1");
    Twips::Geometrie(Frame1, 60, 0, 4680, 2880);
    Label1 = Beschriftung(Frame1, "Computername", 120, 315, 1500, 285);
    CompName = Feld(Frame1, "CompName", 1680, 270, 2880, 360);
    Label2 = Beschriftung(Frame1, "Arbeitsgruppe", 120, 765, 1500, 285);
    ArbGruppe = Feld(Frame1, "ArbGruppe", 1680, 720, 2880, 360);
    Label3 = Beschriftung(Frame1, "Kennwort", 120, 1215, 1500, 285);
    Text1 = Feld(Frame1, "Text1", 1680, 1170, 2880, 360);
    Label4 = Beschriftung(Frame1, "Freigabepfad Dataloggverzeichnis:", 120, 1650, 4440, 255);
    Label5 = Beschriftung(Frame1, QString(), 120, 1905, 4440, 255);
    Label6 = Beschriftung(Frame1, "Freigabepfad aktuelle Messdatenzeile:", 120, 2250, 4440, 255);
    Label7 = Beschriftung(Frame1, QString(), 120, 2505, 4440, 255);
    for (QLabel* pfad : {Label5, Label7})
        pfad->setStyleSheet("font-weight: bold;");

    Command2 = Knopf(this, "Command2", "<<", 60, 3000, 600, 450);
    ändern = Knopf(this, "aendern", "ändern", 720, 3000, 1140, 450);
    Command4 = Knopf(this, "Command4", "Abbrechen", 1920, 3000, 1140, 450);
    Command5 = Knopf(this, "Command5", "Hilfe", 3120, 3000, 900, 450);

    for (QLineEdit* feld : {CompName, ArbGruppe, Text1})
        feld->installEventFilter(this);
    connect(Command2, &QPushButton::clicked, this, &Network::Command2_Click);
    connect(ändern, &QPushButton::clicked, this, &Network::ändern_Click);
    connect(Command4, &QPushButton::clicked, this, &Network::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Network::Command5_Click);

    Tastatur::Aufrufer_anmelden("Network", Tastatur::Aufruferregel{false, false, Network_Return, Network_Esc});
    hide();
}

Network::~Network() {
    if (Fenster.Network == this)
        Fenster.Network = nullptr;
}

QString Network::Stationsname() {
    const QString name = QSysInfo::machineHostName().section('.', 0, 0);
    return name.isEmpty() ? QString("KESTRIX") : name.toUpper();
}

void Network::Form_Load() {
    Twips::Geometrie(this, 0, 0, 4800, 3600);
    const QString name = Stationsname();
    CompName->setText(name);
    ArbGruppe->setText("SCANNER");
    Text1->setText("********");
    Label5->setText("\\\\" + name + "\\KEST_DATALOG");
    Label7->setText("\\\\" + name + "\\KEST_AKTMESS");
    Namensänderung = 0;
    Kennwortänderung = 0;
    Netzkennwort.clear();
    ändern->setEnabled(false);
    Stationsschalter_anwenden(Command5, Command4);
}

bool Network::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (ereignis->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(ereignis)->button() == Qt::LeftButton) {
        if (objekt == CompName)
            CompName_Click();
        else if (objekt == ArbGruppe)
            ArbGruppe_Click();
        else if (objekt == Text1)
            Text1_Click();
    }
    return QWidget::eventFilter(objekt, ereignis);
}

// ---- keyboard ------------------------------------------------------------------------

void Network::Tastatur_öffnen(i16 feld, const QString& text) {
    Tastatur* tastatur = Fenster.Tastatur;
    if (!tastatur)
        return;
    Daten.Tastaturaufrufer = "Network";
    Daten.Netzwerkfeld = feld;
    tastatur->Text1->setText(text);
    setEnabled(false);
    tastatur->zeigen();
}

void Network::CompName_Click() { Tastatur_öffnen(1, CompName->text()); }
void Network::ArbGruppe_Click() { Tastatur_öffnen(2, ArbGruppe->text()); }
// The password itself is never shown, not even on the keyboard.
void Network::Text1_Click() { Tastatur_öffnen(3, "*****"); }

void Network::Tastaturtext_übernehmen(const QString& text) {
    switch (Daten.Netzwerkfeld) {
    case 1:
    case 2: {
        QLineEdit* feld = Daten.Netzwerkfeld == 1 ? CompName : ArbGruppe;
        if (text != feld->text()) {
            Namensänderung = 1;
            ändern->setEnabled(true);
        }
        feld->setText(text);
        break;
    }
    case 3:
        Kennwortänderung = 1;
        ändern->setEnabled(true);
        Netzkennwort = text;
        break;
    default:
        break;
    }
}

// ---- applying ------------------------------------------------------------------------

QByteArray Network::Übergabetext(const QStringList& zeilen) {
    QByteArray text;
    for (const QString& zeile : zeilen)
        text += Text1252::kodieren(zeile) + "\r\n";
    return text;
}

bool Network::Übergabedatei_schreiben(const QStringList& zeilen) {
    const QString ziel = Pfade::lokal(Übergabedatei);
    const QString ordner = QFileInfo(ziel).absolutePath();
    if (!QDir().mkpath(ordner))
        return false;
    // The file holds the password in clear text: it is written under a
    // temporary name that mkstemp creates for its owner only, and then
    // renamed over the old one, so no reader ever sees it open to others or
    // half written.
    QByteArray vorlage = QFile::encodeName(ordner + "/.MSnetzw.txt.XXXXXX");
    const int fd = ::mkstemp(vorlage.data());
    if (fd < 0)
        return false;
    bool gut = ::fchmod(fd, S_IRUSR | S_IWUSR) == 0 && alles_schreiben(fd, Übergabetext(zeilen)) && ::fsync(fd) == 0;
    gut = ::close(fd) == 0 && gut;
    gut = gut && ::rename(vorlage.constData(), QFile::encodeName(ziel).constData()) == 0;
    if (!gut)
        ::unlink(vorlage.constData());
    return gut;
}

bool Network::anwenden(const QStringList& zeilen, const QString& werkzeug, const QStringList& argumente) {
    bool geschrieben = false, gestartet = false;
    {
        Sanduhr sanduhr;
        geschrieben = Übergabedatei_schreiben(zeilen);
        gestartet = geschrieben && programmstarter().starten(werkzeug, argumente, Fensterart::minimiert);
        if (geschrieben && !gestartet)
            QFile::remove(Pfade::lokal(Übergabedatei));  // nobody will read it: the password does not stay behind
    }
    if (!geschrieben)
        dialoge().Meldung(QString("Die Datei %1 konnte nicht geschrieben werden!").arg(Übergabedatei));
    else if (!gestartet)
        dialoge().Meldung(werkzeug + " konnte nicht gestartet werden!");
    return gestartet;
}

void Network::ändern_Click() {
    if (Daten.OperatingSystem == "WIN95b") {
        if (Namensänderung == 1) {
            if (anwenden({ArbGruppe->text(), CompName->text()}, Namenswerkzeug, {"schreiben"}))
                Namensänderung = 0;  // else the same press applies the names again
        } else if (Kennwortänderung == 1) {
            if (anwenden({Netzkennwort}, Kennwortwerkzeug, {}))
                Kennwortänderung = 0;
        }
    }
    // A change still pending (the password after the names, or one whose
    // apply failed) keeps the button usable for the next press.
    const bool offen = Daten.OperatingSystem == "WIN95b" && (Namensänderung == 1 || Kennwortänderung == 1);
    ändern->setEnabled(offen);
}

void Network::Command2_Click() { hide(); }
void Network::Command4_Click() {}
void Network::Command5_Click() {}
