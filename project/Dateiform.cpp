#include "project/Dateiform.h"

#include <QDir>
#include <QKeyEvent>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "keyboard/Tastatur.h"
#include "platform/Dialoge.h"
#include "platform/Pfade.h"
#include "platform/Twips.h"
#include "project/Hinweisform.h"
#include "project/Projekt.h"

namespace {
const QString Verboten = "/\\:*?\"<>|";

// The keyboard hands the typed name to the name field; the dialog's "OK" checks it.
void Dateiform_Return(Tastatur& tastatur, const QString& text) {
    tastatur.hide();
    if (Dateiform* dialog = Fenster.Dateiform) {
        dialog->Text1->setText(text);
        dialog->setEnabled(true);
    }
}

void Dateiform_Esc() {
    if (Fenster.Dateiform)
        Fenster.Dateiform->setEnabled(true);
}
}

Dateiform::Dateiform(QWidget* eltern) : QWidget(eltern) {
    Fenster.Dateiform = this;
    setObjectName("Dateiform");
    setAutoFillBackground(true);
    Twips::Geometrie(this, 900, 60, 4455, 2055);

    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    Twips::Geometrie(Label2, 120, 60, 2100, 255);
    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Twips::Geometrie(Text1, 120, 360, 2100, 315);
    File1 = new QListWidget(this);
    File1->setObjectName("File1");
    Twips::Geometrie(File1, 2340, 60, 1995, 1875);
    Command2 = new QPushButton("OK", this);
    Command2->setObjectName("Command2");
    Twips::Geometrie(Command2, 120, 1320, 1000, 450);
    Command1 = new QPushButton("Abbrechen", this);
    Command1->setObjectName("Command1");
    Twips::Geometrie(Command1, 1200, 1320, 1020, 450);

    connect(File1, &QListWidget::currentRowChanged, this, &Dateiform::File1_Click);
    connect(Command1, &QPushButton::clicked, this, &Dateiform::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Dateiform::Command2_Click);
    Text1->installEventFilter(this);
    Tastatur::Aufrufer_anmelden("Dateiform", Tastatur::Aufruferregel{false, false, Dateiform_Return, Dateiform_Esc});
    hide();
}

Dateiform::~Dateiform() {
    if (Fenster.Dateiform == this)
        Fenster.Dateiform = nullptr;
}

bool Dateiform::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == Text1 && ereignis->type() == QEvent::KeyPress) {
        const int taste = static_cast<QKeyEvent*>(ereignis)->key();
        if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
            Command2_Click();
            return true;
        }
        if (taste == Qt::Key_Escape) {
            Command1_Click();
            return true;
        }
    }
    if (objekt == Text1 && ereignis->type() == QEvent::MouseButtonPress) {
        // Names are typed only for a new name; others are picked from the list.
        const QString aktion = Label2->text();
        Text1->setReadOnly(aktion != "speichern unter..." && aktion != "neu");
        if (!Text1->isReadOnly())
            Tastatur_öffnen();
    }
    return QWidget::eventFilter(objekt, ereignis);
}

void Dateiform::Tastatur_öffnen() {
    Tastatur* tastatur = Fenster.Tastatur;
    if (!tastatur)
        return;
    Daten.Tastaturaufrufer = "Dateiform";
    tastatur->Text1->setText(Text1->text());
    setEnabled(false);
    tastatur->zeigen();
}

void Dateiform::öffnen(const QString& aktion) {
    Label2->setText(aktion);
    Text1->setText(Fenster.Projekt ? Fenster.Projekt->Label1->text() : Daten.Projektname);
    Text1->setReadOnly(aktion != "speichern unter..." && aktion != "neu");
    File1_auffrischen();
    show();
    raise();
}

void Dateiform::File1_auffrischen() {
    File1->blockSignals(true);
    File1->clear();
    const QDir ordner(Pfade::lokal("c:\\kestrix\\intern\\vorg_rei"));
    File1->addItems(ordner.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase));
    File1->blockSignals(false);
}

void Dateiform::File1_Click(int zeile) {
    if (zeile >= 0)
        Text1->setText(File1->item(zeile)->text());
}

void Dateiform::Command1_Click() {
    Text1->clear();
    hide();
}

bool Dateiform::Name_zulässig(const QString& name) {
    for (const QChar c : name)
        if (Verboten.contains(c))
            return false;
    return true;
}

QString Dateiform::Erweiterung_normalisieren(const QString& name) {
    const qsizetype punkt = name.indexOf('.');
    return punkt >= 0 ? name.left(punkt + 1) + "kxp" : name + ".kxp";
}

