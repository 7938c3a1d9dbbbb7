#include "project/MDIForm1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QDir>

#include <algorithm>

#include "calc/CalcuReihenfolge.h"
#include "calc/Datenreihenfolge.h"
#include "calc/Scanlist.h"
#include "common/Fenster.h"
#include "common/Kestiini.h"
#include "common/Protokolldatei.h"
#include "keyboard/Tastatur.h"
#include "platform/Dialoge.h"
#include "platform/Einzelinstanz.h"
#include "platform/Pfade.h"
#include "platform/Programmende.h"
#include "platform/Twips.h"
#include "platform/Warten.h"
#include "points/MBForm1.h"
#include "points/MBForm4.h"
#include "points/Kanalbelegung.h"
#include "project/Dateiform.h"
#include "project/Hinweisform.h"
#include "project/Network.h"
#include "project/Projekt.h"
#include "recording/Datendateien.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"
#include "run/Hauptfenster.h"
#include "run/Matrix.h"

namespace {
const QColor Hellrot(0xFF, 0xC0, 0xC0);  // C0C0FF in blue-green-red order

i16 Ziffer(const QString& text) { return static_cast<i16>(text.trimmed().toInt()); }

// First start on an empty station root: the system drive and the two working
// drives named in "Kesti.ini" are created as folders.
void Station_einrichten() {
    QDir wurzel(Pfade::Stationswurzel());
    if (wurzel.exists() && !wurzel.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty())
        return;
    wurzel.mkpath(".");
    for (const QString& lw : {QString("c"), Daten.Ramdisk1.text().left(1), Daten.Ramdisk2.text().left(1)})
        if (!lw.isEmpty() && lw[0].isLetter())
            wurzel.mkpath(lw.toLower());
}
}

MDIForm1::MDIForm1(QWidget* eltern) : QWidget(eltern) {
    Fenster.MDIForm1 = this;
    setObjectName("MDIForm1");
    setWindowTitle("Orvamet Kestrix ");
    Arbeitsfläche = new QWidget(this);
    // The grey of an empty frame; a selector, so the pages keep their own colours.
    Arbeitsfläche->setObjectName("Arbeitsflaeche");
    Arbeitsfläche->setAttribute(Qt::WA_StyledBackground);
    Arbeitsfläche->setStyleSheet("#Arbeitsflaeche { background-color: #808080; }");
    Timer1 = new QTimer(this);
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &MDIForm1::Timer1_Timer);
}

MDIForm1::~MDIForm1() {
    Seiten_entladen();
    if (Fenster.MDIForm1 == this)
        Fenster.MDIForm1 = nullptr;
}

bool MDIForm1::MDIForm_Load() {
    if (Einzelinstanz::andere_läuft()) {
        dialoge().Meldung("Programm kann nicht zweimal gestartet werden!");
        programmende().sofort_beenden(0);
        return false;
    }
    if (!Kestiini_lesbar()) {
        dialoge().Meldung("Die Stationseinstellungen \"Kesti.ini\" fehlen oder sind nicht lesbar:\r" +
                          QDir::toNativeSeparators(Kestiinipfad()) + "\rDas Programm wird beendet.");
        programmende().sofort_beenden(1);
        return false;
    }
    Stationseinstellungen_lesen();
    Station_einrichten();
    Drivetypabfrage1();
    Drivetypabfrage2();
    Einstellungen_anwenden();
    Seiten_laden();
    Layout_anwenden();

    if (Daten.Stromausfallmerker == 1 && Fenster.Hauptfenster) {
        Fenster.Hauptfenster->show();
        Fenster.Hauptfenster->messen->setEnabled(false);
        Timer1->start();
    }
    return true;
}

void MDIForm1::Stationseinstellungen_lesen() {
    Daten.Betriebsart = Kestiini_abfragen("Betriebsart", "8");
    Daten.MDeviceLocation = Kestiini_abfragen("MDeviceLocation", "3");
    Daten.DisplayType = Kestiini_abfragen("DisplayType", "7");
    Daten.Testlabels = Ziffer(Kestiini_abfragen("Testlabels", "1"));
    Daten.Esc = Kestiini_abfragen("Esc", "1");
    Daten.Help = Kestiini_abfragen("Help", "1");
    Daten.MeasureDevice = Ziffer(Kestiini_abfragen("MeasureDevice", "1"));
    Daten.DevicePort = Ziffer(Kestiini_abfragen("DevicePort", "1"));
    Daten.HelpSchalter = Ziffer(Kestiini_abfragen("HelpSchalter", "1"));
    Daten.EscSchalter = Ziffer(Kestiini_abfragen("EscSchalter", "1"));
    Daten.Testlabels = Ziffer(Kestiini_abfragen("Testlabels", "1"));
    Daten.OperatingSystem = Kestiini_abfragen("OperatingSystem", "6");
    Daten.RefTempMeasurement = Kestiini_abfragen("RefTempMeasurement", "1");
    Daten.Ramdisk1 = Kestiini_abfragen("Ramdisk1", "3");
    Daten.Ramdisk2 = Kestiini_abfragen("Ramdisk2", "3");
}

