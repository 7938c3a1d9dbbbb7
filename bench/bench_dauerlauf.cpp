// Soak: the real program against the simulated box, phase after phase with
// one misbehaviour of the box each, ended by SIGKILL at random points (some
// aimed at the hourly move of the logger buffer) and now and then by the stop
// file; beside it a project is saved over and over by a process that is
// killed at random. Prints per phase and at the end: scans seen by the box,
// logger lines, lines lost and doubled (the signal is a ramp that numbers the
// readings), resumed restarts, the program's RSS and open descriptors, and
// whether every killed save left the old or the new project.
//
//   bench_dauerlauf [--minuten M] [--samen S] [--behalten]
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTcpServer>

#include <cmath>
#include <csignal>
#include <cstdio>
#include <vector>

#include "platform/Dialoge.h"
#include "platform/Programmende.h"
#include "platform/Text1252.h"
#include "project/Projektdateien.h"
#include "support/Programmlauf.h"
#include "support/Teststation.h"

namespace {

struct Fehlbild {
    const char* name;
    QStringList argumente;
};

const std::vector<Fehlbild> Fehlbilder = {
    {"ohne Fehler", {}},
    {"verspaetet 300 ms", {"--delay-ms", "300"}},
    {"in Stuecken", {"--chunks", "3", "--chunk-gap-ms", "50"}},
    {"falsche Laengen", {"--wrong-length"}},
    {"Abbruch nach 40 Frames", {"--drop-after", "40"}},
    {"stumm bei 00073", {"--silent-on", "00073"}},
    {"nur Wiederholungen", {"--repeat-only"}},
};

// Readings of one phase start at phase * Schritt + 1, so every reading has
// a number of its own across the restarts of the box.
constexpr qint64 Schritt = 10000;

qint64 Zahl_aus(const QString& text, bool& ok) {
    QString t = text.trimmed();
    t.replace(',', '.');
    const double v = t.toDouble(&ok);
    ok = ok && v < 9e36;
    return ok ? llround(v) : 0;
}

struct Prozesswerte {
    qint64 rss_kb = 0;
    int deskriptoren = 0;
};

Prozesswerte Messen(qint64 pid) {
    Prozesswerte w;
    if (pid <= 0)
        return w;
    QFile status(QString("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& zeile : status.readAll().split('\n'))
            if (zeile.startsWith("VmRSS:"))
                w.rss_kb = zeile.mid(6).trimmed().split(' ').value(0).toLongLong();
    w.deskriptoren = static_cast<int>(QDir(QString("/proc/%1/fd").arg(pid)).entryList(QDir::NoDotAndDotDot | QDir::System | QDir::Files).size());
    return w;
}

// The two projects a save alternates between: they differ in the scan list,
// the channels, the recording order, the data format and the logger.
void Variante(int v) {
    // The variable initialisation blanks only the texts; the numbers of the
    // other variant's longer lists must go too, or no save matches.
    for (Scanlistensatz& satz : Daten.Scanlistentabelle)
        satz = Scanlistensatz{};
    for (Scanlistensatz& satz : Daten.Aufzeichnungstabelle)
        satz = Scanlistensatz{};
    for (Kanalgruppe& gruppe : Daten.Kanaltabelle)
        gruppe = Kanalgruppe{};
    Projekt_grundstellen();
    const QString dc = Daten.Messblocktabelle[1].Messblockname.text();
    for (int i = 1; i <= (v == 0 ? 3 : 12); ++i)
        Messpunkt_setzen(i, 1 + (i - 1) / 8 * 2, 1 + (i - 1) % 8, dc, QString("%1%2").arg(v == 0 ? "Alt" : "Neu").arg(i));
    Daten.Datenformatsatz.max = static_cast<i16>(v);
    Daten.Datenloggersatz.Periodenindex = static_cast<i16>(v);
}

const QStringList Tabellen = {"kanaele", "scanlist", "aufzlist", "Dformat", "Datlog"};

QByteArray Tabelle(const QString& ordner, const QString& projekt) {
    return Teststation::Datei_lesen(Pfade::lokal("c:\\kestrix\\intern\\" + ordner + "\\" + projekt));
}

// Child process: saves "speicher.kxp" as variant 0 and 1 in turn until killed.
int Speichern_bis_zum_Tod() {
    Skriptdialoge dialoge;
    Ersatzende ende;
    dialoge_ersetzen(&dialoge);
    programmende_ersetzen(&ende);
    for (int v = 0;; v = 1 - v) {
        Variante(v);
        Projekt_speichern("speicher.kxp", "Q70000001");
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains("--speichern"))
        return Speichern_bis_zum_Tod();
    const double minuten = args.indexOf("--minuten") > 0 ? args.value(args.indexOf("--minuten") + 1).toDouble() : 30;
    const quint32 samen = args.indexOf("--samen") > 0 ? args.value(args.indexOf("--samen") + 1).toUInt() : 7;
    QRandomGenerator zufall(samen);

    Teststation station;
    station.Dialoge.Antworten.clear();
    Programmlauf lauf(station);
    if (args.contains("--behalten"))
        std::printf("Station: %s\n", qPrintable(station.Wurzel()));

    // The measured project: one terminal, a ramp, one scan a second, the
    // logger on with a file per hour.
    Projekt_grundstellen();
    Messpunkt_setzen(1, 1, 1, Daten.Messblocktabelle[1].Messblockname.text(), "Zaehler");
    Daten.Datenformatsatz.max = 0;
    Daten.Datenformatsatz.Sekundenindex = 1;
    Daten.Datenloggersatz.Periodenindex = 1;  // "Stunde"
    if (!Projekt_speichern("dauer.kxp", "Q70000001"))
        return std::fprintf(stderr, "project not saved\n"), 1;
    // The two variants of the saved-over project, for comparing.
    Variante(0);
    Projekt_speichern("a.kxp", "Q70000001");
    Variante(1);
    Projekt_speichern("b.kxp", "Q70000001");
    QMap<QString, QByteArray> alt, neu;
    for (const QString& t : Tabellen) {
        alt[t] = Tabelle(t, "a.kxp");
        neu[t] = Tabelle(t, "b.kxp");
    }

    const QString speicherwurzel = station.Wurzel() + "_speichern";
    quint16 port = 0;
    {
        QTcpServer frei;
        frei.listen(QHostAddress::LocalHost);
        port = frei.serverPort();
    }

    const QDateTime jetzt = QDateTime::currentDateTime();
    // Station time of phase k: 25 s before the full hour, one hour further each phase.
    const QDateTime stunde0(jetzt.date(), QTime(jetzt.time().hour(), 59, 35));
    QElapsedTimer gesamt;
    gesamt.start();
    const qint64 dauer_ms = static_cast<qint64>(minuten * 60000);

    int phasen = 0, kills = 0, kills_am_umzug = 0, endedatei = 0, neustarts = 0, fortgesetzt = 0;
    int speicherkills = 0, speicher_gemischt = 0, speicher_reste = 0;
    qint64 rss_min = 0, rss_max = 0;
    int fd_min = 0, fd_max = 0;
    bool mit_befehlszeile = true;
    QElapsedTimer nächstes_speichern;
    nächstes_speichern.start();
    std::printf("%6s %-24s %6s %7s %5s %s\n", "t[s]", "Fehlbild", "Scans", "RSS[kB]", "FDs", "Ende");

    for (int k = 0; gesamt.elapsed() < dauer_ms; ++k) {
        const Fehlbild& f = Fehlbilder[static_cast<size_t>(k) % Fehlbilder.size()];
        const QString rampe = QString("A1=ramp:%1:1").arg(k * Schritt + 1);
        if (!lauf.Box_starten(f.argumente + QStringList{"--signal", rampe}, port))
            return std::fprintf(stderr, "box did not start\n"), 1;
        port = lauf.Box()->Port();
        lauf.Uhrversatz = QDateTime::currentDateTime().secsTo(stunde0.addSecs(3600LL * k));
        const int frames_vorher = lauf.Anzahl("00051!");
        if (!lauf.Kestrix_starten(mit_befehlszeile ? QStringList{"dauer.kxp"} : QStringList{}))
            return std::fprintf(stderr, "Kestrix did not start\n"), 1;
        const bool neustart = !mit_befehlszeile;
        neustarts += neustart;

        // The hour changes about 25 s in; a third of the kills aim at it.
        const int art = zufall.bounded(10);
        const qint64 phase_ms = art < 3 ? 25000 + zufall.bounded(2500) : 15000 + zufall.bounded(60000);
        QElapsedTimer phase;
        phase.start();
        bool gesehen = false;
        Prozesswerte w;
        while (phase.elapsed() < phase_ms && lauf.läuft()) {
            warten_bis([] { return false; }, 250);
            gesehen = gesehen || lauf.Anzahl("00051!") > frames_vorher;
            const Prozesswerte m = Messen(lauf.Pid());
            if (m.rss_kb > 0) {
                w = m;
                rss_min = rss_min ? std::min(rss_min, m.rss_kb) : m.rss_kb;
                rss_max = std::max(rss_max, m.rss_kb);
                fd_min = fd_min ? std::min(fd_min, m.deskriptoren) : m.deskriptoren;
                fd_max = std::max(fd_max, m.deskriptoren);
            }
            // Every 5 s a save killed at a random moment.
            if (nächstes_speichern.elapsed() > 5000) {
                nächstes_speichern.restart();
                // The saves go to a store of their own: a station has one
                // writer, and the program's own start would tidy up a save
                // of the other process that is still going on.
                QProcess speichern;
                QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
                umgebung.insert("KESTRIX_ROOT", speicherwurzel);
                speichern.setProcessEnvironment(umgebung);
                speichern.start(QCoreApplication::applicationFilePath(), {"--speichern"});
                speichern.waitForStarted();
                warten_bis([] { return false; }, 150 + zufall.bounded(400));
                speichern.kill();
                speichern.waitForFinished();
                ++speicherkills;
                // What the next start finds: a committed save finished, any other dropped.
                const QByteArray wurzel = qgetenv("KESTRIX_ROOT");
                qputenv("KESTRIX_ROOT", speicherwurzel.toUtf8());
                Projektdateien::Speicherung_nachholen();
                bool ist_alt = true, ist_neu = true;
                for (const QString& t : Tabellen) {
                    const QByteArray b = Tabelle(t, "speicher.kxp");
                    ist_alt = ist_alt && b == alt[t];
                    ist_neu = ist_neu && b == neu[t];
                }
                // Before the first save completes there is no project yet: that counts as old.
                const bool noch_keins = Tabelle("kanaele", "speicher.kxp").isEmpty();
                qputenv("KESTRIX_ROOT", wurzel);
                speicher_gemischt += !(ist_alt || ist_neu || noch_keins);
            }
        }
        const char* ende = "SIGKILL";
        if (!lauf.läuft()) {
            ende = "selbst beendet";
            mit_befehlszeile = true;
        } else if (art == 9) {
            lauf.mit_Endedatei_beenden(30000);
            ende = "Ende.txt";
            ++endedatei;
            mit_befehlszeile = true;
        } else {
            lauf.hart_beenden();
            ++kills;
            kills_am_umzug += art < 3;
            mit_befehlszeile = false;
        }
        fortgesetzt += neustart && gesehen;
        ++phasen;
        std::printf("%6lld %-24s %6d %7lld %5d %s\n", static_cast<long long>(gesamt.elapsed() / 1000), f.name,
                    lauf.Anzahl("00073!"), static_cast<long long>(w.rss_kb), w.deskriptoren, ende);
        std::fflush(stdout);
    }

    // A last quiet run ends with the stop file and moves the buffer.
    lauf.Box_starten({"--signal", QString("A1=ramp:%1:1").arg((phasen + 1) * Schritt + 1)}, port);
    lauf.Uhrversatz = QDateTime::currentDateTime().secsTo(stunde0.addSecs(3600LL * (phasen + 1)).addSecs(-60));
    lauf.Kestrix_starten(mit_befehlszeile ? QStringList{"dauer.kxp"} : QStringList{});
    lauf.Frames_abwarten("00073!", lauf.Anzahl("00073!") + 3, 60000);
    lauf.mit_Endedatei_beenden(30000);

    // Frames of every box of the run, from their logs.
    qint64 scans = 0;
    for (const QFileInfo& log : QDir(station.Programmverzeichnis()).entryInfoList({"frames*.log"}, QDir::Files, QDir::Name)) {
        const QByteArray inhalt = Teststation::Datei_lesen(log.filePath());
        scans += inhalt.count("00073!\n");
    }
    // Logger lines of the project and whatever is still in the buffer.
    qint64 zeilen = 0, ungültig = 0, doppelt = 0;
    QSet<qint64> werte;
    QMap<qint64, qint64> je_phase;  // phase -> highest number
    for (const QMap<QString, QString>& dateien : {lauf.Projektdateien("dauer"), lauf.Pufferdateien()})
        for (const QString& text : dateien)
            for (const QString& zeile : text.split("\r\n", Qt::SkipEmptyParts)) {
                if (!QRegularExpression("^[0-9. :]+\\t").match(zeile).hasMatch()) {
                    if (getenv("DAUERLAUF_ZEIGEN"))
                        std::printf("? %s\n", qPrintable(zeile));
                    continue;  // a header line
                }
                ++zeilen;
                bool ok = false;
                const qint64 n = Zahl_aus(zeile.section('\t', 1, 1), ok);
                if (!ok) {
                    ++ungültig;
                    continue;
                }
                if (werte.contains(n))
                    ++doppelt;
                werte.insert(n);
                je_phase[n / Schritt] = std::max(je_phase.value(n / Schritt), n % Schritt);
            }
    // Lost: numbers below the highest of their phase that no line carries,
    // by the misbehaviour of the phase.
    qint64 verloren = 0;
    QMap<QString, qint64> verloren_bei;
    for (auto it = je_phase.cbegin(); it != je_phase.cend(); ++it) {
        qint64 n = 0;
        for (qint64 i = 1; i <= it.value(); ++i)
            n += !werte.contains(it.key() * Schritt + i);
        verloren += n;
        if (it.key() < phasen)
            verloren_bei[Fehlbilder[static_cast<size_t>(it.key()) % Fehlbilder.size()].name] += n;
    }
    for (const QString& wurzel : {station.Wurzel(), speicherwurzel}) {
        QDirIterator reste(wurzel + "/c/kestrix/intern", {"*.tmp", "*~*", ".*"}, QDir::Files | QDir::Hidden,
                           QDirIterator::Subdirectories);
        while (reste.hasNext())
            speicher_reste += !reste.next().isEmpty();
    }

    const QStringList meldungen = lauf.Protokollmeldungen();
    std::printf("\nDauer %.1f min, %d Phasen, %d SIGKILL (%d um den Stundenwechsel), %d mit Ende.txt\n",
                gesamt.elapsed() / 60000.0, phasen, kills, kills_am_umzug, endedatei);
    std::printf("Neustarts nach SIGKILL: %d, davon Lauf fortgesetzt: %d\n", neustarts, fortgesetzt);
    std::printf("Scans (00073 an der Box): %lld, Loggerzeilen: %lld, davon ohne Wert (+9.9E37): %lld\n",
                static_cast<long long>(scans), static_cast<long long>(zeilen), static_cast<long long>(ungültig));
    std::printf("Zeilen verloren: %lld, doppelt: %lld\n", static_cast<long long>(verloren),
                static_cast<long long>(doppelt));
    for (auto it = verloren_bei.cbegin(); it != verloren_bei.cend(); ++it)
        std::printf("  verloren bei %-24s %lld\n", qPrintable(it.key()), static_cast<long long>(it.value()));
    std::printf("Laufprotokoll: %lld Zeilen, %lld Netzwerk-Timeouts, %lld automatische Neustarts\n",
                static_cast<long long>(meldungen.size()),
                static_cast<long long>(meldungen.filter("Netzwerk-Timeout").size()),
                static_cast<long long>(meldungen.filter("automatischer Neustart").size()));
    std::printf("RSS %lld..%lld kB, Deskriptoren %d..%d\n", static_cast<long long>(rss_min),
                static_cast<long long>(rss_max), fd_min, fd_max);
    std::printf("Speichern: %d SIGKILL, %d gemischt, %d Restdateien\n", speicherkills, speicher_gemischt,
                speicher_reste);
    if (args.contains("--behalten"))
        std::getchar();  // the station stays until Enter
    return 0;
}
