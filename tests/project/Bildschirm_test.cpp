// Screenshots of the pages as the operator sees them on the 320 x 240 panel;
// written to $KESTRIX_BILDER when set, so they can be looked at.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFont>

#include "common/Fenster.h"
#include "project/Hinweisform.h"
#include "project/MDIForm1.h"
#include "run/Hauptfenster.h"
#include "support/Teststation.h"

TEST(Bildschirm, Hauptfenster_und_Hinweis_passen_auf_das_Panel) {
    Teststation station;
    station.Laufwerk_anlegen('d');
    station.Laufwerk_anlegen('e');
    QFont schrift("DejaVu Sans");
    schrift.setPixelSize(11);
    QApplication::setFont(schrift);
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    rahmen.show();
    Hauptfenster* haupt = Fenster.Hauptfenster;
    // Every control of the main window lies inside the 320 x 240 panel.
    for (QWidget* w : haupt->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(QRect(0, 0, 320, 240).contains(w->geometry())) << w->objectName().toStdString();

    const QString ziel = qEnvironmentVariable("KESTRIX_BILDER");
    if (!ziel.isEmpty()) {
        QDir().mkpath(ziel);
        haupt->grab(QRect(0, 0, 320, 240)).save(ziel + "/hauptfenster.png");
        Fenster.Hinweisform->zeigen(haupt, "Netzwerk-Timeout, Messung wird neu gestartet!", {}, {});
        haupt->Shape2->show();
        rahmen.Arbeitsfläche->grab(QRect(0, 0, 320, 240)).save(ziel + "/hinweis.png");
        Fenster.Hinweisform->zeigen_Ok(haupt, "Sie müssen mind. 1 Signal im Fenster \"Kanalbelegung\" eintragen!");
        rahmen.Arbeitsfläche->grab(QRect(0, 0, 320, 240)).save(ziel + "/hinweis_ok.png");
    }
    rahmen.entladen();
}
