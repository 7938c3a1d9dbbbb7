#include "dadavu/Zeilenleser.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTime>

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>

namespace dadavu {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
// "+9.9E37" (no reading), "9E99" (deleted or overrange formula) and anything
// of that size is a marker, never a reading.
constexpr double Markergrenze = 9e37;

bool ziffer(char c) { return c >= '0' && c <= '9'; }

std::string_view getrimmt(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Reads 1 to 'max' digits at 'pos'; -1 when there are none.
int ziffern(std::string_view s, size_t& pos, int max) {
    int wert = 0, n = 0;
    while (pos < s.size() && n < max && ziffer(s[pos])) {
        wert = wert * 10 + (s[pos] - '0');
        ++pos;
        ++n;
    }
    return n ? wert : -1;
}

int vierstellig(int jahr, int stellen) { return stellen <= 2 ? (jahr < 80 ? 2000 + jahr : 1900 + jahr) : jahr; }

int Monat_aus_Kürzel(std::string_view s) {
    static const char* const namen[] = {"jan", "feb", "mrz", "apr", "mai", "jun", "jul", "aug", "sep", "okt", "nov", "dez"};
    static const char* const andere[] = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (s.size() != 3)
        return 0;
    char k[3];
    for (int i = 0; i < 3; ++i)
        k[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i])));
    for (int m = 0; m < 12; ++m)
        if (std::string_view(k, 3) == namen[m] || std::string_view(k, 3) == andere[m])
            return m + 1;
    if (k[0] == 'm' && static_cast<unsigned char>(k[1]) == 0xE4 && k[2] == 'r')  // "Mär"
        return 3;
    return 0;
}

// "h:m:s" from 'pos' to the end of the text.
bool Uhrzeit(std::string_view s, size_t pos, int& sekunde) {
    const int h = ziffern(s, pos, 2);
    if (h < 0 || pos >= s.size() || s[pos] != ':')
        return false;
    ++pos;
    const int m = ziffern(s, pos, 2);
    if (m < 0 || pos >= s.size() || s[pos] != ':')
        return false;
    ++pos;
    const int sek = ziffern(s, pos, 2);
    if (sek < 0 || pos != s.size() || h > 23 || m > 59 || sek > 59)
        return false;
    sekunde = h * 3600 + m * 60 + sek;
    return true;
}

// Logger time with date: "dd.mm.yy hh:mm:ss" / "dd.mm.yyyy hh:mm:ss"; or the
// time alone.
bool Zeitfeld(std::string_view s, Feld& f) {
    if (Uhrzeit(s, 0, f.sekunde))
        return true;
    size_t pos = 0;
    const int t = ziffern(s, pos, 2);
    if (t < 1 || pos >= s.size() || s[pos] != '.')
        return false;
    ++pos;
    const int m = ziffern(s, pos, 2);
    if (m < 1 || m > 12 || pos >= s.size() || s[pos] != '.')
        return false;
    ++pos;
    const size_t jahranfang = pos;
    const int j = ziffern(s, pos, 4);
    if (j < 0 || pos >= s.size() || s[pos] != ' ')
        return false;
    if (!Uhrzeit(s, pos + 1, f.sekunde))
        return false;
    f.tag = t;
    f.monat = m;
    f.jahr = vierstellig(j, static_cast<int>(pos - jahranfang));
    return true;
}

// Data-interface date: "dd mm yy", "dd mm yyyy", "dd mmm", "dd mmm yy".
bool Datumsfeld(std::string_view s, Feld& f) {
    size_t pos = 0;
    const int t = ziffern(s, pos, 2);
    if (t < 1 || t > 31 || pos >= s.size() || s[pos] != ' ')
        return false;
    ++pos;
    int m;
    if (pos < s.size() && ziffer(s[pos])) {
        m = ziffern(s, pos, 2);
    } else {
        m = Monat_aus_Kürzel(s.substr(pos, 3));
        pos += 3;
    }
    if (m < 1 || m > 12)
        return false;
    int j = -1;
    if (pos < s.size()) {
        if (s[pos] != ' ')
            return false;
        ++pos;
        const size_t anfang = pos;
        j = ziffern(s, pos, 4);
        if (j < 0 || pos != s.size() || (pos - anfang != 2 && pos - anfang != 4))
            return false;
        j = vierstellig(j, static_cast<int>(pos - anfang));
    }
    f.tag = t;
    f.monat = m;
    f.jahr = j;
    return true;
}

