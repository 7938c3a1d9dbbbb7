// Windows paths, drive types, the shifted clock, the launcher and the wait.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <sys/resource.h>

#include "platform/Pfade.h"
#include "platform/Programmstarter.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "platform/Winsockfehler.h"
#include "support/Teststation.h"

TEST(Pfade, Laufwerk_und_Komponenten_ohne_Ruecksicht_auf_Gross_und_Klein) {
    Teststation station;
    QDir(station.Wurzel()).mkpath("c/kestrix/intern/Matrix");
    EXPECT_EQ(Pfade::lokal("C:\\Kestrix\\INTERN\\matrix\\noname01.kxp"),
              station.Wurzel() + "/c/kestrix/intern/Matrix/noname01.kxp");
    EXPECT_EQ(Pfade::lokal("d:\\"), station.Wurzel() + "/d");
    EXPECT_EQ(Pfade::lokal("c:\\kestrix\\extern\\Messdat"), station.Wurzel() + "/c/kestrix/extern/Messdat");
}

TEST(Pfade, Programmverzeichnis_findet_Dateien_in_jeder_Schreibweise) {
    Teststation station;
    EXPECT_EQ(Pfade::im_Programmverzeichnis("KESTI.INI"), station.Programmverzeichnis() + "/Kesti.ini");
    EXPECT_EQ(Pfade::im_Programmverzeichnis("Protokolldat.txt"),
              station.Programmverzeichnis() + "/Protokolldat.txt");
}

TEST(Laufwerke, Typ_nach_Ordner_und_Dateisystem) {
    Teststation station;
    laufwerke_ersetzen(nullptr);  // the real check
    EXPECT_EQ(laufwerke().Typ("q:\\"), Laufwerkstyp::kein_Stammverzeichnis);
    EXPECT_EQ(laufwerke().Typ(""), Laufwerkstyp::kein_Stammverzeichnis);
    if (QFileInfo("/proc/self").exists()) {  // a folder on a pseudo file system is no RAM disk
        QFile::link("/proc/self", station.Wurzel() + "/p");
        EXPECT_EQ(laufwerke().Typ("p:\\"), Laufwerkstyp::fest);
    }
    if (QFileInfo("/dev/shm").isDir()) {
        QTemporaryDir ram("/dev/shm/kestrix-test-XXXXXX");
        ASSERT_TRUE(QFile::link(ram.path(), station.Wurzel() + "/r"));
        EXPECT_EQ(laufwerke().Typ("R:\\"), Laufwerkstyp::RAMDisk);
    }
}

TEST(Uhr, Stellen_verschiebt_nur_den_Versatz) {
    Teststation station;
    const QDateTime vorher = QDateTime::currentDateTime();
    ASSERT_TRUE(uhr().Uhrzeit_setzen(QTime(23, 59, 58)));
    EXPECT_EQ(uhr().Zeit().hour(), 23);
    EXPECT_NEAR(uhr().Sekunden_seit_Mitternacht(), 86398, 2);
    ASSERT_TRUE(uhr().Uhrzeit_setzen(QTime(12, 0, 0)));
    ASSERT_TRUE(uhr().Datum_setzen(QDate(2030, 1, 2)));
    EXPECT_EQ(uhr().Datum(), QDate(2030, 1, 2));
    EXPECT_EQ(uhr().Zeit().hour(), 12);
    EXPECT_LT(std::abs(QDateTime::currentDateTime().secsTo(vorher)), 5);  // the system clock is untouched
}

TEST(Programmstarter, Windowsname_wird_zum_Programm_der_Station) {
    Teststation station;
    programmstarter_ersetzen(nullptr);
    station.Laufwerk_anlegen('d');
    const QString skript = station.Wurzel() + "/d/update";
    Teststation::Datei_schreiben(skript, "#!/bin/sh\necho \"$@\" > \"$(dirname \"$0\")/gestartet\"\n");
    QFile::setPermissions(skript, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(Programmstarter::Programm_zu("d:\\UPDATE.EXE"), skript);
    ASSERT_TRUE(programmstarter().starten("d:\\update.exe", {"schreiben"}));
    EXPECT_TRUE(warten_bis([&] { return QFileInfo::exists(station.Wurzel() + "/d/gestartet"); }, 5000));
    EXPECT_EQ(Teststation::Datei_lesen(station.Wurzel() + "/d/gestartet"), "schreiben\n");
    EXPECT_FALSE(programmstarter().starten("c:\\dazuzoz\\kennwort.exe"));
}

TEST(Warten, Ein_Ereignis_beendet_das_Warten_vor_der_Frist) {
    Teststation station;
    bool gefeuert = false;
    QTimer::singleShot(30, [&] { gefeuert = true; });
    QElapsedTimer dauer;
    dauer.start();
    while (!gefeuert && dauer.elapsed() < 2000)
        Ereignisse_abwarten(2000);
    EXPECT_TRUE(gefeuert);
    EXPECT_LT(dauer.elapsed(), 1000);
}

TEST(Warten, Ohne_Ereignis_blockiert_es_bis_zur_Frist_ohne_Rechenzeit) {
    Teststation station;
    rusage vorher{}, nachher{};
    getrusage(RUSAGE_SELF, &vorher);
    QElapsedTimer dauer;
    dauer.start();
    int durchläufe = 0;
    while (dauer.elapsed() < 300) {
        Ereignisse_abwarten(static_cast<int>(300 - dauer.elapsed()));
        ++durchläufe;
    }
    getrusage(RUSAGE_SELF, &nachher);
    EXPECT_LT(dauer.elapsed(), 1500);
    EXPECT_LT(durchläufe, 30);
    const double cpu = (nachher.ru_utime.tv_sec - vorher.ru_utime.tv_sec) +
                       (nachher.ru_utime.tv_usec - vorher.ru_utime.tv_usec) / 1e6;
    EXPECT_LT(cpu, 0.1);  // a spinning loop would burn the whole 0.3 s
}

TEST(Winsockfehler, Nummern_der_Windows_Sockets) {
    using S = QAbstractSocket;
    EXPECT_EQ(Winsockfehler::Text(S::ConnectionRefusedError), "10061  Verbindung abgelehnt");
    EXPECT_EQ(Winsockfehler::Text(S::RemoteHostClosedError), "10054  Verbindung vom Gegenüber zurückgesetzt");
    EXPECT_EQ(Winsockfehler::Text(S::SocketTimeoutError), "10060  Zeitüberschreitung der Verbindung");
    EXPECT_EQ(Winsockfehler::Text(S::NetworkError, "Host unreachable"), "10065  Host nicht erreichbar");
    EXPECT_EQ(Winsockfehler::Text(S::NetworkError, "Network unreachable"), "10051  Netzwerk nicht erreichbar");
    EXPECT_EQ(Winsockfehler::Text(S::NetworkError, "Connection aborted"), "10053  Verbindung abgebrochen");
    EXPECT_EQ(Winsockfehler::Text(S::HostNotFoundError), "11001  Host nicht gefunden");
    EXPECT_EQ(Winsockfehler::Text(S::AddressInUseError), "10048  Adresse wird bereits verwendet");
}
