#include "points/Kanalbelegung.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QFocusEvent>
#include <QTimer>
#include <QMouseEvent>
#include <QStyle>

#include "calc/Datenreihenfolge.h"
#include "calc/Scanlist.h"
#include "common/Fenster.h"
#include "common/Steuerelemente.h"
#include "keyboard/Blockformaufrufe.h"
#include "keyboard/Eingaberegeln.h"
#include "keyboard/Tastatur.h"
#include "platform/Twips.h"
#include "project/Projekt.h"

namespace {
// Columns: left edge and width in twips.
// The name columns hold what the keyboard lets through: 1500 twips and one
// more character.
constexpr int Spalte_x[4] = {30, 540, 1170, 2985};
constexpr int Spalte_b[4] = {480, 600, 1785, 1785};
// "Klemme" is wider than its column; "Art" moves right to make room.
constexpr int Kopf_x[4] = {30, 765, 1170, 2985};
constexpr int Kopf_b[4] = {720, 375, 1785, 1785};
constexpr int Zeile_y = 300, Zeilenabstand = 270, Zeilenhöhe = 255;

// The hourglass while the lists follow an edit.
struct Sanduhr {
    Sanduhr() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Sanduhr() { QApplication::restoreOverrideCursor(); }
};

// A field never assigned (zero characters) shows as an empty cell, so that
// its zeros never reach the keyboard as a name.
QString Zelltext(QString text) { return text.remove(QChar(0)); }
QString Zelltext_Block(const QString& name) { return RTrim(Links16(Zelltext(name))); }
}  // namespace

Kanalzelle::Kanalzelle(QWidget* eltern) : QLabel(eltern) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    setIndent(2);
}

// The press belongs to the cell, not to the form behind it.
void Kanalzelle::mousePressEvent(QMouseEvent* ereignis) { ereignis->accept(); }

void Kanalzelle::mouseReleaseEvent(QMouseEvent* ereignis) {
    if (ereignis->button() == Qt::LeftButton && rect().contains(ereignis->position().toPoint()) && isEnabled())
        emit clicked();
    QLabel::mouseReleaseEvent(ereignis);
}

