// The FTP layer against a real server: what the box's server sees and keeps.

#include "Hilfen.h"
#include "Internet.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cstring>
#include <optional>

#include <gtest/gtest.h>

using namespace Loadmate::Internet;
using Testhilfe::FTPServer;

namespace {

struct Antwort {
    std::uint32_t code;
    QString text;
};

Antwort Letzte()
{
    Antwort a{};
    InternetGetLastResponseInfo(&a.code, &a.text);
    return a;
}

class FtpSchicht : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.läuft());
        port.emplace("LOADMATE_FTP_PORT", QByteArray::number(server.Port()));
        sitzung = InternetOpen("FTP Demo", INTERNET_OPEN_TYPE_DIRECT, {}, {}, 0);
        ASSERT_NE(sitzung, 0u);
    }
    void TearDown() override
    {
        if (sitzung)
            InternetCloseHandle(sitzung);
        EXPECT_EQ(Offene_Handles(), 0);
    }
    Handle Verbinden(const QString &kennwort = "wbn")
    {
        return InternetConnect(sitzung, "127.0.0.1", INTERNET_DEFAULT_PORT, "ftp", kennwort,
                               INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
    }
    QStringList Liste(Handle v, const QString &muster)
    {
        QStringList namen;
        Verzeichniseintrag e;
        const Handle s = FtpFindFirstFile(v, muster, &e, 0, 0);
        if (!s)
            return namen;
        do
            namen << QString::fromLatin1(e.cFileName.data())
                         + (e.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY ? "/" : "");
        while (InternetFindNextFile(s, &e));
        InternetCloseHandle(s);
        return namen;
    }

    FTPServer server{{"gesperrt.bin"}};
    std::optional<Testhilfe::Umgebung> port;
    QTemporaryDir lokal;
    Handle sitzung = 0;
};

} // namespace

TEST_F(FtpSchicht, LogOnUsesPassiveModeAndTheFixedUser)
{
    const Handle v = Verbinden();
    ASSERT_NE(v, 0u);
    EXPECT_EQ(Letzte().code, 0u);
    const QStringList b = server.Befehle();
    EXPECT_TRUE(b.contains("USER ftp"));
    EXPECT_TRUE(b.contains("PASS wbn"));
    Liste(v, "*.*"); // a listing needs a data connection
    EXPECT_TRUE(server.Befehle().contains("PASV"));
    EXPECT_FALSE(server.Befehle().contains("EPSV"));
    EXPECT_TRUE(server.Befehle().filter(QRegularExpression("^(CWD|XCWD|CDUP)")).isEmpty());
    InternetCloseHandle(v);
    EXPECT_TRUE(server.Warte_auf_Befehl("QUIT"));
}

TEST_F(FtpSchicht, WrongPasswordGivesNoHandleAndTheServersAnswer)
{
    EXPECT_EQ(Verbinden("falsch"), 0u);
    const Antwort a = Letzte();
    EXPECT_EQ(a.code, 530u);
    EXPECT_FALSE(a.text.isEmpty());
    EXPECT_FALSE(FtpPutFile(0, "/etc/hostname", "x", 0, 0));
}

TEST_F(FtpSchicht, NoServerIsAnErrorWithoutServerAnswer)
{
    Testhilfe::Umgebung tot("LOADMATE_FTP_PORT", "1"); // nothing listens on port 1
    EXPECT_EQ(Verbinden(), 0u);
    EXPECT_EQ(Letzte().code, ERROR_INTERNET_CANNOT_CONNECT);
    // A server name from a network answer cannot turn into another URL.
    EXPECT_EQ(InternetConnect(sitzung, "127.0.0.1/evil@x", 0, "ftp", "wbn", INTERNET_SERVICE_FTP,
                              INTERNET_FLAG_PASSIVE, 0),
              0u);
}

TEST_F(FtpSchicht, UploadKeepsTheBytesAndReplacesTheTarget)
{
    const Handle v = Verbinden();
    ASSERT_NE(v, 0u);
    QByteArray inhalt;
    for (int i = 0; i < 70000; ++i)
        inhalt += char(i * 7 % 256); // every byte value, CR and LF among them
    ASSERT_TRUE(Testhilfe::Schreiben(lokal.filePath("q7rev_.exe"), inhalt));
    ASSERT_TRUE(Testhilfe::Schreiben(server.Pfad("q7rev102.exe"), "alt"));
    EXPECT_TRUE(FtpPutFile(v, lokal.filePath("q7rev_.exe"), "q7rev102.exe", 0, 0));
    EXPECT_EQ(Letzte().code, 0u);
    EXPECT_EQ(Testhilfe::Lesen(server.Pfad("q7rev102.exe")), inhalt);
    // The same connection serves every call.
    EXPECT_TRUE(FtpPutFile(v, lokal.filePath("q7rev_.exe"), "zwei.exe", 0, 0));
    EXPECT_EQ(server.Befehle().filter("USER").size(), 1);
    InternetCloseHandle(v);
}

