#include "calc/CalcuReihenfolge.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSignalBlocker>
#include <QStyle>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <type_traits>

#include "calc/Datenreihenfolge.h"
#include "calc/Formelrechner.h"
#include "calc/Rechenformat.h"
#include "common/Fenster.h"
#include "common/Festtext.h"
#include "common/Steuerelemente.h"
#include "common/Zahlformat.h"
#include "keyboard/Tastatur.h"
#include "platform/Dialoge.h"
#include "platform/Pfade.h"
#include "platform/Programmende.h"
#include "platform/Text1252.h"
#include "platform/Twips.h"
#include "platform/Warten.h"
#include "project/Hinweisform.h"
#include "project/Projekt.h"
#include "run/Hauptfenster.h"
#include "recording/Datenformat.h"

namespace {
constexpr int Höchstzahl_Definitionen = 200;  // records 0..199; record 200 stays the end
constexpr int Höchstzahl_Referenzen = 50;     // entries 0..49; entry 50 stays the end


QString Fehlerkopf(int n) {
    return "Fehler in Rechenformel (Zeile " + QString::number(n) + " in Datei \"Rechen.ini\"): " + QChar('\r');
}

void Programm_beenden_mit(const QString& meldung) {
    dialoge().Meldung(meldung);
    // The run start has set the power-failure record; left set, every later
    // start would resume the run and end here again. Cleared, the next start
    // comes up idle and the list can be corrected.
    if (Fenster.Hauptfenster)
        Fenster.Hauptfenster->Stromausfall_speichern(0);
    programmende().sofort_beenden();
}

// A logger value (decimal comma, a point is read as well). Runs for every
// reference of every record, so it does without regular expressions.
bool Messwert_lesen(QStringView text, double& wert) {
    char puffer[64];
    const qsizetype n = text.size();
    if (n == 0 || n >= static_cast<qsizetype>(sizeof puffer))
        return false;
    int k = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == ',' || c == '.')
            puffer[k++] = '.';
        else if ((c >= '0' && c <= '9') || c == '-' || c == '+' || c == 'E' || c == 'e')
            puffer[k++] = static_cast<char>(c);
        else
            return false;
    }
    const char* anfang = puffer;
    if (*anfang == '+')
        ++anfang;
    const auto [ende, fehler] = std::from_chars(anfang, puffer + k, wert);
    return fehler == std::errc() && ende == puffer + k && std::isfinite(wert);
}

// Appends to f the text Zahl_als_Rechentext gives for a plain logger value
// (sign, digits, decimal comma), a negative one as "(-x)", without
// converting it there and back: this runs for every reference of every
// record. False, with f unchanged, for any other form.
bool Messwert_anhängen(QStringView text, QString& f) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    bool negativ = false;
    if (i < n && (text[i] == '-' || text[i] == '+'))
        negativ = text[i++] == '-';
    qsizetype ganz_anfang = i;
    while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9')
        ++i;
    const qsizetype ganz_ende = i;
    qsizetype nach_anfang = i, nach_ende = i;
    if (i < n && text[i] == ',') {
        nach_anfang = ++i;
        while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9')
            ++i;
        nach_ende = i;
    }
    if (i != n || (ganz_ende == ganz_anfang && nach_ende == nach_anfang))
        return false;
    while (ganz_anfang < ganz_ende && text[ganz_anfang] == '0')
        ++ganz_anfang;
    while (nach_ende > nach_anfang && text[nach_ende - 1] == '0')
        --nach_ende;
    const qsizetype ganz = ganz_ende - ganz_anfang, nach = nach_ende - nach_anfang;
    if (ganz == 0 && nach == 0) {
        f += '0';  // "-0,00" too
        return true;
    }
    qsizetype signifikant = ganz + nach;
    if (ganz == 0) {
        // 0,000x and smaller are written in exponent form.
        qsizetype nullen = 0;
        while (text[nach_anfang + nullen] == '0')
            ++nullen;
        if (nullen > 3)
            return false;
        signifikant = nach - nullen;
    }
    if (signifikant > 15)
        return false;
    if (negativ)
        f += QLatin1String("(-");
    if (ganz == 0)
        f += '0';
    else
        f += text.mid(ganz_anfang, ganz);
    if (nach > 0) {
        f += ',';
        f += text.mid(nach_anfang, nach);
    }
    if (negativ)
        f += ')';
    return true;
}
}  // namespace

