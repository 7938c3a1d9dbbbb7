#include "points/MBForm1.h"

#include <QSignalBlocker>

#include <cmath>
#include <limits>

#include "common/Fenster.h"
#include "common/Steuerelemente.h"
#include "common/Zahlformat.h"
#include "calc/Scanlist.h"
#include "platform/Dialoge.h"
#include "platform/Twips.h"
#include "points/Messblocktastatur.h"
#include "points/Messblockwerte.h"
#include "points/Messstellentabellen.h"
#include "project/Projekt.h"
#include "recording/Datenformat.h"

MBForm1::Funktionseintrag MBForm1::Funktionstabelle[18];
MBForm1::Bereichseintrag MBForm1::Bereichstabelle[18][7];
MBForm1::Listeneintrag MBForm1::NPLC_Liste[12];
MBForm1::Listeneintrag MBForm1::Digits_Liste[4];
QString MBForm1::AnzahlMsg_Liste[9];
MBForm1::Listeneintrag MBForm1::Average_Liste[7];
QString MBForm1::Mittelungsart_Befehle[2];
QString MBForm1::Autozero_Befehle[2];
QString MBForm1::Sensorliste[9];
MBForm1::Auswertesatz_t MBForm1::Auswertesatz;

namespace {
bool tabellen_gefüllt = false;
const QChar CR('\r');

// Index fields are held as floats in the block record.
int Index(float wert) { return std::isfinite(wert) ? static_cast<int>(std::lround(wert)) : -1; }
bool im_Bereich(int i, int bis) { return i >= 0 && i < bis; }

const MBForm1::Bereichseintrag& Bereichseintrag_von(int f, int r) {
    static const MBForm1::Bereichseintrag leer;
    return im_Bereich(f, 18) && im_Bereich(r, 7) ? MBForm1::Bereichstabelle[f][r] : leer;
}

QString Befehl_von(const MBForm1::Listeneintrag* liste, int anzahl, int i) {
    return im_Bereich(i, anzahl) ? liste[i].Befehl : QString();
}

QString Einheit_des_Blocks(const Messblocksatz& block) {
    return Bereichseintrag_von(block.Funktionsnummer, Index(block.Bereich)).Einheit;
}

QGroupBox* Rahmen(QWidget* eltern, const QString& titel, int l, int t, int w, int h) {
    auto* r = new QGroupBox(titel, eltern);
    Twips::Geometrie(r, l, t, w, h);
    return r;
}

QComboBox* Liste(QWidget* eltern, const char* name, int l, int t, int w, int h) {
    auto* c = new QComboBox(eltern);
    c->setObjectName(name);
    Twips::Geometrie(c, l, t, w, h);
    return c;
}

QPushButton* Knopf(QWidget* eltern, const char* name, const QString& text, int l, int t, int w, int h) {
    auto* k = new QPushButton(text, eltern);
    k->setObjectName(name);
    Twips::Geometrie(k, l, t, w, h);
    return k;
}
}  // namespace

// ---- tables --------------------------------------------------------------------

