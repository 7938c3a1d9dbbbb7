// The matrix page as the operator uses it: what it shows for each matrix,
// what each control stores, the signal list, the name typed on the keyboard,
// the calibration list in the editor and the save with the project.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "keyboard/Tastatur.h"
#include "platform/Pfade.h"
#include "project/Dateiform.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"
#include "project/Projektdateien.h"
#include "recording/Datenlogger.h"
#include "run/Matrix.h"
#include "support/Teststation.h"

namespace {
struct Matrixstation {
    Teststation station;
    std::unique_ptr<Tastatur> tastatur;
    std::unique_ptr<Matrix> seite;

    // 'vorher' sets up the tables the page finds when it loads.
    explicit Matrixstation(const std::function<void()>& vorher = {}) {
        if (vorher)
            vorher();
        tastatur = std::make_unique<Tastatur>();
        tastatur->Form_Load();
        seite = std::make_unique<Matrix>();
        seite->show();  // the first show loads the page
    }
    ~Matrixstation() {
        seite.reset();
        tastatur.reset();
    }
    Matrixsatz& satz(int m) { return Daten.Matrixtabelle[m]; }
    // The whole table as the project file would hold it.
    QByteArray Tabelle() {
        QByteArray alles;
        for (int m = 1; m <= 8; ++m)
            alles += Projektdateien::Satz(Daten.Matrixtabelle[m]);
        return alles;
    }
    void Listenzeile_antippen(int zeile) {
        QListWidgetItem* eintrag = seite->List1->item(zeile);
        ASSERT_NE(eintrag, nullptr);
        QTest::mouseClick(seite->List1->viewport(), Qt::LeftButton, {},
                          seite->List1->visualItemRect(eintrag).center());
    }
    void Name_antippen() { QTest::mouseClick(seite->Label3[1], Qt::LeftButton); }
};

void Scanliste(const QStringList& namen) {
    for (int i = 0; i < namen.size(); ++i)
        Daten.Scanlistentabelle[i + 1].Signalname = namen[i];
}

const QString Verbotsmeldung = "Dateiname darf folgende Zeichen nicht enthalten: /\\:*?\"<>|";
}  // namespace

TEST(Matrix, Seite_beim_Laden) {
    Matrixstation s([] {
        Daten.Matrixtabelle[2].Matrixname = "X";
        Daten.Matrixtabelle[3].Matrixname = " ab ";
        Daten.Matrixtabelle[4].Matrixname = "abc";
        Daten.Matrixtabelle[5].Matrixname = "";
        Daten.Matrixtabelle[1].Aktiv = 1;
        Daten.Matrixtabelle[1].Punktzahl = 7;
        Daten.Matrixtabelle[1].EigenerName = 1;
        Daten.Matrixtabelle[1].KalDatei = 1;
    });
    Matrix& p = *s.seite;
    EXPECT_EQ(p.size(), QSize(320, 240));  // a window of its own here: the position is the frame's
    EXPECT_EQ(p.Matrixnummer, 1);
    EXPECT_EQ(p.Label3[0]->text(), "A");

    // Names shorter than three characters (a never-assigned field included)
    // get the matrix letter; longer ones stay.
    EXPECT_EQ(s.satz(1).Matrixname.roh(), "_A                            ");
    EXPECT_EQ(s.satz(2).Matrixname.text(), "_B");
    EXPECT_EQ(s.satz(3).Matrixname.text(), "_C");
    EXPECT_EQ(s.satz(4).Matrixname.text(), "abc");
    EXPECT_EQ(s.satz(5).Matrixname.text(), "_E");
    EXPECT_EQ(s.satz(8).Matrixname.text(), "_H");

    // Entry A in the controls.
    EXPECT_TRUE(p.Check1->isChecked());
    EXPECT_EQ(p.Combo1->count(), 64);
    EXPECT_EQ(p.Combo1->itemText(0), "1");
    EXPECT_EQ(p.Combo1->itemText(63), "64");
    EXPECT_EQ(p.Combo1->currentText(), "8");
    EXPECT_TRUE(p.Option1[1]->isChecked());
    EXPECT_EQ(p.Option1[1]->text(), "Feste Datei");
    EXPECT_EQ(p.Option1[0]->text(), "Fortlaufend");
    EXPECT_EQ(p.Label3[1]->text(), "_A");
    EXPECT_FALSE(p.Check2->isChecked());
    EXPECT_TRUE(p.Check3->isChecked());
    EXPECT_FALSE(p.Check4->isChecked());
    EXPECT_EQ(p.Label4->text(), "");
    EXPECT_FALSE(p.List1->isVisible());
    EXPECT_EQ(p.List1->toolTip(), "Bitte Signalname oder leere Zeile auswählen");

    QStringList beschriftungen;
    for (QLabel* l : p.Label1)
        beschriftungen << l->text();
    EXPECT_EQ(beschriftungen, QStringList({"Scannen:", "Bis Sensor Nr.:  ", "Bezeichnung:", "Wie speichern:",
                                           "Rohdaten:", "Kalibrierte Werte:", "Ref.-Temp.", "Signalname:"}));
    EXPECT_EQ(p.Frame1->title(), "Was speichern:");
    EXPECT_EQ(p.Command1->text(), "Kalibierliste");
    EXPECT_EQ(p.speichern->text(), "Speichern");
    EXPECT_EQ(p.Command2->text(), "<<");

    p.Command2->click();
    EXPECT_FALSE(p.isVisible());
}

