// The main window as the operator sees it during a run and paused, on the
// 320 x 240 panel: pictures into $KESTRIX_BILDER (else a temporary folder),
// and what the value list and the captions show.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "common/Zahltext.h"
#include "points/MBForm1.h"
#include "project/MDIForm1.h"
#include "run/Hauptfenster.h"
#include "support/Teststation.h"
#include "Messlauf_Testhilfe.h"

namespace {
struct Anzeige_Bild : Messlaufstation {
    QTemporaryDir ersatzordner;

    void SetUp() override {
        QFont f("DejaVu Sans");
        f.setPixelSize(11);
        QApplication::setFont(f);
        Messlaufstation::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        rahmen->show();
        MBForm1::Meßblockvar_vorbeleg();
        Daten.Datenformatsatz.max = 1;
    }
    // An entry on the block of record 'block'.
    void eintrag(int i, int buchstabe, int klemme, int block, const QString& signal) {
        Messlaufstation::eintrag(i, buchstabe, klemme, Daten.Messblocktabelle[block].Messblockname.text(), signal);
    }
    QString Bild_speichern(const QString& name) {
        const QString ordner = qEnvironmentVariableIsSet("KESTRIX_BILDER") ? qEnvironmentVariable("KESTRIX_BILDER")
                                                                           : ersatzordner.path();
        QDir().mkpath(ordner);
        const QString pfad = ordner + "/" + name;
        EXPECT_TRUE(haupt->grab(QRect(0, 0, 320, 240)).save(pfad)) << pfad.toStdString();
        return pfad;
    }
    QStringList Zeilen() const {
        QStringList zeilen;
        for (int i = 0; i < haupt->List1->count(); ++i)
            zeilen << haupt->List1->item(i)->text();
        return zeilen;
    }
};

// A value line as the operator reads it: the name, then value and unit with the layout blanks and tabs removed.
QStringList Lesart(const QString& zeile) {
    const QStringList teile = zeile.split('\t', Qt::SkipEmptyParts);
    QStringList gelesen;
    for (const QString& t : teile)
        if (!t.trimmed().isEmpty())
            gelesen << t.trimmed();
    return gelesen;
}

// The number at the front of a value text (comma as decimal separator).
double Zahl_vorn(const QString& text) {
    qsizetype ende = 0;
    while (ende < text.size() && (text[ende].isDigit() || text[ende] == ',' || text[ende] == '-'))
        ++ende;
    return Zahl_lesen(text.left(ende)).value_or(-1e9);
}
}  // namespace

