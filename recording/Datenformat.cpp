#include "recording/Datenformat.h"

#include <QStyle>

#include <cmath>

#include "common/Datumstext.h"
#include "common/Fenster.h"
#include "common/Steuerelemente.h"
#include "common/Zahlformat.h"
#include "platform/Twips.h"
#include "platform/Uhr.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"
#include "recording/Datenlogger.h"
#include "recording/Laufwerkswahl.h"

namespace {
i16 Häkchen(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }
i16 Gewählt(const QRadioButton* knopf) { return knopf->isChecked() ? -1 : 0; }

QStringList Zahlen_bis(int bis) {
    QStringList liste;
    for (int i = 0; i <= bis; ++i)
        liste << QString::number(i);
    liste[0] = "--";
    return liste;
}
}

// ---- text builders --------------------------------------------------------

void Datenformat::Vorgaben_setzen() {
    Datenformatsatz_t& f = Daten.Datenformatsatz;
    f.Stundenindex = 0;
    f.Minutenindex = 0;
    f.Sekundenindex = 0;
    f.max = 1;
    f.Trennzeichenindex = 0;
    f.Datumsformatindex = 0;
    f.Zeitformatindex = 0;
    f.Einheiten = 1;
    f.Zeit_am_Zeilenbeginn = -1;
    f.Zeit_nach_jedem_Messwert = 0;
    f.Datum = 1;
    f.Zeit = 1;
    f.Signalnamen = 1;
    f.Dezimalpunkt = 0;
}

void Datenformat::Digitformat(i16 N, QString& s, QString& r, const QString& m) {
    if (!s.contains(','))
        s += ",000000000";
    int vorzeichen = 1;
    if (s.contains('-')) {
        vorzeichen = -1;
        s.remove(0, 1);
    }
    if (s.size() < 9)
        s += "000000000";
    const QString t = s.left(10);
    int e = static_cast<int>(t.indexOf(',') + 1) - 1;
    std::optional<Dezimalzahl> wert = Dezimalzahl::aus_Text(t);
    if (!wert)
        wert = Dezimalzahl::aus_Zahl(0);
    Dezimalzahl x;
    const int komma = static_cast<int>(s.indexOf(','));
    if (e >= 0 || komma == 10) {
        // Exactly ten integer digits: e is -1, the ten digits are taken as
        // they are, without rounding to N digits.
        x = wert->verschoben(-e);
    } else {
        // Eleven or more integer digits: the first ten are the mantissa, so
        // the magnitude comes from the whole text instead of being lost.
        e = komma >= 0 ? komma : static_cast<int>(s.size());
        x = wert->verschoben(-static_cast<int>(t.size()));
    }
    if (Daten.RJunSim) {
        const double summe = x.Text().replace(',', '.').toDouble() +
                             vorzeichen * Daten.RefTempRest / std::pow(10.0, e);
        x = Dezimalzahl::aus_Zahl(summe);
    }
    Dezimalzahl gerundet = x.gerundet(N).verschoben(e);
    gerundet.negativ = gerundet.negativ != (vorzeichen < 0);
    r = gerundet.Text();

    if (m == "auto") {
        // Pad to N significant digits; a whole number gets its comma first
        // when there is room for a decimal after it.
        if (!r.contains(',') && r.size() + 2 <= N + 1)
            r += ',';
        if (r.contains(','))
            while (r.size() < N + 1)
                r += '0';
        return;
    }
    QString muster = m;
    if (N > 4 && !muster.contains('.'))
        muster += "." + QString(N - 4, '0');
    else if (N >= 5 && muster.contains('.'))
        muster += QString(N - 4, '0');
    const std::optional<Dezimalzahl> ergebnis = Dezimalzahl::aus_Text(r);
    r = Zahl_formatieren(ergebnis ? *ergebnis : Dezimalzahl::aus_Zahl(0), muster);
}

void Datenformat::KommazuPunkt(QString& text) {
    const qsizetype stelle = text.indexOf(',');
    if (stelle >= 0)
        text[stelle] = '.';
}