// ---- numbers ----------------------------------------------------------------

QString CalcuReihenfolge::Zahl_als_Rechentext(double wert) {
    if (wert == 0 || !std::isfinite(wert))
        return QStringLiteral("0");
    // A result is written up to three times a record (result list, data
    // line, logger line): the text of the last few values is kept.
    struct Gemerkt {
        double wert = 0;
        QString text;
    };
    static Gemerkt gemerkt[512];
    Gemerkt& platz = gemerkt[std::hash<double>{}(wert) % std::size(gemerkt)];
    if (platz.wert == wert && !platz.text.isEmpty())
        return platz.text;

    // 15 significant digits, as "%.14e" gives them.
    char roh[40];
    const auto [roh_ende, fehler] =
        std::to_chars(roh, roh + sizeof roh, std::fabs(wert), std::chars_format::scientific, 14);
    if (fehler != std::errc())
        return QStringLiteral("0");
    const char* e = std::find(roh, roh_ende, 'e');
    int exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+'), roh_ende, exponent);
    char ziffern[20];
    int n = 0;
    ziffern[n++] = roh[0];
    for (const char* z = roh + 2; z < e; ++z)
        ziffern[n++] = *z;
    while (n > 1 && ziffern[n - 1] == '0')
        --n;

    char text[64];
    int t = 0;
    if (wert < 0)
        text[t++] = '-';
    if (exponent >= 15 || exponent < -4) {
        text[t++] = ziffern[0];
        if (n > 1) {
            text[t++] = ',';
            for (int i = 1; i < n; ++i)
                text[t++] = ziffern[i];
        }
        text[t++] = 'E';
        t = static_cast<int>(std::to_chars(text + t, text + sizeof text, exponent).ptr - text);
    } else if (exponent < 0) {
        text[t++] = '0';
        text[t++] = ',';
        for (int i = 0; i < -exponent - 1; ++i)
            text[t++] = '0';
        for (int i = 0; i < n; ++i)
            text[t++] = ziffern[i];
    } else {
        for (int i = 0; i < std::max(n, exponent + 1); ++i) {
            if (i == exponent + 1)
                text[t++] = ',';
            text[t++] = i < n ? ziffern[i] : '0';
        }
    }
    platz.wert = wert;
    platz.text = QString::fromLatin1(text, t);
    return platz.text;
}

// ---- page -------------------------------------------------------------------

CalcuReihenfolge::CalcuReihenfolge(QWidget* eltern) : QWidget(eltern) {
    Fenster.CalcuReihenfolge = this;
    setObjectName("CalcuReihenfolge");
    setAutoFillBackground(true);

    Label1 = new QLabel("berechnete Werte", this);
    QFont fett = Label1->font();
    fett.setBold(true);
    fett.setPixelSize(13);
    Label1->setFont(fett);
    Label1->setAlignment(Qt::AlignCenter);
    Twips::Geometrie(Label1, 0, 0, 4800, 300);

    Frame1 = new QGroupBox("Rechenformeln", this);
    Twips::Geometrie(Frame1, 60, 270, 4680, 1590);
    List2 = new QListWidget(Frame1);
    List2->setObjectName("List2");
    Twips::Geometrie(List2, 90, 240, 4500, 1260);

    Frame2 = new QGroupBox("Speicherart", this);
    Twips::Geometrie(Frame2, 60, 1920, 2460, 1140);
    Option1 = new QRadioButton("separat speichern", Frame2);
    Twips::Geometrie(Option1, 90, 300, 2340, 300);
    Option2 = new QRadioButton("an Rohdaten anhängen", Frame2);
    Twips::Geometrie(Option2, 90, 690, 2340, 300);

    List1 = new QListWidget(this);
    List1->setObjectName("List1");
    Twips::Geometrie(List1, 2580, 1980, 2160, 720);
    Command5 = new QPushButton("Test", this);
    Twips::Geometrie(Command5, 2580, 2730, 1050, 360);
    Command6 = new QPushButton("Test NaN", this);
    Twips::Geometrie(Command6, 3690, 2730, 1050, 360);

    Command2 = new QPushButton(this);
    Command2->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    Twips::Geometrie(Command2, 60, 3180, 450, 390);
    Command3 = new QPushButton("Speichern", this);
    Twips::Geometrie(Command3, 600, 3180, 1140, 390);
    Command4 = new QPushButton("Abbrechen", this);
    Twips::Geometrie(Command4, 1800, 3180, 1140, 390);
    Command8 = new QPushButton("Hilfe", this);
    Twips::Geometrie(Command8, 3000, 3180, 900, 390);
    Command1 = new QPushButton(this);
    Command1->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    Twips::Geometrie(Command1, 4290, 3180, 450, 390);

    connect(List2, &QListWidget::itemDoubleClicked, this, [this] { List2_DblClick(); });
    connect(Option1, &QRadioButton::toggled, this, [this](bool an) { if (an) Option1_Click(); });
    connect(Option2, &QRadioButton::toggled, this, [this](bool an) { if (an) Option2_Click(); });
    connect(Command1, &QPushButton::clicked, this, &CalcuReihenfolge::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &CalcuReihenfolge::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &CalcuReihenfolge::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &CalcuReihenfolge::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &CalcuReihenfolge::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &CalcuReihenfolge::Command6_Click);
    connect(Command8, &QPushButton::clicked, this, &CalcuReihenfolge::Command8_Click);
    // The keyboard edits formulas for this page: references are one unit, the
    // scan list's signals are offered, "Return" takes the formula over.
    Tastatur::Aufrufer_anmelden("CalcuReihenfolge",
                                Tastatur::Aufruferregel{true, true,
                                                        [](Tastatur& tastatur, const QString& text) {
                                                            if (Fenster.CalcuReihenfolge)
                                                                Fenster.CalcuReihenfolge->Formel_übernehmen(text, &tastatur);
                                                        },
                                                        [] {
                                                            if (Fenster.CalcuReihenfolge)
                                                                Fenster.CalcuReihenfolge->wiederherstellen();
                                                        }});
    hide();
}