void MBForm1::Tabellen_bereitstellen() {
    if (tabellen_gefüllt)
        return;
    tabellen_gefüllt = true;

    struct F { const char* name; const char* wort; const char* präfix; i16 bereich; };
    static const F funktionen[18] = {
        {"Gleichspannung", "VOLT", ":VOLT:DC", 3},   {"Wechselspannung", "VOLT:AC", ":VOLT:AC", 3},
        {"Widerstand", "RES", ":RES", 4},            {"4-Draht Widerst.", "FRES", ":FRES", 4},
        {"Gleichstrom", "VOLT", ":VOLT:DC", 1},      {"Wechselstrom", "VOLT:AC", ":VOLT:AC", 0},
        {"Temperatur", "RES", ":RES", 0},            {"Frequenz", "FREQ", ":FREQ", 0},
        {"Impuls IZ1-200", "", "", 0},               {"PT 100 2-Draht", "RES", ":RES", 0},
        {"PT 100 4-Draht", "FRES", ":FRES", 0},      {"PT 1000 2-Draht", "RES", ":RES", 0},
        {"PT 1000 4-Draht", "FRES", ":FRES", 0},     {"KTY 1X-6", "RES", ":RES", 0},
        {"1N 4148", "DIOD", ":DIOD", 0},             {"Thermoelement J", "TEMP", ":TEMP", 1},
        {"Thermoelement K", "TEMP", ":TEMP", 1},     {"Thermoelement T", "TEMP", ":TEMP", 1}};
    for (int f = 0; f < 18; ++f) {
        const F& e = funktionen[f];
        // The pulse counter is read from a box variable: no function command.
        const QString wort = QString::fromUtf8(e.wort);
        Funktionstabelle[f] = {QString::fromUtf8(e.name), wort.isEmpty() ? QString() : ":FUNC \"" + wort + "\"",
                               QString::fromUtf8(e.präfix), e.bereich};
    }

    for (auto& zeile : Bereichstabelle)
        for (Bereichseintrag& e : zeile)
            e = {};
    auto setzen = [](int f, int r, const char* text, const char* format, const char* einheit, const char* befehl) {
        Bereichstabelle[f][r] = {QString::fromUtf8(text), QString::fromUtf8(format), QString::fromUtf8(einheit),
                                 QString::fromUtf8(befehl)};
    };
    // DC voltage; AC voltage has the same ranges with AC units.
    setzen(0, 0, "100.0000 mV", "000.0", "mV DC", ":RANG 0.1");
    setzen(0, 1, "1.000000  V", "0.000", "V DC", ":RANG 1.0");
    setzen(0, 2, "10.00000  V", "00.00", "V DC", ":RANG 10");
    setzen(0, 3, "30.0000   V", "00.00", "V DC", ":RANG 100");
    setzen(0, 4, "", "auto", "V DC", ":RANG:AUTO ON");
    for (int r = 0; r <= 4; ++r) {
        Bereichstabelle[1][r] = Bereichstabelle[0][r];
        Bereichstabelle[1][r].Einheit = r == 0 ? "mV AC" : "V AC";
    }
    // Two- and four-wire resistance.
    setzen(2, 0, "100.0000  Ohm", "000.0", "Ohm", ":RANG 100");
    setzen(2, 1, "1.000000 kOhm", "0.000", "kOhm", ":RANG 1000");
    setzen(2, 2, "10.00000 kOhm", "00.00", "kOhm", ":RANG 10000");
    setzen(2, 3, "100.0000 kOhm", "000.0", "kOhm", ":RANG 100000");
    setzen(2, 4, "1.000000 MOhm", "0.000", "MOhm", ":RANG 1000000");
    setzen(2, 5, "", "auto", "Ohm", ":RANG:AUTO ON");
    for (int r = 0; r <= 5; ++r)
        Bereichstabelle[3][r] = Bereichstabelle[2][r];
    // Currents are measured as the voltage across a shunt.
    setzen(4, 0, "4-20mA 100 Ohm", "000.0", "mA DC", ":RANG 10");
    setzen(4, 1, "0-20mA 100 Ohm", "000.0", "mA DC", ":RANG 10");
    setzen(4, 2, "100mA    1 Ohm", "000.0", "mA DC", ":RANG 0.1");
    setzen(4, 3, "1A     0,1 Ohm", "0.000", "A DC", ":RANG 0.1");
    setzen(4, 4, "10A   0,01 Ohm", "00.00", "A DC", ":RANG 0.1");
    setzen(5, 0, "20mA   100 Ohm", "000.0", "mA DC", ":RANG 10");
    setzen(5, 1, "100mA    1 Ohm", "000.0", "mA DC", ":RANG 0.1");
    setzen(5, 2, "1A     0,1 Ohm", "0.000", "A DC", ":RANG 0.1");
    setzen(5, 3, "10A   0,01 Ohm", "00.00", "A DC", ":RANG 0.1");
    setzen(6, 0, "1000.000  Ohm", "000.0", "°C", ":RANG 1000");
    setzen(7, 0, "3Hz-500kHz 1V", "auto", "Hz", ":THR:VOLT:RANG 1");
    setzen(7, 1, "3Hz-500kHz 10V", "auto", "Hz", ":THR:VOLT:RANG 10");
    setzen(7, 2, "3Hz-500kHz 30V", "auto", "Hz", ":THR:VOLT:RANG 30");
    setzen(8, 0, "NAMUR Puls[ms]", "000.0", "ms", "1000000050000");
    setzen(8, 1, "0-10V Puls[ms]", "000.0", "ms", "0000000050000");
    setzen(8, 2, "", "0000.", "s", ":Pulsdauer [s]");
    setzen(8, 3, "Betr.-Std. [h]", "0000.", "h", ":Betr.-Std. [h]");
    setzen(9, 0, "1000.000  Ohm", "000.0", "°C", ":RANG 1000");
    setzen(10, 0, "1000.000  Ohm", "000.0", "°C", ":RANG 1000");
    for (int f : {11, 12, 13})
        setzen(f, 0, "10000.00  Ohm", "000.0", "°C", ":RANG 10000");
    setzen(14, 0, "10000.00  Ohm", "0.000", "V", ":CURR:RANG 0.1e-3");
    setzen(15, 0, "-200 - 760°C", "000.0", "°C", ":TC:TYPE J");
    setzen(16, 0, "-200 - 1372°C", "0000", "°C", ":TC:TYPE K");
    setzen(17, 0, "-200 - 400°C", "000.0", "°C", ":TC:TYPE T");

    const char* const nplc[12][2] = {{"0.01", "0.01"}, {" 0.1", "0.1"}, {" 0.2", "0.2"}, {" 0.3", "0.3"},
                                     {" 0.4", "0.4"},  {" 0.8", "0.8"}, {"   1", "1"},   {"   2", "2"},
                                     {"   4", "4"},    {"   6", "6"},   {"   8", "8"},   {"  10", "10"}};
    for (int i = 0; i < 12; ++i)
        NPLC_Liste[i] = {nplc[i][0], QString(":NPLC ") + nplc[i][1]};
    const char* const digits[4] = {"3 1/2", "4 1/2", "5 1/2", "6 1/2"};
    for (int i = 0; i < 4; ++i)
        Digits_Liste[i] = {digits[i], ":DIG " + QString::number(i + 4)};
    const char* const anzahl[9] = {"1", "10", "20", "30", "50", "70", "100", "150", "200"};
    for (int i = 0; i < 9; ++i)
        AnzahlMsg_Liste[i] = anzahl[i];
    Average_Liste[0] = {"off", ":AVER:STAT OFF"};
    const char* const average[6] = {"10", "20", "30", "50", "70", "100"};
    for (int i = 0; i < 6; ++i)
        Average_Liste[i + 1] = {average[i], QString(":AVER:COUN ") + average[i] + ";STAT ON"};
    Mittelungsart_Befehle[0] = ":AVER:TCON MOV";
    Mittelungsart_Befehle[1] = ":AVER:TCON REP";
    Autozero_Befehle[0] = ":SYST:AZER:STAT OFF";
    Autozero_Befehle[1] = ":SYST:AZER:STAT ON";
    for (int s = 0; s < 9; ++s)
        Sensorliste[s] = Funktionstabelle[s + 9].Name;
}

void MBForm1::Ausdruck_zu_Index() {
    tabellen_gefüllt = false;
    Tabellen_bereitstellen();
    Messblocksatz& v = Daten.Messblockvorlage;
    v.Funktionsname = Funktionstabelle[0].Name;
    v.Funktionsnummer = 0;
    v.Funktionspräfix = Funktionstabelle[0].Präfix;
    v.Bereich = Funktionstabelle[0].Vorgabebereich;
    v.Integrationszeit = 4;
    v.Anzeige = 3;
    v.Messanzahl = 0;
    v.Mittelung = 0;
    v.Mittelungsart = 0;
    v.Sensortyp = 1;
}

