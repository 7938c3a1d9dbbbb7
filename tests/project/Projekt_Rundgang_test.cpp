// An operator's walk through the project page: a project saved under a new
// name, another opened, the first opened again; the files on disk follow.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Steuerelemente.h"
#include "platform/Pfade.h"
#include "project/Dateiform.h"
#include "project/Hinweisform.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"
#include "support/Teststation.h"

namespace {
void Bild(QWidget* w, const QString& name) {
    const QString ziel = qEnvironmentVariable("KESTRIX_BILDER");
    if (!ziel.isEmpty()) {
        QDir().mkpath(ziel);
        w->grab(QRect(0, 0, 320, 240)).save(ziel + "/" + name + ".png");
    }
}
}

TEST(Projekt_Rundgang, Speichern_unter_oeffnen_und_zurueck) {
    Teststation station;
    for (QChar lw : {'c', 'd', 'e'})
        station.Laufwerk_anlegen(lw);
    QFont schrift("DejaVu Sans");
    schrift.setPixelSize(11);
    QApplication::setFont(schrift);
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    rahmen.show();
    Projekt* projekt = Fenster.Projekt;
    Dateiform* dialog = Fenster.Dateiform;
    Hinweisform* hinweis = Fenster.Hinweisform;
    projekt->show();
    projekt->raise();
    EXPECT_EQ(projekt->Label1->text(), "noname01.kxp");
    Bild(rahmen.Arbeitsfläche, "projekt");

    // Assign a channel and save under a new name: "noname01" asks for one.
    Daten.Kanaltabelle[1].Signalbezeichnung[1] = "Vorlauf";
    Daten.Kanaltabelle[1].Messblockzuordnung[1] = "Gleichspannung";
    QTest::mouseClick(projekt->Command3, Qt::LeftButton);  // "Speichern"
    ASSERT_FALSE(dialog->isHidden());
    EXPECT_EQ(dialog->Label2->text(), "speichern unter...");
    dialog->Text1->setText("halle1");
    Bild(rahmen.Arbeitsfläche, "projekt_speichern_unter");
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);  // "OK"
    EXPECT_EQ(Daten.Projektname, "halle1.kxp");
    EXPECT_EQ(projekt->Label1->text(), "halle1.kxp");
    const QString kanaele = Pfade::lokal("c:\\kestrix\\intern\\kanaele\\halle1.kxp");
    ASSERT_TRUE(QFileInfo::exists(kanaele));
    EXPECT_EQ(Teststation::Datei_lesen(kanaele).mid(36 + 45 + 180 + 20, 20), "Vorlauf             ");
    EXPECT_EQ(Teststation::Datei_lesen(Pfade::lokal("c:\\kestrix\\intern\\projbez\\projekt.kxp")), "halle1.kxp\r\n");

    // Open the default project without saving, then come back.
    Listenindex_setzen(projekt->Combo1, 2);  // "öffnen"
    ASSERT_FALSE(dialog->isHidden());
    EXPECT_EQ(dialog->Label2->text(), "öffnen");
    const auto einträge = dialog->File1->findItems("noname01.kxp", Qt::MatchExactly);
    ASSERT_EQ(einträge.size(), 1);
    QTest::mouseClick(dialog->File1->viewport(), Qt::LeftButton, {}, dialog->File1->visualItemRect(einträge[0]).center());
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    EXPECT_EQ(hinweis->Label1->text(), QString::fromUtf8("sollen Änderungen in aktuellem Projekt gespeichert werden?"));
    Bild(rahmen.Arbeitsfläche, "projekt_oeffnen_frage");
    QTest::mouseClick(hinweis->Command3, Qt::LeftButton);  // "Nein"
    EXPECT_EQ(Daten.Projektname, "noname01.kxp");
    EXPECT_TRUE(Daten.Kanaltabelle[1].Signalbezeichnung[1].text().trimmed().isEmpty());

    Listenindex_setzen(projekt->Combo1, 2);
    const QRect halle1 = dialog->File1->visualItemRect(dialog->File1->findItems("halle1.kxp", Qt::MatchExactly).value(0));
    QTest::mouseClick(dialog->File1->viewport(), Qt::LeftButton, {}, halle1.center());
    QTest::mouseClick(dialog->Command2, Qt::LeftButton);
    QTest::mouseClick(hinweis->Command3, Qt::LeftButton);
    EXPECT_EQ(Daten.Projektname, "halle1.kxp");
    EXPECT_EQ(Daten.Kanaltabelle[1].Signalbezeichnung[1].text(), "Vorlauf");
    EXPECT_EQ(Teststation::Datei_lesen(Pfade::lokal("c:\\kestrix\\intern\\projbez\\projekt.kxp")), "halle1.kxp\r\n");
    rahmen.entladen();
}
