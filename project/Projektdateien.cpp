#include "project/Projektdateien.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QtEndian>

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/Pfade.h"

namespace Projektdateien {

namespace {

struct Schreiber {
    QByteArray bytes;
    template <typename Zahl>
    void zahl(Zahl wert) {
        char roh[sizeof(Zahl)];
        qToLittleEndian(wert, roh);
        bytes.append(roh, sizeof roh);
    }
    void operator()(i16& v) { zahl(v); }
    void operator()(i32& v) { zahl(v); }
    void operator()(float& v) { zahl(v); }
    void operator()(double& v) { zahl(v); }
    template <std::size_t N>
    void operator()(Festtext<N>& t) { bytes.append(t.daten(), N); }
};

struct Leser {
    const char* bytes;
    template <typename Zahl>
    void zahl(Zahl& wert) {
        wert = qFromLittleEndian<Zahl>(bytes);
        bytes += sizeof(Zahl);
    }
    void operator()(i16& v) { zahl(v); }
    void operator()(i32& v) { zahl(v); }
    void operator()(float& v) { zahl(v); }
    void operator()(double& v) { zahl(v); }
    template <std::size_t N>
    void operator()(Festtext<N>& t) {
        std::memcpy(t.daten(), bytes, N);
        bytes += N;
    }
};

// The field order of every record, used for writing and reading alike.
template <class F> void Felder(Kanalgruppe& g, F& f) {
    for (auto& x : g.Klemme) f(x);
    for (auto& x : g.Art) f(x);
    for (auto& x : g.Messblockzuordnung) f(x);
    for (auto& x : g.Signalbezeichnung) f(x);
}

template <class F> void Felder(Scanlistensatz& s, F& f) {
    f(s.Klemmennummer); f(s.Gruppennummer); f(s.Zusatzzahl);
    f(s.Messblockname); f(s.Zusatztext); f(s.Signalname);
}

template <class F> void Felder(Messblocksatz& m, F& f) {
    f(m.Gerätetyp); f(m.Messblockname); f(m.Funktionsname); f(m.Sensortyp); f(m.Funktionsnummer);
    f(m.Funktionspräfix); f(m.Reserve_Text1); f(m.Reserve_Text2); f(m.Reserve_Text3);
    f(m.Bereich); f(m.Integrationszeit); f(m.Messanzahl); f(m.Reserve_Zahl1); f(m.Reserve_Zahl2);
    f(m.Reserve_Zahl3); f(m.Anzeige); f(m.Mittelung); f(m.Mittelungsart);
    for (auto& x : m.Reserve_Zahlen) f(x);
    f(m.Kaltstelle_subtrahieren); f(m.Autozero); f(m.Reserve_Text4);
}

template <class F> void Felder(Funktionskonstantensatz& k, F& f) {
    f(k.Text1); f(k.Text2); f(k.Zahl1); f(k.Text3);
    for (auto& x : k.Zahlen1) f(x);
    for (auto& x : k.Gleitzahlen) f(x);
    f(k.Zahl2);
    for (auto& x : k.Zahlen2) f(x);
    for (auto& x : k.Zahlen3) f(x);
}

template <class F> void Felder(Optiscansatz& o, F& f) { f(o.Messblock); f(o.Zusatz); }
template <class F> void Felder(Vorgabesatz& v, F& f) { f(v.Vorgabefrei); f(v.Vorgabefunktion); }
template <class F> void Felder(i16& knopf, F& f) { f(knopf); }

template <class F> void Felder(Datenformatsatz_t& d, F& f) {
    f(d.Stundenindex); f(d.Minutenindex); f(d.Sekundenindex); f(d.max); f(d.Trennzeichenindex);
    f(d.Datumsformatindex); f(d.Zeitformatindex); f(d.Einheiten); f(d.Zeit_am_Zeilenbeginn);
    f(d.Zeit_nach_jedem_Messwert); f(d.Datum); f(d.Zeit); f(d.Signalnamen); f(d.Dezimalpunkt);
}

template <class F> void Felder(Datenloggersatz_t& l, F& f) {
    f(l.Datenlogger_ein); f(l.Header_ein); f(l.Periodenindex); f(l.Trennzeichenindex); f(l.Zeitformatindex);
    f(l.Zeit_am_Zeilenbeginn); f(l.Zeit_nach_jedem_Messwert); f(l.Zeit_ein); f(l.Dezimalpunkt);
}

template <class F> void Felder(Matrixsatz& m, F& f) {
    f(m.Aktiv); f(m.Punktzahl); f(m.EigenerName); f(m.Matrixname);
    f(m.RohDatei); f(m.KalDatei); f(m.MitSignal); f(m.Signal);
}

template <class Satztyp>
QByteArray einzeln(Satztyp& s) {
    Schreiber w;
    Felder(s, w);
    return w.bytes;
}

// Record r of table t: the in-memory element it belongs to.
template <class F>
void für_jeden_Satz(const Tabelle& t, Programmdaten& d, F&& f) {
    const QString name = t.Verzeichnis;
    for (int r = t.erster; r <= t.letzter; ++r) {
        if (name == "kanaele") f(r, d.Kanaltabelle[r]);
        else if (name == "scanlist") f(r, d.Scanlistentabelle[r]);
        else if (name == "aufzlist") f(r, d.Aufzeichnungstabelle[r - 1]);  // counted from 0
        else if (name == "messbvar") f(r, d.Messblocktabelle[r]);
        else if (name == "fkt_cnst") f(r, d.Funktionskonstantentabelle[r]);
        else if (name == "optiscan") f(r, d.Optiscantabelle[r]);
        else if (name == "vorg_rei") f(r, d.Vorgabetabelle[r]);
        else if (name == "Buttons") f(r, d.Knopfzustände[r]);
        else if (name == "Dformat") f(r, d.Datenformatsatz);
        else if (name == "Datlog") f(r, d.Datenloggersatz);
        else if (name == "Stromaus") f(r, d.Stromausfallmerker);
        else if (name == "matrix") f(r, d.Matrixtabelle[r]);
    }
}

}  // namespace

QString Pfad(const char* verzeichnis, const QString& projektname) {
    return Pfade::lokal(QString("c:\\kestrix\\intern\\") + verzeichnis + "\\" + projektname);
}

QByteArray schreiben(const Tabelle& t, Programmdaten& d) {
    Schreiber w;
    für_jeden_Satz(t, d, [&](int, auto& satz) { Felder(satz, w); });
    return w.bytes;
}

void lesen(const Tabelle& t, const QByteArray& inhalt, Programmdaten& d) {
    für_jeden_Satz(t, d, [&](int r, auto& satz) {
        const qsizetype anfang = static_cast<qsizetype>(r - 1) * t.Satzlänge;
        if (anfang + t.Satzlänge > inhalt.size())
            return;
        Leser l{inhalt.constData() + anfang};
        Felder(satz, l);
    });
}

QByteArray Satz(Kanalgruppe& g) { return einzeln(g); }
QByteArray Satz(Scanlistensatz& s) { return einzeln(s); }
QByteArray Satz(Messblocksatz& m) { return einzeln(m); }
QByteArray Satz(Funktionskonstantensatz& f) { return einzeln(f); }
QByteArray Satz(Datenformatsatz_t& f) { return einzeln(f); }
QByteArray Satz(Datenloggersatz_t& l) { return einzeln(l); }
QByteArray Satz(Matrixsatz& m) { return einzeln(m); }

// ---- saving a project as one step -------------------------------------------

namespace {

const char* const Namensdatei = "Projekt";  // the project name, UTF-8, in the save folder

QString Internordner() { return Pfade::lokal("c:\\kestrix\\intern"); }

// One flush of the file system that holds 'pfad': cheaper than syncing
// every file and folder of a save on its own.
bool synchronisieren(const QString& pfad) {
    const int fd = ::open(QFile::encodeName(pfad).constData(), O_RDONLY | O_CLOEXEC | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool ok = ::syncfs(fd) == 0;
    ::close(fd);
    return ok;
}

bool schreiben(const QString& pfad, const QByteArray& inhalt) {
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly | QIODevice::Truncate) && datei.write(inhalt) == inhalt.size() &&
           datei.flush();
}

// Replaces 'nach' in one step, as a rename does.
bool umbenennen(const QString& von, const QString& nach) {
    return std::rename(QFile::encodeName(von).constData(), QFile::encodeName(nach).constData()) == 0;
}

// The place of an entry of the save folder.
QString Ziel(const QString& eintrag, const QString& projektname) {
    if (eintrag == "projbez")
        return Pfade::lokal("c:\\kestrix\\intern\\projbez\\projekt.kxp");
    return Pfade::lokal("c:\\kestrix\\intern\\" + eintrag + "\\" + projektname);
}

// The files that make a project visible go last: the list of projects reads
// vorg_rei, the existence check kanaele; the current-project file follows
// the complete project.
int Rang(const QString& eintrag) {
    if (eintrag == "vorg_rei")
        return 1;
    if (eintrag == "kanaele")
        return 2;
    if (eintrag == "projbez")
        return 3;
    return 0;
}

// Moves the files of a committed save into place; the folder goes when all
// are there. 'offen' gets the places not reached.
bool fertig_stellen(const QString& fertig, QStringList& offen) {
    QFile namensdatei(fertig + '/' + Namensdatei);
    if (!namensdatei.open(QIODevice::ReadOnly)) {
        // Written before the commit; without it the save cannot be placed.
        QDir(fertig).removeRecursively();
        return true;
    }
    const QString name = QString::fromUtf8(namensdatei.readAll());
    namensdatei.close();
    QStringList einträge = QDir(fertig).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    einträge.removeAll(Namensdatei);
    std::stable_sort(einträge.begin(), einträge.end(),
                     [](const QString& a, const QString& b) { return Rang(a) < Rang(b); });
    for (qsizetype i = 0; i < einträge.size(); ++i) {
        const QString ziel = Ziel(einträge[i], name);
        QDir().mkpath(QFileInfo(ziel).absolutePath());
        if (!umbenennen(fertig + '/' + einträge[i], ziel)) {
            for (qsizetype k = i; k < einträge.size(); ++k)
                offen << QDir::toNativeSeparators(Ziel(einträge[k], name));
            return false;
        }
    }
    // The moves are on the disk before the folder that would repeat them goes.
    synchronisieren(fertig);
    QFile::remove(fertig + '/' + Namensdatei);
    QDir().rmdir(fertig);
    return true;
}

// A replace cut short leaves "<name>.<6 letters or digits>" beside the file;
// a project name has one dot, so such a file is never a project.
void Reste_entfernen(const QString& intern) {
    static const QRegularExpression rest(R"(^.+\.[^.]+\.[A-Za-z0-9]{6}$)");
    for (const QString& ordner : QDir(intern).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QDir d(intern + '/' + ordner);
        for (const QString& datei : d.entryList(QDir::Files | QDir::Hidden))
            if (rest.match(datei).hasMatch())
                d.remove(datei);
    }
}

}  // namespace

bool Projekt_schreiben(const QString& projektname, const QList<Satzdatei>& dateien,
                       const QByteArray* projektbezeichnung, QStringList& fehler, bool& unverändert) {
    unverändert = true;
    const QString intern = Internordner();
    const QString neu = intern + "/.neu";
    const QString fertig = intern + "/.fertig";
    if (QFileInfo(fertig).isDir() && !fertig_stellen(fertig, fehler))
        return false;  // an earlier save still waits for its places
    QDir(neu).removeRecursively();
    if (!QDir().mkpath(neu)) {
        fehler << QDir::toNativeSeparators(neu);
        return false;
    }
    QList<Satzdatei> alle = dateien;
    if (projektbezeichnung)
        alle.append({"projbez", *projektbezeichnung});
    // Every place must take its file, or nothing is committed.
    for (const Satzdatei& d : alle) {
        const QString ziel = Ziel(d.Verzeichnis, projektname);
        const QFileInfo zielordner(QFileInfo(ziel).absolutePath());
        if (!zielordner.isDir() || !zielordner.isWritable() || QFileInfo(ziel).isDir() ||
            QFile::encodeName(QFileInfo(ziel).fileName()).size() > NAME_MAX)
            fehler << QDir::toNativeSeparators(ziel);
    }
    for (const Satzdatei& d : alle)
        if (fehler.isEmpty() && !schreiben(neu + '/' + d.Verzeichnis, d.Inhalt))
            fehler << QDir::toNativeSeparators(Ziel(d.Verzeichnis, projektname));
    if (fehler.isEmpty() && !schreiben(neu + '/' + Namensdatei, projektname.toUtf8()))
        fehler << QDir::toNativeSeparators(neu);
    // Everything written is on the disk before the rename that commits it.
    if (fehler.isEmpty() && (!synchronisieren(neu) || !umbenennen(neu, fertig)))
        fehler << QDir::toNativeSeparators(fertig);
    if (!fehler.isEmpty()) {
        QDir(neu).removeRecursively();
        return false;
    }
    unverändert = false;
    return fertig_stellen(fertig, fehler);
}

bool Speicherung_nachholen() {
    const QString intern = Internordner();
    if (!QFileInfo(intern).isDir())
        return true;
    bool ok = true;
    QStringList offen;
    if (QFileInfo(intern + "/.fertig").isDir())
        ok = fertig_stellen(intern + "/.fertig", offen);
    if (QFileInfo::exists(intern + "/.neu"))
        QDir(intern + "/.neu").removeRecursively();
    Reste_entfernen(intern);
    return ok;
}

}  // namespace Projektdateien