void Datenformat::ZeilenDatstring(QString& z, const QDate& datum, const QTime& zeit) {
    const Datenformatsatz_t& f = Daten.Datenformatsatz;
    z.clear();
    if (f.Datum == 1)
        z = Datum_formatieren(datum, Daten.Datumsformat) + Daten.Trennzeichen;
    if (f.Zeit == 1 && f.Zeit_am_Zeilenbeginn != 0)
        z += Zeit_formatieren(zeit, Daten.Zeitformat) + Daten.Trennzeichen;
    Daten.Stundenstempel = Datum_formatieren(datum, "dd") + Zeit_formatieren(zeit, "hh");
}

void Datenformat::MW_Zeitstring(QString& z, const QTime& zeit) {
    const Datenformatsatz_t& f = Daten.Datenformatsatz;
    if (f.Zeit == 1 && f.Zeit_nach_jedem_Messwert != 0)
        z = Zeit_formatieren(zeit, Daten.Zeitformat) + Daten.Trennzeichen;
    else
        z.clear();
}

void Datenformat::Einheit_ja_nein(const QString& Einheit, QString& text) {
    text = Daten.Datenformatsatz.Einheiten == 1 ? Einheit + Daten.Trennzeichen : QString();
}

void Datenformat::Signam_ja_nein(const QString& Signalname, QString& text) {
    text = Daten.Datenformatsatz.Signalnamen == 1 ? Signalname + Daten.Trennzeichen : QString();
}

void Datenformat::Dateinamen_erzeug() {
    const QDateTime jetzt = uhr().jetzt();
    const QString& periode = Daten.Dateiperiode;
    if (periode == "Stunde")
        Daten.Logdateiname = Datum_formatieren(jetzt.date(), "yymmdd") + Zeit_formatieren(jetzt.time(), "hh") + ".txt";
    else if (periode == "Tag")
        Daten.Logdateiname = Datum_formatieren(jetzt.date(), "yymmmdd") + ".txt";
    else if (periode == "Monat")
        Daten.Logdateiname = Datum_formatieren(jetzt.date(), "yyyymmm") + ".txt";
}

QString Datenformat::Trennzeichen_zu_Index(int index) {
    switch (index) {
    case 0: return QString(QChar('\t'));
    case 1: return ";";
    case 2: return ":";
    default: return {};
    }
}

QStringList Datenformat::Trennzeichenliste() { return {"Tabulator", "Strichpunkt", "Doppelpunkt"}; }

// ---- page -----------------------------------------------------------------

