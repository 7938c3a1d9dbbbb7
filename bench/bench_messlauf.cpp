// The measurement run against the simulated box on loopback, in this process
// (the frame, the main window and the run as the program has them), then (b)
// and (c) once more with the Kestrix executable as a process of its own:
//  (a) a scan of 120 entries with the "max" interval: the time per scan
//      beyond the waits the run prescribes (0.1 s after each multimeter
//      text), divided by the frames sent in that scan;
//  (b) processor time of the process while the run waits out a 10 s scan
//      interval;
//  (c) peak resident memory of the process after the runs.
// Scan ends are taken when the value list is refilled, frames from the box's
// frame log.
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "bench/Simbox.h"
#include "common/Fenster.h"
#include "common/Programmdaten.h"
#include "platform/Dialoge.h"
#include "platform/Programmende.h"
#include "platform/Programmstarter.h"
#include "platform/Uhr.h"
#include "platform/Warten.h"
#include "points/MBForm1.h"
#include "project/MDIForm1.h"
#include "run/Hauptfenster.h"
#include "calc/CalcuReihenfolge.h"
#include "project/Projektaufbau.h"

namespace {
// Nobody sits at the bench: notices are answered at once, the program end
// after the stop file is only counted, and no outside program is started.
struct Stille_Dialoge : Dialoge {
    void Meldung(const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
    bool Meldung_OK_Abbrechen(const QString& text) override {
        Meldung(text);
        return true;
    }
    QString Eingabe(const QString&, const QString&, const QString&) override { return {}; }
};
struct Gezähltes_Ende : Programmende {
    int Aufrufe = 0;
    void sofort_beenden(int) override { ++Aufrufe; }
};
struct Kein_Start : Programmstarter {
    bool starten(const QString&, const QStringList&, Fensterart) override { return false; }
};

double cpu_sekunden() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_utime.tv_sec + r.ru_stime.tv_sec + (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e6;
}

long status_kb(const char* feld) {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& zeile : f.readAll().split('\n'))
        if (zeile.startsWith(feld))
            return zeile.mid(qstrlen(feld)).trimmed().split(' ').value(0).toLong();
    return -1;
}

QList<QByteArray> frames_lesen(const QString& pfad) {
    QFile f(pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<QByteArray> frames = f.readAll().split('\n');
    if (!frames.isEmpty() && frames.last().isEmpty())
        frames.removeLast();
    return frames;
}

struct Bank {
    QString wurzel;
    QString framelog;
    Hauptfenster* haupt = nullptr;
    std::vector<qint64> scanenden_ns;  // wall clock at every refill of the value list
    std::vector<double> scanenden_cpu; // processor time of this process then
    QElapsedTimer wand;
    int stopp_nach = 0;                 // scans after which the stop file is laid
    std::function<void(int)> bei_scanende;

    void eintrag(int i, int buchstabe, int klemme, const QString& block) {
        Scanlistensatz& s = Daten.Scanlistentabelle[i];
        s.Gruppennummer = static_cast<i16>(buchstabe);
        s.Klemmennummer = static_cast<i16>(klemme);
        s.Messblockname = block;
        s.Signalname = QString("S%1").arg(i);
    }
    void scanliste_leeren() {
        for (int i = 0; i <= 120; ++i)
            Daten.Scanlistentabelle[i] = Scanlistensatz{};
    }
    // One run until 'scans' scans are complete; the frames it sent.
    QList<QByteArray> lauf(int scans) {
        const qsizetype vorher = frames_lesen(framelog).size();
        scanenden_ns.clear();
        scanenden_cpu.clear();
        stopp_nach = scans;
        haupt->messen->click();  // returns once the run has ended
        return frames_lesen(framelog).mid(vorher);
    }
    void scanende() {
        scanenden_ns.push_back(wand.nsecsElapsed());
        scanenden_cpu.push_back(cpu_sekunden());
        const int n = static_cast<int>(scanenden_ns.size());
        if (bei_scanende)
            bei_scanende(n);
        if (n == stopp_nach) {
            QFile stopp(wurzel + "/d/Ende.txt");
            stopp.open(QIODevice::WriteOnly);
        }
    }
};

// The frames of each scan, cut at the relay frame of entry 1.
std::vector<QList<QByteArray>> scans_zerlegen(const QList<QByteArray>& frames, const QByteArray& erster_relaisframe) {
    std::vector<QList<QByteArray>> scans;
    for (const QByteArray& f : frames) {
        if (f == erster_relaisframe)
            scans.emplace_back();
        if (!scans.empty())
            scans.back() << f;
    }
    // The end sequence's frames follow the last scan.
    if (!scans.empty() && scans.back().size() >= 2 &&
        scans.back().mid(scans.back().size() - 2) == QList<QByteArray>{"00002!", "00093!"})
        scans.back().resize(scans.back().size() - 2);
    return scans;
}

int texte_mit_wartezeit(const QList<QByteArray>& scan) {
    int n = 0;
    for (const QByteArray& f : scan)
        if (f.startsWith("00043") && f.contains(":INIT\r"))
            ++n;
    return n;
}

double median(std::vector<double> v) {
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The reference: a minimal blocking client that sends the frames of one scan
// to the same box and waits for each reply; milliseconds per frame, median
// over the repetitions.
double Klient_cpu_ms = 0;  // processor time of the client per scan (median), set by the call below
double Klient_je_Frame_ms(quint16 port, const QList<QByteArray>& scan, int wiederholungen) {
    QTcpSocket s;
    s.connectToHost("127.0.0.1", port);
    if (!s.waitForConnected(3000))
        return -1;
    s.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    std::vector<double> je_frame, cpu;
    for (int w = 0; w < wiederholungen; ++w) {
        QElapsedTimer uhr_;
        const double cpu_vorher = cpu_sekunden();
        uhr_.start();
        for (const QByteArray& f : scan) {
            s.write(f);
            s.waitForBytesWritten(1000);
            if (!s.waitForReadyRead(1000))
                return -1;
            s.readAll();
        }
        je_frame.push_back(uhr_.nsecsElapsed() / 1e6 / scan.size());
        cpu.push_back((cpu_sekunden() - cpu_vorher) * 1000);
    }
    Klient_cpu_ms = median(cpu);
    s.write("00002!");
    s.waitForReadyRead(1000);
    s.disconnectFromHost();
    return median(je_frame);
}
quint16 Boxport = 0;

struct Scanfigur {
    bool gemessen = false;
    double cpu_ms = 0;    // processor time of this process per steady scan (median)
    double je_frame_ms = 0;
    double dauer_ms = 0;  // mean time of a steady-state scan
    int frames = 0;
    int texte = 0;
};

// Figure (a) for one scan list: steady-state scans (2nd onwards).
Scanfigur scan_messen(Bank& bank, const char* titel, int scans) {
    Scanfigur figur;
    const QList<QByteArray> frames = bank.lauf(scans);
    if (static_cast<int>(bank.scanenden_ns.size()) < scans) {
        std::fprintf(stderr, "%s: only %zu of %d scans\n", titel, bank.scanenden_ns.size(), scans);
        return figur;
    }
    const std::vector<QList<QByteArray>> zerlegt = scans_zerlegen(frames, "11002!");
    double summe_ms = 0, höchstens = 0;
    int gezählt = 0, frames_je_scan = 0, texte = 0;
    std::vector<double> je_frame_alle, cpu_alle;
    // Scan k lies between the refills k-1 and k. After a refill nothing is
    // sent before the relay frame of entry 1 (no matrix, no interval wait),
    // so the frames from that relay frame on are scan k's.
    for (int k = 1; k < scans && k < static_cast<int>(zerlegt.size()); ++k) {
        const double dauer_ms = (bank.scanenden_ns[k] - bank.scanenden_ns[k - 1]) / 1e6;
        const int n = static_cast<int>(zerlegt[k].size());
        const int w = texte_mit_wartezeit(zerlegt[k]);
        const double je_frame = (dauer_ms - w * 100.0) / n;
        summe_ms += je_frame;
        je_frame_alle.push_back(je_frame);
        cpu_alle.push_back((bank.scanenden_cpu[k] - bank.scanenden_cpu[k - 1]) * 1000);
        höchstens = std::max(höchstens, je_frame);
        frames_je_scan = n;
        texte = w;
        ++gezählt;
    }
    if (gezählt == 0)
        return figur;
    const double dauer_s = (bank.scanenden_ns.back() - bank.scanenden_ns.front()) / 1e9 / (scans - 1);
    std::printf("(a) %s: %.3f s per scan, %d frames, %d multimeter texts (%.1f s prescribed wait)\n"
                "    beyond the waits: %.3f ms per frame (worst scan %.3f ms; target < 0.5 ms)\n",
                titel, dauer_s, frames_je_scan, texte, texte * 0.1, summe_ms / gezählt, höchstens);
    figur.je_frame_ms = median(je_frame_alle);
    figur.cpu_ms = median(cpu_alle);
    // The same frames from the minimal client, to the same box, now.
    const double klient = zerlegt.size() > 1 ? Klient_je_Frame_ms(Boxport, zerlegt[1], 5) : -1;
    std::printf("    median beyond the waits %.4f ms per frame (target <= 0.04 ms); minimal blocking client %.4f ms "
                "per frame: ratio %.2f (target <= 2.5); processor time %.2f ms per scan (median; target <= 8 ms), "
                "the client's for the same frames %.2f ms\n",
                figur.je_frame_ms, klient, klient > 0 ? figur.je_frame_ms / klient : 0.0, figur.cpu_ms, Klient_cpu_ms);
    figur.gemessen = true;
    figur.dauer_ms = dauer_s * 1000;
    figur.frames = frames_je_scan;
    figur.texte = texte;
    return figur;
}

// Processor time of another process in seconds: the sum over its threads of
// the scheduler's run time (nanoseconds), else utime + stime of /proc/PID/stat.
double cpu_sekunden_von(qint64 pid) {
    double summe = 0;
    bool gefunden = false;
    const QString aufgaben = QString("/proc/%1/task").arg(pid);
    for (const QString& tid : QDir(aufgaben).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile f(aufgaben + "/" + tid + "/schedstat");
        if (!f.open(QIODevice::ReadOnly))
            continue;
        summe += f.readAll().split(' ').value(0).toDouble() / 1e9;
        gefunden = true;
    }
    if (gefunden)
        return summe;
    QFile f(QString("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray text = f.readAll();
    const QList<QByteArray> felder = text.mid(text.lastIndexOf(')') + 2).split(' ');
    return (felder.value(11).toDouble() + felder.value(12).toDouble()) / sysconf(_SC_CLK_TCK);
}

long status_kb_von(qint64 pid, const char* feld) {
    QFile f(QString("/proc/%1/status").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& zeile : f.readAll().split('\n'))
        if (zeile.startsWith(feld))
            return zeile.mid(qstrlen(feld)).trimmed().split(' ').value(0).toLong();
    return -1;
}

void schlafen_ms(int ms) {
    QDeadlineTimer bis(ms);
    while (!bis.hasExpired())
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(bis.remainingTime(), 20)));
}

int zählen(const QString& framelog, const QByteArray& frame) {
    return static_cast<int>(frames_lesen(framelog).count(frame));
}

#ifdef KESTRIX_PFAD
// (b) and (c) once more with the Kestrix executable as its own process: a
// project of 120 entries of one block with a 10 s interval, the run started
// from the command line, the box found by discovery on 127.0.0.2.
bool echtes_Programm(const QString& basis) {
    const QString wurzel = basis + "/station2";
    const QString progdir = basis + "/prog2";
    for (const char* lw : {"c", "d", "e"})
        QDir().mkpath(wurzel + "/" + lw);
    QDir().mkpath(progdir);
    QFile::copy(QString(QUELLVERZEICHNIS) + "/project/Kesti.ini", progdir + "/Kesti.ini");
    QFile(progdir + "/Kesti.ini").setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    qputenv("KESTRIX_ROOT", wurzel.toUtf8());
    qputenv("KESTRIX_PROGDIR", progdir.toUtf8());
    Projekt_grundstellen();
    const QString block = Daten.Messblocktabelle[1].Messblockname.text();
    for (int i = 1; i <= 120; ++i)
        Messpunkt_setzen(i, (i - 1) / 8 + 1, (i - 1) % 8 + 1, block, QString("S%1").arg(i));
    Daten.Datenformatsatz.max = 0;
    Daten.Datenformatsatz.Stundenindex = 0;
    Daten.Datenformatsatz.Minutenindex = 0;
    Daten.Datenformatsatz.Sekundenindex = 10;
    if (!Projekt_speichern("bench.kxp", "Q70000001")) {
        std::fprintf(stderr, "the bench project could not be saved\n");
        return false;
    }

    const QString framelog = basis + "/frames2.log";
    QProcess box;
    box.start(Q7SIM_PFAD, {"--port", "0", "--host", "127.0.0.1", "--discovery", "127.0.0.2:0", "--serial",
                           "Q70000001", "--reply-address", "127.0.0.1", "--log", framelog});
    quint16 port = 0, udpport = 0;
    QDeadlineTimer frist(10000);
    QByteArray ausgabe;
    while (port == 0 && box.waitForReadyRead(static_cast<int>(frist.remainingTime()))) {
        ausgabe += box.readAllStandardOutput();
        for (const QByteArray& zeile : ausgabe.split('\n'))
            if (zeile.startsWith("UDPPORT "))
                udpport = static_cast<quint16>(zeile.mid(8).trimmed().toUInt());
            else if (zeile.startsWith("PORT ") && ausgabe.endsWith('\n'))
                port = static_cast<quint16>(zeile.mid(5).trimmed().toUInt());
    }
    if (port == 0 || udpport == 0) {
        std::fprintf(stderr, "simulated box with discovery did not start\n");
        return false;
    }
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("QT_QPA_PLATFORM", "offscreen");
    umgebung.insert("KESTRIX_ROOT", wurzel);
    umgebung.insert("KESTRIX_PROGDIR", progdir);
    umgebung.insert("KESTRIX_CLOCK_OFFSET", "0");
    umgebung.insert("KESTRIX_Q7_PORT", QString::number(port));
    umgebung.insert("KESTRIX_DISCOVERY_ADDR", "127.0.0.2");
    umgebung.insert("KESTRIX_DISCOVERY_PORT", QString::number(udpport));
    umgebung.insert("KESTRIX_DIALOGPROTOKOLL", basis + "/dialoge2.txt");
    QProcess kestrix;
    kestrix.setProcessEnvironment(umgebung);
    kestrix.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    kestrix.start(KESTRIX_PFAD, {"bench.kxp"});
    if (!kestrix.waitForStarted(10000)) {
        std::fprintf(stderr, "Kestrix did not start\n");
        return false;
    }
    const qint64 pid = kestrix.processId();
    bool gut = false;
    QDeadlineTimer erster_scan(30000);
    while (!erster_scan.hasExpired() && zählen(framelog, "00053!") < 1 && kestrix.state() == QProcess::Running)
        schlafen_ms(20);
    if (zählen(framelog, "00053!") >= 1) {
        // The first scan's fetch is done; the rest of the 10 s interval is the wait.
        schlafen_ms(500);
        const double cpu_a = cpu_sekunden_von(pid);
        QElapsedTimer wand;
        wand.start();
        const int leerlauf_vorher = zählen(framelog, "00002!");
        schlafen_ms(8500);
        const double cpu_b = cpu_sekunden_von(pid);
        const double wand_s = wand.nsecsElapsed() / 1e9;
        const bool noch_im_ersten_intervall = zählen(framelog, "00053!") == 1;
        std::printf("(b) Kestrix executable, 120-entry project, 10 s interval: %.4f s CPU in %.3f s of the wait = "
                    "%.2f %% of one core (target < 2 %%)%s; %d idle commands meanwhile\n",
                    cpu_b - cpu_a, wand_s, 100 * (cpu_b - cpu_a) / wand_s,
                    noch_im_ersten_intervall ? "" : " [the next scan began inside the window]",
                    zählen(framelog, "00002!") - leerlauf_vorher);
        std::printf("(c) Kestrix executable after one 120-entry scan and a wait: VmHWM %ld kB = %.1f MB "
                    "(target < 80 MB)\n",
                    status_kb_von(pid, "VmHWM:"), status_kb_von(pid, "VmHWM:") / 1024.0);
        gut = true;
    } else {
        std::fprintf(stderr, "Kestrix completed no scan\n");
    }
    QFile(wurzel + "/d/Ende.txt").open(QIODevice::WriteOnly);
    if (!kestrix.waitForFinished(25000)) {
        std::fprintf(stderr, "Kestrix did not end after the stop file\n");
        kestrix.kill();
        kestrix.waitForFinished(3000);
        gut = false;
    }
    box.terminate();
    box.waitForFinished(3000);
    return gut;
}
#endif
}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir ordner;
    if (!ordner.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString wurzel = ordner.path() + "/station";
    const QString progdir = ordner.path() + "/prog";
    for (const char* lw : {"c", "d", "e"})
        QDir().mkpath(wurzel + "/" + lw);
    QDir().mkpath(progdir);
    qputenv("KESTRIX_ROOT", wurzel.toUtf8());
    qputenv("KESTRIX_PROGDIR", progdir.toUtf8());
    qputenv("KESTRIX_CLOCK_OFFSET", "0");
    QFile::copy(QString(QUELLVERZEICHNIS) + "/project/Kesti.ini", progdir + "/Kesti.ini");
    QFile(progdir + "/Kesti.ini").setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    QApplication app(argc, argv);
    QFont schrift("DejaVu Sans");
    schrift.setPixelSize(11);
    QApplication::setFont(schrift);
    uhr().Versatz_setzen(0);
    Stille_Dialoge dialoge_;
    Gezähltes_Ende ende_;
    Kein_Start starter_;
    dialoge_ersetzen(&dialoge_);
    programmende_ersetzen(&ende_);
    programmstarter_ersetzen(&starter_);

#ifndef Q7SIM_PFAD
    std::printf("run benchmark: not measured (built without the simulated box)\n");
    return 0;
#else
    std::printf("measurement run in-process (frame, main window and run of this process) against q7sim on "
                "127.0.0.1, no simulated latency; (b) and (c) then also for the Kestrix executable\n");
    const QString framelog = ordner.path() + "/frames.log";
    QProcess box;
    Boxport = Simbox_starten(box, Q7SIM_PFAD, {"--log", framelog});
    if (Boxport == 0)
        return 1;

    int ergebnis = 0;
    {
        Bank bank;
        bank.wurzel = wurzel;
        bank.framelog = framelog;
        bank.wand.start();
        // A run ended by the stop file leaves the window as the program ends
        // (here the end is only counted), so every run gets a freshly loaded frame.
        std::unique_ptr<MDIForm1> rahmen;
        const auto laden = [&]() -> bool {
            if (rahmen)
                rahmen->entladen();
            rahmen = std::make_unique<MDIForm1>();
            if (!rahmen->MDIForm_Load() || !Fenster.Hauptfenster) {
                std::fprintf(stderr, "the frame did not load\n");
                return false;
            }
            bank.haupt = Fenster.Hauptfenster;
            rahmen->show();  // painted as on the station (offscreen)
            QObject::connect(bank.haupt, &Hauptfenster::Messdatenliste_fertig, [&bank] { bank.scanende(); });
            MBForm1::Meßblockvar_vorbeleg();
            Daten.Messblocktabelle[1].Gerätetyp = 1;
            Daten.RefTempMeasurement = "0";
            Daten.Boxadresse = "127.0.0.1";
            // A second block with the same settings as block 1, so that alternating
            // entries are single measurements without a new configuration.
            int neu = 1;
            while (neu < 20 && Daten.Messblocktabelle[neu].Messblockname.text() != "neu")
                ++neu;
            Daten.Messblocktabelle[neu + 1] = Daten.Messblocktabelle[neu];
            Daten.Messblocktabelle[neu] = Daten.Messblocktabelle[1];
            Daten.Messblocktabelle[neu].Gerätetyp = 0;
            Daten.Messblocktabelle[neu].Messblockname = "Gleich B";
            return true;
        };
        if (!laden())
            return 1;
        const QString blockA = Daten.Messblocktabelle[1].Messblockname.text();

        // 120 terminals: letters A to O, channels 1 to 8 (entry 1 on A1).
        Daten.Datenformatsatz.max = 1;
        bank.scanliste_leeren();
        for (int i = 1; i <= 120; ++i)
            bank.eintrag(i, (i - 1) / 8 + 1, (i - 1) % 8 + 1, blockA);
        const Scanfigur ein_block =
            scan_messen(bank, "120 entries of one block (one multiple measurement, one fetch of 120 values)", 12);
        if (!ein_block.gemessen)
            ergebnis = 1;

        // The same with 200 calculated values of two references each.
        if (!laden())
            return 1;
        Daten.Datenformatsatz.max = 1;
        bank.scanliste_leeren();
        for (int i = 1; i <= 120; ++i)
            bank.eintrag(i, (i - 1) / 8 + 1, (i - 1) % 8 + 1, blockA);
        if (Fenster.CalcuReihenfolge) {
            CalcuReihenfolge& seite = *Fenster.CalcuReihenfolge;
            seite.List2->clear();
            for (int k = 0; k < 200; ++k)
                seite.List2->addItem(QString("Wert%1=[S%2]*2+[S%3]_V_0.000").arg(k).arg(k % 120 + 1).arg((k * 7) % 120 + 1));
            seite.List2->addItem(CalcuReihenfolge::Neuer_Eintrag);
            if (!seite.CalcuVar_vorbelegen())
                std::fprintf(stderr, "the calculated values could not be bound\n");
        }
        const Scanfigur mit_Rechnung = scan_messen(bank, "the same with 200 calculated values", 12);
        if (mit_Rechnung.gemessen && ein_block.gemessen)
            std::printf("    processor time per scan with 200 calculated values: %.2f ms = %.2f times the scan without "
                        "(target <= 1.5)\n",
                        mit_Rechnung.cpu_ms, mit_Rechnung.cpu_ms / ein_block.cpu_ms);
        if (Fenster.CalcuReihenfolge) {
            Fenster.CalcuReihenfolge->List2->clear();
            Fenster.CalcuReihenfolge->List2->addItem(CalcuReihenfolge::Neuer_Eintrag);
            Fenster.CalcuReihenfolge->CalcuVar_vorbelegen();
        }

        if (!laden())
            return 1;
        Daten.Datenformatsatz.max = 1;
        for (int i = 1; i <= 120; ++i)
            bank.eintrag(i, (i - 1) / 8 + 1, (i - 1) % 8 + 1, i % 2 ? blockA : QString("Gleich B"));
        const Scanfigur einzeln = scan_messen(bank, "120 entries of alternating blocks (120 single measurements)", 3);
        if (!einzeln.gemessen)
            ergebnis = 1;

        // The 0.1 s waits as they really last: the time beyond the measured waits.
        {
            const int n = 50;
            std::vector<double> dauern;
            QElapsedTimer uhr_;
            for (int i = 0; i < n; ++i) {
                uhr_.start();
                Delay_events(0.1);
                dauern.push_back(uhr_.nsecsElapsed() / 1e6);
            }
            double wartezeit_ms = 0;
            for (double d : dauern)
                wartezeit_ms += d / n;
            std::printf("    Delay_events(0.1): median %.3f ms, longest %.3f ms (target: median <= 100.2 ms)\n",
                        median(dauern), *std::max_element(dauern.begin(), dauern.end()));
            std::printf("    a Delay_events(0.1) lasts %.3f ms on average (%d waits); with the waits as measured: "
                        "%.3f ms per frame beyond them\n",
                        wartezeit_ms, n,
                        einzeln.frames ? (einzeln.dauer_ms - einzeln.texte * wartezeit_ms) / einzeln.frames : 0.0);
        }

        // (b): one entry, 10 s interval; the processor time is taken inside the
        // wait after the first scan, from 0.5 s to 9.5 s after its end.
        if (!laden())
            return 1;
        bank.eintrag(1, 1, 1, blockA);
        Daten.Datenformatsatz.max = 0;
        Daten.Aufzeichnungsintervall = 10;
        double cpu_a = 0, cpu_b = 0;
        qint64 wand_a = 0, wand_b = 0;
        bank.bei_scanende = [&](int n) {
            if (n == 2)
                Daten.Datenformatsatz.max = 1;  // the stop file is laid: no second wait
            if (n != 1)
                return;
            QTimer::singleShot(500, [&] {
                cpu_a = cpu_sekunden();
                wand_a = bank.wand.nsecsElapsed();
            });
            QTimer::singleShot(9500, [&] {
                cpu_b = cpu_sekunden();
                wand_b = bank.wand.nsecsElapsed();
            });
        };
        const double cpu_lauf = cpu_sekunden();
        const QList<QByteArray> frames_b = bank.lauf(2);
        bank.bei_scanende = nullptr;
        if (wand_b > wand_a && bank.scanenden_ns.size() >= 2) {
            const double wand_s = (wand_b - wand_a) / 1e9;
            const double intervall_s = (bank.scanenden_ns[1] - bank.scanenden_ns[0]) / 1e9;
            std::printf("(b) in-process, one entry, waiting out a 10 s scan interval: %.4f s CPU in %.3f s wall = %.2f %% of one core "
                        "(target < 2 %%); %lld idle commands during the wait; scan to scan %.3f s\n",
                        cpu_b - cpu_a, wand_s, 100 * (cpu_b - cpu_a) / wand_s,
                        static_cast<long long>(frames_b.count("00002!")) - 1, intervall_s);
            std::printf("    whole run of 2 scans: %.4f s CPU\n", cpu_sekunden() - cpu_lauf);
        } else {
            std::fprintf(stderr, "(b) the wait was not measured\n");
            ergebnis = 1;
        }
        if (ende_.Aufrufe != 4) {
            std::fprintf(stderr, "the stop file ended %d of 4 runs\n", ende_.Aufrufe);
            ergebnis = 1;
        }
        rahmen->entladen();
    }

    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    std::printf("(c) in-process, peak resident memory of this process after the runs: ru_maxrss %ld kB, VmHWM %ld kB = %.1f MB "
                "(target < 80 MB)\n",
                r.ru_maxrss, status_kb("VmHWM:"), status_kb("VmHWM:") / 1024.0);
    box.terminate();
    box.waitForFinished(3000);
#ifdef KESTRIX_PFAD
    if (!echtes_Programm(ordner.path()))
        ergebnis = 1;
#endif
    dialoge_ersetzen(nullptr);
    programmende_ersetzen(nullptr);
    programmstarter_ersetzen(nullptr);
    return ergebnis;
#endif
}
