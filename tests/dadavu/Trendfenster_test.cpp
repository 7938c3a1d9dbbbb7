// The trend window offscreen: it follows the data-interface file as the run
// replaces it, reads out the cursor, sums up the visible span and exports it.
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "dadavu/Trendfenster.h"
#include "support/Teststation.h"

using namespace dadavu;

namespace {
void ersetzen(const QString& pfad, const QByteArray& inhalt) {
    // As the run writes it: a new file renamed over the old one.
    QSaveFile datei(pfad);
    ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
    datei.write(inhalt);
    ASSERT_TRUE(datei.commit());
}
}  // namespace

TEST(Trendfenster, FolgtDerDateiUndExportiertDenAusschnitt) {
    QTemporaryDir wurzel;
    QDir(wurzel.path()).mkpath("d");
    QDir(wurzel.path()).mkpath("c");
    const QString datei = wurzel.path() + "/d/Daten&.txt";
    ersetzen(datei, "07 12 26\t10:00:01\t21,5\tTemp\t\xB0" "C\t1,5\tDruck\tV DC\t\r\n"
                    "07 12 26\t10:00:00\t20,5\tTemp\t\xB0" "C\t1,0\tDruck\tV DC\t\r\n");
    // Started as the value list does, with the name in lower case.
    Trendfenster fenster(wurzel.path() + "/d/daten&.txt", 1, 2);
    fenster.resize(320, 240);
    fenster.show();
    EXPECT_EQ(fenster.Kopftext(), "Temp: 21,5 \u00B0C");
    EXPECT_EQ(fenster.windowTitle(), "dadavu - Temp: 21,5 \u00B0C");

    ersetzen(datei, "07 12 26\t10:00:02\t22,5\tTemp\t\xB0" "C\tNaN\tDruck\tV DC\t\r\n"
                    "07 12 26\t10:00:01\t21,5\tTemp\t\xB0" "C\t1,5\tDruck\tV DC\t\r\n"
                    "07 12 26\t10:00:00\t20,5\tTemp\t\xB0" "C\t1,0\tDruck\tV DC\t\r\n");
    QTRY_COMPARE_WITH_TIMEOUT(fenster.Kopftext(), QString("Temp: 22,5 \u00B0C"), 5000);
    EXPECT_EQ(fenster.erste_Reihe().y.size(), 3u);
    EXPECT_EQ(fenster.Statistiktext(), "Min 20,5  Max 22,5  Mittel 21,5");

    // A tap at the left edge of the plot reads out the oldest point.
    fenster.Spanne_setzen(fenster.erste_Reihe().t.front(), fenster.erste_Reihe().t.back());
    fenster.Cursor_setzen_bei(1);
    EXPECT_EQ(fenster.Ablesetext(), "07.12.26 10:00:00  20,5 \u00B0C  1 V DC");

    const QStringList dateien = fenster.exportieren();
    ASSERT_EQ(dateien.size(), 2);
    EXPECT_TRUE(dateien[0].startsWith(wurzel.path() + "/c/kestrix/extern/export/dadavu_Temp_"));
    QFile csv(dateien[0]);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(), QByteArray("Zeit;Temp [\xB0" "C];Druck [V DC]\r\n"
                                        "07.12.26 10:00:00;20,5;1\r\n"
                                        "07.12.26 10:00:01;21,5;1,5\r\n"
                                        "07.12.26 10:00:02;22,5;\r\n"));
    EXPECT_GT(QFile(dateien[1]).size(), 1000);
}