Datenformat::Datenformat(QWidget* eltern) : QWidget(eltern) {
    Fenster.Datenformat = this;
    setObjectName("Datenformat");
    setAutoFillBackground(true);

    Label1 = new QLabel("Datenaufzeichnung", this);
    QFont fett = Label1->font();
    fett.setBold(true);
    fett.setPixelSize(12);
    Label1->setFont(fett);
    Label1->setAlignment(Qt::AlignCenter);
    Twips::Geometrie(Label1, 0, 0, 4800, 270);

    Check1 = new QCheckBox("Datum:", this);
    Twips::Geometrie(Check1, 60, 1470, 960, 300);
    Combo1 = new QComboBox(this);
    Twips::Geometrie(Combo1, 1020, 1455, 1500, 330);
    Check2 = new QCheckBox("Zeit:", this);
    Twips::Geometrie(Check2, 60, 1830, 960, 300);
    Combo2 = new QComboBox(this);
    Twips::Geometrie(Combo2, 1020, 1815, 1500, 330);

    Label2 = new QLabel("Zeit einfügen:", this);
    Twips::Geometrie(Label2, 60, 2190, 1800, 240);
    Option2 = new QRadioButton("am Zeilenbeginn", this);
    Twips::Geometrie(Option2, 180, 2430, 2100, 270);
    Option1 = new QRadioButton("nach jedem Meßwert", this);
    Twips::Geometrie(Option1, 180, 2700, 2340, 270);

    Label3 = new QLabel("Trennzeichen:", this);
    Twips::Geometrie(Label3, 2640, 1470, 1800, 240);
    Combo3 = new QComboBox(this);
    Twips::Geometrie(Combo3, 2640, 1710, 1650, 330);
    Check3 = new QCheckBox("Einheiten", this);
    Twips::Geometrie(Check3, 2640, 2130, 1800, 285);
    Check5 = new QCheckBox("Signalnamen", this);
    Twips::Geometrie(Check5, 2640, 2430, 1800, 285);

    Frame3 = new QGroupBox("Scanintervall:", this);
    Twips::Geometrie(Frame3, 60, 270, 2250, 1110);
    Label5 = new QLabel("Std", Frame3);
    Twips::Geometrie(Label5, 120, 210, 630, 210);
    Label6 = new QLabel("Min", Frame3);
    Twips::Geometrie(Label6, 810, 210, 630, 210);
    Label7 = new QLabel("Sek", Frame3);
    Twips::Geometrie(Label7, 1500, 210, 630, 210);
    Combo4 = new QComboBox(Frame3);
    Twips::Geometrie(Combo4, 90, 420, 660, 330);
    Combo5 = new QComboBox(Frame3);
    Twips::Geometrie(Combo5, 780, 420, 660, 330);
    Combo6 = new QComboBox(Frame3);
    Twips::Geometrie(Combo6, 1470, 420, 660, 330);
    Check4 = new QCheckBox("max", Frame3);
    Twips::Geometrie(Check4, 120, 780, 900, 285);

    Frame2 = new QGroupBox("Dezimaltrennzeichen:", this);
    Twips::Geometrie(Frame2, 2370, 270, 2370, 540);
    Option4 = new QRadioButton("Komma", Frame2);
    Twips::Geometrie(Option4, 120, 225, 1080, 270);
    Option3 = new QRadioButton("Punkt", Frame2);
    Twips::Geometrie(Option3, 1260, 225, 990, 270);

    Frame1 = new QGroupBox("Pfad:", this);
    Twips::Geometrie(Frame1, 2370, 840, 2370, 540);
    Label16 = new QLabel(Frame1);
    Twips::Geometrie(Label16, 120, 225, 1440, 270);
    Label17 = new Verweislabel("ändern", Frame1);
    Twips::Geometrie(Label17, 1620, 225, 660, 270);

    Command2 = new QPushButton(this);
    Command2->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    Twips::Geometrie(Command2, 60, 3180, 450, 390);
    Command3 = new QPushButton("Speichern", this);
    Twips::Geometrie(Command3, 600, 3180, 1140, 390);
    Command4 = new QPushButton("Abbrechen", this);
    Twips::Geometrie(Command4, 1800, 3180, 1140, 390);
    Command8 = new QPushButton("Hilfe", this);
    Twips::Geometrie(Command8, 3000, 3180, 900, 390);
    Command1 = new QPushButton(this);
    Command1->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    Twips::Geometrie(Command1, 4290, 3180, 450, 390);

    const auto nummer = QOverload<int>::of(&QComboBox::currentIndexChanged);
    connect(Combo1, nummer, this, &Datenformat::Combo1_Click);
    connect(Combo2, nummer, this, &Datenformat::Combo2_Click);
    connect(Combo3, nummer, this, &Datenformat::Combo3_Click);
    connect(Combo4, nummer, this, &Datenformat::Combo4_Click);
    connect(Combo5, nummer, this, &Datenformat::Combo5_Click);
    connect(Combo6, nummer, this, &Datenformat::Combo6_Click);
    connect(Check1, &QCheckBox::toggled, this, &Datenformat::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &Datenformat::Check2_Click);
    connect(Check3, &QCheckBox::toggled, this, &Datenformat::Check3_Click);
    connect(Check4, &QCheckBox::toggled, this, &Datenformat::Check4_Click);
    connect(Check5, &QCheckBox::toggled, this, &Datenformat::Check5_Click);
    connect(Option1, &QRadioButton::toggled, this, &Datenformat::Option_Zeit_Click);
    connect(Option2, &QRadioButton::toggled, this, &Datenformat::Option_Zeit_Click);
    connect(Option3, &QRadioButton::toggled, this, [this](bool an) { if (an) Option3_Click(); });
    connect(Option4, &QRadioButton::toggled, this, [this](bool an) { if (an) Option4_Click(); });
    connect(Label17, &Verweislabel::clicked, this, &Datenformat::Label17_Click);
    connect(Command1, &QPushButton::clicked, this, &Datenformat::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Datenformat::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Datenformat::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Datenformat::Command4_Click);
    connect(Command8, &QPushButton::clicked, this, &Datenformat::Command8_Click);
    hide();
}

