#include "project/Hinweisform.h"

#include <QStyle>

#include "common/Fenster.h"
#include "common/Festtext.h"
#include "project/Dateiform.h"
#include "platform/Twips.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"
#include "run/Hauptfenster.h"

Hinweisform::Hinweisform(QWidget* eltern) : QFrame(eltern) {
    Fenster.Hinweisform = this;
    setObjectName("Hinweisform");
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setWindowTitle("Hinweis");
    Twips::Geometrie(this, 500, 500, 3900, 2100);

    auto* symbol = new QLabel(this);
    symbol->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    Twips::Geometrie(symbol, 120, 180, 540, 540);

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Twips::Geometrie(Label1, 780, 180, 3000, 1140);

    Command1 = new QPushButton("Fortfahren", this);
    Command1->setObjectName("Command1");
    Twips::Geometrie(Command1, 360, 1440, 1500, 450);
    Command3 = new QPushButton("Ok", this);
    Command3->setObjectName("Command3");
    Twips::Geometrie(Command3, 2040, 1440, 1500, 450);

    connect(Command1, &QPushButton::clicked, this, &Hinweisform::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &Hinweisform::Command3_Click);
    hide();
}

Hinweisform::~Hinweisform() {
    if (Fenster.Hinweisform == this)
        Fenster.Hinweisform = nullptr;
}

void Hinweisform::zeigen(QWidget* auslöser, const QString& text, const QString& knopf1, const QString& knopf3) {
    Label1->setText(text);
    Command1->setText(knopf1);
    Command1->setVisible(!knopf1.isEmpty());
    Command3->setText(knopf3);
    Command3->setVisible(!knopf3.isEmpty());
    auslöser_ = auslöser;
    if (auslöser && auslöser != this)
        auslöser->setEnabled(false);
    show();
    raise();
}

void Hinweisform::beantwortet(int knopf) {
    hide();
    if (Ablauf && Ablauf(Label1->text(), knopf))
        return;
    if (auslöser_)
        auslöser_->setEnabled(true);
}

void Hinweisform::Command1_Click() { beantwortet(1); }
void Hinweisform::Command3_Click() { beantwortet(3); }

void Hinweisform::Datei_öffnen() {
    Projekt* projekt = Fenster.Projekt;
    if (!projekt)
        return;
    projekt->Projektname_aktualisieren();
    projekt->alle_Daten_aus_Dateien_holen();
    projekt->MBForminitialisieren();
    if (Fenster.Hauptfenster)
        Fenster.Hauptfenster->Editoren_auffrischen();
}

void Hinweisform::neues_Projkt_erstellen() {
    Projekt* projekt = Fenster.Projekt;
    if (!projekt)
        return;
    const QString name = Fenster.Dateiform ? RTrim(Fenster.Dateiform->Text1->text()) : QString();
    Variablen_initialisieren();
    // The name becomes current with the complete save of the empty project;
    // a failed save leaves the previous project current for the reload.
    projekt->speichern_unter(name);
    projekt->Gerät_in_Geräteliste();
    if (Fenster.Hauptfenster)
        Fenster.Hauptfenster->Editoren_auffrischen();
    projekt->Reseten();
}
