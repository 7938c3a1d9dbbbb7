// Screenshots of the channel page and the keyboard on the 320 x 240 panel;
// written to $KESTRIX_BILDER when set, so they can be looked at.
#include <gtest/gtest.h>

#include <QDir>

#include "Kanalbelegung_Testhilfe.h"

using namespace Kanaltest;

namespace {
void passt_in(QWidget* fenster, const QRect& rahmen) {
    for (QWidget* w : fenster->findChildren<QWidget*>()) {
        if (w->isHidden() || w->parentWidget() != fenster)
            continue;
        EXPECT_TRUE(rahmen.contains(w->geometry())) << w->objectName().toStdString();
    }
}

void speichern(QWidget* fenster, const QString& name) {
    const QString ziel = qEnvironmentVariable("KESTRIX_BILDER");
    if (ziel.isEmpty())
        return;
    QDir().mkpath(ziel);
    fenster->grab().save(ziel + '/' + name);
}
}  // namespace

TEST(Kanalbelegung_Bildschirm, Seite_und_Tastatur) {
    Kanalstation s;
    Kanalstation::Blöcke({{"Spannung 10V", "Gleichspannung"}, {"PT100_Vierleiter", "Temperatur"}});
    Kanalstation::Vorgabe({"Gleichspannung", "Temperatur"});
    s.Punkt(0, "Vorlauf", "PT100_Vierleiter");
    s.Punkt(1, "Rücklauf", "PT100_Vierleiter");
    s.Punkt(2, "U_Netz (230)", "Spannung 10V");
    s.Signal(3, "Batterie");
    EXPECT_EQ(s.kanal->size(), QSize(320, 240));
    passt_in(s.kanal, QRect(0, 0, 320, 240));
    // No two cells or buttons overlap.
    QList<QWidget*> sichtbar;
    for (QWidget* w : s.kanal->findChildren<QWidget*>())
        if (!w->isHidden() && w->parentWidget() == s.kanal)
            sichtbar << w;
    for (int i = 0; i < sichtbar.size(); ++i)
        for (int j = i + 1; j < sichtbar.size(); ++j)
            EXPECT_FALSE(sichtbar[i]->geometry().intersects(sichtbar[j]->geometry()))
                << sichtbar[i]->objectName().toStdString() << " " << sichtbar[j]->objectName().toStdString();
    // Every marker text fits its label.
    for (QLabel* l : {s.kanal->Label5, s.kanal->Label6, s.kanal->Label7, s.kanal->Label8, s.kanal->Label9})
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->property("Markertext").toString()), l->width())
            << l->objectName().toStdString();
    for (QLabel* l : s.kanal->Spaltenkopf)
        EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();
    for (int k = 0; k + 1 < 4; ++k)
        EXPECT_LT(s.kanal->Spaltenkopf[k]->x() +
                      s.kanal->Spaltenkopf[k]->fontMetrics().horizontalAdvance(s.kanal->Spaltenkopf[k]->text()),
                  s.kanal->Spaltenkopf[k + 1]->x());
    speichern(s.kanal, "kanalbelegung.png");

    s.Gruppe(2);
    s.kanal->Label2_Click(1);
    speichern(s.kanal, "kanalbelegung_art.png");
    s.kanal->Form_Click();
    s.Gruppe(1);
    s.kanal->Label3_Click(3);
    speichern(s.kanal, "kanalbelegung_block.png");
    s.kanal->Form_Click();

    s.kanal->Label4_Click(2);
    s.tippen({"Shift", "Del", "Del", "Del"});
    EXPECT_EQ(s.tastatur->size(), QSize(215, 133));  // to the screen's right edge
    passt_in(s.tastatur, QRect(0, 0, 320 - s.tastatur->x(), s.tastatur->height()));
    speichern(s.tastatur, "tastatur.png");
    speichern(&s.fläche, "tastatur_ueber_kanalbelegung.png");
}

TEST(Kanalbelegung_Bildschirm, Zellen_zeigen_ihren_ganzen_Text) {
    Kanalstation s;
    // The widest name the keyboard lets through: typed until it stops.
    s.Gruppe(16);
    s.kanal->Label4_Click(7);
    for (int i = 0; i < 30; ++i)
        s.tippen({"Shift", "W", "Shift"});
    const QString breit = s.tastatur->Text1->text();
    ASSERT_LE(breit.size(), 16);
    s.tastatur->Label4_Click();
    ASSERT_EQ(Daten.Kanaltabelle[16].Signalbezeichnung[8].text(), breit);
    Daten.Kanaltabelle[16].Messblockzuordnung[8] = breit;
    s.Gruppe(15);
    s.Gruppe(16);
    // Also "Sense" and "P 08".
    for (QLabel* zelle : {static_cast<QLabel*>(s.kanal->Label1[7]), static_cast<QLabel*>(s.kanal->Label2[7]),
                          static_cast<QLabel*>(s.kanal->Label4[7]), static_cast<QLabel*>(s.kanal->Label3[7])})
        EXPECT_LE(zelle->fontMetrics().horizontalAdvance(zelle->text()), zelle->contentsRect().width() - zelle->indent())
            << zelle->text().toStdString();
}
