#include "run/Matrix.h"

#include <QSignalBlocker>
#include <QStringList>

#include "calc/Scanlist.h"
#include "common/Fenster.h"
#include "common/Steuerelemente.h"
#include "keyboard/Eingaberegeln.h"
#include "keyboard/Tastatur.h"
#include "platform/Dialoge.h"
#include "platform/Pfade.h"
#include "platform/Programmstarter.h"
#include "platform/Twips.h"
#include "project/Projekt.h"
#include "run/Matrixkalibrierung.h"

namespace {
// Blanks at both ends removed; zero characters count as blanks, so a name
// never assigned reads as empty and is never made part of a file name.
QString Trim_mit_Nullen(const QString& text) {
    qsizetype a = 0, e = text.size();
    while (a < e && (text[a] == ' ' || text[a] == QChar(0)))
        ++a;
    while (e > a && (text[e - 1] == ' ' || text[e - 1] == QChar(0)))
        --e;
    return text.mid(a, e - a);
}

QLabel* Beschriftung(QWidget* eltern, const QString& text, int l, int t, int w, int h) {
    auto* label = new QLabel(text, eltern);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Twips::Geometrie(label, l, t, w, h);
    return label;
}

QLabel* Anzeigefeld(QLabel* label) {
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Base);
    label->setIndent(3);
    return label;
}

void Seite_aktivieren() {
    if (Matrix* seite = Fenster.Matrix) {
        seite->setEnabled(true);
        seite->show();
        seite->raise();
        seite->activateWindow();
    }
}

// The keyboard's caller "Matrix": the name of the matrix data files. With or
// without a refusal the keyboard closes and the page takes over again.
void Matrix_Return(Tastatur& tastatur, const QString& text) {
    const QString meldung = Eingaberegeln::Matrixdateiname_prüfen(text);
    if (!meldung.isEmpty()) {
        dialoge().Meldung(meldung);
    } else if (Matrix* seite = Fenster.Matrix) {
        seite->Label3[1]->setText(text);
        seite->Eingabe_speich();
    }
    tastatur.hide();
    Seite_aktivieren();
}

void Matrix_Esc() { Seite_aktivieren(); }
}  // namespace

Namenslabel::Namenslabel(QWidget* eltern) : QLabel(eltern) {}

void Namenslabel::mouseReleaseEvent(QMouseEvent* ereignis) {
    if (ereignis->button() == Qt::LeftButton && rect().contains(ereignis->position().toPoint()) && isEnabled())
        emit clicked();
    QLabel::mouseReleaseEvent(ereignis);
}