void MBForm1::Var_Vorgebreihenfolge_festleg() {
    Tabellen_bereitstellen();
    // Blocks of one meter setting are scanned together: thermocouples
    // right after DC voltage, and so on.
    static const int reihenfolge[18] = {0, 15, 16, 17, 1, 2, 9, 11, 13, 14, 3, 10, 12, 4, 5, 6, 7, 8};
    for (int i = 0; i < 18; ++i)
        Daten.Vorgabetabelle[i + 1].Vorgabefunktion = Funktionstabelle[reihenfolge[i]].Name;
}

void MBForm1::Meßblockvar_vorbeleg() {
    Tabellen_bereitstellen();
    if (!Daten.Messblocktabelle[1].Messblockname.text().isEmpty())
        return;
    for (int i = 0; i <= 8; ++i) {
        Messblocksatz& b = Daten.Messblocktabelle[i + 1];
        const Funktionseintrag& f = Funktionstabelle[i];
        b.Messblockname = f.Name;
        b.Funktionsname = f.Name;
        b.Funktionsnummer = static_cast<i16>(i);
        b.Funktionspräfix = f.Präfix;
        b.Bereich = f.Vorgabebereich;
        b.Integrationszeit = 4;
        b.Anzeige = 3;
        b.Messanzahl = 0;
        b.Mittelung = 0;
        b.Mittelungsart = 0;
        b.Autozero = 1;
        b.Sensortyp = 0;
    }
    Messblocksatz& neu = Daten.Messblocktabelle[10];
    neu.Messblockname = QString("neu");
    neu.Funktionsname = Funktionstabelle[0].Name;
    neu.Funktionsnummer = 0;
    neu.Funktionspräfix = Funktionstabelle[0].Präfix;
}

// ---- procedures of the run -------------------------------------------------------

int MBForm1::Block_suchen(const QString& Blockname) {
    const QString gesucht = Links16(RTrim(Blockname));
    for (int b = 1; b <= 20; ++b) {
        const QString name = Daten.Messblocktabelle[b].Messblockname.text();
        if (name == "neu")
            break;
        if (Links16(name) == gesucht)
            return b;
    }
    return 0;
}

bool MBForm1::Initialisierungsstring_erstellen(const QString& Blockname, QString& Initstring, QString& Anzeigeformat,
                                               double& Faktor, i16& Messanzahlwert, i16 Kaltstellenwert,
                                               i16& Funktionsnummer) {
    Tabellen_bereitstellen();
    const int b = Block_suchen(Blockname);
    if (b == 0) {
        Initstring.clear();
        Anzeigeformat = "auto";
        Faktor = 1;
        Messanzahlwert = 1;
        Funktionsnummer = 0;
        return false;
    }
    const Messblocksatz& block = Daten.Messblocktabelle[b];
    const int f = block.Funktionsnummer;
    const int r = Index(block.Bereich);
    const bool bekannt = im_Bereich(f, 18);
    const QString F = bekannt ? Funktionstabelle[f].Funktionsbefehl : QString();
    const QString P = bekannt ? Funktionstabelle[f].Präfix : QString();
    const Bereichseintrag& bereich = Bereichseintrag_von(f, r);
    const QString R = bereich.Befehl;
    const QString D = Befehl_von(Digits_Liste, 4, block.Anzeige);
    const QString N = Befehl_von(NPLC_Liste, 12, Index(block.Integrationszeit));
    const QString T = im_Bereich(block.Mittelungsart, 2) ? Mittelungsart_Befehle[block.Mittelungsart] : QString();
    const QString A = Befehl_von(Average_Liste, 7, block.Mittelung);
    const QString Z = im_Bereich(block.Autozero, 2) ? Autozero_Befehle[block.Autozero] : QString();

    switch (bekannt ? f : -1) {
    case -1:
        Initstring.clear();
        break;
    case 1:
    case 5:
        Initstring = F + CR + P + R + CR + P + D + CR + P + T + CR + P + A + CR + Z + CR;
        break;
    case 7:
        Initstring = F + CR + P + R + CR + P + D + CR;
        break;
    case 8:
        Initstring = F + P + R;
        break;
    case 14:
        Initstring = F + CR + P + R + CR;
        break;
    case 15:
    case 16:
    case 17:
        Initstring = F + CR + P + R + CR + P + ":TC:RJUN:SIM " + QString::number(Kaltstellenwert) + CR + P + D + CR +
                     P + N + CR + P + T + CR + P + A + CR + Z + CR;
        break;
    default:
        Initstring = F + CR + P + R + CR + P + D + CR + P + N + CR + P + T + CR + P + A + CR + Z + CR;
        break;
    }

    Anzeigeformat = bereich.Format;
    Funktionsnummer = static_cast<i16>(f);
    const int m = block.Messanzahl;
    Messanzahlwert = static_cast<i16>(im_Bereich(m, 9) ? AnzahlMsg_Liste[m].toInt() : 1);

    const QString& einheit = bereich.Einheit;
    if (einheit == "mV DC" || einheit == "mV AC" || einheit == "mA DC")
        Faktor = 1000;
    else if (einheit == "kOhm")
        Faktor = 0.001;
    else if (einheit == "MOhm")
        Faktor = 0.000001;
    else
        Faktor = 1;
    // Currents: the shunt decides the factor, not the unit.
    static const double shunt4[5] = {10, 10, 1000, 10, 100};
    static const double shunt5[4] = {10, 1000, 10, 100};
    if (f == 4 && im_Bereich(r, 5))
        Faktor = shunt4[r];
    else if (f == 5 && im_Bereich(r, 4))
        Faktor = shunt5[r];
    return true;
}

void MBForm1::Einheit_erstellen(const QString& Blockname, QString& Einheit) {
    Tabellen_bereitstellen();
    const int b = Block_suchen(Blockname);
    Einheit = b == 0 ? QString() : Einheit_des_Blocks(Daten.Messblocktabelle[b]);
}

bool MBForm1::Meßdatenstring_aufbereit(const QString& Messwerttext, double& Wert) {
    const std::optional<double> wert = Messwert_lesen(Messwerttext);
    Wert = wert ? *wert : std::numeric_limits<double>::quiet_NaN();
    return wert.has_value();
}

