// The keyboard's entry rules without the window: which names are refused
// with which message, and how the cursor keeps signal references whole.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "keyboard/Eingaberegeln.h"
#include "support/Teststation.h"

#include <ostream>

using namespace Eingaberegeln;


TEST(Eingaberegeln, Signalname_Zeichen) {
    const Prüfergebnis ß = Signalname_prüfen("Maßband");
    EXPECT_EQ(ß.Meldung, "ß Zeichen ist nicht erlaubt!");
    EXPECT_TRUE(ß.schließen);
    // The first forbidden character is named.
    EXPECT_EQ(Signalname_prüfen("a#b$").Meldung, "# Zeichen ist nicht erlaubt!");
    EXPECT_EQ(Signalname_prüfen("T[1]").Meldung, "[ Zeichen ist nicht erlaubt!");
    EXPECT_EQ(Signalname_prüfen("x=1").Meldung, "= Zeichen ist nicht erlaubt!");
    EXPECT_EQ(Signalname_prüfen("é").Meldung, "é Zeichen ist nicht erlaubt!");

    EXPECT_TRUE(Signalname_prüfen("Öl_Temp 2 (a)").angenommen());
    EXPECT_TRUE(Signalname_prüfen("ÄÖÜäöü").angenommen());
    EXPECT_TRUE(Signalname_prüfen("a+b-c*d/e^f.g,h").angenommen());
    EXPECT_TRUE(Signalname_prüfen("").angenommen());  // deletes the name
    EXPECT_TRUE(Signalname_prüfen("Zwölf_Zeichen_16").angenommen());
}

TEST(Eingaberegeln, Signalname_aus_Leerzeichen_und_zu_lang) {
    const Prüfergebnis leer = Signalname_prüfen("   ");
    EXPECT_EQ(leer.Meldung, "Signalbezeichung darf nicht aus Leerzeichen bestehen");
    EXPECT_FALSE(leer.schließen);
    EXPECT_TRUE(Signalname_prüfen(" a").angenommen());
    // The table keeps 20 characters.
    EXPECT_TRUE(Signalname_prüfen("zwanzig_Zeichen_lang").angenommen());
    EXPECT_TRUE(Signalname_prüfen("zwanzig_Zeichen_lang  ").angenommen());
    EXPECT_EQ(Signalname_prüfen("einundzwanzig_Zeiche").Meldung, "");
    EXPECT_EQ(Signalname_prüfen("einundzwanzig_Zeichen").Meldung, "Bitte max. 20 Zeichen!");
    EXPECT_FALSE(Signalname_prüfen("einundzwanzig_Zeichen").schließen);
}

TEST(Eingaberegeln, Blockname) {
    const QStringList blöcke{"Gleichspannung", "Widerstand", "neu"};
    EXPECT_EQ(Blockname_prüfen("", blöcke), "");
    EXPECT_EQ(Blockname_prüfen("PT100", blöcke), "");
    EXPECT_EQ(Blockname_prüfen("Sechzehn_Zeichen", blöcke), "");
    EXPECT_EQ(Blockname_prüfen("Siebzehn_Zeichen1", blöcke), "Bitte max. 16 Zeichen!");
    EXPECT_EQ(Blockname_prüfen("   ", blöcke), "Messblockname darf nicht aus Leerzeichen bestehen!");
    EXPECT_EQ(Blockname_prüfen("Widerstand", blöcke), "Diese Messblockname existiert bereits!");
    EXPECT_EQ(Blockname_prüfen("Widerstand  ", blöcke), "Diese Messblockname existiert bereits!");
    // A second "neu" would end the block list early.
    EXPECT_EQ(Blockname_prüfen("neu", blöcke), "Diese Messblockname existiert bereits!");
    EXPECT_EQ(Blockname_prüfen("widerstand", blöcke), "");
    EXPECT_EQ(Blockname_prüfen("", {"", "neu"}), "Diese Messblockname existiert bereits!");
}

TEST(Eingaberegeln, Signalaenderung) {
    EXPECT_EQ(Signaländerung("Ua", "Ua"), Änderung::nichts);
    EXPECT_EQ(Signaländerung("", ""), Änderung::nichts);
    EXPECT_EQ(Signaländerung("Ua", "Ua "), Änderung::nichts);
    EXPECT_EQ(Signaländerung("Ua", "Ub"), Änderung::geändert);
    EXPECT_EQ(Signaländerung("", "Ub"), Änderung::hinzu);
    EXPECT_EQ(Signaländerung("Ua", ""), Änderung::gelöscht);
    EXPECT_EQ(Markertext(Änderung::geändert), "geändert");
    EXPECT_EQ(Markertext(Änderung::hinzu), "hinzu");
    EXPECT_EQ(Markertext(Änderung::gelöscht), "gelöscht");
    EXPECT_EQ(Markertext(Änderung::nichts), "nichts");
}