CalcuReihenfolge::~CalcuReihenfolge() {
    if (Fenster.CalcuReihenfolge == this)
        Fenster.CalcuReihenfolge = nullptr;
}

void CalcuReihenfolge::Form_Load() {
    Twips::Geometrie(this, 0, 0, 4800, 3600);
    Stationsschalter_anwenden(Command8, Command4);
    if (Daten.Testlabels == 0)
        CalcureihenfolgeTest_Aus();
}

void CalcuReihenfolge::showEvent(QShowEvent* ereignis) {
    if (List2->count() == 0)
        List2->addItem(Leerer_Eintrag);
    for (const Ergebnisanzeige& e : std::as_const(Ergebnisse_offen_))
        List1->addItem(Ergebniszeile(e.Name, e.Wert, e.Einheit));
    Ergebnisse_offen_.clear();
    QWidget::showEvent(ereignis);
}

QStringList CalcuReihenfolge::Definitionszeilen() const {
    QStringList zeilen;
    for (int i = 0; i + 1 < List2->count(); ++i)
        zeilen << List2->item(i)->text();
    return zeilen;
}

// ---- Rechen.ini -------------------------------------------------------------

QString CalcuReihenfolge::Rechenini_Pfad() {
    return Pfade::lokal("c:\\kestrix\\extern\\config\\" + Daten.Projektkurzname + "\\Rechen.ini");
}

void CalcuReihenfolge::rechnenini_lesen() {
    List2->clear();
    QFile datei(Rechenini_Pfad());
    if (!datei.open(QIODevice::ReadOnly)) {
        List2->addItem(Leerer_Eintrag);
        return;
    }
    const QString inhalt = Text1252::dekodieren(datei.readAll());
    datei.close();
    // Lines end in CR LF; a lone CR or LF ends one as well, and a last line
    // without its end still counts.
    QString zeile;
    bool offen = false;
    for (qsizetype i = 0; i < inhalt.size(); ++i) {
        const QChar c = inhalt[i];
        if (c == '\r' || c == '\n') {
            List2->addItem(zeile);
            zeile.clear();
            offen = false;
            if (c == '\r' && i + 1 < inhalt.size() && inhalt[i + 1] == '\n')
                ++i;
        } else {
            zeile += c;
            offen = true;
        }
    }
    if (offen)
        List2->addItem(zeile);
    List2->addItem(Neuer_Eintrag);
}

