#include "recording/Datendateien.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QRegularExpression>
#include <cstring>
#include <cstdio>
#include <cerrno>

#include <algorithm>
#include <memory>

#include <unistd.h>

#include "calc/CalcuReihenfolge.h"
#include "calc/Datenreihenfolge.h"
#include "calc/Listenzeile.h"
#include "common/Fenster.h"
#include "common/Festtext.h"
#include "common/Programmdaten.h"
#include "common/Protokolldatei.h"
#include "platform/Dialoge.h"
#include "platform/Pfade.h"
#include "platform/Programmende.h"
#include "platform/Text1252.h"
#include "recording/Datenformat.h"
#include "run/Hauptfenster.h"

namespace {

const QByteArray Zeilenende = "\r\n";


QByteArray Zeile(const QString& text) { return Text1252::kodieren(text) + Zeilenende; }

QString Bis_zum_Punkt(const QString& name) {
    const qsizetype punkt = name.indexOf('.');
    return punkt < 0 ? name : name.left(punkt);
}

// A fault is logged when it starts and when it is over, not with every
// record; each file keeps its own state.
QMap<QString, bool> gestört;

void Störung_melden(const QString& art, const QString& datei, bool fehler, const QString& bei_fehler,
                    const QString& vorbei) {
    const QString schlüssel = art + datei;
    const bool vorher = gestört.value(schlüssel);
    if (fehler && !vorher)
        Protokolldatei_schreiben(bei_fehler);
    else if (!fehler && vorher)
        Protokolldatei_schreiben(vorbei);
    if (fehler)
        gestört[schlüssel] = true;
    else if (vorher)
        gestört.remove(schlüssel);
}

bool ist_gestört(const QString& art, const QString& datei) { return gestört.value(art + datei); }

// ---- data interface -----------------------------------------------------------

enum Schnittstelle { Daten_txt, Daten_und_txt, Rohdat_txt, Rohdat_und_txt, Rechdat_txt, Rechdat_und_txt, Anzahl };

const char* const Schnittstellennamen[Anzahl] = {"Daten.txt",   "Daten&.txt",   "Rohdat.txt",
                                                 "Rohdat&.txt", "Rechdat.txt", "Rechdat&.txt"};

// Written into a temporary file beside the target and renamed over it on
// commit; a failed open leaves the slot empty and the old file in place.
// Their readers need the replacement to be whole, not to survive a power
// cut (they are rewritten every record): no sync before the rename.
class Ersatzdatei {
public:
    explicit Ersatzdatei(const QString& pfad) : ziel_(pfad), datei_(pfad + ".neu") {}
    ~Ersatzdatei() {
        if (datei_.isOpen()) {
            datei_.close();
            datei_.remove();
        }
    }
    bool open() {
        const QFileInfo vorhanden(ziel_);
        if (vorhanden.exists() && (!vorhanden.isFile() || !vorhanden.isWritable()))
            return false;
        return datei_.open(QIODevice::WriteOnly | QIODevice::Truncate);
    }
    void write(const QByteArray& bytes) {
        if (!fehlerhaft_ && datei_.write(bytes) != bytes.size())
            fehlerhaft_ = true;
    }
    bool commit() {
        const bool geschrieben = !fehlerhaft_ && datei_.flush();
        if (!geschrieben)
            fehler_ = datei_.errorString();
        datei_.close();
        if (!geschrieben) {
            datei_.remove();
            return false;
        }
        if (std::rename(QFile::encodeName(datei_.fileName()).constData(), QFile::encodeName(ziel_).constData()) != 0) {
            fehler_ = QString::fromLocal8Bit(std::strerror(errno));
            datei_.remove();
            return false;
        }
        return true;
    }
    QString errorString() const { return fehler_; }

private:
    QString ziel_;
    QFile datei_;
    bool fehlerhaft_ = false;
    QString fehler_;
};
std::unique_ptr<Ersatzdatei> schnittstelle[Anzahl];
// Waits left for the files of this record: a drive that is gone costs one
// round of retries, not one per file.
int wiederholungen_übrig = 0;

void Schnittstelle_öffnen(Schnittstelle s) {
    const QString name = Daten.Ramdisk1.roh() + Schnittstellennamen[s];
    const QString pfad = Pfade::lokal(name);
    for (;;) {
        auto datei = std::make_unique<Ersatzdatei>(pfad);
        if (datei->open()) {
            schnittstelle[s] = std::move(datei);
            Störung_melden("öffnen", name, false, {}, "Datenschnittstelle wieder beschreibbar: " + name);
            return;
        }
        // While a fault lasts the file is tried once per record, without
        // waiting, so the run keeps its pace when the drive is gone for good.
        if (ist_gestört("öffnen", name) || wiederholungen_übrig <= 0) {
            schnittstelle[s].reset();
            Störung_melden("öffnen", name, true, "Datenschnittstelle nicht beschreibbar: " + name, {});
            return;
        }
        --wiederholungen_übrig;
        Delay_events(Datendateien::Wiederholpause_s);
    }
}

void Schnittstelle_schreiben(Schnittstelle s, const QByteArray& bytes) {
    if (schnittstelle[s])
        schnittstelle[s]->write(bytes);
}

void Schnittstelle_schließen(Schnittstelle s) {
    if (!schnittstelle[s])
        return;
    const QString name = Daten.Ramdisk1.roh() + Schnittstellennamen[s];
    const bool ok = schnittstelle[s]->commit();
    const QString fehler = schnittstelle[s]->errorString();
    schnittstelle[s].reset();
    Störung_melden("schreiben", name, !ok, "Datenschnittstelle nicht geschrieben: " + name + " (" + fehler + ")",
                   "Datenschnittstelle wieder geschrieben: " + name);
}

// ---- logger buffer ------------------------------------------------------------

struct Loggerdatei {
    QString name;        // in the root of Ramdisk2
    QFile datei;
    qint64 länge = 0;    // before this record
    QByteArray satz;     // what this record adds, held back lines first
    bool offen = false;
};

Loggerdatei logdatei, rechdatei, rohdatei;
QMap<QString, QByteArray> rückstand;  // by buffer file name

void Logger_öffnen(Loggerdatei& l, const QString& name) {
    l.name = name;
    l.satz = rückstand.take(name);
    l.datei.setFileName(Pfade::lokal(Daten.Ramdisk2.roh() + name));
    // Unbuffered: a write the drive refuses must not stay behind in a buffer
    // that closing the file would write after all.
    l.offen = l.datei.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
    l.länge = l.offen ? l.datei.size() : 0;
    const QString voll = Daten.Ramdisk2.roh() + name;
    Störung_melden("Puffer", voll, !l.offen, "Loggerpuffer nicht beschreibbar: " + voll + ", Zeilen werden zurückgehalten",
                   "Loggerpuffer wieder beschreibbar: " + voll);
}

void Logger_schreiben(Loggerdatei& l, const QString& text) { l.satz += Zeile(text); }

// The lines of the record reach the buffer file whole or not at all; what
// did not fit is held back for the next record.
void Logger_schließen(Loggerdatei& l) {
    if (l.name.isEmpty())
        return;
    bool ok = l.offen;
    if (ok) {
        ok = l.datei.write(l.satz) == l.satz.size() && l.datei.flush();
        if (!ok)
            l.datei.resize(l.länge);
        l.datei.close();
        const QString voll = Daten.Ramdisk2.roh() + l.name;
        Störung_melden("Puffer", voll, !ok, "Loggerpuffer nicht beschreibbar: " + voll + ", Zeilen werden zurückgehalten",
                       "Loggerpuffer wieder beschreibbar: " + voll);
    }
    if (!ok && !l.satz.isEmpty())
        rückstand[l.name] += l.satz;
    l.satz.clear();
    l.name.clear();
    l.offen = false;
}

// "Daten&.txt" is rewritten with 99 long lines on every record; each line is
// converted once and its bytes travel through the ring with it.
struct Ringbytes {
    QString text;  // shares its data with the ring entry it was made from
    QByteArray bytes;
};
Ringbytes ringbytes[201];
QByteArray ring;

const QByteArray& Ringzeile(int i) {
    const QString& text = Daten.Datenpuffer[i];
    Ringbytes& r = ringbytes[i];
    if (!r.text.isSharedWith(text) && r.text != text) {
        r.text = text;
        r.bytes = Zeile(text);
    }
    return r.bytes;
}

bool Logger_getrennt() { return Daten.Knopfzustände[8] == -1; }

// What a recording-order column and a scan position must share: block name
// (first 16 characters, trimmed), signal name, terminal and slot. Built from
// the stored bytes, which are the characters one for one.
QByteArray Schlüssel(const Scanlistensatz& s) {
    const char* block = s.Messblockname.daten();
    qsizetype a = 0, e = static_cast<qsizetype>(decltype(s.Messblockname)::Breite);
    while (a < e && block[a] == ' ')
        ++a;
    while (e > a && block[e - 1] == ' ')
        --e;
    const char* signal = s.Signalname.daten();
    qsizetype n = static_cast<qsizetype>(decltype(s.Signalname)::Breite);
    while (n > 0 && signal[n - 1] == ' ')
        --n;
    QByteArray k;
    k.reserve(48);
    k.append(block + a, std::min<qsizetype>(e - a, 16)).append('\1').append(signal, n).append('\1');
    k.append(reinterpret_cast<const char*>(&s.Klemmennummer), sizeof s.Klemmennummer);
    k.append(reinterpret_cast<const char*>(&s.Gruppennummer), sizeof s.Gruppennummer);
    return k;
}

}  // namespace