Datenformat::~Datenformat() {
    if (Fenster.Datenformat == this)
        Fenster.Datenformat = nullptr;
}

void Datenformat::Form_Load() {
    Twips::Geometrie(this, 0, 0, 4800, 3600);
    Stationsschalter_anwenden(Command8, Command4);
    Laufwerk_anzeigen();
}

void Datenformat::Laufwerk_anzeigen() { Laufwerk_zeigen(Label16, Daten.Ramdisk1_Anzeige); }

void Datenformat::Listen_setzen() {
    const Datenformatsatz_t gespeichert = Daten.Datenformatsatz;
    wird_gefüllt_ = true;
    Liste_füllen(Combo3, Trennzeichenliste());
    Listenindex_setzen(Combo3, gespeichert.Trennzeichenindex);
    Liste_füllen(Combo2, {"hh:mm:ss", "h:m:s"});
    Listenindex_setzen(Combo2, gespeichert.Zeitformatindex);
    Liste_füllen(Combo1, {"TT.MM.YY", "TT.MM.YYYY", "TT.MMM", "TT.MMM YY"});
    Listenindex_setzen(Combo1, gespeichert.Datumsformatindex);
    Liste_füllen(Combo4, Zahlen_bis(24));
    Liste_füllen(Combo5, Zahlen_bis(60));
    Liste_füllen(Combo6, Zahlen_bis(60));
    Listenindex_setzen(Combo4, gespeichert.Stundenindex);
    Listenindex_setzen(Combo5, gespeichert.Minutenindex);
    Listenindex_setzen(Combo6, gespeichert.Sekundenindex);

    Check4->setChecked(gespeichert.max != 0);
    Check1->setChecked(gespeichert.Datum != 0);
    Check2->setChecked(gespeichert.Zeit != 0);
    Check3->setChecked(gespeichert.Einheiten != 0);
    Check5->setChecked(gespeichert.Signalnamen != 0);
    Optionen_setzen(Option2, gespeichert.Zeit_am_Zeilenbeginn != 0, Option1, gespeichert.Zeit_nach_jedem_Messwert != 0);
    if (gespeichert.Dezimalpunkt != 0)
        Option3->setChecked(true);
    else
        Option4->setChecked(true);
    // The check boxes keep the values they were filled from, whether or not
    // their state changed.
    Daten.Datenformatsatz.max = gespeichert.max;
    Daten.Datenformatsatz.Datum = gespeichert.Datum;
    Daten.Datenformatsatz.Zeit = gespeichert.Zeit;
    Daten.Datenformatsatz.Einheiten = gespeichert.Einheiten;
    Daten.Datenformatsatz.Signalnamen = gespeichert.Signalnamen;
    wird_gefüllt_ = false;
    Freigaben_setzen();
    Intervall_berechnen();
}

void Datenformat::Freigaben_setzen() {
    Combo1->setEnabled(Check1->isChecked());
    const bool zeit = Check2->isChecked();
    Combo2->setEnabled(zeit);
    Option1->setEnabled(zeit);
    Option2->setEnabled(zeit);
    const bool frei = !Check4->isChecked();
    Combo4->setEnabled(frei);
    Combo5->setEnabled(frei);
    Combo6->setEnabled(frei);
}

void Datenformat::Intervall_berechnen() {
    const Datenformatsatz_t& f = Daten.Datenformatsatz;
    Daten.Aufzeichnungsintervall = f.Stundenindex * 3600.0 + f.Minutenindex * 60.0 + f.Sekundenindex;
}

void Datenformat::showEvent(QShowEvent* ereignis) {
    Combo1->setEnabled(Check1->isChecked());
    Combo2->setEnabled(Check2->isChecked());
    QWidget::showEvent(ereignis);
}

// ---- handlers -------------------------------------------------------------