void CalcuReihenfolge::rechenini_rückspeichern() {
    // Only the closing entry: the file on disk stays as it is.
    if (List2->count() <= 1)
        return;
    const QString pfad = Rechenini_Pfad();
    QDir().mkpath(QFileInfo(pfad).absolutePath());
    QByteArray inhalt;
    for (const QString& zeile : Definitionszeilen())
        inhalt += Text1252::kodieren(zeile) + "\r\n";
    // The new file replaces the old one only once it is written completely,
    // so a failed write keeps the definitions that were there.
    QSaveFile datei(pfad);
    if (datei.open(QIODevice::WriteOnly)) {
        datei.write(inhalt);
        datei.commit();
    }
}

// ---- binding ----------------------------------------------------------------

bool CalcuReihenfolge::Klammernzählen(const QString& zeile, int n) {
    if (zeile.count('(') == zeile.count(')'))
        return true;
    Programm_beenden_mit(Fehlerkopf(n) +
                         "Fehlerhafte Klammersetzung. Bitte Formel auf gleiche Anzahl von \"(\" und \")\" überprüfen!");
    return false;
}

void CalcuReihenfolge::Definition_zerlegen(const QString& zeile, Rechensatz& satz) {
    satz.Name.clear();
    satz.Einheit.clear();
    satz.Format.clear();
    satz.Formel = zeile;
    const qsizetype gleich = zeile.indexOf('=');
    if (gleich >= 0) {
        satz.Name = zeile.left(gleich);
        satz.Formel = zeile.mid(gleich + 1);
    }
    // The unit starts at the first "_" outside every reference.
    bool in_Referenz = false;
    for (qsizetype i = 0; i < satz.Formel.size(); ++i) {
        const QChar c = satz.Formel[i];
        if (c == '[')
            in_Referenz = true;
        else if (c == ']')
            in_Referenz = false;
        else if (c == '_' && !in_Referenz) {
            satz.Einheit = satz.Formel.mid(i + 1);
            satz.Formel.truncate(i);
            const qsizetype zweiter = satz.Einheit.indexOf('_');
            if (zweiter >= 0) {
                satz.Format = satz.Einheit.mid(zweiter + 1);
                satz.Einheit.truncate(zweiter);
            }
            break;
        }
    }
}

bool CalcuReihenfolge::CalcuVar_vorbelegen() { return CalcuVar_vorbelegen(Definitionszeilen()); }

bool CalcuReihenfolge::CalcuVar_vorbelegen(const QStringList& definitionen) {
    // Records of an earlier, longer list must not be computed again.
    Calcuvar_reseten();
    const int anzahl = std::min<int>(static_cast<int>(definitionen.size()), Höchstzahl_Definitionen);
    for (int k = 0; k < anzahl; ++k) {
        const QString& zeile = definitionen[k];
        if (!Klammernzählen(zeile, k + 1))
            return false;
        Rechensatz& satz = Daten.Rechentabelle[k];
        Definition_zerlegen(zeile, satz);
        if (!satz.Formel.contains('['))
            continue;
        QStringList liste(51);
        Referenzen_auflisten(satz.Formel, liste);
        // A reference beyond the fiftieth stays unbound; its brackets then
        // make the formula invalid (9E99) instead of overrunning the record.
        for (int j = 0; j < Höchstzahl_Referenzen && !liste[j].isEmpty(); ++j) {
            const qsizetype trenner = liste[j].indexOf(';');
            satz.Referenzposition[j] = static_cast<i16>(liste[j].left(trenner).toInt());
            satz.Referenzname[j] = liste[j].mid(trenner + 1);
            const QString gesucht = Trim(satz.Referenzname[j]);
            int gefunden = 0;
            for (int i = 1; i <= 120 && gefunden == 0; ++i)
                if (Trim(Daten.Scanlistentabelle[i].Signalname.text()) == gesucht)
                    gefunden = i;
            if (gefunden == 0) {
                Programm_beenden_mit(Fehlerkopf(k + 1) + "Signalname \"" + satz.Referenzname[j] +
                                     "\" nicht in Kanalbelegungsliste vorhanden!");
                return false;
            }
            satz.Scanposition[j] = static_cast<i16>(gefunden);
        }
    }
    return true;
}

// ---- computing --------------------------------------------------------------

namespace {

// A formula taken apart once for a run: the text between its references
// with a Formelplatz for each, and the record it was made from, so that an
// edited record is seen (the copies keep the texts' data, so an unchanged
// data pointer means an unchanged text).
struct Formelvorlage {
    QString formel;
    QString namen[51];
    i16 positionen[51] = {};
    i16 plätze_scan[51] = {};
    QString text;
    int plätze = 0;
    bool brauchbar = false;  // false: the record is computed from its text