// Number with decimal comma or point and optional exponent.
bool Zahlfeld(std::string_view s, double& wert) {
    if (s.empty() || s.size() > 60)
        return false;
    char puffer[64];
    size_t n = 0, pos = 0;
    if (s[0] == '+' || s[0] == '-') {
        if (s[0] == '-')
            puffer[n++] = '-';
        ++pos;
    }
    int mantissenziffern = 0;
    bool komma = false;
    for (; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (ziffer(c)) {
            puffer[n++] = c;
            ++mantissenziffern;
        } else if ((c == ',' || c == '.') && !komma) {
            komma = true;
            puffer[n++] = '.';
        } else {
            break;
        }
    }
    if (!mantissenziffern)
        return false;
    if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e')) {
        puffer[n++] = 'e';
        ++pos;
        if (pos < s.size() && (s[pos] == '+' || s[pos] == '-'))
            puffer[n++] = s[pos++];
        int exponentziffern = 0;
        while (pos < s.size() && ziffer(s[pos])) {
            puffer[n++] = s[pos++];
            ++exponentziffern;
        }
        if (!exponentziffern)
            return false;
    }
    if (pos != s.size())
        return false;
    const auto ergebnis = std::from_chars(puffer, puffer + n, wert);
    return ergebnis.ec == std::errc() && ergebnis.ptr == puffer + n;
}

bool gleich_ohne_Fall(std::string_view a, const char* b) {
    size_t i = 0;
    for (; b[i]; ++i)
        if (i >= a.size() || std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size();
}

void einordnen(Feld& f) {
    const std::string_view s = getrimmt(f.text);
    f.text = s;
    if (s.empty()) {
        f.art = Feldart::Leer;
    } else if (s == "--") {
        f.art = Feldart::Strich;
    } else if (Zahlfeld(s, f.zahl)) {
        f.art = std::fabs(f.zahl) >= Markergrenze ? Feldart::Lücke : Feldart::Zahl;
    } else if (gleich_ohne_Fall(s, "NaN") || s == "gel\xF6scht!" || s == "gel\xC3\xB6scht!") {
        f.art = Feldart::Lücke;
    } else if (Zeitfeld(s, f)) {
        f.art = Feldart::Zeit;
    } else if (Datumsfeld(s, f)) {
        f.art = Feldart::Datum;
    } else {
        f.art = Feldart::Text;
    }
}

// 1 or 2 digits, optionally after "dd.mm.yy " (the logger date), as the
// first piece of a time split at ":".
bool Stundenstück(std::string_view s) {
    const size_t blank = s.rfind(' ');
    const std::string_view h = blank == std::string_view::npos ? s : s.substr(blank + 1);
    return (h.size() == 1 || h.size() == 2) && ziffer(h[0]) && ziffer(h.back());
}
bool Zweistellig(std::string_view s) { return (s.size() == 1 || s.size() == 2) && ziffer(s[0]) && ziffer(s.back()); }

// Line ends of a file, each line without CR LF; 'vollständig' false for a
// last line without line end (cut off while it was written).
template <typename F>
void Zeilen_durchgehen(const QByteArray& bytes, F&& je_zeile) {
    const char* p = bytes.constData();
    const char* ende = p + bytes.size();
    while (p < ende) {
        const char* nl = static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(ende - p)));
        const bool vollständig = nl != nullptr;
        const char* zeilenende = vollständig ? nl : ende;
        std::string_view zeile(p, static_cast<size_t>(zeilenende - p));
        if (!zeile.empty() && zeile.back() == '\r')
            zeile.remove_suffix(1);
        je_zeile(zeile, vollständig);
        p = vollständig ? nl + 1 : ende;
    }
}

// Local time stamps of one hour are the start of the hour plus seconds; the
// conversion of each hour is done once.
struct Stundenspeicher {
    qint64 tag = std::numeric_limits<qint64>::min();
    int stunde = -1;
    double ms = 0;
};
thread_local Stundenspeicher stundenspeicher;