void MDIForm1::Einstellungen_anwenden() {
    // The project page applies the device mode and the meter location to its
    // meter frame when it loads; here only the program-wide consequences.
    if (Daten.Betriebsart != "Gerät   ")
        Daten.MeasureDevice = 0;
    if (Daten.MDeviceLocation == "ext") {
        Daten.ExtTabellenmerker = -1;
        Daten.ExtAnhaltmerker = 1;
    }
}

bool Laufwerk_prüfen(Festtext<3>& laufwerk, const QString& schlüssel, const QString& meldung,
                     const QString& beispiel, Laufwerksanzeige& anzeige) {
    for (;;) {
        const Laufwerkstyp typ = laufwerke().Typ(laufwerk.roh());
        if (typ != Laufwerkstyp::kein_Stammverzeichnis && typ != Laufwerkstyp::wechselbar &&
            typ != Laufwerkstyp::Netzwerk && typ != Laufwerkstyp::CDROM) {
            if (typ == Laufwerkstyp::RAMDisk)
                anzeige = {laufwerk.roh() + "Ramdisk ", QColor()};
            else if (typ == Laufwerkstyp::fest)
                anzeige = {laufwerk.roh() + "Harddisk ", Hellrot};
            else
                anzeige = {laufwerk.roh() + "??? ", Hellrot};
            return true;
        }
        const QString antwort = dialoge().Eingabe(
            meldung + "\r" + "Bitte gültigen Laufwerksbuchstaben für RamDriveA angeben! (z.B.: " + beispiel + ")");
        if (antwort.isEmpty())
            return false;
        const QString neu = antwort.left(1) + ":\\";
        if (!Kestiini_schreiben(schlüssel, "3", neu))
            dialoge().Meldung("Das neue Laufwerk konnte nicht in \"Kesti.ini\" gespeichert werden (Eintrag \"" +
                              schlüssel + "\" fehlt oder Datei nicht beschreibbar).");
        laufwerk = neu;
    }
}

void MDIForm1::Drivetypabfrage1() {
    if (!Laufwerk_prüfen(Daten.Ramdisk1, "Ramdisk1", "Laufwerk nicht als Datenschnittstelle geeignet!", "d",
                         Daten.Ramdisk1_Anzeige))
        programmende().sofort_beenden(0);
}

void MDIForm1::Drivetypabfrage2() {
    if (!Laufwerk_prüfen(Daten.Ramdisk2, "Ramdisk2", "Laufwerk nicht als Pufferspeicher geeignet!", "e",
                         Daten.Ramdisk2_Anzeige))
        programmende().sofort_beenden(0);
}