Matrix::Matrix(QWidget* eltern) : QWidget(eltern) {
    Fenster.Matrix = this;
    setObjectName("Matrix");
    setWindowTitle("Matrix");
    setAutoFillBackground(true);
    Twips::Geometrie(this, 0, 0, 4800, 3600);

    Command6 = new QPushButton("<", this);
    Twips::Geometrie(Command6, 60, 60, 480, 480);
    Label3[0] = new QLabel("A", this);
    QFont groß = Label3[0]->font();
    groß.setBold(true);
    groß.setPixelSize(28);
    Label3[0]->setFont(groß);
    Label3[0]->setAlignment(Qt::AlignCenter);
    Twips::Geometrie(Label3[0], 570, 30, 600, 540);
    Command5 = new QPushButton(">", this);
    Twips::Geometrie(Command5, 1200, 60, 480, 480);

    Label1[0] = Beschriftung(this, "Scannen:", 2040, 150, 900, 300);
    Check1 = new QCheckBox(this);
    Twips::Geometrie(Check1, 2940, 150, 330, 300);

    Label1[1] = Beschriftung(this, "Bis Sensor Nr.:  ", 60, 690, 1380, 300);
    Combo1 = new QComboBox(this);
    Twips::Geometrie(Combo1, 1440, 660, 900, 360);

    Label1[2] = Beschriftung(this, "Bezeichnung:", 60, 1140, 1380, 300);
    auto* name = new Namenslabel(this);
    Label3[1] = Anzeigefeld(name);
    Twips::Geometrie(Label3[1], 1440, 1110, 3300, 360);

    Label1[3] = Beschriftung(this, "Wie speichern:", 60, 1575, 1380, 300);
    // EigenerName 1: the files carry the matrix name; 0: the logger file's
    // running name.
    Option1[1] = new QRadioButton("Feste Datei", this);
    Twips::Geometrie(Option1[1], 1440, 1560, 1500, 330);
    Option1[0] = new QRadioButton("Fortlaufend", this);
    Twips::Geometrie(Option1[0], 3000, 1560, 1700, 330);

    Frame1 = new QGroupBox("Was speichern:", this);
    Twips::Geometrie(Frame1, 60, 1935, 4680, 630);
    Label1[4] = Beschriftung(Frame1, "Rohdaten:", 120, 255, 1000, 300);
    Check2 = new QCheckBox(Frame1);
    Twips::Geometrie(Check2, 1140, 255, 330, 300);
    Label1[5] = Beschriftung(Frame1, "Kalibrierte Werte:", 1800, 255, 1700, 300);
    Check3 = new QCheckBox(Frame1);
    Twips::Geometrie(Check3, 3510, 255, 330, 300);

    Label1[6] = Beschriftung(this, "Ref.-Temp.", 60, 2670, 1000, 300);
    Check4 = new QCheckBox(this);
    Twips::Geometrie(Check4, 1080, 2670, 330, 300);
    Label1[7] = Beschriftung(this, "Signalname:", 1500, 2670, 1080, 300);
    Label4 = Anzeigefeld(new QLabel(this));
    Twips::Geometrie(Label4, 2580, 2640, 2160, 360);

    Command2 = new QPushButton("<<", this);
    Twips::Geometrie(Command2, 60, 3120, 600, 420);
    speichern = new QPushButton("Speichern", this);
    speichern->setObjectName("speichern");
    Twips::Geometrie(speichern, 720, 3120, 1200, 420);
    Command1 = new QPushButton("Kalibierliste", this);
    Twips::Geometrie(Command1, 1980, 3120, 1500, 420);

    // Lies over the upper right part of the page while a signal is chosen.
    List1 = new QListWidget(this);
    List1->setToolTip(Listenhinweis);
    List1->setProperty("Hinweis", QString(Listenhinweis));
    // No keyboard focus: taking focus would make a row current by itself,
    // which counts as a choice.
    List1->setFocusPolicy(Qt::NoFocus);
    Twips::Geometrie(List1, 2580, 630, 2160, 1950);
    List1->hide();

    connect(Command5, &QPushButton::clicked, this, &Matrix::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Matrix::Command6_Click);
    connect(Check1, &QCheckBox::toggled, this, &Matrix::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &Matrix::Check2_Click);
    connect(Check3, &QCheckBox::toggled, this, &Matrix::Check3_Click);
    connect(Check4, &QCheckBox::toggled, this, &Matrix::Check4_Click);
    connect(Combo1, QOverload<int>::of(&QComboBox::currentIndexChanged), this, &Matrix::Combo1_Click);
    for (int i = 0; i < 2; ++i)
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool an) {
            if (an)
                Option1_Click(i);
        });
    connect(List1, &QListWidget::currentRowChanged, this, &Matrix::List1_Click);
    connect(name, &Namenslabel::clicked, this, &Matrix::Label3_Click);
    connect(Command1, &QPushButton::clicked, this, &Matrix::Command1_Click);
    connect(speichern, &QPushButton::clicked, this, &Matrix::speichern_Click);
    connect(Command2, &QPushButton::clicked, this, &Matrix::Command2_Click);

    Tastatur::Aufrufer_anmelden("Matrix", Tastatur::Aufruferregel{false, false, Matrix_Return, Matrix_Esc});
    hide();
}

Matrix::~Matrix() {
    if (Fenster.Matrix == this)
        Fenster.Matrix = nullptr;
}

void Matrix::setVisible(bool sichtbar) {
    if (sichtbar && !geladen_)
        Form_Load();
    QWidget::setVisible(sichtbar);
}

void Matrix::Form_Load() {
    geladen_ = true;
    Handler_frei = false;
    Twips::Geometrie(this, 0, 0, 4800, 3600);
    Matrixnummer = 1;
    QStringList punkte;
    for (int i = 1; i <= 64; ++i)
        punkte << QString::number(i);
    Liste_füllen(Combo1, punkte);
    Namen_vorbelegen();
    Matrix_anzeigen(1);
}

void Matrix::Namen_vorbelegen() {
    for (int m = 1; m <= 8; ++m) {
        Matrixsatz& satz = Daten.Matrixtabelle[m];
        if (Trim_mit_Nullen(satz.Matrixname.roh()).size() < 3)
            satz.Matrixname = QString('_') + Buchstabe(m);
    }
}

