// The values of the last scan on the main window, and the service labels.
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <cstdio>

#include <cmath>

#include "calc/CalcuReihenfolge.h"
#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Zahlformat.h"
#include "platform/Pfade.h"
#include "platform/Programmstarter.h"
#include "platform/Twips.h"
#include "points/MBForm1.h"
#include "run/Hauptfenster.h"

namespace {
QString Einheit_des_Blocks(const QString& block) {
    QString einheit;
    MBForm1::Einheit_erstellen(block, einheit);
    return einheit;
}

// The value lines line their columns up with tabs after names padded to at
// least 1400 twips (up to one blank more). A stop every 500 twips puts the
// value at 1500 twips for every name; the toolkit's own stops (80 pixels)
// would push value and unit out of the list.
class Tabulatorzeilen : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    static constexpr int Tabstopp_twips = 500;

    void paint(QPainter* maler, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        const QString text = o.text;
        o.text.clear();
        QStyle* stil = o.widget ? o.widget->style() : QApplication::style();
        stil->drawControl(QStyle::CE_ItemViewItem, &o, maler, o.widget);
        QTextOption satz(Qt::AlignLeft | Qt::AlignVCenter);
        satz.setWrapMode(QTextOption::NoWrap);
        satz.setTabStopDistance(Twips::px(Tabstopp_twips));
        maler->save();
        maler->setFont(o.font);
        maler->setPen(o.palette.color(o.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        maler->drawText(QRectF(stil->subElementRect(QStyle::SE_ItemViewItemText, &o, o.widget)), text, satz);
        maler->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const QString text = index.data(Qt::DisplayRole).toString();
        if (text.isEmpty())
            return QStyledItemDelegate::sizeHint(option, index);
        // A line of text is as high as any other in the same font: the
        // style is asked once, the width is measured for every line.
        if (schrift_ != option.font || höhe_ < 0) {
            schrift_ = option.font;
            höhe_ = QStyledItemDelegate::sizeHint(option, index).height();
        }
        return {QFontMetrics(option.font).size(Qt::TextExpandTabs, text, Twips::px(Tabstopp_twips)).width() + 8, höhe_};
    }

private:
    mutable QFont schrift_;
    mutable int höhe_ = -1;
};

// Puts the lines into the list as clearing and refilling it would, without
// re-creating the rows: no selection, no current row, the view at its start.
void Liste_übernehmen(QListWidget* liste, const QStringList& zeilen) {
    const int anzahl = static_cast<int>(zeilen.size());
    if (liste->selectionModel()->hasSelection() || liste->currentIndex().isValid())
        liste->selectionModel()->clear();
    while (liste->count() > anzahl)
        delete liste->takeItem(liste->count() - 1);
    bool geändert = false;
    for (int i = 0; i < liste->count(); ++i) {
        QListWidgetItem* z = liste->item(i);
        if (z->text() != zeilen[i]) {
            z->setText(zeilen[i]);
            geändert = true;
        }
    }
    for (int i = liste->count(); i < anzahl; ++i)
        liste->addItem(zeilen[i]);
    // Changed texts may change the widest row, which sets the sideways scrolling.
    if (geändert)
        liste->doItemsLayout();
    liste->verticalScrollBar()->setValue(0);
    liste->horizontalScrollBar()->setValue(0);
}

// Scientific form with the mantissa "0.00", e.g. 1.23E+05.
QString Exponentform_kurz(double wert) {
    char puffer[40];
    std::snprintf(puffer, sizeof puffer, "%.2E", wert);
    return QString::fromLatin1(puffer);
}
}

int Hauptfenster::Textbreite(const QString& text) const {
    return QFontMetrics(List1->font()).horizontalAdvance(text) * Twips::pro_Pixel;
}

void Hauptfenster::Hauptfenstertest_Einblenden() {
    if (Daten.Testlabels != 1)
        return;
    for (QWidget* w : std::initializer_list<QWidget*>{Label5, Label12, Label6, Label7, Label8, Label10, Label11,
                                                      Label14, Text1, Label50, Command2, Command3})
        w->show();
}

void Hauptfenster::Hauptfenstertest_Ausblenden() {
    for (QWidget* w : std::initializer_list<QWidget*>{Label5, Label12, Label6, Label7, Label8, Label10, Label11,
                                                      Label14, Text1, Label50, Command2, Command3})
        w->hide();
}

void Hauptfenster::Display_zeigen() {
    Label17->hide();
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label9, Label3, Label4, Command1})
        w->show();
    Label13->hide();
    Label15->hide();
    for (int i = 0; i < 4; ++i)
        Label2[i]->show();
    Hauptfenstertest_Einblenden();
}

