#include "calc/Ordnungsseite.h"

#include <QFont>
#include <QStyle>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Steuerelemente.h"
#include "platform/Twips.h"
#include "project/Projekt.h"

Ordnungsseite::Ordnungsseite(QWidget* eltern, const QString& überschrift, const QString& andere_Ordnung)
    : QWidget(eltern) {
    setAutoFillBackground(true);

    Label1 = new QLabel(überschrift, this);
    QFont fett = Label1->font();
    fett.setBold(true);
    fett.setPixelSize(fett.pixelSize() > 0 ? fett.pixelSize() + 3 : 14);
    Label1->setFont(fett);
    Label1->setAlignment(Qt::AlignCenter);
    Twips::Geometrie(Label1, 0, 0, 4800, 300);

    Frame2 = new QGroupBox("Reihenfolge", this);
    Twips::Geometrie(Frame2, 90, 330, 4620, 570);
    Option1 = new QRadioButton("festhalten", Frame2);
    Twips::Geometrie(Option1, 120, 240, 1350, 270);
    Option2 = new QRadioButton(andere_Ordnung, Frame2);
    Twips::Geometrie(Option2, 1560, 240, 2970, 270);
    Option2->setChecked(true);  // a new project takes the other order

    Frame1 = new QGroupBox(this);
    Twips::Geometrie(Frame1, 90, 930, 4620, 2160);
    List2 = new Ziehliste(Frame1);
    List2->setObjectName("List2");
    Twips::Geometrie(List2, 90, 90, 4440, 1980);

    Command2 = new QPushButton(this);
    Command2->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    Twips::Geometrie(Command2, 90, 3150, 510, 390);
    Command3 = new QPushButton("Speichern", this);
    Twips::Geometrie(Command3, 690, 3150, 1140, 390);
    Command4 = new QPushButton("Abbrechen", this);
    Twips::Geometrie(Command4, 1920, 3150, 1140, 390);
    Command8 = new QPushButton("Hilfe", this);
    Twips::Geometrie(Command8, 3150, 3150, 900, 390);
    Command1 = new QPushButton(this);
    Command1->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    Twips::Geometrie(Command1, 4200, 3150, 510, 390);

    connect(Command2, &QPushButton::clicked, this, &Ordnungsseite::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Ordnungsseite::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Ordnungsseite::Command4_Click);
    connect(Command8, &QPushButton::clicked, this, &Ordnungsseite::Command8_Click);
    hide();
}

void Ordnungsseite::Form_Load() {
    Twips::Geometrie(this, 0, 0, 4800, 3600);
    Daten.Ziehmerker = 0;
    Stationsschalter_anwenden(Command8, Command4);
}

void Ordnungsseite::Command2_Click() { hide(); }

void Ordnungsseite::Command3_Click() {
    if (Fenster.Projekt)
        Fenster.Projekt->speichern();
}

void Ordnungsseite::Command4_Click() {}
void Ordnungsseite::Command8_Click() {}
