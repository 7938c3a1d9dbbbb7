#include "keyboard/Tastatur.h"

#include <algorithm>

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>

#include "common/Fenster.h"
#include "keyboard/Blockformaufrufe.h"
#include "keyboard/Eingaberegeln.h"
#include "platform/Dialoge.h"
#include "platform/Twips.h"
#include "points/Kanalbelegung.h"
#include "points/Messstellentabellen.h"
#include "project/MDIForm1.h"

namespace {
const QColor Grau(0xC0, 0xC0, 0xC0);
const QColor Dunkel(0x40, 0x40, 0x40);

// Five rows of twelve keys.
const char* const Belegung[Tastatur::Tastenzahl] = {
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "0", "ß", "<-",  //
    "Q", "W", "E", "R", "T", "Z", "U", "I", "O", "P", "Ü", "->",  //
    "A", "S", "D", "F", "G", "H", "J", "K", "L", "Ö", "Ä", "[",   //
    "Y", "X", "C", "V", "B", "N", "M", ",", ".", "-", "_", "]",   //
    "+", "*", "/", "^", "(", ")", "=", "<", ">", ";", ":", "!",   //
};

constexpr int Spalten = 12;
// The window's designed width would hang over the right edge of the panel
// (1580 + 3655 > 4800 twips); it ends at the edge, and every key lies in the
// 3220 twips that are on the screen.
constexpr int Tastenbreite = 250, Tastenabstand = 265, Tastenlinks = 30;
constexpr int Tastenhöhe = 240, Zeilenabstand = 255, Tastenoben = 390;

// "Kanalbelegung": the signal name of a terminal of the channel page.
void Kanalbelegung_Return(Tastatur& tastatur, const QString& text) {
    Kanalbelegung* seite = Fenster.Kanalbelegung;
    const Eingaberegeln::Prüfergebnis prüfung = Eingaberegeln::Signalname_prüfen(text);
    if (!prüfung.angenommen()) {
        dialoge().Meldung(prüfung.Meldung);
        if (prüfung.schließen) {
            tastatur.hide();
            if (seite) {
                seite->setEnabled(true);
                seite->show();
            }
        }
        return;
    }
    tastatur.hide();
    if (seite) {
        seite->Signalbezeichnung_übernehmen(text);
        seite->setEnabled(true);
    }
}

void Kanalbelegung_Esc() {
    if (Fenster.Kanalbelegung)
        Fenster.Kanalbelegung->setEnabled(true);
}

// "MBForm": the name of a new measurement block. The channel page opens the
// keyboard for it too (its block list's "neu"), so it is enabled again here.
void MBForm_Return(Tastatur& tastatur, const QString& text) {
    const QString meldung = Eingaberegeln::Blockname_prüfen(text, Messblockliste());
    if (!meldung.isEmpty()) {
        dialoge().Meldung(meldung);  // the keyboard stays open for correction
        return;
    }
    Blockformaufrufe::Enablen();
    Blockformaufrufe::anzeigen();
    tastatur.hide();
    Blockformaufrufe::Tastaturtext_verarbeiten(text);
    Blockformaufrufe::initialisieren();
    if (Fenster.Kanalbelegung)
        Fenster.Kanalbelegung->setEnabled(true);
}

void MBForm_Esc() {
    Blockformaufrufe::ausblenden();
    if (Fenster.Kanalbelegung)
        Fenster.Kanalbelegung->setEnabled(true);
}
}  // namespace

// ---- keys ----------------------------------------------------------------------

Taste::Taste(const QString& text, QWidget* eltern) : QLabel(text, eltern) {
    setAlignment(Qt::AlignCenter);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setAutoFillBackground(true);
    Farben_setzen(Grau, QApplication::palette().color(QPalette::ButtonText));
}

void Taste::Farben_setzen(const QColor& hintergrund, const QColor& schrift) {
    QPalette farben = palette();
    farben.setColor(QPalette::Window, hintergrund);
    farben.setColor(QPalette::WindowText, schrift);
    setPalette(farben);
}