TEST(Matrix, Steuerelemente_schreiben_in_die_gezeigte_Matrix) {
    Matrixstation s;
    Matrix& p = *s.seite;
    const QByteArray a_vorher = Projektdateien::Satz(s.satz(1));
    p.Command5->click();
    ASSERT_EQ(p.Label3[0]->text(), "B");

    p.Combo1->setCurrentIndex(p.Combo1->findText("1"));
    EXPECT_EQ(s.satz(2).Punktzahl, 0);  // "1" is stored as 0
    p.Combo1->setCurrentIndex(p.Combo1->findText("64"));
    EXPECT_EQ(s.satz(2).Punktzahl, 63);
    p.Combo1->setCurrentIndex(p.Combo1->findText("12"));
    EXPECT_EQ(s.satz(2).Punktzahl, 11);

    QTest::mouseClick(p.Check1, Qt::LeftButton);
    EXPECT_EQ(s.satz(2).Aktiv, 1);
    QTest::mouseClick(p.Check2, Qt::LeftButton);
    EXPECT_EQ(s.satz(2).RohDatei, 1);
    QTest::mouseClick(p.Check3, Qt::LeftButton);
    EXPECT_EQ(s.satz(2).KalDatei, 1);
    QTest::mouseClick(p.Check2, Qt::LeftButton);
    EXPECT_EQ(s.satz(2).RohDatei, 0);

    p.Option1[1]->click();
    EXPECT_EQ(s.satz(2).EigenerName, 1);
    p.Option1[0]->click();
    EXPECT_EQ(s.satz(2).EigenerName, 0);

    // Back on A: its entry untouched, and the controls show it again.
    p.Command6->click();
    EXPECT_EQ(Projektdateien::Satz(s.satz(1)), a_vorher);
    EXPECT_FALSE(p.Check1->isChecked());
    EXPECT_EQ(p.Combo1->currentText(), "1");
    p.Command5->click();
    EXPECT_TRUE(p.Check1->isChecked());
    EXPECT_EQ(p.Combo1->currentText(), "12");
    EXPECT_TRUE(p.Check3->isChecked());
}

TEST(Matrix, Blaettern_fuellt_die_Steuerelemente_ohne_die_Tabelle_zu_aendern) {
    Matrixstation s([] {
        for (int m = 1; m <= 8; ++m) {
            Matrixsatz& z = Daten.Matrixtabelle[m];
            z.Aktiv = m % 2;
            z.Punktzahl = static_cast<i16>(m * 7);
            z.EigenerName = (m / 2) % 2;
            z.Matrixname = QString("Matrix Nr %1").arg(m);
            z.RohDatei = (m / 4) % 2;
            z.KalDatei = 1 - m % 2;
            z.MitSignal = m == 3 ? 1 : 0;
            z.Signal = m == 3 ? "Vorlauf" : "";
        }
        Daten.Matrixtabelle[6].EigenerName = 5;  // neither button
    });
    Matrix& p = *s.seite;
    const QByteArray vorher = s.Tabelle();

    p.Command6->click();  // previous on A: nothing
    EXPECT_EQ(p.Matrixnummer, 1);
    EXPECT_EQ(p.Label3[0]->text(), "A");
    const QString buchstaben = "ABCDEFGH";
    for (int m = 2; m <= 8; ++m) {
        p.Command5->click();
        ASSERT_EQ(p.Label3[0]->text(), QString(buchstaben[m - 1]));
        const Matrixsatz& z = s.satz(m);
        EXPECT_EQ(p.Check1->isChecked(), z.Aktiv == 1) << m;
        EXPECT_EQ(p.Combo1->currentText(), QString::number(m * 7 + 1)) << m;
        EXPECT_EQ(p.Option1[1]->isChecked(), z.EigenerName == 1) << m;
        EXPECT_EQ(p.Option1[0]->isChecked(), z.EigenerName == 0) << m;
        EXPECT_EQ(p.Label3[1]->text(), QString("Matrix Nr %1").arg(m));
        EXPECT_EQ(p.Check2->isChecked(), z.RohDatei == 1) << m;
        EXPECT_EQ(p.Check3->isChecked(), z.KalDatei == 1) << m;
        EXPECT_EQ(p.Check4->isChecked(), m == 3) << m;
        EXPECT_EQ(p.Label4->text(), m == 3 ? "Vorlauf" : "") << m;
        EXPECT_FALSE(p.List1->isVisible()) << m;  // a ticked Check4 shown is no choice
    }
    p.Command5->click();  // next on H: nothing
    EXPECT_EQ(p.Matrixnummer, 8);
    EXPECT_EQ(p.Label3[0]->text(), "H");
    for (int m = 7; m >= 1; --m)
        p.Command6->click();
    EXPECT_EQ(p.Label3[0]->text(), "A");
    EXPECT_EQ(s.Tabelle(), vorher);
}

