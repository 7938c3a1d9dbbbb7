// The wizard's steps and its update against a real FTP server.

#include "Assistent.h"

#include <QDir>
#include <QFileInfo>

using Loadmate::Form1;

namespace {

const QString Erfolg = QStringLiteral("Update erfolgreich durchgeführt. ") + QChar(13)
                       + QStringLiteral("Bitte Gerät aus- und wieder einschalten");

} // namespace

TEST_F(Assistent, CompleteUpdateInstallsEverythingAndEnds)
{
    Server_starten();
    Box_antwortet();
    Lokale_Dateien();
    ASSERT_TRUE(Testhilfe::Schreiben(server->Pfad("autoexec.bat"), "alt"));
    ASSERT_TRUE(Testhilfe::Schreiben(server->Pfad("chiptel.ini"), "[tel]"));
    ASSERT_TRUE(Testhilfe::Schreiben(server->Pfad("chipcom.ini"), "[com]"));

    Bis_Schritt_3();
    EXPECT_NE(F().FTPVerbindung, 0u);
    EXPECT_NE(F().Internetzugang, 0u);
    EXPECT_EQ(F().Antwortzeile.Caption(), "Ok");
    EXPECT_TRUE(F().Frame1.isVisible());
    EXPECT_FALSE(F().Frame5.isVisible());
    EXPECT_EQ(F().Command2.text(), "Update");
    EXPECT_EQ(Liste1(), (QStringList{".", "..", "autoexec.bat", "chipcom.ini", "chiptel.ini"}));

    F().Command2.click();
    EXPECT_EQ(F().Label4.text(), "4");
    EXPECT_EQ(F().Statuszeile.Caption(), Erfolg);
    EXPECT_EQ(F().Updatefehler, 0);
    EXPECT_TRUE(meldungen.texte.isEmpty()) << meldungen.texte.join('|').toStdString();
    EXPECT_EQ(F().Command2.text(), "Beenden");
    EXPECT_TRUE(F().Command2.isEnabled());
    EXPECT_FALSE(F().Command3.isVisible());

    EXPECT_EQ(Testhilfe::Lesen(server->Pfad("autoexec.bat")), Testhilfe::Lesen(Datei("autoex_.bat")));
    EXPECT_EQ(Testhilfe::Lesen(server->Pfad("q7rev102.exe")), Testhilfe::Lesen(Datei("q7rev_.exe")));
    EXPECT_FALSE(QFile::exists(server->Pfad("chiptel.ini")));
    EXPECT_FALSE(QFile::exists(server->Pfad("chipcom.ini")));
    EXPECT_EQ(Testhilfe::Lesen(Datei("Kestrix")), Testhilfe::Lesen(Datei("Kestrix_")));
    EXPECT_TRUE(QFileInfo(Datei("Kestrix")).isExecutable());
    // Nothing left over beside the program.
    EXPECT_EQ(QDir(ordner.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"Kestrix", "Kestrix_", "autoex_.bat", "q7rev_.exe"}));

    // The box sees the calls in this order, each file by its bare name.
    QStringList folge;
    for (const QString &b : server->Befehle())
        if (b.startsWith("STOR") || b.startsWith("DELE") || b.startsWith("USER"))
            folge << b;
    EXPECT_EQ(folge, (QStringList{"USER ftp", "STOR autoexec.bat", "STOR q7rev102.exe",
                                  "DELE chiptel.ini", "DELE chipcom.ini"}));

    F().Command2.click();
    EXPECT_TRUE(beendet);
    EXPECT_EQ(F().FTPVerbindung, 0u);
    EXPECT_EQ(F().Internetzugang, 0u);
    EXPECT_EQ(Loadmate::Internet::Offene_Handles(), 0);
    EXPECT_TRUE(server->Warte_auf_Befehl("QUIT"));
}

TEST_F(Assistent, FailedUploadsAreReportedAndTheRestStillRuns)
{
    Server_starten({"autoexec.bat"}); // the box refuses to overwrite it
    Box_antwortet();
    Lokale_Dateien();
    ASSERT_TRUE(QFile::remove(Datei("q7rev_.exe")));
    ASSERT_TRUE(Testhilfe::Schreiben(server->Pfad("autoexec.bat"), "alt"));
    ASSERT_TRUE(Testhilfe::Schreiben(server->Pfad("chiptel.ini"), "[tel]"));
    ASSERT_TRUE(Testhilfe::Schreiben(server->Pfad("chipcom.ini"), "[com]"));

    Bis_Schritt_3();
    F().Command2.click();
    EXPECT_EQ(meldungen.texte,
              (QStringList{"Fehler bei Übertragung der Datei: " + Datei("autoex_.bat"),
                           "Fehler bei Übertragung der Datei: " + Datei("q7rev_.exe")}));
    EXPECT_EQ(F().Statuszeile.Caption(), "Beim Update sind Fehler aufgetreten");
    EXPECT_EQ(F().Updatefehler, 1);
    EXPECT_EQ(Testhilfe::Lesen(server->Pfad("autoexec.bat")), "alt");
    EXPECT_FALSE(QFile::exists(server->Pfad("q7rev102.exe")));
    EXPECT_FALSE(QFile::exists(server->Pfad("chiptel.ini")));
    EXPECT_FALSE(QFile::exists(server->Pfad("chipcom.ini")));
    EXPECT_EQ(Testhilfe::Lesen(Datei("Kestrix")), Testhilfe::Lesen(Datei("Kestrix_")));
    EXPECT_EQ(F().Command2.text(), "Beenden");
}