// ---- names and directories ------------------------------------------------------

void Datendateien::Projektkurzname() { Daten.Projektkurzname = Bis_zum_Punkt(Daten.Projektname); }

QString Datendateien::Projektdatenverzeichnis() {
    return "c:\\kestrix\\extern\\messdat\\" + Daten.Projektkurzname + "\\";
}

void Datendateien::Meßdatenverz_anleg() {
    const auto anlegen = [](const QString& windowspfad) {
        const QString pfad = Pfade::lokal(windowspfad);
        if (!QFileInfo::exists(pfad))
            QDir().mkdir(pfad);
    };
    anlegen("c:\\kestrix");
    anlegen("c:\\kestrix\\extern");
    anlegen("c:\\kestrix\\extern\\messdat");
    anlegen("c:\\kestrix\\extern\\config");
    Projektkurzname();
    anlegen("c:\\kestrix\\extern\\messdat\\" + Daten.Projektkurzname);
    anlegen("c:\\kestrix\\extern\\config\\" + Daten.Projektkurzname);
    anlegen("c:\\kestrix");
    anlegen("c:\\kestrix\\intern");
    anlegen("c:\\kestrix\\intern\\protdat");
}

bool Datendateien::Rechenwerte_definiert() {
    return Fenster.CalcuReihenfolge && Fenster.CalcuReihenfolge->List2->count() >= 2;
}