void MDIForm1::Seiten_laden() {
    auto* haupt = new Hauptfenster(Arbeitsfläche);
    new Projekt(Arbeitsfläche);
    Fenster.Projekt->Messdatenverzeichnis_anlegen = [] { Datendateien::Meßdatenverz_anleg(); };
    auto* dialog = new Dateiform(Arbeitsfläche);
    auto* hinweis = new Hinweisform(Arbeitsfläche);
    hinweis->Ablauf = [dialog](const QString& text, int knopf) { return dialog->Hinweis_beantwortet(text, knopf); };
    (new Datenformat(Arbeitsfläche))->Form_Load();
    (new Datenlogger(Arbeitsfläche))->Form_Load();
    (new Scanlist(Arbeitsfläche))->Form_Load();
    (new Datenreihenfolge(Arbeitsfläche))->Form_Load();
    (new CalcuReihenfolge(Arbeitsfläche))->Form_Load();
    (new MBForm1(Arbeitsfläche))->Form_Load();
    (new MBForm4(Arbeitsfläche))->Form_Load();
    (new Kanalbelegung(Arbeitsfläche))->Form_Load();
    if (Fenster.Projekt)
        Fenster.Projekt->Weiter = [] {
            if (Fenster.Kanalbelegung) {
                Fenster.Kanalbelegung->show();
                Fenster.Kanalbelegung->raise();
            }
        };
    (new Tastatur(Arbeitsfläche))->Form_Load();
    (new Mausfangform(Arbeitsfläche))->Form_Load();
    (new Network(Arbeitsfläche))->Form_Load();
    new Matrix(Arbeitsfläche);  // loads when first shown, with the project loaded by then
    if (Fenster.Projekt) {
        // The way from the project page to the network page: the page has no
        // free space left, so the button sits at the right end of the serial
        // number frame, clear of its title and of the serial number.
        auto* netzwerk = new QPushButton("Netzwerk", Fenster.Projekt->Frame4);
        netzwerk->setObjectName("Netzwerkknopf");
        Twips::Geometrie(netzwerk, 3540, 165, 1050, 285);
        QObject::connect(netzwerk, &QPushButton::clicked, Fenster.Projekt, [] {
            if (Fenster.Network) {
                Fenster.Network->show();
                Fenster.Network->raise();
            }
        });
    }
    if (Fenster.Projekt)
        Fenster.Projekt->Rechenliste_speichern = [] {
            if (Fenster.CalcuReihenfolge)
                Fenster.CalcuReihenfolge->rechenini_rückspeichern();
        };
    haupt->Form_Load();
    // The channel page shows the loaded project (until the main window's load does it).
    if (Fenster.Kanalbelegung)
        Fenster.Kanalbelegung->Labels_auffrischen();
    haupt->show();
}

void MDIForm1::Seiten_entladen() {
    if (Fenster.Hauptfenster) {
        Fenster.Hauptfenster->Form_Unload();
        delete Fenster.Hauptfenster;
    }
    delete Fenster.Hinweisform;
    delete Fenster.Dateiform;
    delete Fenster.Projekt;
    delete Fenster.Scanlist;
    delete Fenster.Datenreihenfolge;
    delete Fenster.CalcuReihenfolge;
    delete Fenster.MBForm1;
    delete Fenster.MBForm4;
    delete Fenster.Datenformat;
    delete Fenster.Datenlogger;
    delete Fenster.Kanalbelegung;
    delete Fenster.Tastatur;
    delete Fenster.Mausfangform;
    delete Fenster.Network;
    delete Fenster.Matrix;
}

void MDIForm1::Viertel_VGA_Geometrie() {
    QCursor::setPos(160, 120);
    // The frame lies off the screen by the room its border and title took on
    // the panel's original system. Nothing is drawn there on this platform,
    // so the page area starts at the screen corner and keeps the full size.
    const QPoint ecke(Twips::px(-360), Twips::px(-70));
    move(ecke);
    resize(Twips::px(4970) - ecke.x(), Twips::px(4060) - ecke.y());
    Seitenfläche_anordnen();
}

void MDIForm1::Seitenfläche_anordnen() {
    const QPoint versatz(std::max(0, -geometry().x()), std::max(0, -geometry().y()));
    Arbeitsfläche->setGeometry(rect().adjusted(versatz.x(), versatz.y(), 0, 0));
}

namespace {
// A set-up page on the external monitor: taller, without "Hilfe" and
// "Abbrechen", its arrows and "Speichern" moved up.
void Monitorseite(QWidget* seite, int höhe, std::initializer_list<QWidget*> ausblenden,
                  std::initializer_list<QWidget*> hochrücken) {
    if (!seite)
        return;
    seite->resize(Twips::px(4800), Twips::px(höhe));
    for (QWidget* knopf : ausblenden)
        knopf->hide();
    for (QWidget* knopf : hochrücken)
        knopf->move(knopf->x(), knopf->y() - Twips::px(Monitor_hochrücken));
}
}