TEST_F(Assistent, DeletingFilesTheBoxLacksIsNoError)
{
    Server_starten();
    Box_antwortet();
    Lokale_Dateien();
    Bis_Schritt_3();
    F().Command2.click();
    EXPECT_EQ(F().Statuszeile.Caption(), Erfolg);
    EXPECT_TRUE(meldungen.texte.isEmpty());
    EXPECT_TRUE(server->Befehle().contains("DELE chipcom.ini"));
}

TEST_F(Assistent, FailedCopyKeepsTheOldProgramAndCountsAsError)
{
    Server_starten();
    Box_antwortet();
    Lokale_Dateien();
    ASSERT_TRUE(QFile::remove(Datei("Kestrix_")));
    Bis_Schritt_3();
    F().Command2.click();
    EXPECT_EQ(Testhilfe::Lesen(Datei("Kestrix")), "altes Programm");
    ASSERT_EQ(meldungen.texte.size(), 1);
    EXPECT_TRUE(meldungen.texte[0].startsWith("Fehler beim Kopieren der Datei: " + Datei("Kestrix_")));
    EXPECT_EQ(F().Statuszeile.Caption(), "Beim Update sind Fehler aufgetreten");
    // The box is still brought up to date.
    EXPECT_EQ(Testhilfe::Lesen(server->Pfad("q7rev102.exe")), Testhilfe::Lesen(Datei("q7rev_.exe")));
    EXPECT_EQ(QDir(ordner.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{"Kestrix", "autoex_.bat", "q7rev_.exe"}));
}

TEST_F(Assistent, WrongPasswordLeavesHandlesAtZeroAndUploadsFail)
{
    Server_starten({}, "anders");
    Box_antwortet();
    Lokale_Dateien();
    Bis_Schritt_3();
    EXPECT_EQ(F().FTPVerbindung, 0u);
    EXPECT_EQ(F().Internetzugang, 0u);
    EXPECT_TRUE(F().Antwortzeile.Caption().startsWith("530 ")) << F().Antwortzeile.Caption().toStdString();
    EXPECT_TRUE(F().List1.count() == 0);
    F().Command2.click();
    EXPECT_EQ(meldungen.texte,
              (QStringList{"Fehler bei Übertragung der Datei: " + Datei("autoex_.bat"),
                           "Fehler bei Übertragung der Datei: " + Datei("q7rev_.exe")}));
    EXPECT_EQ(F().Statuszeile.Caption(), "Beim Update sind Fehler aufgetreten");
    EXPECT_TRUE(F().Antwortzeile.Caption().startsWith("530 ")); // still the server's refusal
    EXPECT_EQ(Loadmate::Internet::Offene_Handles(), 0);
}

