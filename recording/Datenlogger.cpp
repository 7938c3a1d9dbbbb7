#include "recording/Datenlogger.h"

#include <QStyle>

#include "common/Datumstext.h"
#include "common/Fenster.h"
#include "common/Steuerelemente.h"
#include "platform/Twips.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"
#include "recording/Datenformat.h"
#include "recording/Laufwerkswahl.h"
#include "run/Matrix.h"

namespace {
QStringList Zweistellig(int von, int bis) {
    QStringList liste;
    for (int i = von; i <= bis; ++i)
        liste << QString::number(i).rightJustified(2, '0');
    return liste;
}
}

void Datenlogger::Vorgaben_setzen() {
    Datenloggersatz_t& l = Daten.Datenloggersatz;
    l.Datenlogger_ein = 1;
    l.Header_ein = 1;
    l.Periodenindex = 0;
    l.Trennzeichenindex = 0;
    l.Zeitformatindex = 2;
    l.Zeit_am_Zeilenbeginn = -1;
    l.Zeit_nach_jedem_Messwert = 0;
    l.Zeit_ein = 1;
    l.Dezimalpunkt = 0;
}

void Datenlogger::LoggZeitDatString(QString& text, const QDate& datum, const QTime& zeit) {
    QString datumsteil;
    if (!Daten.Logdatumsformat.isEmpty()) {
        datumsteil = Datum_formatieren(datum, Daten.Logdatumsformat);
        if (!Daten.Logzeitformat.isEmpty())
            datumsteil += ' ';
    }
    const QString zeitteil = Daten.Logzeitformat.isEmpty() ? QString() : Zeit_formatieren(zeit, Daten.Logzeitformat);
    text = datumsteil + zeitteil;
}