Kanalbelegung::Kanalbelegung(QWidget* eltern) : QWidget(eltern) {
    Fenster.Kanalbelegung = this;
    setObjectName("Kanalbelegung");
    setWindowTitle("Kanalbelegung");
    setAutoFillBackground(true);

    const char* const köpfe[4] = {"Klemme", "Art", "Signalbezeichnung", "Meßblockzuordnung"};
    for (int s = 0; s < 4; ++s) {
        Spaltenkopf[s] = new QLabel(QString::fromUtf8(köpfe[s]), this);
        // A point smaller than the cells, so "Meßblockzuordnung" fits its column.
        QFont kopf = Spaltenkopf[s]->font();
        if (kopf.pixelSize() > 0)
            kopf.setPixelSize(kopf.pixelSize() - 1);
        else
            kopf.setPointSizeF(kopf.pointSizeF() - 1);
        Spaltenkopf[s]->setFont(kopf);
        Twips::Geometrie(Spaltenkopf[s], Kopf_x[s], 30, Kopf_b[s], 240);
    }
    for (int i = 0; i < 8; ++i) {
        const int y = Zeile_y + i * Zeilenabstand;
        Label1[i] = new QLabel(this);
        Label1[i]->setObjectName(QString("Label1_%1").arg(i));
        Label1[i]->setIndent(2);
        Twips::Geometrie(Label1[i], Spalte_x[0], y, Spalte_b[0], Zeilenhöhe);
        Label2[i] = new Kanalzelle(this);
        Label2[i]->setObjectName(QString("Label2_%1").arg(i));
        Twips::Geometrie(Label2[i], Spalte_x[1], y, Spalte_b[1], Zeilenhöhe);
        Label4[i] = new Kanalzelle(this);
        Label4[i]->setObjectName(QString("Label4_%1").arg(i));
        Label4[i]->setCursor(Qt::PointingHandCursor);
        Twips::Geometrie(Label4[i], Spalte_x[2], y, Spalte_b[2], Zeilenhöhe);
        Label3[i] = new Kanalzelle(this);
        Label3[i]->setObjectName(QString("Label3_%1").arg(i));
        Label3[i]->setCursor(Qt::PointingHandCursor);
        Twips::Geometrie(Label3[i], Spalte_x[3], y, Spalte_b[3], Zeilenhöhe);
        connect(Label2[i], &Kanalzelle::clicked, this, [this, i] { Label2_Click(i); });
        connect(Label3[i], &Kanalzelle::clicked, this, [this, i] { Label3_Click(i); });
        connect(Label4[i], &Kanalzelle::clicked, this, [this, i] { Label4_Click(i); });
    }

    List1 = new QListWidget(this);
    List1->setObjectName("List1");
    connect(List1, &QListWidget::itemClicked, this, [this](QListWidgetItem* eintrag) { List1_Click(List1->row(eintrag)); });
    Meßblock = new QComboBox(this);
    Meßblock->setObjectName("Meßblock");
    Meßblock->installEventFilter(this);
    connect(Meßblock, &QComboBox::activated, this, &Kanalbelegung::Meßblock_Click);

    Command6 = new QPushButton("< Gruppe", this);
    Twips::Geometrie(Command6, 60, 2520, 1050, 330);
    Command5 = new QPushButton("Gruppe >", this);
    Twips::Geometrie(Command5, 1170, 2520, 1050, 330);
    Command7 = new QPushButton("Meßblockkonfig.", this);
    Twips::Geometrie(Command7, 3030, 2520, 1710, 330);

    const char* const marker[5] = {"nichts", "geändert", "gelöscht", "hinzu", "auf Sense geändert"};
    QLabel** markerlabels[5] = {&Label5, &Label6, &Label7, &Label8, &Label9};
    constexpr int marker_x[5] = {60, 630, 1500, 2340, 2880};
    constexpr int marker_b[5] = {540, 840, 810, 510, 1860};
    for (int m = 0; m < 5; ++m) {
        *markerlabels[m] = new QLabel(this);
        (*markerlabels[m])->setObjectName(QString("Label%1").arg(5 + m));
        (*markerlabels[m])->setProperty("Markertext", QString::fromUtf8(marker[m]));
        Twips::Geometrie(*markerlabels[m], marker_x[m], 2880, marker_b[m], 240);
    }

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

    connect(Command5, &QPushButton::clicked, this, &Kanalbelegung::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Kanalbelegung::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Kanalbelegung::Command7_Click);
    connect(Command1, &QPushButton::clicked, this, &Kanalbelegung::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Kanalbelegung::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Kanalbelegung::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Kanalbelegung::Command4_Click);
    connect(Command8, &QPushButton::clicked, this, &Kanalbelegung::Command8_Click);
    List1->hide();
    Meßblock->hide();
    hide();
}

Kanalbelegung::~Kanalbelegung() {
    if (Fenster.Kanalbelegung == this)
        Fenster.Kanalbelegung = nullptr;
}

void Kanalbelegung::Form_Load() {
    Twips::Geometrie(this, 0, 0, 4800, 3600);
    Stationsschalter_anwenden(Command8, Command4);
    if (Daten.Testlabels == 0)
        KanalbelegungTest_Aus();
    Meßblock->hide();
    List1->hide();
    List1->clear();
    List1->addItems({"Input", "Sense"});
    Daten.aktuelle_Gruppe = 1;
    Gruppe_zeigen();
}

// ---- showing a group ---------------------------------------------------------

void Kanalbelegung::Gruppe_zeigen() {
    const int g = Daten.aktuelle_Gruppe;
    if (g < 1 || g > 16)
        return;
    const Kanalgruppe& k = Daten.Kanaltabelle[g];
    // Only the sense slots (B, D, ... P) can change the kind of a terminal.
    const bool gerade = g % 2 == 0;
    for (int i = 0; i < 8; ++i) {
        const int t = i + 1;
        Label1[i]->setText(Zelltext(k.Klemme[t].text()));
        Label2[i]->setText(Zelltext(k.Art[t].text()));
        Label4[i]->setText(Zelltext(k.Signalbezeichnung[t].text()));
        Label3[i]->setText(Zelltext_Block(k.Messblockzuordnung[t].text()));
        Label2[i]->setCursor(gerade ? Qt::PointingHandCursor : Qt::ArrowCursor);
    }
}

void Kanalbelegung::Labels_auffrischen() {
    Daten.aktuelle_Gruppe = 1;
    Gruppe_zeigen();
}