void Hauptfenster::Display_ausblenden() {
    Label17->setVisible(Frame1->isHidden());
    for (QWidget* w : std::initializer_list<QWidget*>{Label1, Label9, Label3, Label4, Command1})
        w->hide();
    for (int i = 0; i < 4; ++i)
        Label2[i]->hide();
    Hauptfenstertest_Ausblenden();
}

void Hauptfenster::MesswertTabelle_zeigen() {
    if (!dynamic_cast<Tabulatorzeilen*>(List1->itemDelegate()))
        List1->setItemDelegate(new Tabulatorzeilen(List1));
    Label17->hide();
    Frame1->show();
    const bool extern_ = Daten.MDeviceLocation == "ext";
    List1->resize(List1->width(), Twips::px(extern_ ? 2010 : 2795));
    Frame1->resize(Frame1->width(), Twips::px(extern_ ? 2375 : 3111));
    Hauptfenstertest_Einblenden();
}

void Hauptfenster::Messwerttabelle_ausblenden() {
    Frame1->hide();
    Label17->setVisible(Label3->isHidden());
    Label18->hide();
    Label19->hide();
    Hauptfenstertest_Ausblenden();
}

namespace {
int Breite_twips(const QFontMetrics& maß, const QString& text) {
    return maß.horizontalAdvance(text) * Twips::pro_Pixel;
}
// Blanks appended until the printed width reaches the given twips.
QString hinten_aufgefüllt(const QFontMetrics& maß, QString text, int twips) {
    while (Breite_twips(maß, text) < twips)
        text += ' ';
    return text;
}
// The caches only ever hold what a project can name; a run with ever new
// names must not let them grow without end.
constexpr qsizetype Höchstens_gemerkt = 4096;
}

QString Hauptfenster::Name_aufgefüllt(const QFontMetrics& maß, const Festtext<20>& feld) {
    const QByteArray schlüssel = QByteArray::fromRawData(feld.daten(), feld.Breite);
    auto it = aufgefüllte_Namen_.constFind(schlüssel);
    if (it != aufgefüllte_Namen_.cend())
        return *it;
    if (aufgefüllte_Namen_.size() >= Höchstens_gemerkt)
        aufgefüllte_Namen_.clear();
    const QString name = feld.text().trimmed();
    // An empty name stays empty: it ends the scan entries.
    const QString text = name.isEmpty() ? QString() : hinten_aufgefüllt(maß, name, 1400);
    aufgefüllte_Namen_.insert(QByteArray(feld.daten(), feld.Breite), text);
    return text;
}

const QString& Hauptfenster::Text_aufgefüllt(const QFontMetrics& maß, const QString& text) {
    auto it = aufgefüllte_Texte_.constFind(text);
    if (it != aufgefüllte_Texte_.cend())
        return *it;
    if (aufgefüllte_Texte_.size() >= Höchstens_gemerkt)
        aufgefüllte_Texte_.clear();
    const QString name = text.trimmed();
    return *aufgefüllte_Texte_.insert(text, name.isEmpty() ? QString() : hinten_aufgefüllt(maß, name, 1400));
}