Datenlogger::Datenlogger(QWidget* eltern) : QWidget(eltern) {
    Fenster.Datenlogger = this;
    setObjectName("Datenlogger");
    setAutoFillBackground(true);

    Label1 = new QLabel("Datalogger", this);
    QFont fett = Label1->font();
    fett.setBold(true);
    fett.setPixelSize(12);
    Label1->setFont(fett);
    Label1->setAlignment(Qt::AlignCenter);
    Twips::Geometrie(Label1, 0, 0, 4800, 210);

    Frame1 = new QGroupBox("Dataloggerfunktion:", this);
    Twips::Geometrie(Frame1, 30, 210, 4740, 1185);
    Option1[1] = new QRadioButton("ein", Frame1);
    Twips::Geometrie(Option1[1], 120, 210, 660, 285);
    Option1[0] = new QRadioButton("aus", Frame1);
    Twips::Geometrie(Option1[0], 810, 210, 660, 285);
    Label3 = new QLabel("Speicherintervall:", Frame1);
    Twips::Geometrie(Label3, 1650, 240, 1500, 240);
    Combo1 = new QComboBox(Frame1);
    Twips::Geometrie(Combo1, 3180, 195, 1440, 330);
    Check1 = new QCheckBox("Header einfügen", Frame1);
    Twips::Geometrie(Check1, 120, 540, 1860, 285);
    Label7 = new QLabel("einstellen:", Frame1);
    Twips::Geometrie(Label7, 2040, 570, 900, 240);
    Command8 = new QPushButton("Uhrzeit", Frame1);
    Twips::Geometrie(Command8, 2970, 525, 810, 315);
    Command9 = new QPushButton("Datum", Frame1);
    Twips::Geometrie(Command9, 3810, 525, 810, 315);
    Label4 = new QLabel("aktueller Dateiname:", Frame1);
    Twips::Geometrie(Label4, 120, 885, 1800, 240);
    Label2 = new QLabel(Frame1);
    Twips::Geometrie(Label2, 1950, 885, 2100, 240);

    Frame5 = new QGroupBox("Dataloggfile enthält:", this);
    Twips::Geometrie(Frame5, 30, 1425, 4740, 1200);
    Check2 = new QCheckBox("Zeit:", Frame5);
    Twips::Geometrie(Check2, 120, 210, 750, 285);
    Combo9 = new QComboBox(Frame5);
    Twips::Geometrie(Combo9, 870, 195, 2250, 330);
    Label5 = new QLabel("Zeit einfügen:", Frame5);
    Twips::Geometrie(Label5, 120, 570, 1200, 240);
    Option2 = new QRadioButton("am Zeilenbeginn", Frame5);
    Twips::Geometrie(Option2, 1320, 555, 1830, 270);
    Option5 = new QRadioButton("nach jedem Meßwert", Frame5);
    Twips::Geometrie(Option5, 1320, 870, 2190, 270);
    Label6 = new QLabel("Trennzeichen:", Frame5);
    Twips::Geometrie(Label6, 3210, 240, 1410, 240);
    Combo8 = new QComboBox(Frame5);
    Twips::Geometrie(Combo8, 3210, 510, 1440, 330);

    Frame6 = new QGroupBox("Dezimaltrennzeichen:", this);
    Twips::Geometrie(Frame6, 30, 2655, 2040, 525);
    Option4[1] = new QRadioButton("Punkt", Frame6);
    Twips::Geometrie(Option4[1], 120, 210, 900, 270);
    Option4[0] = new QRadioButton("Komma", Frame6);
    Twips::Geometrie(Option4[0], 1020, 210, 990, 270);

    Frame2 = new QGroupBox("Puffer:", this);
    Twips::Geometrie(Frame2, 2130, 2655, 2640, 525);
    Label16 = new QLabel(Frame2);
    Twips::Geometrie(Label16, 120, 210, 1500, 270);
    Label17 = new Verweislabel("ändern", Frame2);
    Twips::Geometrie(Label17, 1710, 210, 750, 270);

    Command2 = new QPushButton(this);
    Command2->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    Twips::Geometrie(Command2, 60, 3210, 450, 360);
    Command3 = new QPushButton("Speichern", this);
    Twips::Geometrie(Command3, 600, 3210, 1140, 360);
    Command10 = new QPushButton("Abbrechen", this);
    Twips::Geometrie(Command10, 1800, 3210, 1140, 360);
    Command11 = new QPushButton("Hilfe", this);
    Twips::Geometrie(Command11, 3000, 3210, 900, 360);
    Command1 = new QPushButton(this);
    Command1->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    Twips::Geometrie(Command1, 4290, 3210, 450, 360);

    // The two dialogs lie over the page while they are open.
    Frame3 = new QGroupBox("Systemzeit einstellen:", this);
    Frame3->setAutoFillBackground(true);
    Twips::Geometrie(Frame3, 900, 900, 3000, 1260);
    Combo4 = new QComboBox(Frame3);
    Twips::Geometrie(Combo4, 210, 300, 780, 330);
    Combo5 = new QComboBox(Frame3);
    Twips::Geometrie(Combo5, 1110, 300, 780, 330);
    Combo6 = new QComboBox(Frame3);
    Twips::Geometrie(Combo6, 2010, 300, 780, 330);
    Command5 = new QPushButton("Ok", Frame3);
    Twips::Geometrie(Command5, 450, 780, 960, 360);
    Command4 = new QPushButton("Esc", Frame3);
    Twips::Geometrie(Command4, 1590, 780, 960, 360);

    Frame4 = new QGroupBox("Datum einstellen:", this);
    Frame4->setAutoFillBackground(true);
    Twips::Geometrie(Frame4, 900, 900, 3000, 1260);
    Combo7 = new QComboBox(Frame4);
    Twips::Geometrie(Combo7, 210, 300, 750, 330);
    Combo3 = new QComboBox(Frame4);
    Twips::Geometrie(Combo3, 1050, 300, 750, 330);
    Combo2 = new QComboBox(Frame4);
    Twips::Geometrie(Combo2, 1890, 300, 930, 330);
    Command7 = new QPushButton("Ok", Frame4);
    Twips::Geometrie(Command7, 450, 780, 960, 360);
    Command6 = new QPushButton("Esc", Frame4);
    Twips::Geometrie(Command6, 1590, 780, 960, 360);

    const auto nummer = QOverload<int>::of(&QComboBox::currentIndexChanged);
    connect(Combo1, nummer, this, &Datenlogger::Combo1_Click);
    connect(Combo8, nummer, this, &Datenlogger::Combo8_Click);
    connect(Combo9, nummer, this, &Datenlogger::Combo9_Click);
    for (int i = 0; i < 2; ++i) {
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool an) { if (an) Option1_Click(i); });
        connect(Option4[i], &QRadioButton::toggled, this, [this, i](bool an) { if (an) Option4_Click(i); });
    }
    connect(Check1, &QCheckBox::toggled, this, &Datenlogger::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &Datenlogger::Check2_Click);
    connect(Option2, &QRadioButton::toggled, this, &Datenlogger::Option_Zeit_Click);
    connect(Option5, &QRadioButton::toggled, this, &Datenlogger::Option_Zeit_Click);
    connect(Label17, &Verweislabel::clicked, this, &Datenlogger::Label17_Click);
    connect(Command1, &QPushButton::clicked, this, &Datenlogger::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Datenlogger::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Datenlogger::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Datenlogger::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Datenlogger::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Datenlogger::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Datenlogger::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Datenlogger::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &Datenlogger::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &Datenlogger::Command10_Click);
    connect(Command11, &QPushButton::clicked, this, &Datenlogger::Command11_Click);
    Frame3->hide();
    Frame4->hide();
    hide();
}