int Datendateien::Aufzeichnungszeilen() {
    return Fenster.Datenreihenfolge ? Fenster.Datenreihenfolge->List2->count() : Datenreihenfolge::Aufzeichnungslänge();
}

// ---- lines ----------------------------------------------------------------------

void Datendateien::Reihenfolge_ändern() {
    const Datenformatsatz_t& f = Daten.Datenformatsatz;
    const QString& sep = Daten.Trennzeichen;
    // The placeholder takes exactly the fields a value has, so the columns
    // after a deleted one keep their place: a time only when one stands
    // before each value.
    const QString zeit = f.Zeit == 1 && f.Zeit_nach_jedem_Messwert != 0 ? "--" + sep : QString();
    const QString einheit = f.Einheiten == 1 ? "--" + sep : QString();
    const QString name = f.Signalnamen == 1 ? "--" + sep : QString();
    const QString dummy = zeit + "9E99" + sep + einheit + name;

    // The first scan position of every block, signal and terminal, looked up
    // once instead of for every column.
    QHash<QByteArray, int> scanposition;
    scanposition.reserve(120);
    for (int i = 120; i >= 1; --i) {
        const Scanlistensatz& s = Daten.Scanlistentabelle[i];
        scanposition.insert(Schlüssel(s), i);
    }

    const int zeilen = std::min(Aufzeichnungszeilen(), 121);
    for (int j = 0; j < zeilen; ++j) {
        const Scanlistensatz& a = Daten.Aufzeichnungstabelle[j];
        const auto gefunden = scanposition.constFind(Schlüssel(a));
        if (gefunden != scanposition.constEnd()) {
            const Ausgabesatz& von = Daten.Messwerttexte[*gefunden];
            Ausgabesatz& nach = Daten.Aufzeichnungstexte[j];
            nach.Datensegment = von.Datensegment;
            nach.Anzeigetext = von.Anzeigetext;
            nach.Blocknummer = von.Blocknummer;
            nach.Logwert = von.Logwert;
            nach.Logzeit = von.Logzeit;
            nach.Zweittext = von.Zweittext;
        }
        const QString a_signal = a.Signalname.text();
        if (Trim(a.Messblockname.text()) == Listenzeile::Platzhalter && Trim(a_signal) == Listenzeile::Platzhalter) {
            Ausgabesatz& nach = Daten.Aufzeichnungstexte[j];
            nach.Datensegment = dummy;
            nach.Anzeigetext = dummy;
            nach.Blocknummer = 0;
            nach.Messwertzeit = "--";
            nach.Logwert = Listenzeile::Platzhalter;
            nach.Logzeit = "--";
            nach.Zweittext.clear();
        }
    }

    QString zeile = Daten.Messwerttexte[1].Zeilenanfang;
    zeile.reserve(Daten.Datenzeile.size() + 64);
    for (int j = 0; j < zeilen; ++j)
        zeile += Daten.Aufzeichnungstexte[j].Datensegment;
    Daten.Datenzeile = zeile;
}