void MBForm1::R_zu_T(i16 Funktionsnummer, double R, double& T) {
    T = R;
    double ergebnis = R;
    switch (Funktionsnummer) {
    case 6:
    case 9:
    case 10:
    case 11:
    case 12: {
        const double R0 = Funktionsnummer == 11 || Funktionsnummer == 12 ? 1000.0 : 100.0;
        const float A = static_cast<float>((1.507 / 100 + 1) * 0.00385);
        const float B = static_cast<float>(-0.0058019497 * 0.0001);
        const double a = A, b = B;
        const double radikand = a * a - 4 * b * (1 - R / R0);
        if (!(radikand >= 0))
            return;
        ergebnis = (-a + std::sqrt(radikand)) / (2 * b);
        break;
    }
    case 13: {
        const double radikand = 0.00788 * 0.00788 - 7.748e-5 + (R + 3.0) * 7.748e-5 / 1980;
        if (!(radikand >= 0))
            return;
        ergebnis = (std::sqrt(radikand) - 0.00788) / 3.874e-5 + 25;
        break;
    }
    default:
        return;
    }
    if (std::isfinite(ergebnis))
        T = ergebnis;
}

void MBForm1::Messwert_auswerten(const Messblocksatz* block, const QString& X, const QString& Anzeigeformat,
                                 double Faktor) {
    Auswertesatz_t& a = Auswertesatz;
    a.Messwerttext = X;
    if (X.contains("+9.9E37") || X.contains("-9.9E37")) {
        a.Logtext = a.Datentext = "NaN";
        return;
    }
    // A reading the meter cannot have sent is shown as invalid, not as 0.
    if (!Meßdatenstring_aufbereit(X, a.Wert)) {
        a.Logtext = a.Datentext = "NaN";
        return;
    }
    a.Wert *= Faktor;
    if (block && a.Funktion >= 15 && a.Funktion <= 17 && block->Kaltstelle_subtrahieren == 1)
        a.Wert -= Daten.Referenztemperatur;
    R_zu_T(a.Funktion, a.Wert, a.Wert);
    if (!std::isfinite(a.Wert) || a.Wert == 10000.0) {
        a.Logtext = a.Datentext = "NaN";
        return;
    }
    a.Rohtext = Zahl_formatieren(a.Wert, "0.0000000000");
    const int anzeige = block ? std::clamp<int>(block->Anzeige, 0, 3) : 3;
    QString roh = a.Rohtext;
    Datenformat::Digitformat(static_cast<i16>(anzeige + 4), roh, a.Logtext, Anzeigeformat);
    a.Datentext = a.Logtext;
    if (Daten.Datenformatsatz.Dezimalpunkt == 1)
        Datenformat::KommazuPunkt(a.Datentext);
}

void MBForm1::Auswerten(i16 Zeile, QString& Antwort, i16 Kanalanzahl, const QString& Anzeigeformat, double Faktor,
                        i16 Messanzahlwert) {
    Tabellen_bereitstellen();
    Auswertesatz_t& a = Auswertesatz;
    if (Zeile < 1 || Zeile > 120)
        return;
    const bool retten = Daten.Datenformatsatz.Zeit_am_Zeilenbeginn != 0;
    if (retten) {
        a.gerettete_Messwertzeit = Daten.Messwerttexte[1].Messwertzeit;
        Daten.Messwerttexte[1].Messwertzeit.clear();
    }
    a.Zeile = Zeile;
    const QString blockname = Daten.Scanlistentabelle[Zeile].Messblockname.text();
    Einheit_erstellen(blockname, a.Einheit);
    Datenformat::Einheit_ja_nein(a.Einheit, a.Einheitensegment);
    a.Blocknummer = static_cast<i16>(Block_suchen(blockname));
    const Messblocksatz* block = a.Blocknummer ? &Daten.Messblocktabelle[a.Blocknummer] : nullptr;
    a.Funktion = block ? block->Funktionsnummer : -1;

    // Readings are split off at their commas; a position for which the reply
    // has no reading left counts as overrange.
    auto nächste_Lesung = [&Antwort](bool letzte) -> QString {
        if (Antwort.isEmpty())
            return "+9.9E37";
        if (letzte)
            return Antwort;
        const qsizetype komma = Antwort.indexOf(',');
        QString lesung;
        if (komma < 0) {
            lesung = Antwort;
            Antwort.clear();
        } else {
            lesung = Antwort.left(komma);
            Antwort.remove(0, komma + 1);
        }
        return lesung;
    };

    if (Messanzahlwert <= 1) {
        for (int k = 0; k < Kanalanzahl && Zeile + k <= 120; ++k) {
            const int position = Zeile + k;
            // Each value carries the signal name of its own position.
            Datenformat::Signam_ja_nein(Daten.Scanlistentabelle[position].Signalname.text(), a.Signalsegment);
            Messwert_auswerten(block, nächste_Lesung(k == Kanalanzahl - 1), Anzeigeformat, Faktor);
            Ausgabesatz& t = Daten.Messwerttexte[position];
            t.Logwert = a.Logtext;
            t.Einheitensegment = a.Einheitensegment;
            t.Datensegment = t.Messwertzeit + a.Datentext + Daten.Trennzeichen + a.Signalsegment + a.Einheitensegment;
            t.Blocknummer = a.Blocknummer;
        }
    } else {
        Datenformat::Signam_ja_nein(Daten.Scanlistentabelle[Zeile].Signalname.text(), a.Signalsegment);
        QString daten;
        for (int k = 0; k < Messanzahlwert; ++k) {
            Messwert_auswerten(block, nächste_Lesung(k == Messanzahlwert - 1), Anzeigeformat, Faktor);
            daten += a.Datentext;
            if (k < Messanzahlwert - 1)
                daten += Daten.Trennzeichen;
        }
        Ausgabesatz& t = Daten.Messwerttexte[Zeile];
        t.Logwert = a.Logtext;
        t.Einheitensegment = a.Einheitensegment;
        t.Datensegment = t.Messwertzeit + daten + Daten.Trennzeichen + a.Signalsegment + a.Einheitensegment;
        t.Blocknummer = a.Blocknummer;
    }
    if (retten)
        Daten.Messwerttexte[1].Messwertzeit = a.gerettete_Messwertzeit;
}

