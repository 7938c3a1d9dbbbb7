// Screenshots of the scan-list and recording-order pages on the 320 x 240
// panel; written to $KESTRIX_BILDER when set, so they can be looked at.
#include <gtest/gtest.h>

#include <QDir>

#include "Scanlist_Testhilfe.h"

using namespace Testhilfe;

namespace {
void passt_auf_das_Panel(QWidget* seite) {
    for (QWidget* w : seite->findChildren<QWidget*>()) {
        if (w->isHidden() || w->parentWidget() == nullptr || w->parentWidget()->inherits("QAbstractScrollArea") ||
            w->parentWidget()->inherits("QScrollBar") || w->inherits("QScrollBar"))
            continue;
        const QRect feld(w->mapTo(seite, QPoint(0, 0)), w->size());
        if (w->parentWidget() == seite || w->parentWidget()->inherits("QGroupBox"))
            EXPECT_TRUE(QRect(0, 0, 320, 240).contains(feld)) << w->metaObject()->className();
    }
}
}  // namespace

TEST(Scanlist_Bildschirm, Scanliste_und_Aufzeichnungsreihenfolge) {
    Seiten s;
    Daten.HelpSchalter = 1;
    Daten.EscSchalter = 1;
    s.scan->Form_Load();
    s.aufz->Form_Load();
    Vorgabe({"Gleichspannung", "Widerstand", "Temperatur"});
    Blöcke({{"Spannung 10V", "Gleichspannung"}, {"PT100", "Temperatur"}, {"Widerstand_2k", "Widerstand"}});
    s.Aufz_festhalten(true);
    Kanalseite k{*s.scan, *s.aufz};
    k.Punkt(1, 1, "Vorlauf", "PT100");
    k.Punkt(1, 2, "Rücklauf", "PT100");
    k.Punkt(1, 3, "U_Netz", "Spannung 10V");
    k.Punkt(3, 1, "Heizung(2)", "Widerstand_2k");
    k.Punkt(3, 2, "Batterie", "Spannung 10V");
    k.Signal(1, 2, "");
    s.fläche.show();
    s.scan->show();
    passt_auf_das_Panel(s.scan);
    const QString ziel = qEnvironmentVariable("KESTRIX_BILDER");
    if (!ziel.isEmpty()) {
        QDir().mkpath(ziel);
        s.scan->grab().save(ziel + "/scanlist.png");
    }
    s.scan->hide();
    s.aufz->show();
    s.aufz->List2->Auswahl_setzen({1, 2});
    passt_auf_das_Panel(s.aufz);
    if (!ziel.isEmpty())
        s.aufz->grab().save(ziel + "/datenreihenfolge.png");
}