void Datendateien::Datenlogzeile_erstellen() {
    const bool rechenwerte = Rechenwerte_definiert();
    if (!rechenwerte) {
        // Texts of definitions that no longer exist must not reach the files.
        CalcuReihenfolge::Rechendatenteil.clear();
        CalcuReihenfolge::Rechenlogteil.clear();
        CalcuReihenfolge::Rechenkopf.clear();
        Daten.Logzeile_rech.clear();
    }
    const Datenloggersatz_t& l = Daten.Datenloggersatz;
    if (l.Datenlogger_ein != 1) {
        // The data interface carries the calculated values with the logger
        // off too.
        if (rechenwerte) {
            Fenster.CalcuReihenfolge->CalcuVar_berechnen();
            CalcuReihenfolge::RechnenDatzeile_erstellen();
        }
        return;
    }
    const QString& sep = Daten.Logtrennzeichen;
    const auto wert = [&l](int j) {
        QString v = Trim(Daten.Aufzeichnungstexte[j].Logwert);
        if (l.Dezimalpunkt == 1)
            Datenformat::KommazuPunkt(v);
        return v;
    };
    const auto werte_bis = [](int j) { return j <= 120 && Listenzeile::hat_Text(Daten.Aufzeichnungstabelle[j].Signalname.text()); };

    QString zeile;
    if (l.Zeit_nach_jedem_Messwert != 0) {
        if (l.Zeit_am_Zeilenbeginn == 0)
            for (int j = 0; werte_bis(j); ++j)
                zeile += l.Zeit_ein == 1 ? Trim(Daten.Aufzeichnungstexte[j].Logzeit) + sep + wert(j) + sep : wert(j) + sep;
    } else {
        if (l.Zeit_ein == 1)
            zeile = Trim(Daten.Messwerttexte[1].Logzeit) + sep;
        for (int j = 0; werte_bis(j); ++j)
            zeile += wert(j) + sep;
    }
    Daten.Logzeile = zeile;
    Daten.Logzeile_roh = zeile;

    if (rechenwerte) {
        Fenster.CalcuReihenfolge->CalcuVar_berechnen();
        if (l.Header_ein == 1)
            CalcuReihenfolge::RechnenHeader_erstellen();
        CalcuReihenfolge::RechnenLogzeile_erstellen();
        CalcuReihenfolge::RechnenDatzeile_erstellen();
        Daten.Logzeile = zeile + CalcuReihenfolge::Rechenlogteil;
        Daten.Logzeile_rech =
            (l.Zeit_ein == 1 ? Trim(Daten.Messwerttexte[1].Logzeit) + sep : QString()) + CalcuReihenfolge::Rechenlogteil;
    }
}

// ---- one record -------------------------------------------------------------------