void Datenformat::Label17_Click() {
    Laufwerk_erfragen(Daten.Ramdisk1, "Ramdisk1",
                      "Bitte gültigen Laufwerksbuchstaben für Datenschnittstelle angeben! (z.B.: d)");
    if (Fenster.MDIForm1)
        Fenster.MDIForm1->Drivetypabfrage1();
    Laufwerk_anzeigen();
}

void Datenformat::Option4_Click() { Daten.Datenformatsatz.Dezimalpunkt = 0; }
void Datenformat::Option3_Click() { Daten.Datenformatsatz.Dezimalpunkt = 1; }

void Datenformat::Combo4_Click() {
    if (Combo4->currentIndex() < 0)
        return;
    Daten.Datenformatsatz.Stundenindex = static_cast<i16>(Combo4->currentIndex());
    Intervall_berechnen();
}

void Datenformat::Combo5_Click() {
    if (Combo5->currentIndex() < 0)
        return;
    Daten.Datenformatsatz.Minutenindex = static_cast<i16>(Combo5->currentIndex());
    Intervall_berechnen();
}

void Datenformat::Combo6_Click() {
    if (Combo6->currentIndex() < 0)
        return;
    Daten.Datenformatsatz.Sekundenindex = static_cast<i16>(Combo6->currentIndex());
    Intervall_berechnen();
}

void Datenformat::Check4_Click() {
    Freigaben_setzen();
    // While the page is filled the boxes keep the stored interval.
    if (wird_gefüllt_)
        return;
    if (Check4->isChecked()) {
        Listenindex_setzen(Combo4, 0);
        Listenindex_setzen(Combo5, 0);
        Listenindex_setzen(Combo6, 0);
    } else {
        Listenindex_setzen(Combo6, 1);
    }
    Daten.Datenformatsatz.max = Häkchen(Check4);
}

void Datenformat::Check1_Click() {
    Combo1->setEnabled(Check1->isChecked());
    Daten.Datenformatsatz.Datum = Häkchen(Check1);
}

void Datenformat::Combo1_Click() {
    static const char* const muster[] = {"dd mm yy", "dd mm yyyy", "dd mmm", "dd mmm yy"};
    const int index = Combo1->currentIndex();
    if (index < 0 || index > 3)
        return;
    Daten.Datumsformat = muster[index];
    Daten.Datenformatsatz.Datumsformatindex = static_cast<i16>(index);
}

void Datenformat::Check2_Click() {
    const bool zeit = Check2->isChecked();
    Combo2->setEnabled(zeit);
    Option1->setEnabled(zeit);
    Option2->setEnabled(zeit);
    Daten.Datenformatsatz.Zeit = Häkchen(Check2);
}

void Datenformat::Combo2_Click() {
    const int index = Combo2->currentIndex();
    if (index < 0 || index > 1)
        return;
    Daten.Zeitformat = index == 0 ? "hh:mm:ss" : "h:m:s";
    Daten.Datenformatsatz.Zeitformatindex = static_cast<i16>(index);
}

void Datenformat::Option_Zeit_Click() {
    Daten.Datenformatsatz.Zeit_am_Zeilenbeginn = Gewählt(Option2);
    Daten.Datenformatsatz.Zeit_nach_jedem_Messwert = Gewählt(Option1);
}

void Datenformat::Combo3_Click() {
    const int index = Combo3->currentIndex();
    if (index < 0 || index > 2)
        return;
    Daten.Trennzeichen = Trennzeichen_zu_Index(index);
    Daten.Datenformatsatz.Trennzeichenindex = static_cast<i16>(index);
}

void Datenformat::Check3_Click() { Daten.Datenformatsatz.Einheiten = Häkchen(Check3); }
void Datenformat::Check5_Click() { Daten.Datenformatsatz.Signalnamen = Häkchen(Check5); }

void Datenformat::Command1_Click() {
    Seite_zeigen(Fenster.Datenlogger);
}

void Datenformat::Command2_Click() { hide(); }

void Datenformat::Command3_Click() {
    if (Fenster.Projekt)
        Fenster.Projekt->speichern();
}

void Datenformat::Command4_Click() {}
void Datenformat::Command8_Click() {}