const QString& Hauptfenster::Einheit_vorn_aufgefüllt(const QFontMetrics& maß, const QString& einheit) {
    auto it = aufgefüllte_Einheiten_.constFind(einheit);
    if (it != aufgefüllte_Einheiten_.cend())
        return *it;
    if (aufgefüllte_Einheiten_.size() >= Höchstens_gemerkt)
        aufgefüllte_Einheiten_.clear();
    QString text = einheit;
    while (Breite_twips(maß, text) < 915)
        text = ' ' + text;
    return *aufgefüllte_Einheiten_.insert(einheit, text);
}

void Hauptfenster::Messdatenliste_füllen() {
    if (List1->font() != listenfont_) {
        listenfont_ = List1->font();
        aufgefüllte_Namen_.clear();
        aufgefüllte_Texte_.clear();
        aufgefüllte_Einheiten_.clear();
    }
    const QFontMetrics maß(listenfont_);
    QStringList zeilen;
    zeilen.reserve(1 + 120 + 201);
    zeilen << QString(10, ' ') + Daten.Messwerttexte[1].Logzeit;
    if (Daten.Datenloggersatz.Datenlogger_ein == 0 && Fenster.CalcuReihenfolge)
        Fenster.CalcuReihenfolge->CalcuVar_berechnen();
    const int typ = Daten.Messblocktabelle[1].Gerätetyp;
    const bool mit_Einheit = typ == 1 || typ == 6;
    QByteArray letzter_Block;
    QString letzte_Einheit;
    for (int i = 1; i <= 120; ++i) {
        const auto& eintrag = Daten.Scanlistentabelle[i];
        const QString name = Name_aufgefüllt(maß, eintrag.Signalname);
        if (name.isEmpty())
            break;
        QString wert = Daten.Messwerttexte[i].Logwert.trimmed();
        if (!wert.contains('-'))
            wert = ' ' + wert;
        if (Breite_twips(maß, wert) < 600)
            wert = '\t' + wert;
        QString zeile = name + '\t' + wert;
        if (mit_Einheit) {
            // Entries of one block follow each other: its unit is looked up once.
            const QByteArray block(eintrag.Messblockname.daten(), eintrag.Messblockname.Breite);
            if (block != letzter_Block) {
                letzter_Block = block;
                letzte_Einheit = Einheit_des_Blocks(eintrag.Messblockname.text().left(16));
            }
            zeile += letzte_Einheit;
        }
        zeilen << zeile;
    }
    for (int k = 0; k <= 200; ++k) {
        const Rechensatz& satz = Daten.Rechentabelle[k];
        const QString& name = Text_aufgefüllt(maß, satz.Name);
        if (name.isEmpty())
            break;
        QString wert;
        if (!satz.Format.isEmpty())
            wert = Zahl_formatieren(satz.Ergebnis, satz.Format);
        if (satz.Format.isEmpty() || wert.size() > 9)
            wert = Exponentform_kurz(satz.Ergebnis);
        if (!wert.startsWith('-'))
            wert = ' ' + wert;
        if (Breite_twips(maß, wert) < 600)
            wert = '\t' + wert;
        zeilen << name + wert + Einheit_vorn_aufgefüllt(maß, satz.Einheit);
    }
    Liste_übernehmen(List1, zeilen);
    emit Messdatenliste_fertig();
}

void Hauptfenster::List1_Click(int zeile) {
    // The command line "<drive>daten&.txt 3 i i" as separate arguments, the
    // file as this platform names it. A plotting program that cannot be
    // started leaves the window as it was.
    const QString index = QString::number(zeile);
    programmstarter().starten("dadavu", {Pfade::lokal(Daten.Ramdisk1.roh() + "daten&.txt"), "3", index, index});
}

void Hauptfenster::Command3_Click() {
    MesswertTabelle_zeigen();
    Messdatenliste_füllen();
}

void Hauptfenster::Fenster_nach_vorn(const QString& titel) {
    // The driver program is another process: the window manager brings it up.
    programmstarter().starten("wmctrl", {"-a", titel});
}