void Datendateien::Meßdatei_öffnen() {
    wiederholungen_übrig = Öffnungsversuche - 1;
    Schnittstelle_öffnen(Daten_txt);
    Schnittstelle_öffnen(Daten_und_txt);
    if (Rechenwerte_definiert()) {
        Schnittstelle_öffnen(Rohdat_txt);
        Schnittstelle_öffnen(Rohdat_und_txt);
        Schnittstelle_öffnen(Rechdat_txt);
        Schnittstelle_öffnen(Rechdat_und_txt);
    }
    if (Daten.Datenloggersatz.Datenlogger_ein == 1) {
        if (Logger_getrennt()) {
            const QString basis = Bis_zum_Punkt(Daten.Logdateiname);
            Daten.Rechdateiname = basis + ".cal";
            Daten.Rohdateiname = basis + ".roh";
            Logger_öffnen(rechdatei, Daten.Rechdateiname);
            Logger_öffnen(rohdatei, Daten.Rohdateiname);
        } else {
            Logger_öffnen(logdatei, Daten.Logdateiname);
        }
    }
}

void Datendateien::Meßdat_speichern() {
    const QString& rechendaten = CalcuReihenfolge::Rechendatenteil;
    const QString satz = Daten.Datenzeile + rechendaten;
    Schnittstelle_schreiben(Daten_txt, Zeile(satz));
    if (Rechenwerte_definiert()) {
        Schnittstelle_schreiben(Rechdat_txt, Zeile(Daten.Messwerttexte[1].Zeilenanfang + rechendaten));
        Schnittstelle_schreiben(Rohdat_txt, Zeile(Daten.Datenzeile));
    }

    // The ring: shifted up from the top while written from the bottom, so
    // the file gets the new line and the 98 before it, newest first; step 50
    // already holds the copy of the line just written.
    QString* puffer = Daten.Datenpuffer;
    puffer[0] = satz;
    ring.resize(0);
    for (int i = 0; i <= 99; ++i) {
        puffer[100 - i] = puffer[99 - i];
        ringbytes[100 - i] = ringbytes[99 - i];
        if (!puffer[i].isEmpty() && i != 50)
            ring += Ringzeile(i);
    }
    Schnittstelle_schreiben(Daten_und_txt, ring);

    if (Daten.Datenloggersatz.Datenlogger_ein != 1)
        return;
    if (!Logger_getrennt()) {
        if (Daten.Headermerker == 1) {
            Logger_schreiben(logdatei, Daten.Kopfzeile_roh + CalcuReihenfolge::Rechenkopf);
            Daten.Headermerker = 0;
        }
        Logger_schreiben(logdatei, Daten.Logzeile);
    } else {
        if (Daten.Headermerker == 1)
            Logger_schreiben(rechdatei, CalcuReihenfolge::Rechenkopf);
        Logger_schreiben(rechdatei, Daten.Logzeile_rech);
        if (Daten.Headermerker == 1) {
            Logger_schreiben(rohdatei, Daten.Kopfzeile_roh);
            Daten.Headermerker = 0;
        }
        Logger_schreiben(rohdatei, Daten.Logzeile_roh);
    }
}

void Datendateien::Meßdatei_schließen() {
    Schnittstelle_schließen(Daten_txt);
    Schnittstelle_schließen(Daten_und_txt);
    // Also when the definitions went away between opening and closing: an
    // opened file is always committed.
    Schnittstelle_schließen(Rohdat_txt);
    Schnittstelle_schließen(Rechdat_txt);
    Schnittstelle_schließen(Rohdat_und_txt);
    Schnittstelle_schließen(Rechdat_und_txt);
    Logger_schließen(rechdatei);
    Logger_schließen(rohdatei);
    Logger_schließen(logdatei);
}

// ---- moving the logger files ----------------------------------------------------------