    bool gilt_für(const Rechensatz& satz) const {
        if (formel.constData() != satz.Formel.constData() || formel.size() != satz.Formel.size() ||
            std::memcmp(positionen, satz.Referenzposition, sizeof positionen) != 0 ||
            std::memcmp(plätze_scan, satz.Scanposition, sizeof plätze_scan) != 0)
            return false;
        for (int j = 0; j < 51; ++j)
            if (namen[j].constData() != satz.Referenzname[j].constData() || namen[j].size() != satz.Referenzname[j].size())
                return false;
        return true;
    }
};

bool ist_Operatorzeichen(QChar c) { return c != QChar() && QStringView(u"+-*/^()").contains(c); }

// Where a reference stands between operators, its value can be put in as a
// number without reading its text again; anything else (a value glued to a
// digit, an exponent, a function name, or read as "(-x" by the "(") is
// computed from the text.
void zerlegen(const Rechensatz& satz, Formelvorlage& v) {
    v.formel = satz.Formel;
    for (int j = 0; j < 51; ++j)
        v.namen[j] = satz.Referenzname[j];
    std::memcpy(v.positionen, satz.Referenzposition, sizeof v.positionen);
    std::memcpy(v.plätze_scan, satz.Scanposition, sizeof v.plätze_scan);
    v.text = QStringLiteral("0+");
    v.plätze = 0;
    v.brauchbar = !satz.Formel.contains(Formelplatz);
    qsizetype gelesen = 0;
    for (int j = 0; j <= 50 && v.brauchbar && !satz.Referenzname[j].isEmpty(); ++j) {
        const qsizetype anfang = satz.Referenzposition[j] - 1;
        const qsizetype danach = anfang + satz.Referenzname[j].size() + 2;
        if (anfang < gelesen || danach > satz.Formel.size()) {
            v.brauchbar = false;
            break;
        }
        v.text += QStringView(satz.Formel).mid(gelesen, anfang - gelesen);
        const QChar links = v.text.back(), davor = v.text.size() >= 2 ? v.text[v.text.size() - 2] : QChar();
        const QChar rechts = danach < satz.Formel.size() ? satz.Formel[danach] : QChar('+');
        v.brauchbar = ist_Operatorzeichen(links) && ist_Operatorzeichen(rechts) &&
                      !((links == '+' || links == '-') && davor == 'E') && !(links == '-' && davor == '(');
        v.text += Formelplatz;
        ++v.plätze;
        gelesen = danach;
    }
    v.text += QStringView(satz.Formel).mid(gelesen);
    v.text += QStringLiteral("+0");
}

// The value of a scan position as a reference takes it, kept while the
// logger value stays the same.
struct Platzwert {
    enum Art : char { offen, ungültig, Zahl, nur_als_Text };
    QString logwert;
    Art art = offen;
    double wert = 0;
};

const Platzwert& Platzwert_von(int position) {
    static Platzwert werte[121];
    static const Platzwert außerhalb{{}, Platzwert::ungültig, 0};
    if (position < 1 || position > 120)
        return außerhalb;
    Platzwert& w = werte[position];
    const QString& logwert = Daten.Messwerttexte[position].Logwert;
    if (w.art != Platzwert::offen && w.logwert == logwert)
        return w;
    w.logwert = logwert;
    const QString v = Trim(logwert);
    QString text;
    double x = 0;
    if (v == u"NaN") {
        w.art = Platzwert::ungültig;
        return w;
    }
    if (!Messwert_anhängen(v, text)) {
        if (!Messwert_lesen(v, x)) {
            w.art = Platzwert::ungültig;
            return w;
        }
        const QString s = CalcuReihenfolge::Zahl_als_Rechentext(x);
        text = x < 0 ? '(' + s + ')' : s;
    }
    // The number the evaluator reads from that text.
    const bool klammer = text.startsWith(QLatin1String("(-")) && text.endsWith(')');
    const bool gelesen = klammer ? Rechenzahl_lesen(QStringView(text).mid(2, text.size() - 3), x)
                                 : Rechenzahl_lesen(text, x);
    w.art = gelesen ? Platzwert::Zahl : Platzwert::nur_als_Text;
    w.wert = klammer ? -x : x;
    return w;
}

Formelvorlage* Vorlage_für(const Rechensatz& satz) {
    static Formelvorlage vorlagen[std::extent_v<decltype(Programmdaten::Rechentabelle)>];
    const Rechensatz* tabelle = Daten.Rechentabelle;
    if (std::less<const Rechensatz*>()(&satz, tabelle) ||
        !std::less<const Rechensatz*>()(&satz, tabelle + std::size(vorlagen)))
        return nullptr;
    Formelvorlage& v = vorlagen[&satz - tabelle];
    if (!v.gilt_für(satz))
        zerlegen(satz, v);
    return &v;
}

}  // namespace