void Taste::mouseReleaseEvent(QMouseEvent* ereignis) {
    if (ereignis->button() == Qt::LeftButton && rect().contains(ereignis->position().toPoint()) && isEnabled())
        emit clicked();
    QLabel::mouseReleaseEvent(ereignis);
}

// ---- caller rules ----------------------------------------------------------------

QMap<QString, Tastatur::Aufruferregel>& Tastatur::Regeln() {
    static QMap<QString, Aufruferregel> regeln = [] {
        QMap<QString, Aufruferregel> r;
        r.insert("Kanalbelegung", Aufruferregel{false, false, Kanalbelegung_Return, Kanalbelegung_Esc});
        r.insert("MBForm", Aufruferregel{false, false, MBForm_Return, MBForm_Esc});
        return r;
    }();
    return regeln;
}

void Tastatur::Aufrufer_anmelden(const QString& name, Aufruferregel regel) { Regeln().insert(name, std::move(regel)); }

const Tastatur::Aufruferregel* Tastatur::Regel(const QString& name) {
    const auto it = Regeln().constFind(name);
    return it == Regeln().constEnd() ? nullptr : &it.value();
}

// ---- window ---------------------------------------------------------------------

Tastatur::Tastatur(QWidget* eltern) : QFrame(eltern) {
    Fenster.Tastatur = this;
    setObjectName("Tastatur");
    setWindowTitle("Tastatur");
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);

    Text1 = new QLineEdit(this);
    Text1->setObjectName("Text1");
    Twips::Geometrie(Text1, 45, 45, 1680, 315);
    Text1->installEventFilter(this);

    // A drop-down list: the space beside the line holds one row, too small to
    // pick a name by touch; its opened list has rows a finger can hit.
    List1 = new QComboBox(this);
    List1->setObjectName("List1");
    List1->setPlaceholderText("Signale");
    List1->setMaxVisibleItems(7);
    Twips::Geometrie(List1, 1785, 45, 1410, 315);
    List1->hide();

    for (int i = 0; i < Tastenzahl; ++i) {
        Label1[i] = new Taste(QString::fromUtf8(Belegung[i]), this);
        Label1[i]->setObjectName(QString("Label1_%1").arg(i));
        Twips::Geometrie(Label1[i], Tastenlinks + (i % Spalten) * Tastenabstand,
                         Tastenoben + (i / Spalten) * Zeilenabstand, Tastenbreite, Tastenhöhe);
        connect(Label1[i], &Taste::clicked, this, [this, i] { Label1_Click(i); });
    }
    const int unten = Tastenoben + 5 * Zeilenabstand + 15;
    Label6 = new Taste("Shift", this);
    Twips::Geometrie(Label6, 30, unten, 540, 270);
    Label2 = new Taste("Spacebar", this);
    Twips::Geometrie(Label2, 585, unten, 990, 270);
    Label7 = new Taste("Del", this);
    Twips::Geometrie(Label7, 1590, unten, 480, 270);
    Label3 = new Taste("Esc", this);
    Twips::Geometrie(Label3, 2085, unten, 480, 270);
    Label4 = new Taste("Return", this);
    Twips::Geometrie(Label4, 2580, unten, 615, 270);

    connect(Label2, &Taste::clicked, this, &Tastatur::Label2_Click);
    connect(Label3, &Taste::clicked, this, &Tastatur::Label3_Click);
    connect(Label4, &Taste::clicked, this, &Tastatur::Label4_Click);
    connect(Label6, &Taste::clicked, this, &Tastatur::Label6_Click);
    connect(Label7, &Taste::clicked, this, &Tastatur::Label7_Click);
    connect(List1, &QComboBox::activated, this, [this](int zeile) {
        List1_Click(zeile);
        List1->setCurrentIndex(-1);
    });
    hide();
}

Tastatur::~Tastatur() {
    if (Fenster.Tastatur == this)
        Fenster.Tastatur = nullptr;
}

void Tastatur::Form_Load() {
    Twips::Geometrie(this, 1580, 60, std::min(3655, 4800 - 1580), 2000);
    Umschaltzähler = 0;
    Label6->Farben_setzen(Grau, QApplication::palette().color(QPalette::ButtonText));
}

