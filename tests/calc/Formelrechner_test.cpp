// The formula evaluator: values of the operator's formulas, the quirks that
// stored projects rely on, the references, and that no input can make it hang
// or crash.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include <cmath>
#include <random>

#include "calc/Formelrechner.h"

namespace {
struct Auswertung {
    double wert = 0;
    i16 fehler = 0;
};

Auswertung rechnen(const QString& formel) {
    QString f = formel;
    Auswertung a;
    a.fehler = 7;  // must be set by the evaluator
    Formel_berechnen(f, a.wert, a.fehler);
    return a;
}

void erwarte_Wert(const QString& formel, double erwartet) {
    const Auswertung a = rechnen(formel);
    EXPECT_EQ(a.fehler, 0) << formel.toStdString();
    EXPECT_NEAR(a.wert, erwartet, 1e-12 * std::max(1.0, std::fabs(erwartet))) << formel.toStdString();
}

void erwarte_Fehler(const QString& formel) {
    EXPECT_EQ(rechnen(formel).fehler, 1) << formel.toStdString();
}
}  // namespace

TEST(Formelrechner, TabelleDerRandfaelle) {
    erwarte_Wert("2+3*4", 14);
    erwarte_Wert("(2+3)*4", 20);
    erwarte_Wert("2^3^2", 512);
    erwarte_Wert("8/4*2", 4);
    erwarte_Wert("8/4/2", 1);
    erwarte_Wert("10-2-3", 5);
    erwarte_Wert("1,5*2", 3);
    erwarte_Wert("12E-1", 1.2);
    erwarte_Wert("2,5E+1", 25);
    erwarte_Wert("1E-5*100000", 1);
    erwarte_Wert("(-3,2)*2", -6.4);
    erwarte_Wert("-5+3", -2);
    erwarte_Wert("2*-5", -5);
    erwarte_Wert("", 0);
    erwarte_Wert("Sqr(16)", 4);
    erwarte_Wert("Abs(2-5)", 3);
    erwarte_Fehler("1/0");
}

TEST(Formelrechner, EigenheitenGespeicherterFormeln) {
    // An operator right after another acts as if a 0 stood between them.
    erwarte_Wert("3--2", 1);
    erwarte_Wert("2*-5", -5);
    erwarte_Wert("2^-1", 0);       // 2^0-1
    erwarte_Fehler("10/-2");       // 10/0-2
    // Only "(-x)" gives a negative operand, and it is one value.
    erwarte_Wert("(-2,5)", -2.5);
    erwarte_Wert("(-2)^2", 4);
    erwarte_Wert("2^(-1)", 0.5);
    erwarte_Wert("10/(-4)*2", -5);
    erwarte_Wert("Abs((-4))", 4);
    erwarte_Wert("(-1,5E-3)*1000", -1.5);
    // A group ends as if "+0" stood before its ")".
    erwarte_Wert("(2*3)", 6);
    // The "+0" behind the formula completes a bare exponent mark.
    erwarte_Wert("2E", 2);
    erwarte_Wert("()", 0);
    // A lower-case or unknown function name is not a function.
    erwarte_Fehler("sin(0)");
    erwarte_Fehler("SIN(0)");
    erwarte_Fehler("Wurzel(4)");
}

TEST(Formelrechner, RechenregelnUndFunktionen) {
    erwarte_Wert("5-3-1", 1);
    erwarte_Wert("2*3^2", 18);
    erwarte_Wert("1+2^3*4", 33);
    erwarte_Wert("2*3^2+1", 19);
    erwarte_Wert("8/2^2*4", 8);
    erwarte_Wert("2^2^3", 256);
    erwarte_Wert("100/5/2/2", 5);
    erwarte_Wert("2*3/4*8", 12);
    erwarte_Wert("6/3/2*8/4", 2);
    erwarte_Wert("1-2*3+4", -1);
    erwarte_Wert("((1+2)*(3+4))^2", 441);
    erwarte_Wert("Sqr(16)+1", 5);
    erwarte_Wert("Sin(0)", 0);
    erwarte_Wert("Cos(0)*3", 3);
    erwarte_Wert("Tan(0)", 0);
    erwarte_Wert("Atn(1)*4", M_PI);
    erwarte_Wert("Exp(1)", M_E);
    erwarte_Wert("Log(Exp(2))", 2);
    erwarte_Wert("2*Sqr(9)-Abs(2-10)/4", 4);
    erwarte_Wert(",5+5,", 5.5);
    erwarte_Wert("0,001*1E3", 1);
    erwarte_Wert("3,2*4,3+5,6", 19.36);
}

