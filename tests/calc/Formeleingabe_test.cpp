// Typing a formula on the keyboard: a signal reference is never split or
// left with one bracket.
#include <gtest/gtest.h>

#include "calc/Formeleingabe.h"

namespace {
Formelzeile Zeile(const QString& text, int cursor) {
    Formelzeile z;
    z.Text = text;
    z.Cursor = cursor;
    return z;
}
}  // namespace

TEST(Formeleingabe, SignalAusDerListeWirdAlsReferenzEingefuegt) {
    Formelzeile z = Zeile("P=", 2);
    Formel_Signal_einfügen(z, "Spannung            ");
    EXPECT_EQ(z.Text, "P=[Spannung]");
    EXPECT_EQ(z.Cursor, 12);
    Formel_Zeichen_einfügen(z, "*");
    Formel_Signal_einfügen(z, "Strom");
    EXPECT_EQ(z.Text, "P=[Spannung]*[Strom]");

    // Picked while the cursor stands inside a reference: behind it, not into it.
    Formelzeile innen = Zeile("P=[Spannung]", 6);
    Formel_Signal_einfügen(innen, "Strom");
    EXPECT_EQ(innen.Text, "P=[Spannung][Strom]");
}

TEST(Formeleingabe, TippenLandetNieInEinerReferenz) {
    Formelzeile z = Zeile("x=[T_1]+1", 4);  // between "T" and "_"
    Formel_Zeichen_einfügen(z, "2");
    EXPECT_EQ(z.Text, "x=[T_1]2+1");
    EXPECT_EQ(z.Cursor, 8);
    // Right before "[" and right after "]" are outside.
    Formelzeile vor = Zeile("x=[a]", 2);
    Formel_Zeichen_einfügen(vor, "(");
    EXPECT_EQ(vor.Text, "x=([a]");
    Formelzeile nach = Zeile("x=[a]", 5);
    Formel_Zeichen_einfügen(nach, ")");
    EXPECT_EQ(nach.Text, "x=[a])");
    // A lone bracket is an ordinary character.
    Formelzeile einzeln = Zeile("x=[ab", 4);
    Formel_Zeichen_einfügen(einzeln, "c");
    EXPECT_EQ(einzeln.Text, "x=[acb");
}

TEST(Formeleingabe, CursortastenSpringenUeberReferenzen) {
    Formelzeile z = Zeile("a=[U]*[I]", 9);
    Formel_Cursor_links(z);
    EXPECT_EQ(z.Cursor, 6);  // before "[I]"
    Formel_Cursor_links(z);
    EXPECT_EQ(z.Cursor, 5);  // before "*"
    Formel_Cursor_links(z);
    EXPECT_EQ(z.Cursor, 2);  // before "[U]"
    Formel_Cursor_links(z);
    EXPECT_EQ(z.Cursor, 1);
    Formel_Cursor_rechts(z);
    EXPECT_EQ(z.Cursor, 2);
    Formel_Cursor_rechts(z);
    EXPECT_EQ(z.Cursor, 5);  // behind "[U]"
    Formel_Cursor_rechts(z);
    Formel_Cursor_rechts(z);
    EXPECT_EQ(z.Cursor, 9);
    Formel_Cursor_rechts(z);
    EXPECT_EQ(z.Cursor, 9);  // stays at the end
    Formelzeile anfang = Zeile("[U]", 0);
    Formel_Cursor_links(anfang);
    EXPECT_EQ(anfang.Cursor, 0);
}

TEST(Formeleingabe, DelHinterEinerReferenzLoeschtSieGanz) {
    Formelzeile z = Zeile("a=[U]*[Strom 1]", 15);
    Formel_Del(z);
    EXPECT_EQ(z.Text, "a=[U]*");
    EXPECT_EQ(z.Cursor, 6);
    Formel_Del(z);
    EXPECT_EQ(z.Text, "a=[U]");
    Formel_Del(z);
    EXPECT_EQ(z.Text, "a=");
    EXPECT_EQ(z.Cursor, 2);
    // Inside a reference the whole reference goes as well.
    Formelzeile innen = Zeile("a=[U]+1", 4);
    Formel_Del(innen);
    EXPECT_EQ(innen.Text, "a=+1");
    EXPECT_EQ(innen.Cursor, 2);
    Formelzeile leer = Zeile("", 0);
    Formel_Del(leer);
    EXPECT_EQ(leer.Text, "");
}

TEST(Formeleingabe, KlickInEineReferenzMarkiertSieGanz) {
    Formelzeile z = Zeile("a=2*[Spannung]", 8);
    Formel_markieren(z);
    EXPECT_EQ(z.Auswahlanfang, 4);
    EXPECT_EQ(z.Auswahllänge, 10);
    Formelzeile aussen = Zeile("a=2*[Spannung]", 3);
    Formel_markieren(aussen);
    EXPECT_EQ(aussen.Auswahllänge, 0);
}

TEST(Formeleingabe, NurEineZeileMitGleichheitszeichenIstAnnehmbar) {
    EXPECT_FALSE(Formel_annehmbar("[a]*2_V"));
    EXPECT_FALSE(Formel_annehmbar(""));
    EXPECT_TRUE(Formel_annehmbar("x=[a]*2_V"));
    EXPECT_STREQ(Formelfehler_Hinweis, "Fehler im Rechenstring!");
}