void Tastatur::zeigen() {
    show();
    raise();
    activateWindow();
}

void Tastatur::showEvent(QShowEvent* ereignis) {
    QFrame::showEvent(ereignis);
    const Aufruferregel* regel = Regel(Daten.Tastaturaufrufer);
    const bool liste = regel && regel->Signalliste;
    if (liste) {
        // The signal names of the scan list, one per scan position.
        List1->clear();
        for (int i = 1; i <= 120; ++i) {
            const QString name = Daten.Scanlistentabelle[i].Signalname.text();
            if (name.isEmpty())
                break;
            List1->addItem(name);
            List1->setItemData(List1->count() - 1, QSize(0, Twips::px(375)), Qt::SizeHintRole);
        }
    }
    List1->setVisible(liste);
    Text1->setFocus();
    Text1->deselect();
    Text1->end(false);
}

// ---- editing ----------------------------------------------------------------------

Eingaberegeln::Zeile Tastatur::lesen() const {
    Eingaberegeln::Zeile z;
    z.Text = Text1->text();
    z.Cursor = Text1->cursorPosition();
    if (Text1->hasSelectedText()) {
        z.Auswahlbeginn = Text1->selectionStart();
        z.Auswahllänge = static_cast<int>(Text1->selectedText().size());
    } else {
        z.Auswahlbeginn = z.Cursor;
    }
    return z;
}

void Tastatur::schreiben(const Eingaberegeln::Zeile& z) {
    if (Text1->text() != z.Text)
        Text1->setText(z.Text);
    if (z.Auswahllänge > 0)
        Text1->setSelection(z.Auswahlbeginn, z.Auswahllänge);
    else {
        Text1->deselect();
        Text1->setCursorPosition(z.Cursor);
    }
    Text1->setFocus();
}

bool Tastatur::Klammern() const {
    const Aufruferregel* regel = Regel(Daten.Tastaturaufrufer);
    return regel && regel->Klammern;
}

int Tastatur::Textbreite() const {
    return QFontMetrics(Text1->font()).horizontalAdvance(Text1->text()) * Twips::pro_Pixel;
}

bool Tastatur::Umschaltung_an() const { return Label6->palette().color(QPalette::Window) == Dunkel; }

Taste* Tastatur::Taste_mit(const QString& beschriftung) const {
    for (Taste* t : Label1)
        if (t->text() == beschriftung)
            return t;
    return nullptr;
}

void Tastatur::Zeichen_tippen(const QString& zeichen) {
    if (Textbreite() >= Breitengrenze)
        return;
    Eingaberegeln::Zeile z = lesen();
    Eingaberegeln::einfügen(z, zeichen, Klammern());
    schreiben(z);
}

void Tastatur::Label1_Click(int index) {
    if (index < 0 || index >= Tastenzahl)
        return;
    const QString beschriftung = Label1[index]->text();
    Eingaberegeln::Zeile z = lesen();
    if (beschriftung == "<-") {
        Eingaberegeln::links(z, Klammern());
        schreiben(z);
    } else if (beschriftung == "->") {
        Eingaberegeln::rechts(z, Klammern());
        schreiben(z);
    } else {
        Zeichen_tippen(Umschaltung_an() ? beschriftung : beschriftung.toLower());
    }
}

void Tastatur::Label2_Click() { Zeichen_tippen(" "); }

void Tastatur::Label6_Click() {
    if (Umschaltzähler == 0) {
        Umschaltzähler = 1;
        Label6->Farben_setzen(Dunkel, Qt::white);
    } else {
        Umschaltzähler = 0;
        Label6->Farben_setzen(Grau, QApplication::palette().color(QPalette::ButtonText));
    }
}

void Tastatur::Label7_Click() {
    Eingaberegeln::Zeile z = lesen();
    Eingaberegeln::löschen(z);
    schreiben(z);
}

void Tastatur::markieren() {
    Eingaberegeln::Zeile z = lesen();
    Eingaberegeln::markieren(z);
    schreiben(z);
}