TEST(Matrix, Signal_aus_der_Scanliste) {
    Matrixstation s([] { Scanliste({"Vorlauf", "Ruecklauf  ", "T 3"}); });
    Matrix& p = *s.seite;
    p.Command5->click();  // matrix B

    QTest::mouseClick(p.Check4, Qt::LeftButton);
    EXPECT_EQ(s.satz(2).MitSignal, 1);
    ASSERT_TRUE(p.List1->isVisible());
    QStringList zeilen;
    for (int i = 0; i < p.List1->count(); ++i)
        zeilen << p.List1->item(i)->text();
    EXPECT_EQ(zeilen, QStringList({"Vorlauf", "Ruecklauf", "T 3", ""}));

    s.Listenzeile_antippen(1);
    EXPECT_FALSE(p.List1->isVisible());
    EXPECT_EQ(p.Label4->text(), "Ruecklauf");
    EXPECT_EQ(s.satz(2).Signal.text(), "Ruecklauf");
    EXPECT_EQ(s.satz(2).MitSignal, 1);
    EXPECT_TRUE(p.Check4->isChecked());

    // Unticked: no signal any more.
    QTest::mouseClick(p.Check4, Qt::LeftButton);
    EXPECT_EQ(s.satz(2).MitSignal, 0);
    EXPECT_EQ(s.satz(2).Signal.text(), "");
    EXPECT_EQ(p.Label4->text(), "");
    EXPECT_FALSE(p.List1->isVisible());

    // The empty line: Check4 unticked, no signal.
    QTest::mouseClick(p.Check4, Qt::LeftButton);
    ASSERT_TRUE(p.List1->isVisible());
    s.Listenzeile_antippen(0);
    EXPECT_EQ(s.satz(2).Signal.text(), "Vorlauf");
    QTest::mouseClick(p.Check4, Qt::LeftButton);  // off
    QTest::mouseClick(p.Check4, Qt::LeftButton);  // on again, list refilled
    s.Listenzeile_antippen(3);
    EXPECT_FALSE(p.Check4->isChecked());
    EXPECT_EQ(s.satz(2).MitSignal, 0);
    EXPECT_EQ(s.satz(2).Signal.text(), "");
    EXPECT_EQ(p.Label4->text(), "");
    EXPECT_FALSE(p.List1->isVisible());

    // Choosing a line counts also when done from code.
    QTest::mouseClick(p.Check4, Qt::LeftButton);
    p.List1->setCurrentRow(2);
    EXPECT_EQ(s.satz(2).Signal.text(), "T 3");
    EXPECT_EQ(s.satz(2).MitSignal, 1);
    EXPECT_EQ(s.satz(1).MitSignal, 0);  // matrix A untouched
}