bool Dateiform::existiert(const QString& name) const {
    for (int i = 0; i < File1->count(); ++i)
        if (File1->item(i)->text() == name)
            return true;
    return false;
}

void Dateiform::Hinweis(const QString& text, const QString& knopf1, const QString& knopf3) {
    if (Fenster.Hinweisform)
        Fenster.Hinweisform->zeigen(this, text, knopf1, knopf3);
}

void Dateiform::Command2_Click() {
    const QString aktion = Label2->text();
    const QString name = RTrim(Text1->text());
    const bool vorhanden = existiert(name);
    const QString aktuell = Fenster.Projekt ? Fenster.Projekt->Label1->text() : Daten.Projektname;
    const QString verbotene_zeichen = "Dateiname darf folgende Zeichen nicht enthalten: /\\:*?\"<>|";

    if (aktion == "speichern unter...") {
        if (vorhanden) {
            Hinweis("dieses Projekt existiert bereits!", "Überschreiben", "Abbrechen");
            return;
        }
        if (!Name_zulässig(name)) {
            dialoge().Meldung(verbotene_zeichen);
            return;
        }
        Text1->setText(Erweiterung_normalisieren(name));
        if (Fenster.Projekt) {
            Fenster.Projekt->Projektname_aktualisieren();
            if (Fenster.Projekt->Messdatenverzeichnis_anlegen)
                Fenster.Projekt->Messdatenverzeichnis_anlegen();
            Fenster.Projekt->alles_speichern();
        }
        File1_auffrischen();
        hide();
    } else if (aktion == "löschen") {
        if (name == aktuell)
            Hinweis("das aktuelle Projekt kann nicht gelöscht werden!", {}, "Ok");
        else
            Hinweis("gelöschte Projekte gehen unwiederbringlich verloren!", "Fortfahren", "Abbrechen");
    } else if (aktion == "öffnen") {
        if (name == aktuell)
            Hinweis("das ausgewählte Projekt ist bereits geöffnet!", {}, "Ok");
        else
            Hinweis("sollen Änderungen in aktuellem Projekt gespeichert werden?", "Ja", "Nein");
    } else if (aktion == "neu") {
        if (!Name_zulässig(name)) {
            dialoge().Meldung(verbotene_zeichen);
            return;
        }
        const QString neu = Erweiterung_normalisieren(name);
        Text1->setText(neu);
        if (neu.size() >= 13)
            Hinweis("Bitte max. 8 Zeichen eingeben!", {}, "Ok");
        else if (existiert(neu))
            Hinweis("Projektname ist schon für anderes Projekt vergeben!", {}, "Ändern");
        else if (neu == aktuell)
            Hinweis("Projektname entspricht dem Namen des aktuellen Projekts!", {}, "Ändern");
        else
            Hinweis("sollen Änderungen in aktuellem Projekt gespeichert werden?", "Ja", "Nein");
    }
}

bool Dateiform::Hinweis_beantwortet(const QString& text, int knopf) {
    const QString aktion = Label2->text();
    Projekt* projekt = Fenster.Projekt;
    Hinweisform* hinweis = Fenster.Hinweisform;
    const auto zurück = [this] { setEnabled(true); };

    if (text == "sollen Änderungen in aktuellem Projekt gespeichert werden?" && (aktion == "öffnen" || aktion == "neu")) {
        setEnabled(true);
        if (knopf == 1 && projekt)
            projekt->speichern();
        if (hinweis) {
            if (aktion == "öffnen")
                hinweis->Datei_öffnen();
            else
                hinweis->neues_Projkt_erstellen();
        }
        return true;
    }
    if (text == "gelöschte Projekte gehen unwiederbringlich verloren!" && aktion == "löschen") {
        zurück();
        if (knopf == 1 && projekt)
            projekt->löschen();
        return true;
    }
    if (text == "dieses Projekt existiert bereits!" && aktion == "speichern unter...") {
        zurück();
        if (knopf == 1 && projekt) {
            projekt->Projektname_aktualisieren();
            projekt->alles_speichern();
        }
        return true;
    }
    if ((text == "das aktuelle Projekt kann nicht gelöscht werden!" && aktion == "löschen") ||
        (text == "das ausgewählte Projekt ist bereits geöffnet!" && aktion == "öffnen") ||
        ((text == "Bitte max. 8 Zeichen eingeben!" || text == "Projektname ist schon für anderes Projekt vergeben!" ||
          text == "Projektname entspricht dem Namen des aktuellen Projekts!") &&
         aktion == "neu")) {
        zurück();
        return true;
    }
    return false;
}
