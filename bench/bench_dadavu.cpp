// The trend viewer with a week of one-second records of one signal (seven day
// files, 604,800 lines):
//   load   - reading and parsing the files (target 1.5 s); reference: reading
//            the same bytes and counting their lines;
//   redraw - a zoom or pan step drawn into the window at 320 x 240 and
//            1024 x 768 (target 50 ms); reference: drawing without a change;
//   live   - processor time of the running program while the data-interface
//            file is replaced once a second (target 1 % of one core);
//            reference: the same program with the file left alone.
// Figures are medians.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "dadavu/Trendfenster.h"
#include "dadavu/Zeilenleser.h"

using namespace dadavu;

namespace {
double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Seven day files "26Dez01.txt" ... in the logger's default layout.
QStringList Woche_schreiben(const QString& ordner) {
    QStringList dateien;
    for (int tag = 1; tag <= 7; ++tag) {
        QByteArray inhalt = "Zeit/Datum\tKessel [\xB0" "C]\t\r\n";
        inhalt.reserve(86400 * 28);
        char zeile[64];
        for (int s = 0; s < 86400; ++s) {
            const double wert = 60 + 20 * std::sin((tag * 86400 + s) / 5000.0) + (s % 7) * 0.01;
            int n = std::snprintf(zeile, sizeof zeile, "%02d.12.26 %02d:%02d:%02d\t%.3f\t\r\n", tag, s / 3600,
                                  (s / 60) % 60, s % 60, wert);
            for (int i = 0; i < n; ++i)
                if (zeile[i] == '.' && i >= 18)
                    zeile[i] = ',';
            inhalt.append(zeile, n);
        }
        const QString pfad = ordner + QString("/26Dez%1.txt").arg(tag, 2, 10, QChar('0'));
        QFile f(pfad);
        f.open(QIODevice::WriteOnly);
        f.write(inhalt);
        dateien << pfad;
    }
    return dateien;
}

Reihe Woche_laden(const QStringList& dateien) {
    Reihe gesamt;
    for (const QString& pfad : dateien) {
        QFile f(pfad);
        f.open(QIODevice::ReadOnly);
        const QString name = pfad.section('/', -1);
        const QDate tag = Datum_aus_Dateiname(name);
        Dateiinhalt d = Loggerdatei_lesen(f.readAll(), {{"Kessel", 1}}, tag, tag, name);
        Reihe& r = d.reihen[0];
        gesamt.name = r.name;
        gesamt.einheit = r.einheit;
        gesamt.t.insert(gesamt.t.end(), r.t.begin(), r.t.end());
        gesamt.y.insert(gesamt.y.end(), r.y.begin(), r.y.end());
    }
    return gesamt;
}

long Zeilen_zählen(const QStringList& dateien) {
    long n = 0;
    for (const QString& pfad : dateien) {
        QFile f(pfad);
        f.open(QIODevice::ReadOnly);
        const QByteArray b = f.readAll();
        for (const char* p = b.constData(); (p = static_cast<const char*>(std::memchr(p, '\n', b.constEnd() - p))); ++p)
            ++n;
    }
    return n;
}

double ms_seit(QElapsedTimer& uhr) { return static_cast<double>(uhr.nsecsElapsed()) / 1e6; }

// Processor seconds (user + system) of a process so far.
double Prozesszeit(qint64 pid) {
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray text = stat.readAll();
    const QList<QByteArray> felder = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (felder.value(11).toDouble() + felder.value(12).toDouble()) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

QByteArray Schnittstellendatei(int satz) {
    QByteArray inhalt;
    for (int i = 0; i < 99; ++i) {
        const int s = 36000 + satz - i;
        QByteArray zeile = QString("07 12 26\t%1:%2:%3\t").arg(s / 3600, 2, 10, QChar('0')).arg((s / 60) % 60, 2, 10, QChar('0')).arg(s % 60, 2, 10, QChar('0')).toLatin1();
        for (int k = 1; k <= 10; ++k)
            zeile += QByteArray::number(20 + k + std::sin((s + k) / 30.0), 'f', 3).replace('.', ',') + "\tSignal" +
                     QByteArray::number(k) + "\tV DC\t";
        inhalt += zeile + "\r\n";
    }
    return inhalt;
}

// Percent of one core the viewer uses over 'sekunden', the file replaced
// once a second when 'schreiben'.
double Livelast(const QString& programm, bool schreiben, int sekunden) {
    QTemporaryDir wurzel;
    QDir(wurzel.path()).mkpath("d");
    const QString datei = wurzel.path() + "/d/Daten&.txt";
    auto ersetzen = [&](int satz) {
        QSaveFile f(datei);
        f.open(QIODevice::WriteOnly);
        f.write(Schnittstellendatei(satz));
        f.commit();
    };
    ersetzen(0);
    QProcess p;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(umgebung);
    p.start(programm, {datei, "3", "1", "1"});
    p.waitForStarted();
    QThread::sleep(2);  // start-up is not following
    const double vorher = Prozesszeit(p.processId());
    QElapsedTimer uhr;
    uhr.start();
    for (int s = 1; s <= sekunden; ++s) {
        if (schreiben)
            ersetzen(s);
        QThread::msleep(static_cast<unsigned long>(std::max<qint64>(0, s * 1000 - uhr.elapsed())));
    }
    const double last = (Prozesszeit(p.processId()) - vorher) / (uhr.elapsed() / 1000.0) * 100;
    p.kill();
    p.waitForFinished();
    return last;
}
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir ordner;
    const QStringList dateien = Woche_schreiben(ordner.path());

    std::vector<double> laden, zählen;
    Reihe woche;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer uhr;
        uhr.start();
        const long n = Zeilen_zählen(dateien);
        zählen.push_back(ms_seit(uhr));
        uhr.restart();
        woche = Woche_laden(dateien);
        laden.push_back(ms_seit(uhr));
        if (static_cast<long>(woche.t.size()) != n - 7) {
            std::printf("Fehler: %zu Werte gelesen, %ld erwartet\n", woche.t.size(), n - 7);
            return 1;
        }
    }
    std::printf("load:    %zu values in %.0f ms (target 1500 ms); reference line count %.1f ms; ratio %.1f\n",
                woche.t.size(), median(laden), median(zählen), median(laden) / median(zählen));

