// The wizard's own platform pieces: the wait, the safe copy, the code page.

#include "Hilfen.h"
#include "Plattform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTimer>

#include <gtest/gtest.h>

#include <ctime>

using namespace Loadmate;

TEST(Warten, SleepsInTheEventLoopAndHandlesEventsAtOnce)
{
    QElapsedTimer uhr;
    uhr.start();
    qint64 gesehen = -1;
    QTimer::singleShot(100, [&] { gesehen = uhr.elapsed(); });
    const std::clock_t cpu = std::clock();
    Ereignisse_verarbeiten_für(0.6);
    const double cpu_sekunden = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    EXPECT_GE(uhr.elapsed(), 600);
    EXPECT_LT(uhr.elapsed(), 800);
    // The event was handled during the wait, when it came.
    EXPECT_GE(gesehen, 95);
    EXPECT_LT(gesehen, 200);
    // No polling: the process sleeps while it waits.
    EXPECT_LT(cpu_sekunden, 0.05);
}

TEST(Kopie, ReplacesTheProgramWholeOrNotAtAll)
{
    QTemporaryDir d;
    const QString alt = d.filePath("Kestrix"), neu = d.filePath("Kestrix_");
    ASSERT_TRUE(Testhilfe::Schreiben(alt, "alt"));
    QString grund;
    // No new program: the old one stays and the reason is given in German.
    EXPECT_FALSE(Datei_sicher_ersetzen(neu, alt, &grund));
    EXPECT_TRUE(grund.contains("kann nicht gelesen werden")) << grund.toStdString();
    EXPECT_EQ(Testhilfe::Lesen(alt), "alt");

    QByteArray gross(3 * 1024 * 1024 + 17, '\0');
    for (qsizetype i = 0; i < gross.size(); ++i)
        gross[i] = char(i * 31);
    ASSERT_TRUE(Testhilfe::Schreiben(neu, gross));
    QFile::setPermissions(neu, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_TRUE(Datei_sicher_ersetzen(neu, alt, &grund));
    EXPECT_EQ(Testhilfe::Lesen(alt), gross);
    EXPECT_TRUE(QFileInfo(alt).permissions() & QFileDevice::ExeOwner);
    EXPECT_EQ(QDir(d.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // A target folder that is gone: nothing half-written anywhere.
    EXPECT_FALSE(Datei_sicher_ersetzen(neu, d.filePath("fehlt/Kestrix"), &grund));
    EXPECT_FALSE(grund.isEmpty());
}

TEST(Codeseite, BoxTextIsWindows1252)
{
    EXPECT_EQ(Ansi_nach_Unicode("Ger\xe4t \x80 \x84x\x93"), QString::fromUtf8("Gerät € „x“"));
    EXPECT_EQ(Unicode_nach_Ansi(QString::fromUtf8("Gerät € „x“")), QByteArray("Ger\xe4t \x80 \x84x\x93"));
    // Every byte comes back unchanged.
    QByteArray alle;
    for (int b = 0; b < 256; ++b)
        alle += char(b);
    EXPECT_EQ(Unicode_nach_Ansi(Ansi_nach_Unicode(alle)), alle);
    EXPECT_EQ(Unicode_nach_Ansi(QString::fromUtf8("日")), QByteArray("?"));
}
