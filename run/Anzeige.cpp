// The values of the last scan on the main window, and the service labels.
#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
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
        QSize größe = QStyledItemDelegate::sizeHint(option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        größe.setWidth(QFontMetrics(option.font).size(Qt::TextExpandTabs, text, Twips::px(Tabstopp_twips)).width() + 8);
        return größe;
    }
};

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

void Hauptfenster::Messdatenliste_füllen() {
    List1->clear();
    List1->addItem(QString(10, ' ') + Daten.Messwerttexte[1].Logzeit);
    if (Daten.Datenloggersatz.Datenlogger_ein == 0 && Fenster.CalcuReihenfolge)
        Fenster.CalcuReihenfolge->CalcuVar_berechnen();
    const auto aufgefüllt = [this](QString text, int twips) {
        while (Textbreite(text) < twips)
            text += ' ';
        return text;
    };
    for (int i = 1; i <= 120 && !Daten.Scanlistentabelle[i].Signalname.text().trimmed().isEmpty(); ++i) {
        QString wert = Daten.Messwerttexte[i].Logwert.trimmed();
        if (!wert.contains('-'))
            wert = ' ' + wert;
        if (Textbreite(wert) < 600)
            wert = '\t' + wert;
        QString einheit;
        const int typ = Daten.Messblocktabelle[1].Gerätetyp;
        if (typ == 1 || typ == 6)
            einheit = Einheit_des_Blocks(Daten.Scanlistentabelle[i].Messblockname.text().left(16));
        List1->addItem(aufgefüllt(Daten.Scanlistentabelle[i].Signalname.text().trimmed(), 1400) + '\t' + wert + einheit);
    }
    for (int k = 0; k <= 200 && !Daten.Rechentabelle[k].Name.trimmed().isEmpty(); ++k) {
        const Rechensatz& satz = Daten.Rechentabelle[k];
        QString wert;
        if (!satz.Format.isEmpty())
            wert = Zahl_formatieren(satz.Ergebnis, satz.Format);
        if (satz.Format.isEmpty() || wert.size() > 9)
            wert = Exponentform_kurz(satz.Ergebnis);
        if (!wert.startsWith('-'))
            wert = ' ' + wert;
        if (Textbreite(wert) < 600)
            wert = '\t' + wert;
        QString einheit = satz.Einheit;
        while (Textbreite(einheit) < 915)
            einheit = ' ' + einheit;
        List1->addItem(aufgefüllt(satz.Name.trimmed(), 1400) + wert + einheit);
    }
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