// Header: text columns only (names "Signal [Einheit]", "Zeit/Datum", matrix
// points "C12"), no value and no time.
bool ist_Kopfzeile(const std::vector<Feld>& felder) {
    bool text = false;
    for (const Feld& f : felder) {
        if (f.art == Feldart::Text)
            text = true;
        else if (f.art != Feldart::Leer)
            return false;
    }
    return text;
}

void Kopf_lesen(const std::vector<Feld>& felder, QStringList& namen, QStringList& einheiten) {
    namen.clear();
    einheiten.clear();
    for (const Feld& f : felder) {
        if (f.art != Feldart::Text)
            continue;
        const QString spalte = Text1252(f.text);
        if (spalte.compare("Zeit/Datum", Qt::CaseInsensitive) == 0)
            continue;
        const int klammer = spalte.lastIndexOf(" [");
        if (klammer >= 0 && spalte.endsWith(']')) {
            namen << spalte.left(klammer).trimmed();
            einheiten << spalte.mid(klammer + 2, spalte.size() - klammer - 3).trimmed();
        } else {
            namen << spalte.trimmed();
            einheiten << QString();
        }
    }
}

// Units the station writes; a single text after a value that is one of these
// is a unit, not a signal name.
bool sieht_aus_wie_Einheit(std::string_view s) {
    static const char* const einheiten[] = {"V DC", "mV DC", "V AC", "mV AC", "A DC", "mA DC", "A AC", "mA AC", "Ohm",
                                            "kOhm", "MOhm", "Hz",   "kHz",   "s",     "ms",   "\xB0" "C", "\xB0" "F",
                                            "K",    "V",    "mV",   "A",     "mA",    "%",    "Imp"};
    for (const char* e : einheiten)
        if (s == e)
            return true;
    return false;
}

// Assigns dates to time stamps that carry none: the day advances whenever
// the time of day falls back by more than half a day.
struct Tageszähler {
    int vorher = -1;
    int tage = 0;
    int weiter(int sekunde) {
        if (vorher >= 0 && sekunde >= 0 && sekunde < vorher - 43200)
            ++tage;
        if (sekunde >= 0)
            vorher = sekunde;
        return tage;
    }
};

struct Punktroh {
    int sekunde = -1;   // -1: no time
    qint64 julian = 0;  // 0: no date in the line
    int tagnummer = 0;  // days counted since the first line (lines without date)
    double wert = NaN;
    bool da = false;
};

double Zeitpunkt(const Punktroh& p, const QDate& basis) {
    const QDate tag = p.julian ? QDate::fromJulianDay(p.julian) : basis.addDays(p.tagnummer);
    return Zeitpunkt_ms(tag, p.sekunde);
}

}  // namespace

QString Text1252(std::string_view bytes) {
    // Latin-1 but for the printable characters Windows puts at 0x80..0x9F.
    static const char16_t sonder[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                        0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        text[static_cast<qsizetype>(i)] = QChar(b >= 0x80 && b < 0xA0 ? sonder[b - 0x80] : char16_t(b));
    }
    return text;
}

double Zeitpunkt_ms(const QDate& datum, int sekunde) {
    const qint64 tag = datum.toJulianDay();
    const int stunde = sekunde / 3600;
    Stundenspeicher& s = stundenspeicher;
    if (s.tag != tag || s.stunde != stunde) {
        s.tag = tag;
        s.stunde = stunde;
        s.ms = static_cast<double>(QDateTime(datum, QTime(stunde, 0)).toMSecsSinceEpoch());
    }
    return s.ms + (sekunde % 3600) * 1000.0;
}

char Trennzeichen_der_Zeile(std::string_view zeile) {
    if (!zeile.empty() && (zeile.back() == '\t' || zeile.back() == ';' || zeile.back() == ':'))
        return zeile.back();
    for (char c : {'\t', ';', ':'})
        if (zeile.find(c) != std::string_view::npos)
            return c;
    return ';';
}

