// The search over a real broadcast, in a network namespace of the test's own
// with three simulated boxes: nothing leaves this machine.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>

#include <unistd.h>

#include "common/Fenster.h"
#include "project/MDIForm1.h"
#include "project/Projekt.h"
#include "support/Teststation.h"

namespace {
const char* const Innen = "KESTRIX_TEST_IM_NAMENSRAUM";

int Ausführen(const QStringList& befehl, QString* ausgabe = nullptr) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(befehl.first(), befehl.mid(1));
    if (!p.waitForStarted(5000) || !p.waitForFinished(20000))
        return -1;
    if (ausgabe)
        *ausgabe += QString::fromLocal8Bit(p.readAll());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

struct Namensräume {
    QStringList namen;
    ~Namensräume() {
        for (const QString& n : namen)
            Ausführen({"ip", "netns", "del", n});
    }
};
}

TEST(Rundruf, Jede_Box_einmal_mit_der_Adresse_ihrer_ersten_Antwort) {
#ifndef Q7SIM_PFAD
    GTEST_SKIP() << "without the simulated box";
#endif
    if (!qEnvironmentVariableIsSet(Innen)) {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root for a network namespace";
        if (Ausführen({"unshare", "-n", "--", "ip", "netns", "list"}) != 0)
            GTEST_SKIP() << "no network namespaces here";
        QProcess p;
        auto umgebung = QProcessEnvironment::systemEnvironment();
        umgebung.insert(Innen, "1");
        p.setProcessEnvironment(umgebung);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start("unshare", {"-n", "--", QCoreApplication::applicationFilePath(),
                            "--gtest_filter=Rundruf.Jede_Box_einmal_mit_der_Adresse_ihrer_ersten_Antwort"});
        ASSERT_TRUE(p.waitForFinished(90000));
        const QString ausgabe = QString::fromLocal8Bit(p.readAll());
        EXPECT_EQ(p.exitCode(), 0) << ausgabe.toStdString();
        EXPECT_TRUE(ausgabe.contains("[  PASSED  ] 1 test")) << ausgabe.toStdString();
        return;
    }

    // Inside: a bridge with one veth port per box and the default route on it.
    const QString pid = QString::number(QCoreApplication::applicationPid());
    QString protokoll;
    auto ip = [&](const QStringList& a) {
        const bool ok = Ausführen(QStringList{"ip"} + a, &protokoll) == 0;
        if (!ok)
            protokoll += "failed: ip " + a.join(' ') + "\n";
        return ok;
    };
    ASSERT_TRUE(ip({"link", "set", "lo", "up"}));
    ASSERT_TRUE(ip({"link", "add", "kxbr", "type", "bridge"}));
    ASSERT_TRUE(ip({"addr", "add", "10.78.0.1/24", "dev", "kxbr"}));
    ASSERT_TRUE(ip({"link", "set", "kxbr", "up"}));
    ASSERT_TRUE(ip({"route", "add", "default", "dev", "kxbr"})) << protokoll.toStdString();

    Namensräume räume;
    std::vector<std::unique_ptr<Q7Sim>> boxen;
    for (int i = 1; i <= 3; ++i) {
        const QString ns = QString("kx%1b%2").arg(pid).arg(i);
        const QString adresse = QString("10.78.0.1%1").arg(i);
        ASSERT_TRUE(ip({"netns", "add", ns})) << protokoll.toStdString();
        räume.namen << ns;
        const QString veth = QString("kxv%1").arg(i);
        ASSERT_TRUE(ip({"link", "add", veth, "type", "veth", "peer", "name", "eth0", "netns", ns}));
        ASSERT_TRUE(ip({"link", "set", veth, "master", "kxbr", "up"}));
        ASSERT_TRUE(ip({"-n", ns, "addr", "add", adresse + "/24", "dev", "eth0"}));
        ASSERT_TRUE(ip({"-n", ns, "link", "set", "eth0", "up"}));
        ASSERT_TRUE(ip({"-n", ns, "link", "set", "lo", "up"})) << protokoll.toStdString();
        QStringList argumente = {"--discovery", "0.0.0.0:8001", "--serial", QString("Q7000010%1").arg(i),
                                 "--reply-address", adresse};
        if (i == 2)  // the same box answers again with another address
            argumente << "--extra-box" << "10.78.0.99,Q70000102";
        boxen.push_back(std::make_unique<Q7Sim>(argumente, QString(), QStringList{"ip", "netns", "exec", ns}));
        ASSERT_TRUE(boxen.back()->läuft()) << protokoll.toStdString();
    }

    Teststation station;
    for (QChar lw : {'c', 'd', 'e'})
        station.Laufwerk_anlegen(lw);
    qunsetenv("KESTRIX_DISCOVERY_ADDR");  // the defaults: 255.255.255.255, port 8001
    qunsetenv("KESTRIX_DISCOVERY_PORT");
    MDIForm1 rahmen;
    ASSERT_TRUE(rahmen.MDIForm_Load());
    Projekt* projekt = Fenster.Projekt;
    projekt->Command9->click();
    ASSERT_TRUE(warten_bis([&] { return projekt->List2->count() >= 3; }, 5000));
    warten_bis([&] { return projekt->Suchzähler >= 2; }, 5000);
    projekt->Command9->click();
    QStringList liste;
    for (int i = 0; i < projekt->List2->count(); ++i)
        liste << projekt->List2->item(i)->text();
    liste.sort();
    EXPECT_EQ(liste, (QStringList{"10.78.0.11    Q70000101", "10.78.0.12    Q70000102", "10.78.0.13    Q70000103"}));
    EXPECT_EQ(projekt->Geräteanzahl, 3);

    Daten.Boxadresse.clear();
    projekt->Seriennummer = "Q70000103";
    projekt->Q7AdresseFinden();
    EXPECT_EQ(Daten.Boxadresse, "10.78.0.13");
    rahmen.entladen();
}