namespace {
// A buffer file being moved is first renamed to "<name>.<size>.ums", <size>
// being the length of the project file before the move. The rename is the
// one step that starts a move; whoever finds such a file (the next move,
// after the program was killed) cuts the project file back to that length
// and appends again, so a move cut off at any point is neither lost nor
// written twice.
const QString Umzugsendung = ".ums";

QRegularExpression Umzugsmuster(const QString& name) {
    return QRegularExpression("^" + QRegularExpression::escape(name) + "\\.(\\d+)" +
                              QRegularExpression::escape(Umzugsendung) + "$");
}

// Names the logger gives its buffer files: hour, day or month, with ".txt"
// or ".cal" and ".roh".
const QRegularExpression Puffermuster(QStringLiteral("^(\\d{8}|\\d{2}[^\\W\\d_]{3}\\d{2}|\\d{4}[^\\W\\d_]{3})\\.(txt|cal|roh)$"),
                                      QRegularExpression::UseUnicodePropertiesOption);

void Schritt(int nummer) {
    if (Datendateien::Prüfpunkt)
        Datendateien::Prüfpunkt(nummer);
}

// Appends the renamed buffer to the project file that had 'vorher' bytes
// before; an earlier attempt of the same move is cut off first.
bool Umzug_abschließen(QFile& ziel_datei, const QString& umzug, qint64 vorher, const QByteArray& zusatz,
                       QString& fehler) {
    QFile p(umzug);
    if (!p.open(QIODevice::ReadOnly)) {
        fehler = p.errorString();
        return false;
    }
    QByteArray inhalt = p.readAll();
    if (p.error() != QFileDevice::NoError) {
        fehler = p.errorString();
        return false;
    }
    p.close();
    // A line cut off by a power failure ends here, so the next one starts
    // on a line of its own.
    if (!inhalt.isEmpty() && !inhalt.endsWith('\n'))
        inhalt += Zeilenende;
    inhalt += zusatz;
    const qint64 jetzt = ziel_datei.size();
    // Longer than the move itself can have made it: the move was complete
    // and only the renamed buffer was left.
    if (jetzt > vorher + inhalt.size())
        return true;
    const qint64 anfang = std::min(jetzt, vorher);
    if (jetzt > anfang && !ziel_datei.resize(anfang)) {
        fehler = ziel_datei.errorString();
        return false;
    }
    Schritt(3);
    if (inhalt.isEmpty())
        return true;
    const bool ok = ziel_datei.write(inhalt) == inhalt.size() && ziel_datei.flush();
    Schritt(4);
    if (!ok || ::fsync(ziel_datei.handle()) != 0) {
        fehler = ziel_datei.errorString();
        ziel_datei.resize(anfang);
        return false;
    }
    Schritt(5);
    return true;
}
}  // namespace

void Datendateien::Datenlogfiles_umkopieren(const QString& Dateiname) {
    const i16 art = Daten.Knopfzustände[8];
    const auto kopf = [](const QString& name) {
        if (name.endsWith(".cal"))
            return CalcuReihenfolge::Rechenkopf;
        if (name.endsWith(".roh"))
            return Daten.Kopfzeile_roh;
        return Daten.Kopfzeile_roh + CalcuReihenfolge::Rechenkopf;
    };
    QStringList namen;
    if (art == 0) {
        namen << Dateiname;
    } else if (art == -1) {
        const QString basis = Bis_zum_Punkt(Dateiname);
        namen << basis + ".cal" << basis + ".roh";
    } else {
        return;
    }
    // Buffers of an earlier period left behind when the program was stopped
    // just before their move, and moves cut off, go first.
    if (Daten.Datenloggersatz.Datenlogger_ein == 1) {
        const QDir puffer(Pfade::lokal(Daten.Ramdisk2.roh()));
        QStringList übrig;
        for (const QString& datei : puffer.entryList(QDir::Files, QDir::Name)) {
            QString name = datei;
            if (datei.endsWith(Umzugsendung))
                name = datei.section('.', 0, -3);
            if (Puffermuster.match(name).hasMatch() && !namen.contains(name, Qt::CaseInsensitive) &&
                !übrig.contains(name))
                übrig << name;
        }
        for (const QString& name : übrig)
            Datenlogfile_umkopieren(name, kopf(name));
    }
    for (const QString& name : namen)
        Datenlogfile_umkopieren(name, kopf(name));
}

