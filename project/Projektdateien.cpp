#include "project/Projektdateien.h"

#include <QtEndian>

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

}  // namespace Projektdateien