TEST_F(FtpSchicht, FailedUploadsAreReported)
{
    const Handle v = Verbinden();
    ASSERT_NE(v, 0u);
    ASSERT_TRUE(Testhilfe::Schreiben(lokal.filePath("a.bin"), "neu"));
    ASSERT_TRUE(Testhilfe::Schreiben(server.Pfad("gesperrt.bin"), "alt"));
    EXPECT_FALSE(FtpPutFile(v, lokal.filePath("a.bin"), "gesperrt.bin", 0, 0));
    EXPECT_GE(Letzte().code, 500u);
    EXPECT_EQ(Testhilfe::Lesen(server.Pfad("gesperrt.bin")), "alt");

    EXPECT_FALSE(FtpPutFile(v, lokal.filePath("fehlt.bin"), "x.bin", 0, 0));
    EXPECT_EQ(Letzte().code, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(QFile::exists(server.Pfad("x.bin")));

    // A remote name cannot smuggle in a second command.
    EXPECT_FALSE(FtpPutFile(v, lokal.filePath("a.bin"), "x\r\nDELE y", 0, 0));
    EXPECT_FALSE(FtpDeleteFile(v, "a\r\nDELE gesperrt.bin"));
    // The connection is still good after refusals.
    EXPECT_TRUE(FtpPutFile(v, lokal.filePath("a.bin"), "a.bin", 0, 0));
    InternetCloseHandle(v);
}

TEST_F(FtpSchicht, DeleteRemovesAndMissingFileOnlyReturnsFalse)
{
    const Handle v = Verbinden();
    ASSERT_NE(v, 0u);
    ASSERT_TRUE(Testhilfe::Schreiben(server.Pfad("chiptel.ini"), "x"));
    EXPECT_TRUE(FtpDeleteFile(v, "chiptel.ini"));
    EXPECT_FALSE(QFile::exists(server.Pfad("chiptel.ini")));
    EXPECT_FALSE(FtpDeleteFile(v, "chipcom.ini"));
    EXPECT_EQ(Letzte().code, 550u);
    EXPECT_TRUE(FtpDeleteFile(v, "chiptel.ini") == false);
    InternetCloseHandle(v);
}

TEST_F(FtpSchicht, FindListsMatchingEntriesOfTheStartDirectory)
{
    const Handle v = Verbinden();
    ASSERT_NE(v, 0u);
    ASSERT_TRUE(QDir(server.Ordner()).mkdir("Treiber"));
    for (const char *n : {"AUTOEXEC.BAT", "q7rev102.exe", "ohne_punkt", "mit blank.txt"})
        ASSERT_TRUE(Testhilfe::Schreiben(server.Pfad(n), "1234"));
    QStringList alle = Liste(v, "*.*");
    alle.sort();
    EXPECT_EQ(alle, (QStringList{"AUTOEXEC.BAT", "Treiber/", "mit blank.txt", "ohne_punkt", "q7rev102.exe"}));
    EXPECT_EQ(Liste(v, "*.bat"), QStringList{"AUTOEXEC.BAT"});
    EXPECT_EQ(Liste(v, "q7rev???.exe"), QStringList{"q7rev102.exe"});
    EXPECT_TRUE(Liste(v, "*.ini").isEmpty());
    InternetCloseHandle(v);
}

TEST(Listenzeilen, UnixAndDosLayouts)
{
    Verzeichniseintrag e;
    ASSERT_TRUE(Listenzeile_lesen("-rw-r--r--   1 owner    group      70000 Dec 07 15:00 q7rev102.exe\r", &e));
    EXPECT_STREQ(e.cFileName.data(), "q7rev102.exe");
    EXPECT_EQ(e.dwFileAttributes, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(e.nFileSizeLow, 70000u);
    ASSERT_TRUE(Listenzeile_lesen("drwxr-xr-x 2 0 4096 Jan  1  2021 alte daten", &e));
    EXPECT_STREQ(e.cFileName.data(), "alte daten");
    EXPECT_EQ(e.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(e.ftLastWriteTime.date(), QDate(2021, 1, 1));
    ASSERT_TRUE(Listenzeile_lesen("lrwxrwxrwx 1 a b 7 Mar 3 10:00 neu -> q7rev102.exe", &e));
    EXPECT_STREQ(e.cFileName.data(), "neu");
    ASSERT_TRUE(Listenzeile_lesen("12-07-23  03:00PM       <DIR>          TREIBER", &e));
    EXPECT_EQ(e.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(e.ftLastWriteTime, QDateTime(QDate(2023, 12, 7), QTime(15, 0)));
    ASSERT_TRUE(Listenzeile_lesen("01-02-99  09:15AM                  512 CHIPTEL.INI", &e));
    EXPECT_STREQ(e.cFileName.data(), "CHIPTEL.INI");
    EXPECT_EQ(e.nFileSizeLow, 512u);
    EXPECT_FALSE(Listenzeile_lesen("total 12", &e));
    EXPECT_FALSE(Listenzeile_lesen("", &e));
    // A name longer than the record's field is cut, still zero-terminated.
    ASSERT_TRUE(Listenzeile_lesen("-rw-r--r-- 1 a b 1 Dec 07 15:00 " + QByteArray(300, 'x'), &e));
    EXPECT_EQ(std::strlen(e.cFileName.data()), 259u);
}

TEST(Listenzeilen, PatternsMatchAsOnTheOldPlatform)
{
    EXPECT_TRUE(Muster_passt("*.*", "ohne_punkt"));
    EXPECT_TRUE(Muster_passt("*.*", "."));
    EXPECT_TRUE(Muster_passt("*.BAT", "autoexec.bat"));
    EXPECT_FALSE(Muster_passt("*.bat", "autoexec.bak"));
    EXPECT_TRUE(Muster_passt("chip*.ini", "chiptel.ini"));
    EXPECT_FALSE(Muster_passt("chip?.ini", "chiptel.ini"));
}