void Tastatur::List1_Click(int zeile) {
    if (zeile < 0 || zeile >= List1->count())
        return;
    const QString name = RTrim(Daten.Scanlistentabelle[zeile + 1].Signalname.text());
    Eingaberegeln::Zeile z = lesen();
    Eingaberegeln::einfügen(z, "[" + name + "]", true);
    schreiben(z);
}

// "Esc": the entry is discarded.
void Tastatur::Label3_Click() {
    hide();
    const Aufruferregel* regel = Regel(Daten.Tastaturaufrufer);
    if (regel && regel->Esc)
        regel->Esc();
}

// "Return": the caller's rules; any other caller, nothing.
void Tastatur::Label4_Click() {
    const Aufruferregel* regel = Regel(Daten.Tastaturaufrufer);
    if (regel && regel->Return)
        regel->Return(*this, Text1->text());
}

bool Tastatur::eventFilter(QObject* objekt, QEvent* ereignis) {
    if (objekt == Text1) {
        if (ereignis->type() == QEvent::KeyPress) {
            const int taste = static_cast<QKeyEvent*>(ereignis)->key();
            if (taste == Qt::Key_Return || taste == Qt::Key_Enter) {
                Label4_Click();
                return true;
            }
            if (taste == Qt::Key_Escape) {
                Label3_Click();
                return true;
            }
        } else if (ereignis->type() == QEvent::MouseButtonRelease) {
            // After the line edit has placed the cursor.
            QMetaObject::invokeMethod(this, &Tastatur::markieren, Qt::QueuedConnection);
        }
    }
    return QFrame::eventFilter(objekt, ereignis);
}

// ---- Mausfangform ------------------------------------------------------------------

Mausfangform::Mausfangform(QWidget* eltern) : QWidget(eltern) {
    Fenster.Mausfangform = this;
    setObjectName("Mausfangform");
    setWindowTitle("Mausfangform");
    setAutoFillBackground(true);
    setMouseTracking(true);
    Label1 = new QLabel("bitte warten!", this);
    QFont gross = Label1->font();
    gross.setBold(true);
    gross.setPixelSize(24);
    Label1->setFont(gross);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Twips::Geometrie(Label1, 0, 1200, 4800, 900);
    hide();
}

Mausfangform::~Mausfangform() {
    if (Fenster.Mausfangform == this)
        Fenster.Mausfangform = nullptr;
}

void Mausfangform::Form_Load() { Twips::Geometrie(this, 0, 0, 9800, 7600); }

void Mausfangform::showEvent(QShowEvent* ereignis) {
    QWidget::showEvent(ereignis);
    probenzahl_ = 0;
    raise();
}

void Mausfangform::Form_MouseMove(const QPoint& global) {
    // Samples in twips, as the platform reports pointer positions.
    const QPoint probe = global * Twips::pro_Pixel;
    if (probenzahl_ < 3) {
        proben_[probenzahl_++] = probe;
    } else {
        proben_[0] = proben_[1];
        proben_[1] = proben_[2];
        proben_[2] = probe;
    }
    if (probenzahl_ < 3)
        return;
    const QPoint weg = proben_[2] - proben_[0];
    if (weg.manhattanLength() <= Schwelle)
        return;
    // Back by the distance moved, in screen pixels.
    const QPoint zurück(weg.x() / Twips::pro_Pixel, weg.y() / Twips::pro_Pixel);
    QCursor::setPos(QCursor::pos() - zurück);
    probenzahl_ = 0;
}

void Mausfangform::Form_Click() {
    if (Fenster.MDIForm1) {
        Fenster.MDIForm1->raise();
        Fenster.MDIForm1->activateWindow();
    }
}

void Mausfangform::mouseMoveEvent(QMouseEvent* ereignis) {
    Form_MouseMove(ereignis->globalPosition().toPoint());
    QWidget::mouseMoveEvent(ereignis);
}

void Mausfangform::mouseReleaseEvent(QMouseEvent* ereignis) {
    if (ereignis->button() == Qt::LeftButton)
        Form_Click();
    QWidget::mouseReleaseEvent(ereignis);
}