TEST_F(Anzeige_Bild, Werteliste_im_Lauf_und_angehaltene_Ansicht) {
    // Two DC signals sharing the DC block (30 V range, 5 1/2 digits), a Pt100 on
    // the temperature block and a type K thermocouple with the reference
    // temperature subtracted (reference sensor of the box at 23.5 degrees).
    starten({"--signal", "A1=const:1.5", "--signal", "A2=const:-3.25", "--signal", "A3=const:138.5", "--signal",
             "A4=const:245.7", "--reftemp", "23.5"});
    Messblocksatz& te = Daten.Messblocktabelle[10];
    te = Daten.Messblocktabelle[1];
    te.Gerätetyp = 0;
    te.Messblockname = "Abgas TE-K";
    te.Funktionsname = "Thermoelement K";
    te.Funktionsnummer = 16;
    te.Funktionspräfix = ":TEMP";
    te.Bereich = 0;
    te.Sensortyp = 7;
    te.Kaltstelle_subtrahieren = 1;
    Daten.Messblocktabelle[11] = Messblocksatz{};
    Daten.Messblocktabelle[11].Messblockname = "neu";
    Daten.RefTempMeasurement = "1";
    eintrag(1, 1, 1, 1, "U1");
    eintrag(2, 1, 2, 1, "U2");
    eintrag(3, 1, 3, 7, "Vorlauf");
    eintrag(4, 1, 4, 10, "Abgas");

    QStringList im_lauf, angehalten;
    bool pause_gesehen = false;
    QString caption_pause, weiter_text;
    bool weiter_sichtbar = false, rahmen_sichtbar = false;
    int liste_im_lauf = 0, liste_pause = 0;
    bool rollbalken = true;
    auto* uhrwerk = new QTimer(haupt);
    QObject::connect(uhrwerk, &QTimer::timeout, [&] {
        if (im_lauf.isEmpty() && haupt->List1->count() == 5 && box->Frames().count("00083!") >= 2) {
            im_lauf = Zeilen();
            liste_im_lauf = haupt->List1->height();
            rollbalken = haupt->List1->horizontalScrollBar()->isVisible();
            Bild_speichern("hauptfenster_lauf.png");
            haupt->messen->click();  // pause request
        } else if (!im_lauf.isEmpty() && !pause_gesehen && haupt->Messunganhalttimer->isActive() &&
                   Daten.Pausenmerker == 1) {
            pause_gesehen = true;
            angehalten = Zeilen();
            caption_pause = haupt->messen->text();
            weiter_sichtbar = haupt->Command1->isVisible();
            weiter_text = haupt->Command1->text();
            rahmen_sichtbar = haupt->Frame1->isVisible();
            liste_pause = haupt->List1->height();
            Bild_speichern("hauptfenster_pause.png");
            haupt->messen->click();  // end
            uhrwerk->stop();
        }
    });
    uhrwerk->start(20);
    QTimer::singleShot(60000, haupt, [&] {  // never hang the suite
        if (haupt->messen->text() != "Messung starten")
            haupt->messen->click();
    });
    haupt->messen->click();  // returns when the run has ended

    ASSERT_EQ(im_lauf.size(), 5);
    // First line: ten blanks, then the logger time of the scan.
    EXPECT_TRUE(im_lauf[0].startsWith(QString(10, ' ')));
    EXPECT_FALSE(im_lauf[0].trimmed().isEmpty());
    // The DC values with 5 1/2 digits in the range's pattern, positives with a blank in front, and the unit.
    EXPECT_EQ(Lesart(im_lauf[1]), (QStringList{"U1", "01,50000V DC"}));
    EXPECT_EQ(Lesart(im_lauf[2]), (QStringList{"U2", "-03,25000V DC"}));
    EXPECT_TRUE(im_lauf[1].contains("\t 01,50000V DC"));
    EXPECT_TRUE(im_lauf[2].contains("\t-03,25000V DC"));
    // 138.5 ohms on a Pt100 is 100 degrees.
    const QStringList pt = Lesart(im_lauf[3]);
    ASSERT_EQ(pt.size(), 2);
    EXPECT_EQ(pt[0], "Vorlauf");
    EXPECT_TRUE(pt[1].endsWith(QString::fromUtf8("°C"))) << pt[1].toStdString();
    EXPECT_NEAR(Zahl_vorn(pt[1]), 100.0, 0.1) << pt[1].toStdString();
    // Value and unit are in view without scrolling sideways.
    EXPECT_FALSE(rollbalken);
    // The meter was given the whole degrees (23) of the reference temperature;
    // the whole 23.5 is subtracted and the fraction the meter was not given is
    // added back: 245.7 - 23.5 + 0.5, in the pattern "0000" with three more decimals.
    EXPECT_EQ(Lesart(im_lauf[4]), (QStringList{"Abgas", QString::fromUtf8("0222,700°C")}));
    // The names are padded to at least 1400 twips, so the values start in one column.
    const QFontMetrics maß(haupt->List1->font());
    for (int z = 1; z <= 4; ++z)
        EXPECT_GE(maß.horizontalAdvance(im_lauf[z].section('\t', 0, 0)) * 15, 1400) << z;

    // Paused: the run button offers the end, " weiter" is shown, the list is
    // shortened for it and still holds the last scan.
    ASSERT_TRUE(pause_gesehen);
    EXPECT_EQ(caption_pause, "Messung beenden");
    EXPECT_TRUE(weiter_sichtbar);
    EXPECT_EQ(weiter_text, " weiter");
    EXPECT_TRUE(rahmen_sichtbar);
    EXPECT_EQ(liste_pause, 2010 / 15);
    EXPECT_LT(liste_pause, liste_im_lauf);
    EXPECT_EQ(angehalten.mid(1), im_lauf.mid(1));
    // The continue button and the value list do not overlap.
    EXPECT_FALSE(haupt->Command1->geometry().intersects(haupt->Frame1->geometry()));
    const QStringList log = station.Protokollmeldungen();
    EXPECT_TRUE(log.contains("Messung angehalten"));
    EXPECT_TRUE(log.contains("Messung beendet"));
    EXPECT_EQ(haupt->messen->text(), "Messung starten");
}