void MBForm1::Header_erstellen() {
    Tabellen_bereitstellen();
    const Datenloggersatz_t& l = Daten.Datenloggersatz;
    const QString& sep = Daten.Logtrennzeichen;
    if (l.Datenlogger_ein != 1 || l.Header_ein != 1 ||
        (l.Zeit_nach_jedem_Messwert != 0 && l.Zeit_am_Zeilenbeginn != 0)) {
        Daten.Kopfzeile_roh.clear();
        return;
    }
    const QString ZD = l.Zeit_ein == 1 ? "Zeit/Datum" + sep : QString();
    const bool je_Wert = l.Zeit_nach_jedem_Messwert != 0;
    QString h = je_Wert ? QString() : ZD;
    for (int j = 0; j <= 120; ++j) {
        const QString name = Daten.Aufzeichnungstabelle[j].Signalname.text();
        if (name.isEmpty())
            break;
        const int b = Daten.Aufzeichnungstexte[j].Blocknummer;
        // A column whose value no block produced yet has no unit.
        const QString einheit = b >= 1 && b <= 20 ? Einheit_des_Blocks(Daten.Messblocktabelle[b]) : QString();
        h += (je_Wert ? ZD : QString()) + name + " [" + einheit + "]" + sep;
    }
    Daten.Kopfzeile_roh = h;
}

// ---- window ----------------------------------------------------------------------