Datenlogger::~Datenlogger() {
    if (Fenster.Datenlogger == this)
        Fenster.Datenlogger = nullptr;
}

void Datenlogger::Form_Load() {
    Twips::Geometrie(this, 0, 0, 4800, 3600);
    Daten.Datenlogger_bereit = 1;
    Stationsschalter_anwenden(Command11, Command10);
    Laufwerk_anzeigen();
}

void Datenlogger::Laufwerk_anzeigen() { Laufwerk_zeigen(Label16, Daten.Ramdisk2_Anzeige); }

void Datenlogger::Listen_setzen() {
    const Datenloggersatz_t gespeichert = Daten.Datenloggersatz;
    Daten.Datenlogger_bereit = 0;
    Liste_füllen(Combo8, Datenformat::Trennzeichenliste());
    Listenindex_setzen(Combo8, gespeichert.Trennzeichenindex);
    Liste_füllen(Combo9, {"hh:mm:ss", "h:m:s", "hh:mm:ss dd.mm.yy", "hh:mm:ss dd.mm.yyyy"});
    Listenindex_setzen(Combo9, gespeichert.Zeitformatindex);

    Liste_füllen(Combo4, Zweistellig(0, 23));
    Liste_füllen(Combo5, Zweistellig(0, 59));
    Liste_füllen(Combo6, Zweistellig(0, 59));
    Liste_füllen(Combo7, Zweistellig(1, 31));
    Liste_füllen(Combo3, Zweistellig(1, 12));
    QStringList jahre;
    for (int j = 1980; j <= 2079; ++j)
        jahre << QString::number(j);
    Liste_füllen(Combo2, jahre);
    Uhrzeit_vorbelegen();
    Datum_vorbelegen();

    Liste_füllen(Combo1, {"Tag", "Stunde", "Monat", "Tag"});
    Listenindex_setzen(Combo1, gespeichert.Periodenindex);

    if (gespeichert.Datenlogger_ein == 0 || gespeichert.Datenlogger_ein == 1)
        Option1[gespeichert.Datenlogger_ein]->setChecked(true);
    Combo1->setEnabled(gespeichert.Datenlogger_ein == 1);
    Check1->setEnabled(gespeichert.Datenlogger_ein == 1);
    Optionen_setzen(Option2, gespeichert.Zeit_am_Zeilenbeginn != 0, Option5, gespeichert.Zeit_nach_jedem_Messwert != 0);
    if (gespeichert.Dezimalpunkt == 0 || gespeichert.Dezimalpunkt == 1)
        Option4[gespeichert.Dezimalpunkt]->setChecked(true);
    Check1->setChecked(gespeichert.Header_ein == 1);
    Check2->setChecked(gespeichert.Zeit_ein == 1);
    // Setting the separator and the time position counts as their click,
    // whether or not the choice changed: the next logger line gets a header.
    Daten.Headermerker = 1;
    Daten.Datenlogger_bereit = 1;
    Frame3->hide();
    Frame4->hide();
}

void Datenlogger::Uhrzeit_vorbelegen() {
    const QTime jetzt = uhr().jetzt().time();
    Listenindex_setzen(Combo4, jetzt.hour());
    Listenindex_setzen(Combo5, jetzt.minute());
    Listenindex_setzen(Combo6, jetzt.second());
}

void Datenlogger::Datum_vorbelegen() {
    const QDate heute = uhr().jetzt().date();
    Listenindex_setzen(Combo7, heute.day() - 1);
    Listenindex_setzen(Combo3, heute.month() - 1);
    Listenindex_setzen(Combo2, heute.year() - 1980);
}

// Changing what a logger line contains makes a header line due.
void Datenlogger::Header_fällig() { Daten.Headermerker = 1; }

// ---- handlers -------------------------------------------------------------

void Datenlogger::Option1_Click(int Index) {
    Daten.Datenloggersatz.Datenlogger_ein = static_cast<i16>(Index);
    Combo1->setEnabled(Index == 1);
    Check1->setEnabled(Index == 1);
}

void Datenlogger::Combo1_Click() {
    const int index = Combo1->currentIndex();
    if (index < 0)
        return;
    Daten.Dateiperiode = Combo1->currentText();
    Datenformat::Dateinamen_erzeug();
    Label2->setText(Daten.Logdateiname);
    Daten.Datenloggersatz.Periodenindex = static_cast<i16>(index);
}

