// The box search: reading the replies, the ticks on loopback, socket errors,
// and a real broadcast inside a private network namespace.

#include "Assistent.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <unistd.h>

using Loadmate::Form1;
using Testhilfe::Boxantwort;

namespace {

QStringList Liste2(const Form1 &f)
{
    QStringList z;
    for (int i = 0; i < f.List2.count(); ++i)
        z << f.List2.item(i)->text();
    return z;
}

} // namespace

TEST_F(Assistent, RepliesAreReadAsTheBoxWritesThem)
{
    Form1 &f = F();
    const QChar cr(13);
    f.Suchpuffer = QString::fromLatin1(Boxantwort("192.168.1.20", "Q70000123")) + cr
                   + "IP:  7.1.2.3 m f v SNr: 000000007" + cr   // blanks before the first number
                   + "IP:010.0.0.1 m f v SNr: 000000010" + cr   // a leading zero
                   + "IP: 07.0.0.2 m f v SNr: 000000072" + cr
                   + "8.8.4.4 m f v SNr: 000000008" + cr         // nothing before the number
                   + "IP:192.168.1.99 m f v SNr: Q70000123" + cr // the same box again
                   + "IP: 10.1.1.1 m f v SNr: 000000011 V2.0.1" + cr; // dots after the group
    f.Suchpuffer_auswerten();
    ASSERT_EQ(f.Geräteanzahl, 6);
    const QStringList erwartet = {"192.168.1.20 Q70000123", "7.1.2.3 000000007", "10.0.0.1 000000010",
                                  "7.0.0.2 000000072",      "8.8.4.4 000000008", "10.1.1.1 000000011"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(f.Geräteliste[size_t(i)].IPAdresse + " " + f.Geräteliste[size_t(i)].Seriennummer, erwartet[i]);
    EXPECT_TRUE(f.Suchpuffer.isEmpty());
}

TEST_F(Assistent, BrokenRepliesNeitherCrashNorStopTheSearch)
{
    Form1 &f = F();
    const QChar cr(13);
    // A serial group cut short at the end of the buffer yields what is there.
    f.Suchpuffer = QStringLiteral("IP:10.0.0.9 m f v SNr: 12345");
    f.Suchpuffer_auswerten();
    ASSERT_EQ(f.Geräteanzahl, 1);
    EXPECT_EQ(f.Geräteliste[0].Seriennummer, "12345");

    f.Suchpuffer = QStringLiteral("kaputt.") + cr + "1.2.3.4" + cr + "IP:1.2.3.4 m f" + cr + "IP:1.2.3.5 m f v" + cr
                   + "IP:1.2.3.6 m f v SNr" + cr + ".." + cr + QString::fromLatin1(Boxantwort("10.0.0.2", "222222222"))
                   + cr + "IP:3.3.3.3 m f v SNr";
    f.Suchpuffer_auswerten();
    ASSERT_EQ(f.Geräteanzahl, 2);
    EXPECT_EQ(f.Geräteliste[1].IPAdresse, "10.0.0.2");
    EXPECT_EQ(f.Geräteliste[1].Seriennummer, "222222222");
}

TEST_F(Assistent, AtMost21BoxesAreKept)
{
    Form1 &f = F();
    for (int i = 0; i < 22; ++i)
        f.Suchpuffer += QString::fromLatin1(Boxantwort(QStringLiteral("10.0.0.%1").arg(i + 1),
                                                       QByteArray::number(100000000 + i)))
                        + QChar(13);
    f.Suchpuffer_auswerten();
    EXPECT_EQ(f.Geräteanzahl, 21);
    EXPECT_EQ(f.Geräteliste[20].IPAdresse, "10.0.0.21");
}

TEST_F(Assistent, SearchOnLoopbackListsEachBoxOnce)
{
    std::unique_ptr<Testhilfe::Q7sim> sim;
    if (Testhilfe::Q7sim::vorhanden()) {
        sim = std::make_unique<Testhilfe::Q7sim>(QStringList{
            "--port", "0", "--host", "127.0.0.1", "--discovery", QStringLiteral("127.0.0.2:%1").arg(suchport),
            "--serial", "111111111", "--reply-address", "127.0.0.11", "--extra-box", "127.0.0.12,222222222",
            // The same box answering again from another address.
            "--extra-box", "127.0.0.13,111111111"});
        ASSERT_TRUE(sim->läuft()) << sim->Fehler().toStdString();
    } else {
        box = std::make_unique<Testhilfe::Antworter>(
            QHostAddress("127.0.0.2"), suchport,
            QList<QByteArray>{Boxantwort("127.0.0.11", "111111111"), Boxantwort("127.0.0.12", "222222222"),
                              Boxantwort("127.0.0.13", "111111111")});
        ASSERT_TRUE(box->bereit());
    }
    Form1 &f = F();
    QElapsedTimer uhr;
    uhr.start();
    f.Command2.click();
    ASSERT_TRUE(Testhilfe::Warte_bis([&] { return f.List2.count() >= 2; }, 3000));
    // The first tick listens for half a second and then lists.
    EXPECT_GE(uhr.elapsed(), 450);
    EXPECT_LT(uhr.elapsed(), 1500);
    const QStringList erwartet = {"127.0.0.11    111111111", "127.0.0.12    222222222"};
    EXPECT_EQ(Liste2(f), erwartet);
    // The next tick (1 s later, 1.5 s of listening) hears them again.
    ASSERT_TRUE(Testhilfe::Warte_bis([&] { return f.Suchzähler >= 2; }, 5000));
    EXPECT_EQ(Liste2(f), erwartet);
    EXPECT_EQ(f.Geräteanzahl, 2);
    EXPECT_FALSE(f.Winsock1); // the socket lives for one tick only
}

TEST_F(Assistent, BindFailureWaitsAndEndsTheTickAfterTenErrors)
{
    // A socket that does not share the port makes every bind of the tick fail.
    auto sperre = std::make_unique<QUdpSocket>();
    ASSERT_TRUE(sperre->bind(QHostAddress::AnyIPv4, suchport, QAbstractSocket::DontShareAddress));
    Testhilfe::Wartenschreiber warten;
    Form1 &f = F();
    f.Command2.click();
    ASSERT_TRUE(Testhilfe::Warte_bis([&] { return warten.dauern.size() >= 11 && !f.Winsock1; }, 3000));
    Testhilfe::Warte_bis([] { return false; }, 100);
    // Ten errors, 0.05 s after each, and 0.05 s more where the socket is made anew.
    EXPECT_EQ(warten.dauern, std::vector<double>(11, 0.05));
    EXPECT_FALSE(sperre->hasPendingDatagrams()); // nothing was sent
    EXPECT_EQ(f.Suchzähler, 0);
    EXPECT_TRUE(f.Timer1.isActive());
    EXPECT_EQ(f.Timer1.interval(), 1000);
    EXPECT_EQ(f.Command9.text(), "Suche abbrechen");

    // Once the port is free again the next tick finds the box.
    sperre.reset();
    Box_antwortet("127.0.0.5", "555555555");
    ASSERT_TRUE(Testhilfe::Warte_bis([&] { return f.List2.count() == 1; }, 4000));
    EXPECT_EQ(f.List2.item(0)->text(), "127.0.0.5    555555555");
    EXPECT_EQ(box->Anfragen(), 1);
}

// ---- inside a private network namespace ----

namespace {

const char *const Innen = "LOADMATE_TEST_IM_NAMENSRAUM";

int Ausführen(const QStringList &befehl, QString *ausgabe = nullptr)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(befehl.first(), befehl.mid(1));
    if (!p.waitForStarted(5000) || !p.waitForFinished(20000))
        return -1;
    if (ausgabe)
        *ausgabe += QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Named namespaces of the simulated boxes; removed again in any case.
struct Boxnamensräume {
    QStringList namen;
    ~Boxnamensräume()
    {
        for (const QString &n : namen)
            Ausführen({"ip", "netns", "del", n});
    }
};

} // namespace

TEST(Namensraum, BroadcastFindsEachBoxOnce)
{
    if (!qEnvironmentVariableIsSet(Innen)) {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root for a network namespace";
        if (!Testhilfe::Q7sim::vorhanden())
            GTEST_SKIP() << "q7sim is not built";
        if (Ausführen({"unshare", "-n", "--", "ip", "netns", "list"}) != 0)
            GTEST_SKIP() << "no network namespaces here";
        // Run this test again in a namespace of its own: the broadcast goes
        // nowhere but to the boxes made there.
        QProcess p;
        auto umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(Innen, "1");
        p.setProcessEnvironment(umgebung);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start("unshare", {"-n", "--", QCoreApplication::applicationFilePath(),
                            "--gtest_filter=Namensraum.BroadcastFindsEachBoxOnce"});
        ASSERT_TRUE(p.waitForFinished(60000));
        const QString ausgabe = QString::fromLocal8Bit(p.readAll());
        EXPECT_EQ(p.exitCode(), 0) << ausgabe.toStdString();
        EXPECT_TRUE(ausgabe.contains("[  PASSED  ] 1 test")) << ausgabe.toStdString();
        return;
    }

    // The station: a bridge with one veth port per box, default route on it.
    const QString pid = QString::number(QCoreApplication::applicationPid());
    QString protokoll;
    auto ip = [&](const QStringList &a) {
        const int rc = Ausführen(QStringList{"ip"} + a, &protokoll);
        if (rc != 0)
            protokoll += "failed: ip " + a.join(' ') + "\n";
        return rc == 0;
    };
    ASSERT_TRUE(ip({"link", "set", "lo", "up"}));
    ASSERT_TRUE(ip({"link", "add", "lmbr", "type", "bridge"}));
    ASSERT_TRUE(ip({"addr", "add", "10.77.0.1/24", "dev", "lmbr"}));
    ASSERT_TRUE(ip({"link", "set", "lmbr", "up"}));
    ASSERT_TRUE(ip({"route", "add", "default", "dev", "lmbr"})) << protokoll.toStdString();

    Boxnamensräume räume;
    std::vector<std::unique_ptr<Testhilfe::Q7sim>> boxen;
    for (int i = 1; i <= 2; ++i) {
        const QString ns = QStringLiteral("lm%1b%2").arg(pid).arg(i);
        const QString adresse = QStringLiteral("10.77.0.1%1").arg(i);
        ASSERT_TRUE(ip({"netns", "add", ns})) << protokoll.toStdString();
        räume.namen << ns;
        const QString veth = QStringLiteral("lmv%1").arg(i);
        ASSERT_TRUE(ip({"link", "add", veth, "type", "veth", "peer", "name", "eth0", "netns", ns}));
        ASSERT_TRUE(ip({"link", "set", veth, "master", "lmbr", "up"}));
        ASSERT_TRUE(ip({"-n", ns, "addr", "add", adresse + "/24", "dev", "eth0"}));
        ASSERT_TRUE(ip({"-n", ns, "link", "set", "eth0", "up"}));
        ASSERT_TRUE(ip({"-n", ns, "link", "set", "lo", "up"})) << protokoll.toStdString();
        QStringList argumente = {"--port", "0", "--host", "127.0.0.1", "--discovery", "0.0.0.0:8001",
                                 "--serial", QStringLiteral("Q7000000%1").arg(i), "--reply-address", adresse};
        if (i == 1) // answers a second time for the same box
            argumente << "--extra-box" << "10.77.0.99,Q70000001";
        boxen.push_back(std::make_unique<Testhilfe::Q7sim>(argumente, QStringList{"ip", "netns", "exec", ns}));
        ASSERT_TRUE(boxen.back()->läuft()) << boxen.back()->Fehler().toStdString();
    }

    // The wizard with its defaults: 255.255.255.255, port 8001.
    qunsetenv("KESTRIX_DISCOVERY_ADDR");
    qunsetenv("KESTRIX_DISCOVERY_PORT");
    QTemporaryDir ordner;
    Testhilfe::Umgebung dir("LOADMATE_DIR", ordner.path().toLocal8Bit());
    Form1 f;
    f.show();
    f.Command2.click();
    ASSERT_TRUE(Testhilfe::Warte_bis([&] { return f.List2.count() >= 2; }, 3000)) << protokoll.toStdString();
    ASSERT_TRUE(Testhilfe::Warte_bis([&] { return f.Suchzähler >= 2; }, 5000));
    QStringList liste = Liste2(f);
    liste.sort();
    EXPECT_EQ(liste, (QStringList{"10.77.0.11    Q70000001", "10.77.0.12    Q70000002"}));
    EXPECT_EQ(f.Geräteanzahl, 2);
}