void Matrix::Matrix_anzeigen(int nummer) {
    if (nummer < 1 || nummer > 8)
        return;
    Handler_frei = false;
    Matrixnummer = nummer;
    const Matrixsatz& m = Daten.Matrixtabelle[nummer];
    List1->hide();
    Label3[0]->setText(QString(Buchstabe(nummer)));
    Check1->setChecked(m.Aktiv == 1);
    Listenindex_setzen(Combo1, m.Punktzahl);
    Optionen_setzen(Option1[0], m.EigenerName == 0, Option1[1], m.EigenerName == 1);
    Label3[1]->setText(Trim_mit_Nullen(m.Matrixname.roh()));
    Check2->setChecked(m.RohDatei == 1);
    Check3->setChecked(m.KalDatei == 1);
    Check4->setChecked(m.MitSignal == 1);
    Label4->setText(Trim_mit_Nullen(m.Signal.roh()));
    Handler_frei = true;
}

// ---- handlers ----------------------------------------------------------------------

void Matrix::Command5_Click() {
    if (Matrixnummer < 8)
        Matrix_anzeigen(Matrixnummer + 1);
}

void Matrix::Command6_Click() {
    if (Matrixnummer > 1)
        Matrix_anzeigen(Matrixnummer - 1);
}

void Matrix::Check1_Click() {
    if (Handler_frei)
        Daten.Matrixtabelle[Matrixnummer].Aktiv = Check1->isChecked() ? 1 : 0;
}

void Matrix::Check2_Click() {
    if (Handler_frei)
        Daten.Matrixtabelle[Matrixnummer].RohDatei = Check2->isChecked() ? 1 : 0;
}

void Matrix::Check3_Click() {
    if (Handler_frei)
        Daten.Matrixtabelle[Matrixnummer].KalDatei = Check3->isChecked() ? 1 : 0;
}

void Matrix::Combo1_Click() {
    const int index = Combo1->currentIndex();
    if (Handler_frei && index >= 0)
        Daten.Matrixtabelle[Matrixnummer].Punktzahl = static_cast<i16>(index);
}

void Matrix::Option1_Click(int Index) {
    if (Handler_frei)
        Daten.Matrixtabelle[Matrixnummer].EigenerName = static_cast<i16>(Index);
}

void Matrix::Check4_Click() {
    if (!Handler_frei)
        return;
    Matrixsatz& m = Daten.Matrixtabelle[Matrixnummer];
    m.MitSignal = Check4->isChecked() ? 1 : 0;
    if (Check4->isChecked()) {
        {
            const QSignalBlocker sperre(List1);
            List1->clear();
            const int länge = Scanlist::Scanlistenlänge();
            for (int i = 1; i <= länge; ++i)
                List1->addItem(Trim_mit_Nullen(Daten.Scanlistentabelle[i].Signalname.roh()));
            List1->addItem(QString());
            List1->setCurrentRow(-1);
        }
        List1->show();
        List1->raise();
    } else {
        // A list left open would let a signal be chosen for a box that is
        // no longer ticked.
        List1->hide();
        Label4->clear();
        m.Signal = QString();
    }
}

void Matrix::List1_Click(int zeile) {
    if (zeile < 0 || zeile >= List1->count())
        return;
    Handler_frei = false;
    Matrixsatz& m = Daten.Matrixtabelle[Matrixnummer];
    const QString signal = List1->item(zeile)->text();
    Label4->setText(signal);
    m.Signal = signal;
    List1->hide();
    if (!signal.isEmpty()) {
        m.MitSignal = Check4->isChecked() ? 1 : 0;
    } else {
        Check4->setChecked(false);
        m.MitSignal = 0;
    }
    Handler_frei = true;
}

void Matrix::Label3_Click() {
    Tastatur* tastatur = Fenster.Tastatur;
    if (!tastatur)
        return;
    Daten.Tastaturaufrufer = "Matrix";
    const QString name = Label3[1]->text();
    tastatur->Text1->setText(name.size() > 1 ? name : QString());
    setEnabled(false);
    tastatur->zeigen();
}

void Matrix::Eingabe_speich() {
    Matrixsatz& m = Daten.Matrixtabelle[Matrixnummer];
    m.Matrixname = Trim_mit_Nullen(Label3[1]->text());
    m.Signal = Trim_mit_Nullen(Label4->text());
}

void Matrix::Command1_Click() {
    const QString datei = Matrix_Kalibrierdatei(Matrixnummer);
    if (!Matrix_Kalibrierdatei_bereitstellen(Matrixnummer)) {
        dialoge().Meldung("Die Kalibrierliste " + datei + " konnte nicht angelegt werden!");
        return;
    }
    // The editor here is a program of this platform: it gets the local file.
    if (!programmstarter().starten("notepad.exe", {Pfade::lokal(datei)}, Fensterart::normal))
        dialoge().Meldung("notepad.exe konnte nicht gestartet werden!");
}

void Matrix::speichern_Click() {
    if (Fenster.Projekt)
        Fenster.Projekt->speichern();
}

void Matrix::Command2_Click() { hide(); }