TEST(Matrix, Name_ueber_die_Tastatur) {
    Matrixstation s;
    Matrix& p = *s.seite;
    p.Command5->click();
    p.Command5->click();  // matrix C

    s.Name_antippen();
    ASSERT_TRUE(s.tastatur->isVisible());
    EXPECT_EQ(Daten.Tastaturaufrufer, "Matrix");
    EXPECT_FALSE(p.isEnabled());
    EXPECT_EQ(s.tastatur->Text1->text(), "_C");
    s.tastatur->Text1->setText("  Halle 3-Ost ");
    s.tastatur->Label4_Click();
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_TRUE(p.isEnabled());
    EXPECT_EQ(s.satz(3).Matrixname.text(), "Halle 3-Ost");
    EXPECT_EQ(p.Label3[1]->text(), "  Halle 3-Ost ");
    EXPECT_EQ(s.satz(1).Matrixname.text(), "_A");
    EXPECT_TRUE(s.station.Dialoge.Meldungen.isEmpty());

    // Every character a file name cannot hold is refused; nothing changes.
    for (const char* zeichen : {"/", "\\", ":", "*", "?", "\"", "<", ">", "|"}) {
        s.station.Dialoge.Meldungen.clear();
        s.Name_antippen();
        EXPECT_EQ(s.tastatur->Text1->text(), "  Halle 3-Ost ");
        s.tastatur->Text1->setText(QString("Halle") + zeichen + "3");
        s.tastatur->Label4_Click();
        EXPECT_EQ(s.station.Dialoge.Meldungen, QStringList{Verbotsmeldung}) << zeichen;
        EXPECT_EQ(s.satz(3).Matrixname.text(), "Halle 3-Ost") << zeichen;
        EXPECT_FALSE(s.tastatur->isVisible());
        EXPECT_TRUE(p.isEnabled());
    }

    // Esc keeps the name.
    s.Name_antippen();
    s.tastatur->Text1->setText("Anders");
    s.tastatur->Label3_Click();
    EXPECT_TRUE(p.isEnabled());
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_EQ(s.satz(3).Matrixname.text(), "Halle 3-Ost");

    // A name of one character is not offered for editing.
    s.satz(4).Matrixname = "Q";
    p.Command5->click();
    s.Name_antippen();
    EXPECT_EQ(s.tastatur->Text1->text(), "");
    s.tastatur->Label3_Click();
}

TEST(Matrix, Kalibrierliste_im_Editor) {
    Matrixstation s([] { Daten.Projektkurzname = "Halle3"; });
    const QByteArray vorlage = "P01 0,0021x2 -2,51x +420,7\r\nP02 0,0019x2 -2,47x +415,2\r\n";
    Teststation::Datei_schreiben(s.station.Programmverzeichnis() + "/Matrix_Cal_.txt", vorlage);
    Matrix& p = *s.seite;
    p.Command5->click();
    p.Command5->click();  // matrix C

    p.Command1->click();
    const QString datei = s.station.Wurzel() + "/c/kestrix/extern/config/Halle3/Matrix_Cal_C.txt";
    EXPECT_EQ(Teststation::Datei_lesen(datei), vorlage);
    EXPECT_EQ(s.station.Starter.Gestartet, QStringList{"notepad.exe " + Pfade::lokal("C:\\kestrix\\extern\\config\\Halle3\\Matrix_Cal_C.txt")});
    EXPECT_TRUE(s.station.Dialoge.Meldungen.isEmpty());

    // An edited list is opened as it is, not copied over again.
    Teststation::Datei_schreiben(datei, "P01 0,1x2 +0,2x +3\r\n");
    s.station.Starter.Gestartet.clear();
    p.Command1->click();
    EXPECT_EQ(Teststation::Datei_lesen(datei), "P01 0,1x2 +0,2x +3\r\n");
    EXPECT_EQ(s.station.Starter.Gestartet.size(), 1);

    // Without the template there is nothing to open.
    p.Command5->click();  // matrix D
    QFile::remove(s.station.Programmverzeichnis() + "/Matrix_Cal_.txt");
    s.station.Starter.Gestartet.clear();
    p.Command1->click();
    EXPECT_TRUE(s.station.Starter.Gestartet.isEmpty());
    ASSERT_EQ(s.station.Dialoge.Meldungen.size(), 1);
    EXPECT_TRUE(s.station.Dialoge.Meldungen[0].contains("Matrix_Cal_D.txt"));

    // An editor that does not start is reported.
    Teststation::Datei_schreiben(s.station.Programmverzeichnis() + "/Matrix_Cal_.txt", vorlage);
    s.station.Dialoge.Meldungen.clear();
    s.station.Starter.Erfolg = false;
    p.Command1->click();
    EXPECT_EQ(s.station.Dialoge.Meldungen, QStringList{"notepad.exe konnte nicht gestartet werden!"});
}