namespace {
Zeile Z(const QString& text, int cursor) { return Zeile{text, cursor, cursor, 0}; }
}  // namespace

TEST(Eingaberegeln, Del_hinter_einer_Referenz_nimmt_sie_ganz) {
    Zeile z = Z("x=[Ua]", 6);
    löschen(z);
    EXPECT_EQ(z.Text, "x=");
    EXPECT_EQ(z.Cursor, 2);

    z = Z("x=[Ua]*2", 6);
    löschen(z);
    EXPECT_EQ(z.Text, "x=*2");
    EXPECT_EQ(z.Cursor, 2);

    z = Z("x=[Ua]+", 7);  // behind the "+": only the "+"
    löschen(z);
    EXPECT_EQ(z.Text, "x=[Ua]");

    z = Z("x=[Ua]+[Ub]", 5);  // inside: the whole reference too
    löschen(z);
    EXPECT_EQ(z.Text, "x=+[Ub]");
    EXPECT_EQ(z.Cursor, 2);

    z = Z("ab", 0);
    löschen(z);
    EXPECT_EQ(z.Text, "ab");

    // A selection that cuts into a reference takes all of it.
    z = Zeile{"x=[Ua]+[Ub]", 9, 4, 5};
    löschen(z);
    EXPECT_EQ(z.Text, "x=");
}

TEST(Eingaberegeln, Cursor_springt_ueber_Referenzen) {
    Zeile z = Z("1+[Ua]*2", 6);
    links(z, true);
    EXPECT_EQ(z.Cursor, 2);
    links(z, true);
    EXPECT_EQ(z.Cursor, 1);
    rechts(z, true);
    EXPECT_EQ(z.Cursor, 2);
    rechts(z, true);
    EXPECT_EQ(z.Cursor, 6);
    rechts(z, true);
    EXPECT_EQ(z.Cursor, 7);
    // Without the bracket rule the cursor goes character by character.
    z = Z("1+[Ua]*2", 6);
    links(z, false);
    EXPECT_EQ(z.Cursor, 5);
    z = Z("ab", 2);
    rechts(z, true);
    EXPECT_EQ(z.Cursor, 2);
    z = Z("ab", 0);
    links(z, true);
    EXPECT_EQ(z.Cursor, 0);
}

TEST(Eingaberegeln, Tippen_in_einer_Referenz_setzt_dahinter) {
    Zeile z = Z("y=[Ua]", 4);
    einfügen(z, "+", true);
    EXPECT_EQ(z.Text, "y=[Ua]+");
    EXPECT_EQ(z.Cursor, 7);
    z = Z("y=[Ua]", 4);
    einfügen(z, "b", false);
    EXPECT_EQ(z.Text, "y=[Uba]");
    z = Z("y=", 2);
    einfügen(z, "[Ub]", true);
    EXPECT_EQ(z.Text, "y=[Ub]");
    EXPECT_EQ(z.Cursor, 6);
}

TEST(Eingaberegeln, markieren_waehlt_die_ganze_Referenz) {
    Zeile z = Z("y=[Ua]+1", 4);
    markieren(z);
    EXPECT_EQ(z.Auswahlbeginn, 2);
    EXPECT_EQ(z.Auswahllänge, 4);
    z = Z("y=[Ua]+1", 6);  // behind it: nothing selected
    markieren(z);
    EXPECT_EQ(z.Auswahllänge, 0);
    z = Z("y=[Ua+1", 4);  // no closing bracket: no reference
    markieren(z);
    EXPECT_EQ(z.Auswahllänge, 0);
}

// Whatever the operator does with the bracket rule on, every "[" keeps its "]".
TEST(Eingaberegeln, Referenzen_bleiben_ganz) {
    auto ganz = [](const QString& t) {
        int offen = 0;
        for (QChar c : t) {
            if (c == '[') {
                if (offen)
                    return false;
                offen = 1;
            } else if (c == ']') {
                if (!offen)
                    return false;
                offen = 0;
            }
        }
        return offen == 0;
    };
    QRandomGenerator zufall(7);
    for (int lauf = 0; lauf < 300; ++lauf) {
        Zeile z = Z("a=[Ua]+[Ub]*[T1]", 0);
        z.Cursor = zufall.bounded(static_cast<int>(z.Text.size()) + 1);
        for (int schritt = 0; schritt < 25; ++schritt) {
            switch (zufall.bounded(6)) {
            case 0: links(z, true); break;
            case 1: rechts(z, true); break;
            case 2: einfügen(z, "x", true); break;
            case 3: einfügen(z, "[Uc]", true); break;
            case 4: löschen(z); break;
            case 5:
                z.Cursor = zufall.bounded(static_cast<int>(z.Text.size()) + 1);
                markieren(z);
                break;
            }
            ASSERT_TRUE(ganz(z.Text)) << z.Text.toStdString();
            ASSERT_GE(z.Cursor, 0);
            ASSERT_LE(z.Cursor, z.Text.size());
        }
    }
}