void Felder_zerlegen(std::string_view zeile, char trenner, std::vector<Feld>& felder) {
    felder.clear();
    size_t anfang = 0;
    while (anfang <= zeile.size()) {
        size_t ende = zeile.find(trenner, anfang);
        if (ende == std::string_view::npos)
            ende = zeile.size();
        Feld f;
        f.text = zeile.substr(anfang, ende - anfang);
        felder.push_back(f);
        anfang = ende + 1;
    }
    // Every line ends with the separator: the piece after it is no field.
    if (!felder.empty() && getrimmt(felder.back().text).empty())
        felder.pop_back();
    if (trenner == ':') {
        std::vector<Feld> verbunden;
        verbunden.reserve(felder.size());
        for (size_t i = 0; i < felder.size(); ++i) {
            if (i + 2 < felder.size() && Stundenstück(getrimmt(felder[i].text)) &&
                Zweistellig(getrimmt(felder[i + 1].text)) && Zweistellig(getrimmt(felder[i + 2].text))) {
                Feld f;
                const char* a = felder[i].text.data();
                const char* e = felder[i + 2].text.data() + felder[i + 2].text.size();
                f.text = std::string_view(a, static_cast<size_t>(e - a));
                verbunden.push_back(f);
                i += 2;
            } else {
                verbunden.push_back(felder[i]);
            }
        }
        felder.swap(verbunden);
    }
    for (Feld& f : felder)
        einordnen(f);
}