void MDIForm1::Seiten_für_Monitor() {
    if (auto* s = Fenster.Projekt)
        Monitorseite(s, 3700, {s->Command4, s->Command5}, {s->Command1, s->Command2, s->Command3});
    if (auto* s = Fenster.Kanalbelegung)
        Monitorseite(s, 3800, {s->Command4, s->Command8}, {s->Command1, s->Command2, s->Command3});
    if (auto* s = Fenster.MBForm1)
        Monitorseite(s, 3700, {s->Command4, s->Command5}, {s->Command1, s->Command2, s->Command3});
    if (auto* s = Fenster.MBForm4)
        Monitorseite(s, 3700, {s->Command4, s->Command5}, {s->Command1, s->Command2, s->Command3});
    if (auto* s = Fenster.Scanlist) {
        Monitorseite(s, 3700, {s->Command4, s->Command8}, {s->Command1, s->Command2, s->Command3});
        s->Label1->setText("Scanliste");
    }
    if (auto* s = Fenster.Datenreihenfolge) {
        Monitorseite(s, 3700, {s->Command4, s->Command8}, {s->Command1, s->Command2, s->Command3});
        s->Label1->setText("Aufzeichnungsreihenfolge");
    }
    if (auto* s = Fenster.CalcuReihenfolge) {
        Monitorseite(s, 3700, {s->Command4, s->Command8}, {s->Command1, s->Command2, s->Command3});
        s->Label1->setText("berechnete Werte:");
    }
    if (auto* s = Fenster.Datenformat)
        Monitorseite(s, 3700, {s->Command4, s->Command8}, {s->Command1, s->Command2, s->Command3});
    if (auto* s = Fenster.Datenlogger)
        Monitorseite(s, 3700, {s->Command10, s->Command11}, {s->Command1, s->Command2, s->Command3});
    if (auto* s = Fenster.Network)
        Monitorseite(s, 3700, {s->Command4, s->Command5}, {s->Command2, s->ändern});
    if (auto* s = Fenster.Matrix)
        Monitorseite(s, 3700, {}, {s->Command2, s->speichern});
}

void MDIForm1::Layout_anwenden() {
    in_Anordnung_ = true;
    if (Daten.DisplayType == "1/4 VGA") {
        Viertel_VGA_Geometrie();
        Daten.Quartervgamerker = 1;
    } else if (Daten.DisplayType == "ExtMoni") {
        resize(Twips::px(4900), Twips::px(4100));
        if (Fenster.Hauptfenster) {
            // Left -100 hid the page border of the original system; pages
            // have none here, so the controls in that strip move out of it.
            Twips::Geometrie(Fenster.Hauptfenster, -100, 0, 4800, 3800);
            for (QWidget* teil : Fenster.Hauptfenster->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                teil->move(std::max(teil->x(), Twips::px(100)), teil->y());
        }
        Seiten_für_Monitor();
        if (Fenster.Mausfangform)
            Fenster.Mausfangform->hide();
        Daten.Quartervgamerker = 0;
    }
    in_Anordnung_ = false;
}

void MDIForm1::resizeEvent(QResizeEvent* ereignis) {
    QWidget::resizeEvent(ereignis);
    Seitenfläche_anordnen();
    if (in_Anordnung_)
        return;
    in_Anordnung_ = true;
    if (Daten.Quartervgamerker == 1) {
        Viertel_VGA_Geometrie();
    } else {
        setWindowState(Qt::WindowNoState);
        resize(Twips::px(4900), Twips::px(4100));
    }
    in_Anordnung_ = false;
}

void MDIForm1::moveEvent(QMoveEvent* ereignis) {
    QWidget::moveEvent(ereignis);
    Seitenfläche_anordnen();
}

void MDIForm1::Timer1_Timer() {
    Timer1->stop();
    Hauptfenster* haupt = Fenster.Hauptfenster;
    if (!haupt)
        return;
    haupt->messen->setEnabled(true);
    haupt->messen_drücken();
}

void MDIForm1::entladen() {
    if (entladen_)
        return;
    entladen_ = true;
    Seiten_entladen();
    if (Daten.Resetmerker == 1)
        return;
    Timer1->stop();
    Ereignisse_verarbeiten();
    hide();
    QCoreApplication::quit();
}

void MDIForm1::neu_laden() {
    // Queued: the page that asked for the reload is among those destroyed.
    QMetaObject::invokeMethod(this, [this] {
        Seiten_entladen();
        entladen_ = false;
        if (!MDIForm_Load())
            return;
        Ereignisse_verarbeiten();
        if (Fenster.Hauptfenster)
            Fenster.Hauptfenster->show();
        if (Fenster.Projekt)
            Fenster.Projekt->show();
        Daten.Resetmerker = 0;
    }, Qt::QueuedConnection);
}

void MDIForm1::closeEvent(QCloseEvent* ereignis) {
    // A run keeps the pages in use further up the stack, so they cannot be
    // unloaded under it: end at once, as a power failure would, and the next
    // start resumes the run.
    if (Fenster.Hauptfenster && Fenster.Hauptfenster->Läufe_aktiv() > 0) {
        Protokolldatei_schreiben("Programm beendet");
        programmende().sofort_beenden(0);
        ereignis->ignore();  // reached only where ending is not carried out
        return;
    }
    entladen();
    ereignis->accept();
}