double CalcuReihenfolge::Rechensatz_berechnen(const Rechensatz& satz) {
    if (const Formelvorlage* v = Vorlage_für(satz); v && v->brauchbar) {
        double werte[51];
        bool als_Text = false;
        for (int j = 0; j < v->plätze && !als_Text; ++j) {
            const Platzwert& w = Platzwert_von(satz.Scanposition[j]);
            if (w.art == Platzwert::ungültig)
                return Ungültiger_Wert;
            als_Text = w.art == Platzwert::nur_als_Text;
            werte[j] = w.wert;
        }
        if (!als_Text) {
            double ergebnis = 0;
            i16 fehler = 0;
            Vorlage_berechnen(v->text, werte, ergebnis, fehler);
            return ergebnis;
        }
    }
    return Rechensatz_aus_Text(satz);
}

double CalcuReihenfolge::Rechensatz_aus_Text(const Rechensatz& satz) {
    QString f;
    f.reserve(satz.Formel.size() + 16 * Höchstzahl_Referenzen);
    qsizetype gelesen = 0;  // characters of Formel already taken over
    for (int j = 0; j <= Höchstzahl_Referenzen; ++j) {
        if (satz.Referenzname[j].isEmpty())
            break;
        const int position = satz.Scanposition[j];
        const QString v = position >= 1 && position <= 120 ? Trim(Daten.Messwerttexte[position].Logwert) : QString();
        if (v == u"NaN")
            return Ungültiger_Wert;
        // Each reference is replaced where it stands; the references come in
        // formula order, so the text is built from left to right.
        const qsizetype anfang = satz.Referenzposition[j] - 1;
        const qsizetype danach = anfang + satz.Referenzname[j].size() + 2;
        if (anfang < gelesen || danach > satz.Formel.size())
            return Ungültiger_Wert;
        f += QStringView(satz.Formel).mid(gelesen, anfang - gelesen);
        if (!Messwert_anhängen(v, f)) {
            double x = 0;
            // No reading to put in (never measured, not a number).
            if (!Messwert_lesen(v, x))
                return Ungültiger_Wert;
            // A negative value goes in as "(-x)", the only negative operand
            // the evaluator knows.
            const QString s = Zahl_als_Rechentext(x);
            f += x < 0 ? '(' + s + ')' : s;
        }
        gelesen = danach;
    }
    f += QStringView(satz.Formel).mid(gelesen);
    double ergebnis = 0;
    i16 fehler = 0;
    Formel_berechnen(f, ergebnis, fehler);
    return ergebnis;
}

QString CalcuReihenfolge::Ergebniszeile(const Rechensatz& satz) {
    return Ergebniszeile(satz.Name, satz.Ergebnis, satz.Einheit);
}

QString CalcuReihenfolge::Ergebniszeile(const QString& name, double wert, const QString& einheit) {
    return name + " :" + Zahl_als_Rechentext(wert) + " " + einheit;
}

void CalcuReihenfolge::CalcuVar_berechnen() {
    List1->clear();
    Ergebnisse_offen_.clear();
    // The window's events are taken after a line once a millisecond has
    // passed since they were last taken: asking the event loop after each of
    // 200 lines that take a microsecond each would cost more than the lines.
    QElapsedTimer seit_Ereignissen;
    seit_Ereignissen.start();
    for (int k = 0; k < Höchstzahl_Definitionen && !Daten.Rechentabelle[k].Formel.isEmpty(); ++k) {
        Rechensatz& satz = Daten.Rechentabelle[k];
        satz.Ergebnis = Rechensatz_berechnen(satz);
        if (List1->isVisible())
            List1->addItem(Ergebniszeile(satz));
        else
            Ergebnisse_offen_.append({satz.Name, satz.Ergebnis, satz.Einheit});
        if (seit_Ereignissen.nsecsElapsed() >= 1'000'000) {
            Ereignisse_verarbeiten();
            seit_Ereignissen.restart();
        }
    }
}