QDate Datum_aus_Dateiname(const QString& name) {
    static const QRegularExpression stunde(R"(^(\d\d)(\d\d)(\d\d)(\d\d)(?:_Matrix[A-H]_[cr])?\.(txt|roh|cal)$)",
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(R"(^(\d\d)(\p{L}{3})(\d\d)(?:_Matrix[A-H]_[cr])?\.(txt|roh|cal)$)",
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression monat(R"(^(\d\d\d\d)(\p{L}{3})(?:_Matrix[A-H]_[cr])?\.(txt|roh|cal)$)",
                                          QRegularExpression::CaseInsensitiveOption);
    const auto kürzel = [](const QString& k) {
        const QByteArray b = k.toLatin1();
        return Monat_aus_Kürzel(std::string_view(b.constData(), static_cast<size_t>(b.size())));
    };
    if (auto m = stunde.match(name); m.hasMatch())
        return QDate(2000 + m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (auto m = tag.match(name); m.hasMatch())
        return QDate(vierstellig(m.captured(1).toInt(), 2), kürzel(m.captured(2)), m.captured(3).toInt());
    if (auto m = monat.match(name); m.hasMatch())
        return QDate(m.captured(1).toInt(), kürzel(m.captured(2)), 1);
    return {};
}

// ---- data interface -----------------------------------------------------------

namespace {
struct Gruppe {
    int sekunde = -1;  // own time ("nach jedem Meßwert"); -1 none
    double wert = NaN;
    std::string_view name, einheit;
};

// One data-interface line: [date] [time] then per value [time] value(s)
// [name] [unit]; calculated values last, without time. False when the line
// does not read that way.
bool Datenzeile_zerlegen(const std::vector<Feld>& f, Feld& datum, int& startzeit, std::vector<Gruppe>& gruppen) {
    gruppen.clear();
    size_t i = 0;
    datum = Feld{};
    startzeit = -1;
    if (i < f.size() && f[i].art == Feldart::Datum)
        datum = f[i++];
    const auto ist_wert = [&](size_t k) { return k < f.size() && (f[k].art == Feldart::Zahl || f[k].art == Feldart::Lücke); };
    const auto ist_zeit = [&](size_t k) { return k < f.size() && (f[k].art == Feldart::Zeit || f[k].art == Feldart::Strich); };
    // Time at line start and time per value exclude each other: a time after
    // the first value means every value carries its own.
    size_t erster_wert = i;
    while (erster_wert < f.size() && !ist_wert(erster_wert))
        ++erster_wert;
    bool zeit_je_wert = erster_wert > i && f[erster_wert - 1].art == Feldart::Strich;
    for (size_t k = erster_wert + 1; k < f.size() && !zeit_je_wert; ++k)
        zeit_je_wert = f[k].art == Feldart::Zeit;
    if (!zeit_je_wert && i < f.size() && f[i].art == Feldart::Zeit)
        startzeit = f[i++].sekunde;
    // Name and unit slots after the value, counted at the first value.
    int plätze = 0;
    {
        size_t k = i + (zeit_je_wert ? 1 : 0);
        while (ist_wert(k))
            ++k;
        size_t p = k;
        while (p < f.size() && (f[p].art == Feldart::Text || f[p].art == Feldart::Strich))
            ++p;
        int lauf = static_cast<int>(p - k);
        if (zeit_je_wert && lauf > 0 && f[p - 1].art == Feldart::Strich && ist_wert(p))
            --lauf;  // that "--" is the time of the next (deleted) value
        plätze = std::min(lauf, 2);
    }
    while (i < f.size()) {
        Gruppe g;
        if (zeit_je_wert && ist_zeit(i) && ist_wert(i + 1)) {
            g.sekunde = f[i].sekunde;
            ++i;
        }
        if (!ist_wert(i))
            return false;
        if (plätze == 0) {
            g.wert = f[i].art == Feldart::Zahl ? f[i].zahl : NaN;
            ++i;
        } else {
            // Several readings of one point: the last one is its value.
            while (ist_wert(i)) {
                g.wert = f[i].art == Feldart::Zahl ? f[i].zahl : NaN;
                ++i;
            }
            std::string_view slot[2];
            for (int p = 0; p < plätze; ++p) {
                if (i >= f.size() || (f[i].art != Feldart::Text && f[i].art != Feldart::Strich))
                    return false;
                slot[p] = f[i].art == Feldart::Strich ? std::string_view() : f[i].text;
                ++i;
            }
            if (plätze == 2) {
                g.name = slot[0];
                g.einheit = slot[1];
            } else if (sieht_aus_wie_Einheit(slot[0])) {
                g.einheit = slot[0];
            } else {
                g.name = slot[0];
            }
        }
        gruppen.push_back(g);
    }
    return !gruppen.empty();
}
}  // namespace

Dateiinhalt Datenschnittstelle_lesen(const QByteArray& bytes, const std::vector<Signalwahl>& wahl,
                                     const QDate& dateidatum) {
    Dateiinhalt inhalt;
    struct Zeilenwerte {
        std::vector<Punktroh> punkte;
    };
    std::vector<Zeilenwerte> zeilen;  // newest first, as in the file
    std::vector<Feld> felder;
    std::vector<Gruppe> gruppen;
    bool erste = true;
    bool ohne_zeit = false;
    Zeilen_durchgehen(bytes, [&](std::string_view zeile, bool vollständig) {
        if (getrimmt(zeile).empty())
            return;
        if (!vollständig) {
            ++inhalt.verworfen;
            return;
        }
        Felder_zerlegen(zeile, Trennzeichen_der_Zeile(zeile), felder);
        Feld datum;
        int startzeit;
        if (!Datenzeile_zerlegen(felder, datum, startzeit, gruppen)) {
            ++inhalt.verworfen;
            return;
        }
        if (erste) {
            erste = false;
            for (const Gruppe& g : gruppen) {
                inhalt.namen << Text1252(g.name);
                inhalt.einheiten << Text1252(g.einheit);
            }
        }
        Zeilenwerte z;
        for (const Signalwahl& w : wahl) {
            int nr = -1;
            if (!w.name.isEmpty())
                for (size_t k = 0; k < gruppen.size() && nr < 0; ++k)
                    if (Text1252(gruppen[k].name) == w.name)
                        nr = static_cast<int>(k);
            if (nr < 0 && w.index >= 1 && w.index <= static_cast<int>(gruppen.size()))
                nr = w.index - 1;
            Punktroh p;
            if (nr >= 0) {
                const Gruppe& g = gruppen[static_cast<size_t>(nr)];
                p.da = true;
                p.wert = g.wert;
                p.sekunde = g.sekunde >= 0 ? g.sekunde : startzeit;
                if (datum.monat) {
                    int jahr = datum.jahr;
                    if (jahr < 0) {
                        // "dd mmm" carries no year: the one that puts the line
                        // no later than the file.
                        jahr = dateidatum.year();
                        if (QDate(jahr, datum.monat, datum.tag) > dateidatum.addDays(1))
                            --jahr;
                    }
                    p.julian = QDate(jahr, datum.monat, datum.tag).toJulianDay();
                }
                if (p.sekunde < 0)
                    ohne_zeit = true;
            }
            z.punkte.push_back(p);
        }
        zeilen.push_back(std::move(z));
    });
    inhalt.mit_zeit = !ohne_zeit;
    // Lines without a date: the newest is of the file's day; going back, a
    // time of day that jumps forward by more than half a day is the day before.
    std::vector<int> tagnummer(zeilen.size(), 0);
    {
        Tageszähler zähler;
        for (size_t k = zeilen.size(); k-- > 0;) {
            int sek = -1;
            for (const Punktroh& p : zeilen[k].punkte)
                if (p.da && p.sekunde >= 0) {
                    sek = p.sekunde;
                    break;
                }
            tagnummer[k] = zähler.weiter(sek);
        }
        const int gesamt = tagnummer.empty() ? 0 : tagnummer.front();
        for (int& t : tagnummer)
            t -= gesamt;
    }
    for (size_t w = 0; w < wahl.size(); ++w) {
        Reihe r;
        r.name = wahl[w].name;
        for (size_t k = zeilen.size(); k-- > 0;) {
            Punktroh p = zeilen[k].punkte[w];
            if (!p.da)
                continue;
            p.tagnummer = tagnummer[k];
            r.t.push_back(inhalt.mit_zeit ? Zeitpunkt(p, dateidatum) : static_cast<double>(zeilen.size() - k));
            r.y.push_back(p.wert);
        }
        const int index = wahl[w].index;
        int nr = static_cast<int>(inhalt.namen.indexOf(wahl[w].name));
        if (wahl[w].name.isEmpty() || nr < 0)
            nr = index - 1;
        if (nr >= 0 && nr < inhalt.namen.size()) {
            r.name = inhalt.namen[nr];
            r.einheit = inhalt.einheiten[nr];
        }
        inhalt.reihen.push_back(std::move(r));
    }
    return inhalt;
}

// ---- logger and matrix data files ---------------------------------------------------

Dateiinhalt Loggerdatei_lesen(const QByteArray& bytes, const std::vector<Signalwahl>& wahl, const QDate& startdatum,
                              const QDate& dateidatum, const QString& dateiname) {
    Dateiinhalt inhalt;
    // The matrix files mark a temperature out of range as -1 and a voltage
    // out of range as 0.
    const bool matrix_c = dateiname.endsWith("_c.txt", Qt::CaseInsensitive);
    const bool matrix_r = dateiname.endsWith("_r.txt", Qt::CaseInsensitive);
    const size_t nw = wahl.size();
    std::vector<Punktroh> punkte;  // nw per line
    std::vector<int> anzahl;       // values per line
    std::vector<int> abschnitt;    // header section of the line
    std::vector<int> kopfanzahl{-1};  // values named by each section's header (-1: none)
    std::vector<int> spalten(nw);
    for (size_t w = 0; w < nw; ++w)
        spalten[w] = wahl[w].index;
    std::vector<Feld> felder;
    Tageszähler zähler;
    bool ohne_zeit = false;
    const size_t geschätzt = static_cast<size_t>(bytes.size() / 24 + 1);
    punkte.reserve(geschätzt * nw);
    anzahl.reserve(geschätzt);
    abschnitt.reserve(geschätzt);

    Zeilen_durchgehen(bytes, [&](std::string_view zeile, bool vollständig) {
        if (getrimmt(zeile).empty())
            return;
        if (!vollständig) {
            ++inhalt.verworfen;
            return;
        }
        Felder_zerlegen(zeile, Trennzeichen_der_Zeile(zeile), felder);
        if (ist_Kopfzeile(felder)) {
            Kopf_lesen(felder, inhalt.namen, inhalt.einheiten);
            kopfanzahl.push_back(static_cast<int>(inhalt.namen.size()));
            for (size_t w = 0; w < nw; ++w) {
                const int nr = wahl[w].name.isEmpty() ? -1 : static_cast<int>(inhalt.namen.indexOf(wahl[w].name));
                spalten[w] = nr >= 0 ? nr + 1 : wahl[w].index;
            }
            return;
        }
        const size_t basis = punkte.size();
        punkte.resize(basis + nw);
        int zeit = -1;
        qint64 julian = 0;
        int erste_zeit = -1;
        int n = 0;
        bool lesbar = true;
        for (const Feld& f : felder) {
            switch (f.art) {
            case Feldart::Zeit:
                zeit = f.sekunde;
                julian = f.monat ? QDate(f.jahr, f.monat, f.tag).toJulianDay() : 0;
                if (erste_zeit < 0)
                    erste_zeit = zeit;
                break;
            case Feldart::Strich:  // time of a deleted column
                break;
            case Feldart::Zahl:
            case Feldart::Lücke: {
                ++n;
                for (size_t w = 0; w < nw; ++w) {
                    if (spalten[w] != n)
                        continue;
                    Punktroh& p = punkte[basis + w];
                    p.da = true;
                    p.sekunde = zeit;
                    p.julian = julian;
                    double wert = f.art == Feldart::Zahl ? f.zahl : NaN;
                    if ((matrix_c && wert == -1) || (matrix_r && wert == 0))
                        wert = NaN;
                    p.wert = wert;
                }
                break;
            }
            default:
                lesbar = false;
            }
        }
        if (!lesbar || n == 0) {
            punkte.resize(basis);
            ++inhalt.verworfen;
            return;
        }
        const int tag = zähler.weiter(erste_zeit);
        for (size_t w = 0; w < nw; ++w) {
            punkte[basis + w].tagnummer = tag;
            if (punkte[basis + w].da && punkte[basis + w].sekunde < 0)
                ohne_zeit = true;
        }
        anzahl.push_back(n);
        abschnitt.push_back(static_cast<int>(kopfanzahl.size()) - 1);
    });
    inhalt.mit_zeit = !ohne_zeit;

    // A line with another number of values than its neighbours is one that a
    // power failure cut off and the next record continued.
    std::vector<int> erwartet(kopfanzahl.size(), -1);
    {
        std::vector<std::map<int, int>> häufigkeit(kopfanzahl.size());
        for (size_t z = 0; z < anzahl.size(); ++z)
            ++häufigkeit[static_cast<size_t>(abschnitt[z])][anzahl[z]];
        for (size_t a = 0; a < kopfanzahl.size(); ++a) {
            if (kopfanzahl[a] > 0 && häufigkeit[a].count(kopfanzahl[a])) {
                erwartet[a] = kopfanzahl[a];
                continue;
            }
            int beste = 0;
            for (const auto& [n, h] : häufigkeit[a])
                if (h > beste) {
                    beste = h;
                    erwartet[a] = n;
                }
        }
    }
    // Without a header the columns are known by position only.
    if (inhalt.namen.isEmpty() && !anzahl.empty())
        for (int k = 0; k < anzahl.back(); ++k) {
            inhalt.namen << QString();
            inhalt.einheiten << QString();
        }
    const int tage = zähler.tage;
    const QDate basis = startdatum.isValid() ? startdatum : (dateidatum.isValid() ? dateidatum : QDate::currentDate()).addDays(-tage);
    for (size_t w = 0; w < nw; ++w) {
        Reihe r;
        r.t.reserve(anzahl.size());
        r.y.reserve(anzahl.size());
        const int nr = !wahl[w].name.isEmpty() && inhalt.namen.contains(wahl[w].name)
                           ? static_cast<int>(inhalt.namen.indexOf(wahl[w].name))
                           : wahl[w].index - 1;
        if (nr >= 0 && nr < inhalt.namen.size()) {
            r.name = inhalt.namen[nr];
            r.einheit = inhalt.einheiten[nr];
        } else {
            r.name = wahl[w].name;
        }
        for (size_t z = 0; z < anzahl.size(); ++z) {
            if (anzahl[z] != erwartet[static_cast<size_t>(abschnitt[z])])
                continue;
            const Punktroh& p = punkte[z * nw + w];
            if (!p.da)
                continue;
            r.t.push_back(inhalt.mit_zeit ? Zeitpunkt(p, basis) : static_cast<double>(z + 1));
            r.y.push_back(p.wert);
        }
        inhalt.reihen.push_back(std::move(r));
    }
    for (size_t z = 0; z < anzahl.size(); ++z)
        if (anzahl[z] != erwartet[static_cast<size_t>(abschnitt[z])])
            ++inhalt.verworfen;
    return inhalt;
}

}  // namespace dadavu
