#include "project/Dateiform.h"

#include <QDir>
#include <QKeyEvent>

#include <utility>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "keyboard/Tastatur.h"
#include "platform/Dialoge.h"
#include "platform/Pfade.h"
#include "platform/Text1252.h"
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
    // The designed width (4455) would hang over the panel's right edge by
    // 555 twips: the dialog ends at the edge and its list is as much narrower.
    Twips::Geometrie(this, 900, 60, 4800 - 900, 2055);

    Label2 = new QLabel(this);
    Label2->setObjectName("Label2");
    Twips::Geometrie(Label2, 120, 60, 2100, 255);
    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Twips::Geometrie(Text1, 120, 360, 2100, 315);
    File1 = new QListWidget(this);
    File1->setObjectName("File1");
    Twips::Geometrie(File1, 2340, 60, 1995 - 555, 1875);
    Command2 = new QPushButton("OK", this);
    Command2->setObjectName("Command2");
    Twips::Geometrie(Command2, 120, 1320, 1000, 450);
    Command1 = new QPushButton("Abbrechen", this);
    Command1->setObjectName("Command1");
    Twips::Geometrie(Command1, 1200, 1320, 1020, 450);

    // Only a touch picks a project: the list's focus alone makes a row current.
    connect(File1, &QListWidget::itemClicked, this, [this](QListWidgetItem* eintrag) { File1_Click(File1->row(eintrag)); });
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
    ausstehende_Aktion_.clear();
    ausstehender_Name_.clear();
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

QString Dateiform::Namensfehler(const QString& name) {
    // The current-project file and the record files hold Windows-1252 bytes,
    // one name per line: a name must come back from them as it was.
    for (const QChar c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || Text1252::dekodieren(QByteArray(1, Text1252::zeichen(c))) != c)
            return "Der Projektname enthält ein Zeichen, das nicht gespeichert werden kann: \"" + QString(c) + "\"";
    // Nothing before the dot: a hidden file whose data would land in the
    // root of the data folders.
    if (name.left(name.indexOf('.')).trimmed().isEmpty())
        return "Bitte einen Projektnamen eingeben! Er darf nicht leer sein und nicht mit einem Punkt beginnen.";
    return {};
}

bool Dateiform::existiert(const QString& name) const {
    // The store finds its files without regard to case.
    for (int i = 0; i < File1->count(); ++i)
        if (File1->item(i)->text().compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

void Dateiform::Hinweis(const QString& text, const QString& knopf1, const QString& knopf3) {
    if (Fenster.Hinweisform)
        Fenster.Hinweisform->zeigen(this, text, knopf1, knopf3);
}

bool Dateiform::Name_prüfen(const QString& name) {
    if (!Name_zulässig(name)) {
        dialoge().Meldung("Dateiname darf folgende Zeichen nicht enthalten: /\\:*?\"<>|");
        return false;
    }
    const QString fehler = Namensfehler(name);
    if (!fehler.isEmpty()) {
        dialoge().Meldung(fehler);
        return false;
    }
    if (name.size() >= 13) {
        Hinweis("Bitte max. 8 Zeichen eingeben!", {}, "Ok");
        return false;
    }
    return true;
}

void Dateiform::Command2_Click() {
    const QString aktion = Label2->text();
    QString name = RTrim(Text1->text());
    const QString aktuell = Fenster.Projekt ? Fenster.Projekt->Label1->text() : Daten.Projektname;

    // A name with a forbidden character is refused before any lookup.
    if (!Name_zulässig(name)) {
        Name_prüfen(name);
        return;
    }
    if (aktion == "speichern unter..." || aktion == "neu") {
        name = Erweiterung_normalisieren(name);
        Text1->setText(name);
    }
    if (!Name_prüfen(name))
        return;
    const bool vorhanden = existiert(name);

    if (aktion == "speichern unter...") {
        if (vorhanden) {
            Hinweis("dieses Projekt existiert bereits!", "Überschreiben", "Abbrechen");
            return;
        }
        if (Fenster.Projekt && !Fenster.Projekt->speichern_unter(name, true))
            return;
        File1_auffrischen();
        hide();
        Aktion_fortsetzen();
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
        if (vorhanden)
            Hinweis("Projektname ist schon für anderes Projekt vergeben!", {}, "Ändern");
        else if (name == aktuell)
            Hinweis("Projektname entspricht dem Namen des aktuellen Projekts!", {}, "Ändern");
        else
            Hinweis("sollen Änderungen in aktuellem Projekt gespeichert werden?", "Ja", "Nein");
    }
}

void Dateiform::Aktion_ausführen(const QString& aktion) {
    if (Hinweisform* hinweis = Fenster.Hinweisform) {
        if (aktion == "öffnen")
            hinweis->Datei_öffnen();
        else
            hinweis->neues_Projkt_erstellen();
    }
}

void Dateiform::Aktion_fortsetzen() {
    if (ausstehende_Aktion_.isEmpty())
        return;
    const QString aktion = std::exchange(ausstehende_Aktion_, {});
    const QString name = std::exchange(ausstehender_Name_, {});
    Label2->setText(aktion);
    Text1->setText(name);
    const QString aktuell = Fenster.Projekt ? Fenster.Projekt->Label1->text() : Daten.Projektname;
    // Saved under the very name that was chosen: nothing left to open, and
    // a new project must not overwrite what was just saved.
    if (aktion == "öffnen" && name == aktuell) {
        show();
        Hinweis("das ausgewählte Projekt ist bereits geöffnet!", {}, "Ok");
        return;
    }
    File1_auffrischen();
    if (aktion == "neu" && existiert(name)) {
        show();
        Hinweis("Projektname ist schon für anderes Projekt vergeben!", {}, "Ändern");
        return;
    }
    Aktion_ausführen(aktion);
}

bool Dateiform::Hinweis_beantwortet(const QString& text, int knopf) {
    const QString aktion = Label2->text();
    Projekt* projekt = Fenster.Projekt;
    const auto zurück = [this] { setEnabled(true); };

    if (text == "sollen Änderungen in aktuellem Projekt gespeichert werden?" && (aktion == "öffnen" || aktion == "neu")) {
        setEnabled(true);
        if (knopf == 1 && projekt) {
            // The default project is saved under a name first (its "speichern"
            // opens this dialog for it); the chosen action follows that save.
            if (projekt->Label1->text() == "noname01.kxp") {
                ausstehende_Aktion_ = aktion;
                ausstehender_Name_ = Text1->text();
            }
            if (!projekt->speichern())
                return true;  // not saved: nothing is opened or created over the changes
        }
        Aktion_ausführen(aktion);
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
        if (knopf == 1 && projekt && projekt->speichern_unter(RTrim(Text1->text()), true))
            Aktion_fortsetzen();
        return true;
    }
    if ((text == "das aktuelle Projekt kann nicht gelöscht werden!" && aktion == "löschen") ||
        (text == "das ausgewählte Projekt ist bereits geöffnet!" && aktion == "öffnen") ||
        (text == "Bitte max. 8 Zeichen eingeben!" && Fenster.Hinweisform && Fenster.Hinweisform->Auslöser() == this) ||
        ((text == "Projektname ist schon für anderes Projekt vergeben!" ||
          text == "Projektname entspricht dem Namen des aktuellen Projekts!") &&
         aktion == "neu")) {
        zurück();
        return true;
    }
    return false;
}