    for (QSize größe : {QSize(320, 240), QSize(1024, 768)}) {
        Trendfenster fenster(QString(), 1, 1);
        fenster.resize(größe);
        fenster.show();
        fenster.Reihen_setzen(woche, Reihe{});
        QApplication::processEvents();
        fenster.grab();
        std::vector<double> schritt, ruhe;
        for (int i = 0; i < 40; ++i) {
            QElapsedTimer uhr;
            uhr.start();
            switch (i % 4) {
            case 0: fenster.vergrößern(); break;
            case 1: fenster.verschieben(-0.3); break;
            case 2: fenster.verkleinern(); break;
            default: fenster.Ziehen(40); break;
            }
            QApplication::processEvents();
            fenster.grab();
            schritt.push_back(ms_seit(uhr));
            uhr.restart();
            QApplication::processEvents();
            fenster.grab();
            ruhe.push_back(ms_seit(uhr));
        }
        // The whole week in view: the widest decimation.
        std::vector<double> alles;
        for (int i = 0; i < 10; ++i) {
            QElapsedTimer uhr;
            uhr.start();
            fenster.alles_zeigen();
            QApplication::processEvents();
            fenster.grab();
            alles.push_back(ms_seit(uhr));
        }
        std::printf("redraw %dx%d: zoom/pan step %.1f ms, whole week %.1f ms (target 50 ms); reference paint %.1f ms; ratio %.1f\n",
                    größe.width(), größe.height(), median(schritt), median(alles), median(ruhe),
                    median(schritt) / median(ruhe));
    }

#ifdef DADAVU_PFAD
    const int sekunden = argc > 1 ? std::atoi(argv[1]) : 20;
    const double live = Livelast(DADAVU_PFAD, true, sekunden);
    const double still = Livelast(DADAVU_PFAD, false, sekunden);
    std::printf("live:    %.2f %% of one core following one record a second over %d s (target 1 %%); reference without records %.2f %%\n",
                live, sekunden, still);
#endif
    return 0;
}