bool Datendateien::Datenlogfile_umkopieren(const QString& Dateiname, const QString& Kopfzeile) {
    if (Daten.Datenloggersatz.Datenlogger_ein != 1)
        return true;
    const QString ziel = Pfade::lokal(Projektdatenverzeichnis() + Dateiname);
    const auto nicht_verschoben = [&Dateiname](const QString& grund) {
        Protokolldatei_schreiben("Loggerdatei " + Dateiname + " nicht verschoben (" + grund +
                                 "), bleibt im Puffer " + Daten.Ramdisk2.roh());
        return false;
    };

    // A new project file starts with the header line.
    if (!QFileInfo::exists(ziel)) {
        QFile neu(ziel);
        if (!neu.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return nicht_verschoben(neu.errorString());
        const QByteArray kopf = Zeile(Kopfzeile);
        if (neu.write(kopf) != kopf.size() || !neu.flush() || ::fsync(neu.handle()) != 0) {
            const QString fehler = neu.errorString();
            neu.close();
            neu.remove();
            return nicht_verschoben(fehler);
        }
        Daten.Headermerker = 0;
        neu.close();
    }

    QFile ziel_datei(ziel);
    if (!ziel_datei.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return nicht_verschoben(ziel_datei.errorString());

    if (!QFileInfo::exists(Pfade::lokal("c:\\kestrix\\intern\\kanaele\\" + Daten.Projektname))) {
        ziel_datei.close();
        dialoge().Meldung("Projekt nicht vorhanden!");
        programmende().sofort_beenden();
        return false;
    }

    const QString puffer = Pfade::lokal(Daten.Ramdisk2.roh() + Dateiname);
    const QDir pufferordner = QFileInfo(puffer).dir();
    QString fehler;

    // A move that was cut off is completed before anything newer follows.
    const QRegularExpression muster = Umzugsmuster(QFileInfo(puffer).fileName());
    for (const QString& datei : pufferordner.entryList(QDir::Files, QDir::Name)) {
        const QRegularExpressionMatch m = muster.match(datei);
        if (!m.hasMatch())
            continue;
        const QString umzug = pufferordner.filePath(datei);
        if (!Umzug_abschließen(ziel_datei, umzug, m.captured(1).toLongLong(), {}, fehler))
            return nicht_verschoben(fehler);
        QFile::remove(umzug);
    }

    QByteArray zusatz = rückstand.value(Dateiname);
    if (QFileInfo(puffer).isFile()) {
        const qint64 vorher = ziel_datei.size();
        const QString umzug = puffer + "." + QString::number(vorher) + Umzugsendung;
        if (!QFile::rename(puffer, umzug))
            return nicht_verschoben("Puffer nicht umbenannt");
        Schritt(1);
        // Lines held back belong after the buffer; in the renamed file they
        // survive a stop of the program as well.
        if (!zusatz.isEmpty()) {
            QFile p(umzug);
            if (p.open(QIODevice::WriteOnly | QIODevice::Append) && p.write(zusatz) == zusatz.size() && p.flush())
                zusatz.clear();
        }
        Schritt(2);
        if (!Umzug_abschließen(ziel_datei, umzug, vorher, zusatz, fehler)) {
            // Back under its name; nothing new has been written to it meanwhile.
            QFile::rename(umzug, puffer);
            return nicht_verschoben(fehler);
        }
        rückstand.remove(Dateiname);
        if (!QFile::remove(umzug))
            Protokolldatei_schreiben("Loggerpuffer " + Daten.Ramdisk2.roh() + Dateiname +
                                     " nach dem Verschieben nicht gelöscht");
        Schritt(6);
    } else if (!zusatz.isEmpty()) {
        const qint64 vorher = ziel_datei.size();
        if (ziel_datei.write(zusatz) != zusatz.size() || !ziel_datei.flush() || ::fsync(ziel_datei.handle()) != 0) {
            fehler = ziel_datei.errorString();
            ziel_datei.resize(vorher);
            return nicht_verschoben(fehler);
        }
        rückstand.remove(Dateiname);
    }
    return true;
}

QByteArray Datendateien::Rückstand(const QString& Dateiname) { return rückstand.value(Dateiname); }

void Datendateien::Zustand_zurücksetzen() {
    for (auto& s : schnittstelle)
        s.reset();  // an unfinished replacement is dropped, the old file stays
    for (Loggerdatei* l : {&logdatei, &rechdatei, &rohdatei}) {
        l->datei.close();
        l->name.clear();
        l->satz.clear();
        l->offen = false;
    }
    rückstand.clear();
    for (Ringbytes& r : ringbytes)
        r = Ringbytes{};
    gestört.clear();
}
