#pragma once
// Shared set-up of the block-form tests: a station with the tables reset and
// the data-line settings known, blocks written straight into the table.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <gtest/gtest.h>

#include "common/Programmdaten.h"
#include "points/Messstellentabellen.h"

inline void Datenzeile_vorbereiten() {
    Variablen_initialisieren();
    Daten.Trennzeichen = ";";
    Datenformatsatz_t& f = Daten.Datenformatsatz;
    f.Einheiten = 1;
    f.Signalnamen = 1;
    f.Zeit_am_Zeilenbeginn = 0;
    f.Zeit_nach_jedem_Messwert = -1;
    f.Dezimalpunkt = 0;
}

inline Messblocksatz& Block_setzen(int nr, const QString& name, i16 funktion, const QString& präfix, float bereich,
                                   float nplc = 4, i16 anzeige = 3, i16 messanzahl = 0, i16 mittelung = 0,
                                   i16 mittelungsart = 0, i16 autozero = 1) {
    Messblocksatz& b = Daten.Messblocktabelle[nr];
    b.Messblockname = name;
    b.Funktionsname = name;
    b.Funktionsnummer = funktion;
    b.Funktionspräfix = präfix;
    b.Bereich = bereich;
    b.Integrationszeit = nplc;
    b.Anzeige = anzeige;
    b.Messanzahl = messanzahl;
    b.Mittelung = mittelung;
    b.Mittelungsart = mittelungsart;
    b.Autozero = autozero;
    Daten.Messblocktabelle[nr + 1].Messblockname = QString("neu");
    return b;
}

inline void Scanposition_setzen(int pos, const QString& block, const QString& signal) {
    Daten.Scanlistentabelle[pos].Messblockname = block;
    Daten.Scanlistentabelle[pos].Signalname = signal;
}

inline void Schrift_der_Station() {
    QFont schrift("DejaVu Sans");
    schrift.setPixelSize(11);
    QApplication::setFont(schrift);
}

// Every visible control inside its parent, its text not cut, no two
// siblings on top of each other.
inline void Anordnung_prüfen(QWidget* seite) {
    auto ist_Steuerelement = [](const QWidget* w) {
        return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
               qobject_cast<const QComboBox*>(w) || qobject_cast<const QGroupBox*>(w);
    };
    auto name = [](const QWidget* w) -> std::string {
        if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            return b->text().toStdString() + " " + w->objectName().toStdString();
        if (const auto* l = qobject_cast<const QLabel*>(w))
            return l->text().toStdString();
        if (const auto* g = qobject_cast<const QGroupBox*>(w))
            return g->title().toStdString();
        return w->objectName().toStdString();
    };
    auto textbreite = [](const QWidget* w) {
        const QFontMetrics fm = w->fontMetrics();
        if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
            return w->sizeHint().width() - 4;
        if (const auto* b = qobject_cast<const QPushButton*>(w))
            return b->text().isEmpty() ? 0 : fm.horizontalAdvance(b->text()) + 8;
        if (const auto* l = qobject_cast<const QLabel*>(w)) {
            int breite = 0;
            for (const QString& zeile : l->text().split('\n'))
                breite = qMax(breite, fm.horizontalAdvance(zeile));
            return breite;
        }
        if (const auto* g = qobject_cast<const QGroupBox*>(w))
            return fm.horizontalAdvance(g->title()) + 12;
        if (const auto* c = qobject_cast<const QComboBox*>(w)) {
            int breite = fm.horizontalAdvance(c->currentText());
            for (int i = 0; i < c->count(); ++i)
                breite = qMax(breite, fm.horizontalAdvance(c->itemText(i)));
            // Room of the text beside the arrow, as the style draws it.
            QStyleOptionComboBox option;
            option.initFrom(c);
            option.editable = c->isEditable();
            option.rect = c->rect();
            const QRect feld = c->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, c);
            return breite + c->width() - feld.width();
        }
        return 0;
    };
    QList<QWidget*> elemente;
    for (QWidget* w : seite->findChildren<QWidget*>())
        if (ist_Steuerelement(w) && w->isVisibleTo(seite) &&
            (w->parentWidget() == seite || qobject_cast<QGroupBox*>(w->parentWidget())))
            elemente << w;
    for (QWidget* w : elemente) {
        const QWidget* eltern = w->parentWidget();
        EXPECT_TRUE(eltern->rect().contains(w->geometry())) << name(w) << " ragt aus " << name(eltern);
        EXPECT_LE(textbreite(w), w->width()) << name(w) << " ist abgeschnitten: " << textbreite(w) << " > " << w->width();
        if (const auto* l = qobject_cast<const QLabel*>(w))
            EXPECT_GE(w->height(), w->fontMetrics().height() * static_cast<int>(l->text().count('\n') + 1))
                << name(w) << " zu niedrig";
        else
            EXPECT_GE(w->height(), w->fontMetrics().height()) << name(w) << " zu niedrig";
        for (QWidget* v : elemente)
            if (v != w && v->parentWidget() == eltern && v < w)
                EXPECT_FALSE(v->geometry().intersects(w->geometry())) << name(v) << " überdeckt " << name(w);
    }
}

inline void Bild_sichern(QWidget* seite, const QString& name) {
    const QString ordner = qEnvironmentVariable("KESTRIX_BILDER");
    if (!ordner.isEmpty())
        seite->grab().save(QDir(ordner).filePath(name + ".png"));
}