void Kanalbelegung::Command5_Click() {
    if (Daten.aktuelle_Gruppe >= 16)
        return;
    ++Daten.aktuelle_Gruppe;
    Gruppe_zeigen();
}

void Kanalbelegung::Command6_Click() {
    if (Daten.aktuelle_Gruppe <= 1)
        return;
    --Daten.aktuelle_Gruppe;
    Gruppe_zeigen();
}

void Kanalbelegung::Gruppenknöpfe(bool an) {
    Command5->setEnabled(an);
    Command6->setEnabled(an);
}

// ---- marker labels -------------------------------------------------------------

void Kanalbelegung::KanalbelegungTest_Ein() {
    if (Daten.Testlabels != 1)
        return;
    for (QLabel* l : {Label5, Label6, Label7, Label8, Label9}) {
        l->clear();
        l->show();
    }
}

void Kanalbelegung::KanalbelegungTest_Aus() {
    for (QLabel* l : {Label5, Label6, Label7, Label8, Label9})
        l->hide();
}

void Kanalbelegung::Markerlabels_leeren() {
    for (QLabel* l : {Label5, Label6, Label7, Label8, Label9})
        l->clear();
}

void Kanalbelegung::Marker_zeigen(const QString& text) {
    for (QLabel* l : {Label5, Label6, Label7, Label8, Label9})
        if (l->property("Markertext").toString() == text)
            l->setText(text);
}

// ---- the form -------------------------------------------------------------------

void Kanalbelegung::mousePressEvent(QMouseEvent* ereignis) {
    QWidget::mousePressEvent(ereignis);
    Form_Click();
}

void Kanalbelegung::Form_Click() {
    Meßblock->hide();
    List1->hide();
    Gruppenknöpfe(true);
    KanalbelegungTest_Aus();
}

// ---- changing the kind ------------------------------------------------------------

void Kanalbelegung::Label2_Click(int index) {
    if (index < 0 || index > 7)
        return;
    if (Daten.aktuelle_Gruppe % 2 != 0) {
        KanalbelegungTest_Ein();
        return;
    }
    Daten.aktuelle_Zeile = static_cast<i16>(index);
    Twips::Geometrie(List1, Spalte_x[2], Zeile_y + index * Zeilenabstand, 900, 540);
    List1->clearSelection();
    List1->show();
    List1->raise();
    Gruppenknöpfe(false);
    KanalbelegungTest_Ein();
}

void Kanalbelegung::List1_Click(int index) {
    if (index < 0 || index >= List1->count())
        return;
    const int i = Daten.aktuelle_Zeile, g = Daten.aktuelle_Gruppe;
    if (i < 0 || i > 7 || g < 1 || g > 16)
        return;
    const QString neu = List1->item(index)->text();
    const QString alt = Label2[i]->text();
    Änderungsmerker_t& m = Daten.Änderungsmerker;
    Markerlabels_leeren();
    {
        Sanduhr sanduhr;
        if (neu == alt) {
            Marker_zeigen("nichts");
        } else if (alt == "Input" && neu == "Sense") {
            m.Merker_Sense = true;
            Marker_zeigen("auf Sense geändert");
            m.Alter_Messblock = Label3[i]->text();
            m.Alter_Signalname = Label4[i]->text();
        } else if (neu == "Input" && (alt == "Sense" || alt.isEmpty())) {
            m.Merker_hinzu = true;
            Marker_zeigen("hinzu");
        }
        Label2[i]->setText(neu);
        Daten.Kanaltabelle[g].Art[i + 1] = neu;
        in_Listen_übernehmen();
    }
    List1->hide();
    Gruppenknöpfe(true);
}

// ---- assigning a block -------------------------------------------------------------

QStringList Kanalbelegung::Blockliste() {
    QStringList liste;
    for (int b = 1; b <= 20; ++b) {
        const QString name = Daten.Messblocktabelle[b].Messblockname.text();
        if (name == "neu")
            break;
        liste << Zelltext_Block(name);
    }
    liste << "neu";
    return liste;
}

void Kanalbelegung::Label3_Click(int index) {
    if (index < 0 || index > 7)
        return;
    Daten.aktuelle_Zeile = static_cast<i16>(index);
    Twips::Geometrie(Meßblock, Spalte_x[3], Zeile_y + index * Zeilenabstand, Spalte_b[3], 300);
    Meßblock_GotFocus();
    Meßblock->show();
    Meßblock->raise();
    Meßblock->setFocus();
    Gruppenknöpfe(false);
    KanalbelegungTest_Ein();
}

