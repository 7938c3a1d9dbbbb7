// Both pages on the 320 x 240 panel: every caption readable, nothing
// outside its frame, no control on top of another. With KESTRIX_BILDER set
// the pages are also saved there as pictures to look at.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "common/Programmdaten.h"
#include "points/Messstellentabellen.h"
#include "recording/Datenformat.h"
#include "recording/Datenlogger.h"
#include "support/Teststation.h"

namespace {
void Schrift_der_Station() {
    QFont schrift("DejaVu Sans");
    schrift.setPixelSize(11);
    QApplication::setFont(schrift);
}

bool ist_Steuerelement(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const QAbstractButton*>(w) ||
           qobject_cast<const QComboBox*>(w) || qobject_cast<const QGroupBox*>(w);
}

QString Name(const QWidget* w) {
    if (const auto* b = qobject_cast<const QAbstractButton*>(w))
        return b->text();
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return l->text();
    if (const auto* g = qobject_cast<const QGroupBox*>(w))
        return g->title();
    if (const auto* c = qobject_cast<const QComboBox*>(w))
        return "Liste " + c->itemText(0);
    return w->metaObject()->className();
}

// Room the text of a control needs, in pixels.
int Textbreite(const QWidget* w) {
    const QFontMetrics fm = w->fontMetrics();
    if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
        return w->sizeHint().width() - 4;
    if (const auto* b = qobject_cast<const QPushButton*>(w))
        return b->text().isEmpty() ? 0 : fm.horizontalAdvance(b->text()) + 8;
    if (const auto* l = qobject_cast<const QLabel*>(w))
        return fm.horizontalAdvance(l->text());
    if (const auto* g = qobject_cast<const QGroupBox*>(w))
        return fm.horizontalAdvance(g->title()) + 12;
    if (const auto* c = qobject_cast<const QComboBox*>(w)) {
        int breite = 0;
        for (int i = 0; i < c->count(); ++i)
            breite = qMax(breite, fm.horizontalAdvance(c->itemText(i)));
        return breite + 22;
    }
    return 0;
}

void Anordnung_prüfen(QWidget* seite) {
    QList<QWidget*> elemente;
    for (QWidget* w : seite->findChildren<QWidget*>())
        if (ist_Steuerelement(w) && w->isVisibleTo(seite) && ist_Steuerelement(w->parentWidget()) == bool(qobject_cast<QGroupBox*>(w->parentWidget())))
            elemente << w;
    for (QWidget* w : elemente) {
        const QWidget* eltern = w->parentWidget();
        EXPECT_TRUE(eltern->rect().contains(w->geometry())) << Name(w).toStdString() << " ragt aus " << Name(eltern).toStdString();
        EXPECT_LE(Textbreite(w), w->width()) << Name(w).toStdString() << " ist abgeschnitten";
        EXPECT_GE(w->height(), w->fontMetrics().height()) << Name(w).toStdString() << " zu niedrig";
        for (QWidget* v : elemente)
            if (v != w && v->parentWidget() == eltern && v < w)
                EXPECT_FALSE(v->geometry().intersects(w->geometry()))
                    << Name(v).toStdString() << " überdeckt " << Name(w).toStdString();
    }
}

void Bild_sichern(QWidget* seite, const QString& name) {
    const QString ordner = qEnvironmentVariable("KESTRIX_BILDER");
    if (!ordner.isEmpty())
        seite->grab().save(QDir(ordner).filePath(name + ".png"));
}
}

TEST(Seitenbild, Datenformat) {
    Teststation station;
    Schrift_der_Station();
    Daten.HelpSchalter = Daten.EscSchalter = 1;
    Daten.Ramdisk1_Anzeige = {"d:\\Harddisk ", QColor(0xFF, 0xC0, 0xC0)};
    Variablen_initialisieren();
    Datenformat seite;
    seite.Form_Load();
    seite.Listen_setzen();
    seite.show();
    EXPECT_EQ(seite.size(), QSize(320, 240));
    Anordnung_prüfen(&seite);
    Bild_sichern(&seite, "Datenformat");
}

TEST(Seitenbild, Datenlogger) {
    Teststation station;
    Schrift_der_Station();
    Daten.HelpSchalter = Daten.EscSchalter = 1;
    Daten.Ramdisk2_Anzeige = {"e:\\Ramdisk ", QColor()};
    Variablen_initialisieren();
    Daten.Datenloggersatz.Periodenindex = 1;
    Datenlogger seite;
    seite.Form_Load();
    seite.Listen_setzen();
    seite.show();
    EXPECT_EQ(seite.size(), QSize(320, 240));
    Anordnung_prüfen(&seite);
    Bild_sichern(&seite, "Datenlogger");

    seite.Command8_Click();
    Anordnung_prüfen(seite.Frame3);
    Bild_sichern(&seite, "Datenlogger_Uhrzeit");
    seite.Command4_Click();
    seite.Command9_Click();
    Anordnung_prüfen(seite.Frame4);
    Bild_sichern(&seite, "Datenlogger_Datum");
}
