// The real Kestrix against the simulated box under Xvfb at 320 x 240 without
// window manager: a real pointer click on a line of the value list starts
// dadavu from the program directory with the file, "3" and the line's index
// twice, and dadavu shows the newest value of that signal.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

#include "support/Programmlauf.h"
#include "support/Teststation.h"

namespace {
template <typename F>
bool warten(F&& bedingung, int ms) {
    for (int t = 0; t < ms; t += 100) {
        if (bedingung())
            return true;
        QThread::msleep(100);
    }
    return bedingung();
}

// Xvfb on a display number it chooses itself, and the X tools against it.
class Xbildschirm {
public:
    Xbildschirm() {
        server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "320x240x24", "-nolisten", "tcp"});
        if (server.waitForStarted(5000) && server.waitForReadyRead(10000))
            anzeige = ":" + server.readAllStandardOutput().trimmed();
    }
    ~Xbildschirm() {
        server.terminate();
        server.waitForFinished(5000);
    }
    QString Anzeige() const { return anzeige; }
    QString Werkzeug(const QString& programm, const QStringList& argumente) const {
        QProcess p;
        QProcessEnvironment u = QProcessEnvironment::systemEnvironment();
        u.insert("DISPLAY", anzeige);
        p.setProcessEnvironment(u);
        p.start(programm, argumente);
        p.waitForFinished(10000);
        return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    }

private:
    QProcess server;
    QString anzeige;
};

// Processes whose command line starts with 'programm': pid and arguments.
QList<QPair<qint64, QStringList>> Prozesse(const QString& programm) {
    QList<QPair<qint64, QStringList>> gefunden;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (pid.toLongLong() <= 0 || !cmdline.open(QIODevice::ReadOnly))
            continue;
        QStringList teile;
        for (const QByteArray& t : cmdline.readAll().split('\0'))
            teile << QString::fromLocal8Bit(t);
        if (!teile.isEmpty() && teile.last().isEmpty())
            teile.removeLast();
        if (!teile.isEmpty() && teile.first() == programm)
            gefunden.append({pid.toLongLong(), teile.mid(1)});
    }
    return gefunden;
}

double Zahl(QString text) { return text.replace(',', '.').toDouble(); }
}  // namespace