void CalcuReihenfolge::RechnenLogzeile_erstellen() {
    if (Daten.Datenloggersatz.Datenlogger_ein != 1)
        return;
    Rechenlogteil.clear();
    for (int k = 0; k <= Höchstzahl_Definitionen && !Daten.Rechentabelle[k].Name.isEmpty(); ++k) {
        const Rechensatz& satz = Daten.Rechentabelle[k];
        // The invalid-value marker stays "9E99" whatever the pattern, as in
        // every other data file.
        const bool punkt = Daten.Datenloggersatz.Dezimalpunkt == 1;
        QString t;
        if (satz.Format.isEmpty() || satz.Ergebnis == Ungültiger_Wert) {
            t = Zahl_als_Rechentext(satz.Ergebnis);
            if (punkt)
                Datenformat::KommazuPunkt(t);
        } else {
            t = Rechenformat::anwenden(satz.Ergebnis, satz.Format, punkt);
        }
        Rechenlogteil += t + Daten.Logtrennzeichen;
    }
}

void CalcuReihenfolge::RechnenDatzeile_erstellen() {
    Rechendatenteil.clear();
    const Datenformatsatz_t& format = Daten.Datenformatsatz;
    for (int k = 0; k <= Höchstzahl_Definitionen; ++k) {
        const Rechensatz& satz = Daten.Rechentabelle[k];
        const QString name = Trim(satz.Name);
        if (name.isEmpty())
            break;
        const QString n = format.Signalnamen == 1 ? name + Daten.Trennzeichen : QString();
        const QString u = format.Einheiten == 1 ? Trim(satz.Einheit) + Daten.Trennzeichen : QString();
        QString t = Zahl_als_Rechentext(satz.Ergebnis);
        if (format.Dezimalpunkt == 1)
            Datenformat::KommazuPunkt(t);
        Rechendatenteil += t + Daten.Trennzeichen + n + u;
    }
}

void CalcuReihenfolge::RechnenHeader_erstellen() {
    if (Daten.Datenloggersatz.Header_ein != 1)
        return;
    // The separate ".cal" file starts its lines with a time.
    Rechenkopf = Daten.Datenloggersatz.Zeit_ein == 1 && Daten.Knopfzustände[8] == -1
                     ? "Zeit/Datum" + Daten.Logtrennzeichen
                     : QString();
    for (int k = 0; k <= Höchstzahl_Definitionen; ++k) {
        const Rechensatz& satz = Daten.Rechentabelle[k];
        const QString name = Trim(satz.Name);
        if (name.isEmpty())
            break;
        Rechenkopf += name + " [" + Trim(satz.Einheit) + "]" + Daten.Logtrennzeichen;
    }
}

void CalcuReihenfolge::Scan_berechnen() {
    CalcuVar_berechnen();
    RechnenHeader_erstellen();
    RechnenLogzeile_erstellen();
}

void CalcuReihenfolge::Testmesswerte() {
    Daten.Messwerttexte[1].Logwert = "3,2";
    Daten.Messwerttexte[2].Logwert = "4,3";
    Daten.Messwerttexte[3].Logwert = "5,6";
}

void CalcuReihenfolge::Calcuvar_reseten() {
    for (Rechensatz& satz : Daten.Rechentabelle)
        satz = Rechensatz{};
}

// ---- options, lists, test controls ----------------------------------------

void CalcuReihenfolge::Speicherart_Knöpfe_setzen() {
    Optionen_setzen(Option2, Daten.Knopfzustände[7] != 0, Option1, Daten.Knopfzustände[8] != 0);
    // A project that stored neither appends, so that is what the page shows;
    // the stored elements stay as they are.
    if (Daten.Knopfzustände[7] == 0 && Daten.Knopfzustände[8] == 0) {
        const QSignalBlocker sperre(Option2);
        Option2->setChecked(true);
    }
}

void CalcuReihenfolge::Option1_Click() {
    Daten.Knopfzustände[7] = 0;
    Daten.Knopfzustände[8] = -1;
}

void CalcuReihenfolge::Option2_Click() {
    Daten.Knopfzustände[7] = -1;
    Daten.Knopfzustände[8] = 0;
}