TEST_F(Assistent, StepsForwardAndBack)
{
    Server_starten();
    Box_antwortet();
    Form1 &f = F();
    EXPECT_EQ(f.windowTitle(), "Orvamet Kestrix Q7-Update Wizard");
    EXPECT_EQ(f.frameGeometry().size(), QSize(273, 244)); // the whole window, with a title bar where there is one
    EXPECT_EQ(f.Label4.text(), "1");
    EXPECT_TRUE(f.Command2.isVisible() && f.Command2.isEnabled());
    EXPECT_FALSE(f.Command3.isVisible());
    EXPECT_FALSE(f.Frame5.isVisible());
    EXPECT_FALSE(f.Frame1.isVisible());

    // Step 2: the search starts and "Weiter >" waits for a box.
    f.Command2.click();
    EXPECT_TRUE(f.Command3.isVisible());
    EXPECT_TRUE(f.Frame5.isVisible());
    EXPECT_EQ(f.Command9.text(), "Suche abbrechen");
    EXPECT_FALSE(f.Command2.isEnabled());
    ASSERT_TRUE(Testhilfe::Warte_bis([&] { return f.List2.count() > 0; }, 5000));
    EXPECT_EQ(f.List2.item(0)->text(), "127.0.0.1    123456789");
    EXPECT_FALSE(f.Command2.isEnabled());
    Testhilfe::Eintrag_klicken(f.List2, 0);
    EXPECT_EQ(f.Boxadresse, "127.0.0.1");
    EXPECT_TRUE(f.Command2.isEnabled());

    // Back to step 1 stops the search.
    f.Command3.click();
    EXPECT_EQ(f.Label4.text(), "1");
    EXPECT_EQ(f.Command9.text(), "nach verfügbaren Geräten suchen");
    EXPECT_FALSE(f.Timer1.isActive());
    EXPECT_FALSE(f.Frame5.isVisible());
    EXPECT_FALSE(f.Command3.isVisible());
    EXPECT_TRUE(f.Command2.isEnabled());
    EXPECT_EQ(f.Suche_beendet, 0);

    // A search the operator stopped stays stopped on the way back and on.
    f.Command2.click();
    EXPECT_EQ(f.Command9.text(), "Suche abbrechen");
    f.Command9.click();
    f.Command3.click();
    EXPECT_EQ(f.Command9.text(), "nach verfügbaren Geräten suchen");
    EXPECT_FALSE(f.Timer1.isActive());

    // Step 3 stops the search and connects; back to 2 disconnects.
    f.Command2.click();
    ASSERT_TRUE(Testhilfe::Warte_bis([&] { return f.List2.count() > 0; }, 5000));
    Testhilfe::Eintrag_klicken(f.List2, 0);
    f.Command2.click();
    EXPECT_EQ(f.Label4.text(), "3");
    EXPECT_EQ(f.Suche_beendet, 1);
    EXPECT_FALSE(f.Timer1.isActive());
    EXPECT_EQ(f.Command9.text(), "nach verfügbaren Geräten suchen");
    ASSERT_NE(f.FTPVerbindung, 0u);
    EXPECT_GT(f.List1.count(), 0);
    f.Command3.click();
    EXPECT_EQ(f.Label4.text(), "2");
    EXPECT_EQ(f.FTPVerbindung, 0u);
    EXPECT_EQ(f.Internetzugang, 0u);
    EXPECT_EQ(f.List1.count(), 0);
    EXPECT_TRUE(server->Warte_auf_Befehl("QUIT"));
    EXPECT_TRUE(f.Frame5.isVisible());
    EXPECT_FALSE(f.Frame1.isVisible());
    EXPECT_EQ(f.Command2.text(), "Weiter >");
    EXPECT_FALSE(f.Timer1.isActive()); // the search stays off in step 2 now

    // Searching again drops the chosen box.
    f.Command9.click();
    EXPECT_TRUE(f.Boxadresse.isEmpty());
    EXPECT_FALSE(f.Command2.isEnabled());
}

TEST_F(Assistent, ClosingTheWindowDisconnects)
{
    Server_starten();
    Box_antwortet();
    Bis_Schritt_3();
    ASSERT_NE(F().FTPVerbindung, 0u);
    F().close();
    EXPECT_EQ(F().FTPVerbindung, 0u);
    EXPECT_FALSE(F().Timer1.isActive());
    EXPECT_TRUE(server->Warte_auf_Befehl("QUIT"));
}

TEST_F(Assistent, DirectoryListingSortsDirectoriesFirst)
{
    Server_starten();
    Box_antwortet();
    for (const char *d : {"treiber", "Alt", "bin"})
        ASSERT_TRUE(QDir(server->Ordner()).mkdir(d));
    for (const char *n : {"Q7REV102.EXE", "autoexec.bat", "Chiptel.ini", "zz.txt"})
        ASSERT_TRUE(Testhilfe::Schreiben(server->Pfad(n), "x"));
    Bis_Schritt_3();
    EXPECT_EQ(Liste1(), (QStringList{".", "..", "ALT", "BIN", "TREIBER", "autoexec.bat", "chiptel.ini",
                                     "q7rev102.exe", "zz.txt"}));
    EXPECT_EQ(F().FTPListe.size(), 9);

    // The pattern of Text1 applies to the next listing.
    F().Text1.setText("  *.ini ");
    F().Verzeichnis_auflisten(F().Text1.text());
    EXPECT_EQ(Liste1(), (QStringList{".", "..", "chiptel.ini"}));
}

TEST_F(Assistent, ListingWithDotEntriesKeepsThemOnce)
{
    Form1 &f = F();
    auto eintrag = [](const char *name, std::uint32_t attribute) {
        Loadmate::Internet::Verzeichniseintrag e;
        e.dwFileAttributes = attribute;
        std::copy_n(name, std::strlen(name), e.cFileName.begin());
        return e;
    };
    using namespace Loadmate::Internet;
    f.FTPListe = {eintrag("b.txt", FILE_ATTRIBUTE_NORMAL), eintrag("..", FILE_ATTRIBUTE_DIRECTORY),
                  eintrag("Sub", FILE_ATTRIBUTE_DIRECTORY), eintrag(".", FILE_ATTRIBUTE_DIRECTORY),
                  eintrag("A.TXT", FILE_ATTRIBUTE_NORMAL),
                  // Not exactly the directory attribute: shown among the files.
                  eintrag("Nurlesen", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)};
    f.FTPListe_anzeigen();
    EXPECT_EQ(Liste1(), (QStringList{".", "..", "SUB", "a.txt", "b.txt", "nurlesen"}));
}