TEST(Formelrechner, LaufzeitfehlerSetzenDenFehlermerker) {
    erwarte_Fehler("0/0");
    erwarte_Fehler("Log(0)");
    erwarte_Fehler("Log(0-1)");
    erwarte_Fehler("Sqr(0-4)");
    erwarte_Fehler("1E308*10");
    erwarte_Fehler("Exp(1000)");
    erwarte_Fehler("0^(-1)");
    erwarte_Fehler("(-8)^(1/3)");
    erwarte_Fehler("1E999");
    // A failed formula yields the invalid-value marker, never a plausible number.
    EXPECT_EQ(rechnen("1/0").wert, 9e99);
    EXPECT_EQ(rechnen("5+Log(0)").wert, 9e99);
    // The next evaluation starts afresh.
    erwarte_Wert("1+1", 2);
}

TEST(Formelrechner, ZeichenAusserhalbDerSpracheWerdenAbgelehnt) {
    erwarte_Fehler("1 + 2");
    erwarte_Fehler("1.5*2");
    erwarte_Fehler("x+1");
    erwarte_Fehler("2a");
    erwarte_Fehler("[a]+1");
    erwarte_Fehler("1,2,3");
    erwarte_Fehler("2E+");
    erwarte_Fehler("(2+3");
    erwarte_Fehler("2+3)");
    erwarte_Fehler("2(3)");
    erwarte_Fehler("(2)(3)");
    erwarte_Fehler("Sqr");
    erwarte_Fehler("Sqr 4");
    erwarte_Fehler("\xb2");
}

TEST(Formelrechner, DieFormelWirdVerbraucht) {
    QString f = "1+2";
    double wert = 0;
    i16 fehler = 0;
    Formel_berechnen(f, wert, fehler);
    EXPECT_TRUE(f.isEmpty());
    EXPECT_EQ(wert, 3);
}

TEST(Formelrechner, MehrAlsHundertTokens) {
    // Long flat formulas are reduced as they are read.
    QString summe = "1";
    for (int i = 0; i < 500; ++i)
        summe += "+1";
    erwarte_Wert(summe, 501);
    // Nesting that needs more than the table holds is an error, not an overrun.
    erwarte_Fehler(QString(150, '(') + "1" + QString(150, ')'));
    QString turm = "1";
    for (int i = 0; i < 120; ++i)
        turm += "^1";
    erwarte_Fehler(turm);
    erwarte_Wert(QString(40, '(') + "2" + QString(40, ')'), 2);
}

TEST(Formelrechner, ReferenzenAuflisten) {
    QStringList liste(51);
    Referenzen_auflisten("[a]+[b_1]*2", liste);
    EXPECT_EQ(liste[0], "1;a");
    EXPECT_EQ(liste[1], "5;b_1");
    EXPECT_EQ(liste[2], "");

    QStringList drei(51);
    Referenzen_auflisten("Sqr([Spannung]^2+[T 1])/[x]", drei);
    EXPECT_EQ(drei[0], "5;Spannung");
    EXPECT_EQ(drei[1], "18;T 1");
    EXPECT_EQ(drei[2], "25;x");
    EXPECT_EQ(drei[3], "");

    // Entries beyond the references found keep what they held.
    QStringList alt(51, "alt");
    Referenzen_auflisten("[q]*2", alt);
    EXPECT_EQ(alt[0], "1;q");
    EXPECT_EQ(alt[1], "alt");

    // Never beyond the list's size.
    QString viele;
    for (int i = 0; i < 80; ++i)
        viele += QString("[s%1]+").arg(i);
    QStringList klein(51);
    Referenzen_auflisten(viele, klein);
    EXPECT_EQ(klein.size(), 51);
    EXPECT_EQ(klein[50], "291;s50");

    // An unclosed bracket or a "]" without its "[" is no reference.
    QStringList kaputt(51);
    Referenzen_auflisten("a]+[b]+[c", kaputt);
    EXPECT_EQ(kaputt[0], "4;b");
    EXPECT_EQ(kaputt[1], "");
}