TEST(Klick, WertelisteStartetDadavuMitDemNeuestenWert) {
#if !defined(Q7SIM_PFAD) || !defined(DADAVU_PFAD)
    GTEST_SKIP() << "without the simulated box or dadavu";
#else
    for (const char* werkzeug : {"Xvfb", "xdotool", "import"})
        if (QStandardPaths::findExecutable(werkzeug).isEmpty())
            GTEST_SKIP() << werkzeug << " fehlt";
    Teststation station;
    Programmlauf lauf{station};
    Projekt_grundstellen();
    const QString dc = Daten.Messblocktabelle[1].Messblockname.text();
    Messpunkt_setzen(1, 1, 1, dc, "U1");
    Messpunkt_setzen(2, 1, 2, dc, "U2");
    Messpunkt_setzen(3, 1, 3, dc, "U3");
    // One scan a second.
    Daten.Datenformatsatz.max = 0;
    Daten.Datenformatsatz.Sekundenindex = 1;
    ASSERT_TRUE(Projekt_speichern("lauf.kxp", "Q70000001"));
    ASSERT_TRUE(lauf.Box_starten({"--signal", "A1=const:1.5", "--signal", "A2=ramp:10:0.5", "--signal", "A3=const:-3.25"}));
    // Installed beside Kestrix in the program directory.
    const QString programm = station.Programmverzeichnis() + "/dadavu";
    ASSERT_TRUE(QFile::link(DADAVU_PFAD, programm));

    Xbildschirm schirm;
    ASSERT_FALSE(schirm.Anzeige().isEmpty());
    QProcess kestrix;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("QT_QPA_PLATFORM", "xcb");
    umgebung.insert("DISPLAY", schirm.Anzeige());
    umgebung.insert("KESTRIX_ROOT", station.Wurzel());
    umgebung.insert("KESTRIX_PROGDIR", station.Programmverzeichnis());
    umgebung.insert("KESTRIX_Q7_PORT", QString::number(lauf.Box()->Port()));
    umgebung.insert("KESTRIX_DISCOVERY_ADDR", "127.0.0.2");
    umgebung.insert("KESTRIX_DISCOVERY_PORT", QString::number(lauf.Box()->Udpport()));
    umgebung.insert("KESTRIX_DIALOGPROTOKOLL", station.Programmverzeichnis() + "/dialoge.txt");
    kestrix.setProcessEnvironment(umgebung);
    kestrix.setStandardOutputFile(QProcess::nullDevice());
    kestrix.start(KESTRIX_PFAD, {"lauf.kxp"});
    ASSERT_TRUE(kestrix.waitForStarted(5000));

    const QString schnittstelle = station.Wurzel() + "/d/Daten&.txt";
    const auto neueste_Zeile = [&] {
        QFile f(schnittstelle);
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readLine()).split('\t') : QStringList();
    };
    const bool gemessen = warten([&] { return neueste_Zeile().size() > 10; }, 20000);
    QThread::msleep(500);
    schirm.Werkzeug("import", {"-window", "root", QDir::currentPath() + "/kestrix_vor_klick_320x240.png"});
    ASSERT_TRUE(gemessen) << lauf.Protokollmeldungen().join('\n').toStdString() << lauf.Dialogprotokoll().toStdString();
    // Line 2 of the list (U2): the list starts 12 pixels below the top of the
    // screen, its lines are 13 pixels high, the first is the time.
    schirm.Werkzeug("xdotool", {"mousemove", "100", "44", "click", "1"});

    QList<QPair<qint64, QStringList>> gestartet;
    ASSERT_TRUE(warten([&] { return !(gestartet = Prozesse(programm)).isEmpty(); }, 10000));
    const qint64 pid = gestartet.first().first;
    EXPECT_EQ(gestartet.first().second, QStringList({schnittstelle, "3", "2", "2"}));

    // The window title carries the signal and its newest value; the run goes
    // on meanwhile, so title and file are compared until they agree.
    QString titel, wert;
    const bool gleich = warten(
        [&] {
            titel = schirm.Werkzeug("xdotool", {"search", "--pid", QString::number(pid), "--name", "^dadavu - ", "getwindowname"});
            const QStringList zeile = neueste_Zeile();
            wert = zeile.value(zeile.indexOf("U2") - 1);
            return titel.startsWith("dadavu - U2: ") && !wert.isEmpty() &&
                   qAbs(Zahl(titel.section(' ', 3, 3)) - Zahl(wert)) < 1e-6;
        },
        10000);
    EXPECT_TRUE(gleich) << titel.toStdString() << " / " << wert.toStdString();
    // A few more records for the picture; the title keeps up with the file.
    QThread::sleep(4);
    EXPECT_TRUE(warten(
        [&] {
            titel = schirm.Werkzeug("xdotool", {"search", "--pid", QString::number(pid), "--name", "^dadavu - ", "getwindowname"});
            const QStringList zeile = neueste_Zeile();
            return qAbs(Zahl(titel.section(' ', 3, 3)) - Zahl(zeile.value(zeile.indexOf("U2") - 1))) < 1e-6;
        },
        5000))
        << titel.toStdString();
    schirm.Werkzeug("import", {"-window", "root", QDir::currentPath() + "/dadavu_klick_320x240.png"});

    ::kill(static_cast<pid_t>(pid), SIGTERM);
    QFile ende(station.Wurzel() + "/d/Ende.txt");
    ende.open(QIODevice::WriteOnly);
    ende.close();
    EXPECT_TRUE(kestrix.waitForFinished(15000));
#endif
}