QStringList CalcuReihenfolge::Scanlistensignale() {
    QStringList namen;
    for (int i = 1; i <= 120; ++i) {
        const QString name = Daten.Scanlistentabelle[i].Signalname.text();
        if (name.isEmpty() || name.startsWith(QChar('\0')))
            break;
        namen << name;
    }
    return namen;
}

void CalcuReihenfolge::Scanlistübernahme() { Signalliste = Scanlistensignale(); }

void CalcuReihenfolge::CalcureihenfolgeTest_Aus() {
    Command5->setEnabled(false);
    Command6->setEnabled(false);
    List1->setEnabled(false);
}

void CalcuReihenfolge::CalcureihenfolgeTest_Ein() {
    if (Daten.Testlabels != 1)
        return;
    Command5->setEnabled(true);
    Command6->setEnabled(true);
    List1->setEnabled(true);
}

// ---- keyboard -----------------------------------------------------------------

void CalcuReihenfolge::Tastatur_öffnen(const QString& text) {
    Tastaturtext = text;
    if (Tastatur* tastatur = Fenster.Tastatur) {
        tastatur->Text1->setText(text);
        tastatur->zeigen();
    }
}

void CalcuReihenfolge::List2_DblClick() {
    const int zeile = List2->currentRow();
    if (zeile < 0)
        return;
    QString text = List2->item(zeile)->text();
    if (text == Leerer_Eintrag || text == Neuer_Eintrag) {
        text.clear();
        if (List2->count() == 1 && List2->item(0)->text() == Leerer_Eintrag)
            List2->item(0)->setText(Neuer_Eintrag);
    }
    Frame1->setEnabled(false);
    Frame2->setEnabled(false);
    Daten.Tastaturaufrufer = "CalcuReihenfolge";
    Tastatur_öffnen(text);
}

void CalcuReihenfolge::wiederherstellen() {
    Frame1->setEnabled(true);
    Frame2->setEnabled(true);
    setEnabled(true);
    show();
    raise();
}

namespace {
// "Return": a definition line needs its "=".
const QString Formelfehler_Hinweis = QStringLiteral("Fehler im Rechenstring!");
}  // namespace

bool CalcuReihenfolge::Formel_übernehmen(const QString& text, QWidget* tastatur) {
    if (!text.contains('=')) {
        if (Fenster.Hinweisform)
            Fenster.Hinweisform->zeigen_Ok(tastatur, Formelfehler_Hinweis);
        else
            dialoge().Meldung(Formelfehler_Hinweis);
        return false;
    }
    Rechensatz satz;
    Definition_zerlegen(text, satz);
    if (!satz.Format.isEmpty() && !Rechenformat::anwendbar(satz.Format)) {
        dialoge().Meldung(Rechenformat::Meldung(satz.Format));
        return false;
    }
    // On the closing entry (or with nothing selected) the formula is a new
    // line before it; on a definition it replaces that one.
    const int zeile = List2->currentRow();
    const bool neu = zeile < 0 || zeile >= List2->count() - 1 || List2->count() == 0;
    if (List2->count() == 0)
        List2->addItem(Neuer_Eintrag);
    if (neu)
        List2->insertItem(List2->count() - 1, text);
    else
        List2->item(zeile)->setText(text);
    wiederherstellen();
    Calcuvar_reseten();
    if (tastatur)
        tastatur->hide();
    Daten.Headermerker = 1;
    return true;
}

// ---- buttons ------------------------------------------------------------------

void CalcuReihenfolge::Command1_Click() {
    Seite_zeigen(Fenster.Datenformat);
}

void CalcuReihenfolge::Command2_Click() { hide(); }

void CalcuReihenfolge::Command3_Click() {
    if (Fenster.Projekt)
        Fenster.Projekt->speichern();
    else
        rechenini_rückspeichern();  // no project page loaded: this page's part of the save
}

// "Abbrechen" hides the recording-order page, as it always did.
void CalcuReihenfolge::Command4_Click() {
    if (Fenster.Datenreihenfolge)
        Fenster.Datenreihenfolge->setVisible(false);
}

void CalcuReihenfolge::Command5_Click() {
    Testmesswerte();
    if (CalcuVar_vorbelegen())
        Scan_berechnen();
}

void CalcuReihenfolge::Command6_Click() {
    if (!CalcuVar_vorbelegen())
        return;
    QString text = "NaN";
    Datenformat::KommazuPunkt(text);
    List1->addItem(text);
}

void CalcuReihenfolge::Command8_Click() {}