// The page in the frame: reached from the data-logger page, saved with the
// project, the matrix table read back from the project file.
TEST(Matrix, Speichern_mit_dem_Projekt) {
    Teststation station;
    for (QChar lw : {'c', 'd', 'e'})
        station.Laufwerk_anlegen(lw);
    auto rahmen = std::make_unique<MDIForm1>();
    ASSERT_TRUE(rahmen->MDIForm_Load());
    Projekt* projekt = Fenster.Projekt;
    ASSERT_TRUE(projekt && Fenster.Dateiform && Fenster.Datenlogger && Fenster.Matrix);
    Fenster.Dateiform->Text1->setText("Ofen.kxp");
    projekt->Projektname_aktualisieren();
    ASSERT_TRUE(projekt->alles_speichern());
    Daten.Scanlistentabelle[1].Signalname = "T_Ofen";
    Daten.Scanlistentabelle[2].Signalname = QString();

    Fenster.Datenlogger->show();
    Fenster.Datenlogger->Command1->click();
    Matrix& p = *Fenster.Matrix;
    ASSERT_FALSE(p.isHidden());
    EXPECT_EQ(p.Label3[0]->text(), "A");
    QTest::mouseClick(p.Check1, Qt::LeftButton);
    p.Combo1->setCurrentIndex(63);
    p.Option1[1]->click();
    QTest::mouseClick(p.Check2, Qt::LeftButton);
    QTest::mouseClick(p.Check4, Qt::LeftButton);
    p.List1->setCurrentRow(0);
    QTest::mouseClick(p.Label3[1], Qt::LeftButton);
    ASSERT_FALSE(Fenster.Tastatur->isHidden());
    Fenster.Tastatur->Text1->setText("Ofen");
    Fenster.Tastatur->Label4_Click();
    p.speichern->click();

    const QByteArray datei =
        Teststation::Datei_lesen(Pfade::lokal("c:\\kestrix\\intern\\Matrix\\Ofen.kxp"));
    ASSERT_EQ(datei.size(), 8 * 72);
    // Aktiv 1, Punktzahl 63, EigenerName 1, name, RohDatei 1, KalDatei 0,
    // MitSignal 1, signal; 16-bit fields little-endian.
    const QByteArray a = QByteArray("\x01\x00\x3F\x00\x01\x00", 6) + "Ofen                          " +
                         QByteArray("\x01\x00\x00\x00\x01\x00", 6) + "T_Ofen                        ";
    EXPECT_EQ(datei.left(72), a);
    EXPECT_EQ(datei.mid(72 + 6, 30), "_B                            ");  // the name given at load
    EXPECT_EQ(datei.mid(7 * 72 + 6, 30), "_H                            ");

    p.Command2->click();
    EXPECT_TRUE(p.isHidden());
    rahmen->entladen();
    EXPECT_EQ(Fenster.Matrix, nullptr);
}

// The page on the 320 x 240 panel: inside the page, no control on another.
// With KESTRIX_BILDER set the page is saved there as a picture.
TEST(Matrix, Seitenbild) {
    QFont schrift("DejaVu Sans");
    schrift.setPixelSize(11);
    QApplication::setFont(schrift);
    Matrixstation s([] {
        Scanliste({"Vorlauf", "Ruecklauf"});
        Daten.Matrixtabelle[1].Matrixname = "Halle 3 Decke Nord";
        Daten.Matrixtabelle[1].MitSignal = 1;
        Daten.Matrixtabelle[1].Signal = "Vorlauf";
        Daten.Matrixtabelle[1].Punktzahl = 63;
    });
    Matrix& p = *s.seite;
    QList<QWidget*> elemente;
    for (QWidget* w : p.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(&p))
            elemente << w;
    for (QWidget* w : p.Frame1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        elemente << w;
    for (QWidget* w : elemente) {
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << w->metaObject()->className();
        if (auto* l = qobject_cast<QLabel*>(w))
            EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->width()) << l->text().toStdString();
        if (auto* b = qobject_cast<QPushButton*>(w))
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 8, b->width()) << b->text().toStdString();
        else if (auto* b = qobject_cast<QAbstractButton*>(w))
            EXPECT_LE(b->sizeHint().width() - 4, b->width()) << b->text().toStdString();
        for (QWidget* v : elemente)
            if (v < w && v->parentWidget() == w->parentWidget())
                EXPECT_FALSE(v->geometry().intersects(w->geometry()))
                    << v->metaObject()->className() << " " << w->metaObject()->className();
    }
    const QString ordner = qEnvironmentVariable("KESTRIX_BILDER");
    if (!ordner.isEmpty())
        p.grab().save(QDir(ordner).filePath("Matrix.png"));
    QTest::mouseClick(p.Check4, Qt::LeftButton);  // off
    QTest::mouseClick(p.Check4, Qt::LeftButton);  // on: the list over the page
    if (!ordner.isEmpty())
        p.grab().save(QDir(ordner).filePath("Matrix_Signalliste.png"));
}