void Kanalbelegung::Meßblock_GotFocus() { Liste_füllen(Meßblock, Blockliste()); }

void Kanalbelegung::Meßblock_LostFocus() {
    Meßblock->hide();
    Gruppenknöpfe(true);
}

bool Kanalbelegung::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == Meßblock) {
        // The list's own popup takes the focus and gives it back, as a popup
        // or (on some window systems) as another window: that is neither a
        // focus gain (the refill would lose the choice) nor a loss.
        const auto grund = [ereignis] { return static_cast<QFocusEvent*>(ereignis)->reason(); };
        if (ereignis->type() == QEvent::FocusIn && grund() != Qt::PopupFocusReason &&
            grund() != Qt::ActiveWindowFocusReason)
            Meßblock_GotFocus();
        else if (ereignis->type() == QEvent::FocusOut && grund() != Qt::PopupFocusReason)
            QTimer::singleShot(0, this, [this] {
                if (Meßblock->isVisible() && !Meßblock->hasFocus() && !Meßblock->view()->isVisible())
                    Meßblock_LostFocus();
            });
    }
    return QWidget::eventFilter(objekt, ereignis);
}

void Kanalbelegung::Meßblock_Click(int index) {
    if (index < 0 || index >= Meßblock->count())
        return;
    const int i = Daten.aktuelle_Zeile, g = Daten.aktuelle_Gruppe;
    if (i < 0 || i > 7 || g < 1 || g > 16)
        return;
    const QString neu = Meßblock->itemText(index);
    if (neu == "neu") {
        // A new block: the keyboard asks for its name; the terminal stays as it is.
        Meßblock->setCurrentIndex(-1);
        Blockformaufrufe::anzeigen();
        Daten.Tastaturaufrufer = "MBForm";
        if (Tastatur* tastatur = Fenster.Tastatur) {
            tastatur->Text1->clear();
            setEnabled(false);
            tastatur->zeigen();
        }
        Blockformaufrufe::ausblenden();
        Blockformaufrufe::Blockliste_leeren();
        Meßblock_LostFocus();
        return;
    }

    Meßblock->hide();
    const QString alt = Label3[i]->text();
    Änderungsmerker_t& m = Daten.Änderungsmerker;
    {
        Sanduhr sanduhr;
        Markerlabels_leeren();
        if (neu == alt) {
            Marker_zeigen("nichts");
        } else if (!neu.isEmpty() && !alt.isEmpty()) {
            m.Merker_geändert = true;
            Marker_zeigen("geändert");
            m.Umbenannt_Messblock = Links16(alt);
            m.Umbenannt_Signalname = Label4[i]->text();
        } else if (!neu.isEmpty()) {
            m.Merker_hinzu = true;
            Marker_zeigen("hinzu");
        } else {
            m.Merker_gelöscht = true;
            Marker_zeigen("gelöscht");
            m.Alter_Messblock = alt;
            m.Alter_Signalname = Label4[i]->text();
            Label3[i]->clear();
            Daten.Kanaltabelle[g].Messblockzuordnung[i + 1] = QString();
        }
        Label3[i]->setText(Links16(neu));
        Daten.Kanaltabelle[g].Messblockzuordnung[i + 1] = Links16(neu);
        in_Listen_übernehmen();
    }
    Gruppenknöpfe(true);
}

// ---- entering a signal name ----------------------------------------------------------

void Kanalbelegung::Label4_Click(int index) {
    if (index < 0 || index > 7)
        return;
    Daten.Tastaturaufrufer = "Kanalbelegung";
    Daten.aktuelle_Zeile = static_cast<i16>(index);
    if (Tastatur* tastatur = Fenster.Tastatur) {
        tastatur->Text1->setText(Label4[index]->text());
        setEnabled(false);
        tastatur->zeigen();
    }
    KanalbelegungTest_Ein();
}