void Datenlogger::Check1_Click() {
    if (Daten.Datenlogger_bereit != 1)
        return;
    Daten.Datenloggersatz.Header_ein = Check1->isChecked() ? 1 : 0;
    Daten.Headermerker = 1;
}

void Datenlogger::Check2_Click() {
    if (Daten.Datenlogger_bereit != 1)
        return;
    Daten.Datenloggersatz.Zeit_ein = Check2->isChecked() ? 1 : 0;
    Daten.Headermerker = 1;
}

void Datenlogger::Option_Zeit_Click() {
    Daten.Datenloggersatz.Zeit_nach_jedem_Messwert = Option5->isChecked() ? -1 : 0;
    Daten.Datenloggersatz.Zeit_am_Zeilenbeginn = Option2->isChecked() ? -1 : 0;
    Header_fällig();
}

void Datenlogger::Combo8_Click() {
    const int index = Combo8->currentIndex();
    if (index < 0 || index > 2)
        return;
    Daten.Logtrennzeichen = Datenformat::Trennzeichen_zu_Index(index);
    Daten.Datenloggersatz.Trennzeichenindex = static_cast<i16>(index);
    Header_fällig();
}

void Datenlogger::Combo9_Click() {
    const int index = Combo9->currentIndex();
    if (index < 0 || index > 3)
        return;
    Daten.Logzeitformat.clear();
    Daten.Logdatumsformat.clear();
    Daten.Logzeitformat = index == 1 ? "h:m:s" : "hh:mm:ss";
    if (index == 2)
        Daten.Logdatumsformat = "dd.mm.yy";
    else if (index == 3)
        Daten.Logdatumsformat = "dd.mm.yyyy";
    Daten.Datenloggersatz.Zeitformatindex = static_cast<i16>(index);
}

void Datenlogger::Option4_Click(int Index) { Daten.Datenloggersatz.Dezimalpunkt = static_cast<i16>(Index); }

void Datenlogger::Label17_Click() {
    Laufwerk_erfragen(Daten.Ramdisk2, "Ramdisk2",
                      "Bitte gültigen Laufwerksbuchstaben für Zwischenspeicher angeben! (z.B.: e)");
    if (Fenster.MDIForm1)
        Fenster.MDIForm1->Drivetypabfrage2();
    Laufwerk_anzeigen();
}

void Datenlogger::Command8_Click() {
    Uhrzeit_vorbelegen();
    Frame4->hide();
    Frame1->setEnabled(false);
    Frame5->setEnabled(false);
    Frame6->setEnabled(false);
    Frame3->show();
    Frame3->raise();
}

void Datenlogger::Command9_Click() {
    Datum_vorbelegen();
    Frame3->hide();
    Frame1->setEnabled(false);
    Frame5->setEnabled(false);
    Frame6->setEnabled(false);
    Frame4->show();
    Frame4->raise();
}

void Datenlogger::Dialog_schließen(QGroupBox* dialog) {
    dialog->hide();
    Frame1->setEnabled(true);
    Frame5->setEnabled(true);
    Frame6->setEnabled(true);
}

void Datenlogger::Command5_Click() {
    uhr().Uhrzeit_setzen(QTime(Combo4->currentIndex(), Combo5->currentIndex(), Combo6->currentIndex()));
    Ereignisse_verarbeiten();
    Dialog_schließen(Frame3);
    Datenformat::Dateinamen_erzeug();
    Label2->setText(Daten.Logdateiname);
}

void Datenlogger::Command4_Click() { Dialog_schließen(Frame3); }

void Datenlogger::Command7_Click() {
    // A day the month does not have (31.02.) is refused by the clock and
    // changes nothing.
    uhr().Datum_setzen(QDate(Combo2->currentIndex() + 1980, Combo3->currentIndex() + 1, Combo7->currentIndex() + 1));
    Daten.Dateiperiode = Combo1->currentText();
    Datenformat::Dateinamen_erzeug();
    Label2->setText(Daten.Logdateiname);
    Dialog_schließen(Frame4);
}

void Datenlogger::Command6_Click() { Dialog_schließen(Frame4); }

void Datenlogger::Command1_Click() {
    Seite_zeigen(Fenster.Matrix);
}

void Datenlogger::Command2_Click() { hide(); }

void Datenlogger::Command3_Click() {
    if (Fenster.Projekt)
        Fenster.Projekt->speichern();
}

void Datenlogger::Command10_Click() {}
void Datenlogger::Command11_Click() {}