TEST(Formelrechner, ReferenzAbtrennen) {
    QString name, rest;
    i16 position = -1;
    Referenz_abtrennen("2*[a]+[b]-1", name, position, rest);
    EXPECT_EQ(name, "a");
    EXPECT_EQ(position, 3);
    EXPECT_EQ(rest, "+[b]-1");
    Referenz_abtrennen(rest, name, position, rest);
    EXPECT_EQ(name, "b");
    EXPECT_EQ(position, 2);
    EXPECT_EQ(rest, "");  // no further "]": the scan stops
    Referenz_abtrennen("ohne", name, position, rest);
    EXPECT_EQ(rest, "");
}

// Many thousands of generated and random formulas, each evaluated within a
// time bound: every one returns, with a value or with the error flag.
TEST(Formelrechner, HaengtNieUndStuerztNieAb) {
    std::mt19937 zufall(20261207);
    const QString zeichen = "0123456789,,E+-*/^(())ACELSTsinqrbxpog .[]_=\t\xe4";
    const QStringList bausteine = {"Sin(", "Cos(", "Tan(", "Abs(", "Atn(", "Exp(", "Log(", "Sqr(",
                                   "(-",   "1E308", "9E99",  "E-",  "E+",   ")",    "(",    "^",
                                   "2,5",  "--",   "*-",    "1E-400", "0",   "/0",   "^9999", "1E99999", "E+99999"};
    QElapsedTimer uhr;
    uhr.start();
    int fälle = 0, fehler = 0;
    for (; fälle < 60000 && uhr.elapsed() < 20000; ++fälle) {
        QString formel;
        const int länge = static_cast<int>(zufall() % 160);
        for (int i = 0; i < länge; ++i) {
            if (zufall() % 3 == 0)
                formel += bausteine[zufall() % bausteine.size()];
            else
                formel += zeichen[zufall() % zeichen.size()];
        }
        if (fälle % 7 == 0)  // balanced, longer formulas from the language only
            formel = QString(zufall() % 120, '(') + "1" + QString(zufall() % 120, ')');
        double wert = 0;
        i16 f = 7;
        QString kopie = formel;
        Formel_berechnen(kopie, wert, f);
        ASSERT_TRUE(f == 0 || f == 1) << formel.toStdString();
        if (f == 0)
            ASSERT_TRUE(std::isfinite(wert)) << formel.toStdString();
        fehler += f;
    }
    EXPECT_GT(fälle, 10000);
    EXPECT_GT(fehler, 0);
    EXPECT_LT(uhr.elapsed(), 30000);
}

// Numbers read the quick way and the full way give the same double.
TEST(Formelrechner, ZahlenWerdenGenauGelesen) {
    const char* texte[] = {"0,1", "3,2", "1,7976931348623157E308", "123456789012345678901234567890",
                           "9007199254740993", "0,30000000000000004", "4,9E-324", "2,2250738585072014E-308",
                           "1E22", "1E23", "12345678,9E-20", "0,000000000000000000001", "007,50"};
    for (const char* t : texte) {
        QString zahl = QString::fromLatin1(t);
        const double erwartet = QString(zahl).replace(',', '.').toDouble();
        double wert = 0;
        i16 fehler = 0;
        Formel_berechnen(zahl, wert, fehler);
        if (std::isfinite(erwartet) && erwartet != 0 && std::fabs(erwartet) > 2.3e-308) {
            EXPECT_EQ(fehler, 0) << t;
            EXPECT_EQ(wert, erwartet) << t;
        }
    }
}