void Kanalbelegung::Signalbezeichnung_übernehmen(const QString& neu) {
    const int i = Daten.aktuelle_Zeile, g = Daten.aktuelle_Gruppe;
    if (i < 0 || i > 7 || g < 1 || g > 16)
        return;
    const QString alt = Label4[i]->text();
    Änderungsmerker_t& m = Daten.Änderungsmerker;
    Sanduhr sanduhr;
    Markerlabels_leeren();
    const Eingaberegeln::Änderung änderung = Eingaberegeln::Signaländerung(alt, neu);
    switch (änderung) {
    case Eingaberegeln::Änderung::nichts:
        break;
    case Eingaberegeln::Änderung::geändert:
        m.Merker_geändert = true;
        m.Umbenannt_Messblock = Label3[i]->text();
        m.Umbenannt_Signalname = alt;
        break;
    case Eingaberegeln::Änderung::hinzu:
        m.Merker_hinzu = true;
        break;
    case Eingaberegeln::Änderung::gelöscht:
        m.Merker_gelöscht = true;
        m.Alter_Messblock = Label3[i]->text();
        m.Alter_Signalname = alt;
        // A terminal without a signal name has no block either.
        Label3[i]->clear();
        Daten.Kanaltabelle[g].Messblockzuordnung[i + 1] = QString();
        break;
    }
    Marker_zeigen(Eingaberegeln::Markertext(änderung));
    Daten.Kanaltabelle[g].Signalbezeichnung[i + 1] = neu;
    Label4[i]->setText(Daten.Kanaltabelle[g].Signalbezeichnung[i + 1].text());
    in_Listen_übernehmen();
}

// ---- passing an edit on to the lists -----------------------------------------------------

void Kanalbelegung::in_Listen_übernehmen() {
    Änderungsmerker_t& m = Daten.Änderungsmerker;
    Scanlist* scan = Fenster.Scanlist;
    Datenreihenfolge* aufz = Fenster.Datenreihenfolge;
    const bool s_opt = scan && scan->optimieren(), s_halten = scan && scan->festhalten();
    const bool r_über = aufz && aufz->übernehmen(), r_halten = aufz && aufz->festhalten();
    // When an option window has neither of its buttons chosen nothing is called.
    const bool paar = (s_opt || s_halten) && (r_über || r_halten);

    if (m.Merker_hinzu) {
        m.Merker_hinzu = false;
        if (paar) {
            if (s_opt)
                scan->Scanlistopti();
            else
                scan->Anhängselanhängen();
            scan->Scanlistmerker();
            if (r_über) {
                aufz->Scanlistübernahme();
                aufz->First_Aufzpuffer_füllen();
            } else {
                aufz->aus_Scanlist_neuen_Pkt_übernehmen();
            }
        }
    } else if (m.Merker_gelöscht) {
        m.Merker_gelöscht = false;
        if (paar) {
            if (s_opt)
                scan->Scanlistopti();
            else
                scan->Zeile_löschen();
            scan->Scanlistmerker();
            if (r_über) {
                aufz->Scanlistübernahme();
                aufz->First_Aufzpuffer_füllen();
            } else {
                aufz->Dummy_einfügen();
                aufz->in_Puffer_Dummy_einfügen();
            }
        }
    } else if (m.Merker_geändert) {
        m.Merker_geändert = false;
        if (paar) {
            if (s_opt) {
                scan->Scanlistopti();
                scan->Scanlistmerker();
            } else {
                scan->aktualisiereSignalbez();
            }
            if (r_über) {
                aufz->Scanlistübernahme();
                aufz->First_Aufzpuffer_füllen();
            } else {
                aufz->Puffer_aktualisieren();
                aufz->Aufz_liste_aktualisieren();
            }
        }
    } else if (m.Merker_Sense) {
        m.Merker_Sense = false;
        // A sense terminal is never a scan point: it leaves both lists also
        // while the recording order is kept (its column goes, no placeholder).
        if (paar) {
            scan->Zeile_löschen();
            scan->Scanlistmerker();
            aufz->Zeile_raus_aus_Liste_und_Puffer();
        }
    }
    Daten.Headermerker = 1;
}

// ---- buttons -------------------------------------------------------------------------

void Kanalbelegung::Command1_Click() {
    Seite_zeigen(Fenster.Scanlist);
}

void Kanalbelegung::Command2_Click() { hide(); }

void Kanalbelegung::Command3_Click() {
    if (Fenster.Projekt)
        Fenster.Projekt->speichern();
}

void Kanalbelegung::Command4_Click() { Blockformaufrufe::anzeigen(); }
void Kanalbelegung::Command7_Click() { Blockformaufrufe::anzeigen(); }
void Kanalbelegung::Command8_Click() {}