MBForm1::MBForm1(QWidget* eltern) : QWidget(eltern) {
    Fenster.MBForm1 = this;
    setObjectName("MBForm1");
    setWindowTitle("Meßblock Konfiguration");
    setAutoFillBackground(true);
    Twips::Geometrie(this, 0, 0, 4800, 3600);

    Label1 = new QLabel("Meßblockkonfiguration Mod. 2000", this);
    QFont fett = Label1->font();
    fett.setBold(true);
    Label1->setFont(fett);
    Label1->setAlignment(Qt::AlignCenter);
    Twips::Geometrie(Label1, 0, 0, 4800, 210);

    Frame1 = Rahmen(this, "Meßblockbezeichnung", 30, 210, 2430, 585);
    Meßblockausw = Liste(Frame1, "Messblockausw", 45, 210, 2340, 330);
    Frame2 = Rahmen(this, "Meßfunktion", 2490, 210, 2280, 585);
    Meßfkt = Liste(Frame2, "Messfkt", 45, 210, 2190, 330);

    // The sensor list takes the place of the range list for the sensors.
    Frame3 = Rahmen(this, "Meßbereich", 30, 810, 2460, 585);
    Bereich = Liste(Frame3, "Bereich", 45, 210, 2370, 330);
    // The blanks inside the range texts line them up in a fixed-pitch font.
    QFont fest("DejaVu Sans Mono");
    fest.setPixelSize(11);
    Bereich->setFont(fest);
    Frame4 = Rahmen(this, "Sensortyp", 30, 810, 2460, 585);
    TSensorAuswahl = Liste(Frame4, "TSensorAuswahl", 45, 210, 2370, 330);
    Frame7 = Rahmen(this, "Anzahl Msg.", 2520, 810, 1260, 585);
    AnzahlMsg = Liste(Frame7, "AnzahlMsg", 45, 210, 1170, 330);
    Frame9 = Rahmen(this, "Autozero", 3810, 810, 960, 585);
    Check1 = new QCheckBox("on/off", Frame9);
    Twips::Geometrie(Check1, 60, 240, 870, 285);

    Frame5 = Rahmen(this, "NPLC", 30, 1410, 930, 585);
    Integrationszeit = Liste(Frame5, "Integrationszeit", 45, 210, 840, 330);
    Frame6 = Rahmen(this, "Digits", 990, 1410, 960, 585);
    Anzeige = Liste(Frame6, "Anzeige", 45, 210, 870, 330);
    Frame8 = Rahmen(this, "Average", 1980, 1410, 2790, 585);
    Averageliste = Liste(Frame8, "Averageliste", 45, 210, 720, 330);
    const char* arten[2] = {"Moving", "Repeat"};
    for (int i = 0; i < 2; ++i) {
        Option5[i] = new QRadioButton(arten[i], Frame8);
        Twips::Geometrie(Option5[i], 840 + i * 990, 240, 960, 270);
    }

    Frame10 = Rahmen(this, "Interne/externe Kaltstellentemperaturmessung", 30, 2010, 4740, 825);
    Check3 = new QCheckBox(Frame10);
    Twips::Geometrie(Check3, 90, 345, 285, 285);
    Label2 = new QLabel("Verwendete Kaltstellentemp. subtrahieren\n(bei Einsatz externer\nKaltstellentemperaturmessung)",
                        Frame10);
    Twips::Geometrie(Label2, 420, 210, 4260, 600);

    Command7 = Knopf(this, "Command7", "Inistr.", 30, 2850, 750, 315);
    Command8 = Knopf(this, "Command8", QString(), 810, 2850, 315, 315);
    Label4 = new QLabel(this);
    Twips::Geometrie(Label4, 1170, 2850, 3600, 315);
    // The command sequence needs several lines; it is shown over the
    // settings while the service view is on.
    Label3 = new QLabel(this);
    Label3->setAutoFillBackground(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label3->setFrameShape(QFrame::Box);
    Twips::Geometrie(Label3, 30, 810, 4740, 2025);

    Command2 = Knopf(this, "Command2", "<<", 30, 3195, 390, 390);
    Command3 = Knopf(this, "Command3", "Speichern", 450, 3195, 990, 390);
    Command4 = Knopf(this, "Command4", "Abbrechen", 1470, 3195, 1020, 390);
    Command5 = Knopf(this, "Command5", "Hilfe", 2520, 3195, 630, 390);
    Command6 = Knopf(this, "Command6", "MB löschen", 3180, 3195, 1110, 390);
    Command1 = Knopf(this, "Command1", ">>", 4320, 3195, 450, 390);

    const auto nummer = QOverload<int>::of(&QComboBox::currentIndexChanged);
    Auswahl_verbinden(Meßblockausw, this, [this](int index) { Meßblockausw_Click(index); });
    // Showing a block's function or sensor must not rewrite the block: these
    // two run only when the operator picks an entry.
    connect(Meßfkt, &QComboBox::activated, this, &MBForm1::Meßfkt_Click);
    connect(TSensorAuswahl, &QComboBox::activated, this, &MBForm1::TSensorAuswahl_Click);
    connect(Bereich, nummer, this, &MBForm1::Bereich_Click);
    connect(Integrationszeit, nummer, this, &MBForm1::Integrationszeit_Click);
    connect(Anzeige, nummer, this, &MBForm1::Anzeige_Click);
    connect(AnzahlMsg, nummer, this, &MBForm1::AnzahlMsg_Click);
    connect(Averageliste, nummer, this, &MBForm1::Averageliste_Click);
    for (int i = 0; i < 2; ++i)
        connect(Option5[i], &QRadioButton::toggled, this, [this, i](bool an) {
            if (an)
                Option5_Click(i);
        });
    connect(Check1, &QCheckBox::toggled, this, &MBForm1::Check1_Click);
    connect(Check3, &QCheckBox::toggled, this, &MBForm1::Check3_Click);
    connect(Command1, &QPushButton::clicked, this, &MBForm1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &MBForm1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &MBForm1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &MBForm1::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &MBForm1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &MBForm1::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &MBForm1::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &MBForm1::Command8_Click);

    Label3->hide();
    Label4->hide();
    Command7->setEnabled(false);
    Frame4->hide();
    Frame10->hide();
    hide();
}

MBForm1::~MBForm1() {
    if (Fenster.MBForm1 == this)
        Fenster.MBForm1 = nullptr;
}

void MBForm1::Form_Load() {
    Twips::Geometrie(this, 0, 0, 4800, 3600);
    Stationsschalter_anwenden(Command5, Command4);
    const bool dienst = Daten.Testlabels != 0;
    Command7->setVisible(dienst);
    Command8->setVisible(dienst);
    Label3->hide();
    Label4->hide();
}

void MBForm1::Form_Activate() {
    Label3->hide();
    Label4->hide();
    Command7->setEnabled(false);
}

void MBForm1::showEvent(QShowEvent* ereignis) {
    QWidget::showEvent(ereignis);
    Form_Activate();
}

int MBForm1::gewählter_Block() const {
    const int i = Meßblockausw->currentIndex();
    return i >= 0 && i < 20 ? i + 1 : 0;
}

void MBForm1::MBForm_initialisieren() {
    Ausdruck_zu_Index();
    Var_Vorgebreihenfolge_festleg();
    Meßblockvar_vorbeleg();
    const QStringList blöcke = Messblockliste();
    Liste_füllen(Meßblockausw, blöcke);
    Listenindex_setzen(Meßblockausw, static_cast<int>(blöcke.size()) - 2);
    QStringList funktionen;
    for (int f = 0; f <= 8; ++f)
        funktionen << Funktionstabelle[f].Name;
    Liste_füllen(Meßfkt, funktionen);
    Integrationszeitliste_erstellen();
    AnzahlMsg_Liste_erstellen();
    Averageliste_erstellen();
    TSensorAuswahlliste_erstellen();
    Bereichsliste_umstellen();
    Anzeigeliste_umstellen();
    Listentexte_aus_MBVar_erstellen();
}

void MBForm1::Bereichsliste_umstellen() {
    Tabellen_bereitstellen();
    Frame3->setTitle("Meßbereich");
    const int b = gewählter_Block();
    const int f = b ? Daten.Messblocktabelle[b].Funktionsnummer : 0;
    QStringList einträge;
    for (int r = 0; r < 7 && im_Bereich(f, 18) && !Bereichstabelle[f][r].Text.isEmpty(); ++r)
        einträge << Bereichstabelle[f][r].Text;
    Liste_füllen(Bereich, einträge);
    Sensorrahmen_zeigen(f);
}

// The sensor list replaces the range list for the temperature sensors.
void MBForm1::Sensorrahmen_zeigen(int f) {
    Frame3->setVisible(f <= 8);
    Frame4->setVisible(f >= 9);
}

void MBForm1::Anzeigeliste_umstellen() {
    Tabellen_bereitstellen();
    Frame6->setTitle("Digits");
    QStringList einträge;
    for (const Listeneintrag& e : Digits_Liste)
        einträge << e.Text;
    Liste_füllen(Anzeige, einträge);
}

void MBForm1::Integrationszeitliste_erstellen() {
    Tabellen_bereitstellen();
    Frame5->setTitle("NPLC");
    QStringList einträge;
    for (const Listeneintrag& e : NPLC_Liste)
        einträge << e.Text;
    Liste_füllen(Integrationszeit, einträge);
}

void MBForm1::AnzahlMsg_Liste_erstellen() {
    Tabellen_bereitstellen();
    Frame7->setTitle("Anzahl Msg.");
    QStringList einträge;
    for (const QString& e : AnzahlMsg_Liste)
        einträge << e;
    Liste_füllen(AnzahlMsg, einträge);
}

void MBForm1::Averageliste_erstellen() {
    Tabellen_bereitstellen();
    Frame8->setTitle("Average");
    QStringList einträge;
    for (const Listeneintrag& e : Average_Liste)
        einträge << e.Text;
    Liste_füllen(Averageliste, einträge);
}

void MBForm1::TSensorAuswahlliste_erstellen() {
    Tabellen_bereitstellen();
    QStringList einträge;
    for (const QString& e : Sensorliste)
        einträge << e;
    Liste_füllen(TSensorAuswahl, einträge);
}

void MBForm1::Listentexte_aus_MBVar_erstellen() {
    const int b = gewählter_Block();
    if (b == 0)
        return;
    const Messblocksatz block = Daten.Messblocktabelle[b];
    {
        // Shown only: the function and sensor handlers rewrite the block.
        const QSignalBlocker still1(Meßfkt), still2(TSensorAuswahl);
        const int f = block.Funktionsnummer;
        Meßfkt->setCurrentIndex(f >= 9 ? 6 : (f >= 0 && f < Meßfkt->count() ? f : -1));
        TSensorAuswahl->setCurrentIndex(im_Bereich(block.Sensortyp, TSensorAuswahl->count()) ? block.Sensortyp : -1);
    }
    Listenindex_setzen(Bereich, Index(block.Bereich));
    Listenindex_setzen(Integrationszeit, Index(block.Integrationszeit));
    Listenindex_setzen(Anzeige, block.Anzeige);
    Listenindex_setzen(AnzahlMsg, block.Messanzahl);
    Listenindex_setzen(Averageliste, block.Mittelung);
    if (im_Bereich(block.Mittelungsart, 2))
        Option5[block.Mittelungsart]->setChecked(true);
    else
        Optionen_setzen(Option5[0], false, Option5[1], false);
    Check1->setChecked(block.Autozero == 1);
    Check3->setChecked(block.Kaltstelle_subtrahieren == 1);
}

void MBForm1::Listen_disabeln_ausblenden(i16 f) {
    Frame3->setTitle(f == 8 ? "Meßart" : "Meßbereich");
    auto alle = [this](bool nplc, bool anzahl, bool average, bool autozero, bool digits) {
        Frame5->setVisible(nplc);
        Frame7->setVisible(anzahl);
        Frame8->setVisible(average);
        Frame9->setVisible(autozero);
        Frame6->setVisible(digits);
    };
    if (f == 1 || f == 5) {
        Frame5->hide();
        Integrationszeit->setEnabled(false);
        Frame6->show();
        Frame10->hide();
    } else if (f == 7) {
        alle(false, false, false, false, true);
        Frame10->hide();
    } else if (f == 8) {
        alle(false, false, false, false, false);
        Frame10->hide();
    } else {
        alle(true, true, true, true, true);
        Integrationszeit->setEnabled(true);
        if (f >= 15 && f <= 17)
            Frame10->show();
        else if (f != 6)
            Frame10->hide();
    }
}

// ---- handlers ----------------------------------------------------------------------

void MBForm1::Meßblockausw_Click(int index) {
    if (index < 0)
        return;
    const int b = gewählter_Block();
    if (b == 0)
        return;
    Bereichsliste_umstellen();
    Listentexte_aus_MBVar_erstellen();

    // The settings each function had last are those of this block for its
    // own function and the defaults for the others.
    for (int f = 0; f < 18; ++f) {
        Messblocksatz& v = Daten.Funktionsvorgaben[f];
        v.Funktionsnummer = static_cast<i16>(f);
        v.Bereich = Funktionstabelle[f].Vorgabebereich;
        v.Funktionspräfix = Funktionstabelle[f].Präfix;
        v.Integrationszeit = 4;
        v.Anzeige = 3;
        v.Mittelung = 0;
        v.Mittelungsart = 0;
        v.Autozero = 1;
        v.Sensortyp = 1;
    }
    const Messblocksatz& block = Daten.Messblocktabelle[b];
    if (im_Bereich(block.Funktionsnummer, 21)) {
        Messblocksatz& v = Daten.Funktionsvorgaben[block.Funktionsnummer];
        v.Funktionspräfix = block.Funktionspräfix;
        v.Bereich = block.Bereich;
        v.Integrationszeit = block.Integrationszeit;
        v.Anzeige = block.Anzeige;
        v.Messanzahl = block.Messanzahl;
        v.Autozero = block.Autozero;
    }
    Daten.Funktionsvorgaben[6].Sensortyp = block.Sensortyp;
    Listen_disabeln_ausblenden(block.Funktionsnummer);

    if (Meßblockausw->itemText(index) == "neu") {
        if (Meßblockausw->count() >= 20) {
            dialoge().Meldung("Es sind bereits 19 Meßblöcke angelegt. Bitte zuerst einen Meßblock löschen!");
            Listenindex_setzen(Meßblockausw, index - 1);
            return;
        }
        Daten.Tastaturaufrufer = "MBForm";
        setEnabled(false);
        Messblocktastatur_zeigen(this);
    }
}

void MBForm1::Meßfkt_Click(int f) {
    const int b = gewählter_Block();
    if (b == 0 || f < 0 || f > 8)
        return;
    Daten.Headermerker = 1;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    if (f != 6) {
        block.Funktionsname = Meßfkt->itemText(f);
        block.Funktionsnummer = static_cast<i16>(f);
        block.Funktionspräfix = Funktionstabelle[f].Präfix;
        Bereichsliste_umstellen();
        Listenindex_setzen(Bereich, Index(Daten.Funktionsvorgaben[f].Bereich));
        Frame3->show();
        Frame10->hide();
    } else {
        const int s = Daten.Funktionsvorgaben[6].Sensortyp;
        block.Funktionsnummer = static_cast<i16>(s + 9);
        block.Funktionspräfix = im_Bereich(s, 9) ? Funktionstabelle[s + 9].Präfix : QString();
        Bereichsliste_umstellen();
        {
            const QSignalBlocker still(TSensorAuswahl);
            TSensorAuswahl->setCurrentIndex(im_Bereich(s, 9) ? s : -1);
        }
        if (im_Bereich(s, 9))
            TSensorAuswahl_Click(s);
        Frame3->hide();
        Frame10->setVisible(block.Funktionsnummer >= 15 && block.Funktionsnummer <= 17);
    }
    const Messblocksatz v = Daten.Funktionsvorgaben[f];
    Listenindex_setzen(Integrationszeit, Index(v.Integrationszeit));
    Listenindex_setzen(Anzeige, v.Anzeige);
    Listenindex_setzen(AnzahlMsg, v.Messanzahl);
    Listenindex_setzen(Averageliste, v.Mittelung);
    if (im_Bereich(v.Mittelungsart, 2)) {
        Option5[v.Mittelungsart]->setChecked(true);
        Option5_Click(v.Mittelungsart);
    }
    Check1->setChecked(v.Autozero == 1);
    Check1_Click();
}

void MBForm1::Bereich_Click(int index) {
    const int b = gewählter_Block();
    if (b == 0 || index < 0)
        return;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    block.Bereich = static_cast<float>(index);
    if (im_Bereich(block.Funktionsnummer, 21))
        Daten.Funktionsvorgaben[block.Funktionsnummer].Bereich = static_cast<float>(index);
    Daten.Headermerker = 1;
}

void MBForm1::Integrationszeit_Click(int index) {
    const int b = gewählter_Block();
    if (b == 0 || index < 0)
        return;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    block.Integrationszeit = static_cast<float>(index);
    if (im_Bereich(block.Funktionsnummer, 21))
        Daten.Funktionsvorgaben[block.Funktionsnummer].Integrationszeit = static_cast<float>(index);
}

void MBForm1::Anzeige_Click(int index) {
    const int b = gewählter_Block();
    if (b == 0 || index < 0)
        return;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    block.Anzeige = static_cast<i16>(index);
    if (im_Bereich(block.Funktionsnummer, 21))
        Daten.Funktionsvorgaben[block.Funktionsnummer].Anzeige = static_cast<i16>(index);
}

void MBForm1::AnzahlMsg_Click(int index) {
    const int b = gewählter_Block();
    if (b == 0 || index < 0)
        return;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    block.Messanzahl = static_cast<i16>(index);
    if (im_Bereich(block.Funktionsnummer, 21))
        Daten.Funktionsvorgaben[block.Funktionsnummer].Messanzahl = static_cast<i16>(index);
}

void MBForm1::Averageliste_Click(int index) {
    const int b = gewählter_Block();
    if (b == 0 || index < 0)
        return;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    block.Mittelung = static_cast<i16>(index);
    if (im_Bereich(block.Funktionsnummer, 21))
        Daten.Funktionsvorgaben[block.Funktionsnummer].Mittelung = static_cast<i16>(index);
}

void MBForm1::Option5_Click(int Index) {
    const int b = gewählter_Block();
    if (b == 0)
        return;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    block.Mittelungsart = static_cast<i16>(Index);
    if (im_Bereich(block.Funktionsnummer, 21))
        Daten.Funktionsvorgaben[block.Funktionsnummer].Mittelungsart = static_cast<i16>(Index);
}

void MBForm1::Check1_Click() {
    const int b = gewählter_Block();
    if (b == 0)
        return;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    block.Autozero = Check1->isChecked() ? 1 : 0;
    if (im_Bereich(block.Funktionsnummer, 21))
        Daten.Funktionsvorgaben[block.Funktionsnummer].Autozero = block.Autozero;
}

void MBForm1::Check3_Click() {
    const int b = gewählter_Block();
    if (b == 0)
        return;
    Daten.Messblocktabelle[b].Kaltstelle_subtrahieren = Check3->isChecked() ? 1 : 0;
}

void MBForm1::TSensorAuswahl_Click(int s) {
    const int b = gewählter_Block();
    if (b == 0 || !im_Bereich(s, 9))
        return;
    Messblocksatz& block = Daten.Messblocktabelle[b];
    block.Sensortyp = static_cast<i16>(s);
    block.Funktionsname = Sensorliste[s];
    block.Funktionsnummer = static_cast<i16>(s + 9);
    block.Funktionspräfix = Funktionstabelle[s + 9].Präfix;
    block.Bereich = 0;
    Daten.Funktionsvorgaben[6].Sensortyp = static_cast<i16>(s);
    Frame10->setVisible(s + 9 >= 15 && s + 9 <= 17);
}

void MBForm1::Command6_Click() {
    const int b = gewählter_Block();
    if (b == 0)
        return;
    const QString name = Daten.Messblocktabelle[b].Messblockname.text();
    for (int i = 0; i <= 120; ++i)
        if (Daten.Scanlistentabelle[i].Messblockname.text() == Links16(name)) {
            dialoge().Meldung("Vor dem Löschen, Messblock aus Kanalbelegung entfernen!");
            return;
        }
    if (!dialoge().Meldung_OK_Abbrechen("Hiermit löschen Sie den Messblock " + name + "!"))
        return;
    int n = 1;
    while (n < 20 && Daten.Messblocktabelle[n].Messblockname.text() != "neu")
        ++n;
    const i16 gerätetyp = Daten.Messblocktabelle[1].Gerätetyp;
    for (int i = b; i < n; ++i)
        Daten.Messblocktabelle[i] = Daten.Messblocktabelle[i + 1];
    MBForm_initialisieren();
    // Moving whole records may have moved the meter kind away from record 1.
    const int modell = Fenster.Projekt ? Fenster.Projekt->Combo2->currentIndex() : -1;
    Daten.Messblocktabelle[1].Gerätetyp = modell >= 0 ? static_cast<i16>(modell) : gerätetyp;
}

void MBForm1::Command7_Click() {
    const int b = gewählter_Block();
    if (b == 0)
        return;
    QString init, format;
    double faktor = 1;
    i16 anzahl = 1, funktion = 0;
    Initialisierungsstring_erstellen(Daten.Messblocktabelle[b].Messblockname.text(), init, format, faktor, anzahl, 0,
                                     funktion);
    QString einheit;
    Einheit_erstellen(Daten.Messblocktabelle[b].Messblockname.text(), einheit);
    Label3->setText(QString(init).replace('\r', '\n'));
    Label4->setText(Zahl_als_Text(faktor) + " " + einheit);
}

void MBForm1::Command8_Click() {
    Label3->show();
    Label3->raise();
    Label4->show();
    Command7->setEnabled(true);
}

void MBForm1::Command1_Click() {
    Seite_zeigen(Fenster.Scanlist);
}

void MBForm1::Command2_Click() { hide(); }

void MBForm1::Command3_Click() {
    if (Fenster.Projekt)
        Fenster.Projekt->speichern();
}

void MBForm1::Command4_Click() {}
void MBForm1::Command5_Click() {}
