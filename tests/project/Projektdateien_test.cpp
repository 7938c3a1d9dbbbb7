// The record layouts of the project files, against bytes written out by hand.
#include <gtest/gtest.h>

#include "project/Projektdateien.h"
#include "support/Teststation.h"

using namespace Projektdateien;

namespace {
QByteArray le16(int v) { return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char((v >> 8) & 0xFF)); }
QByteArray text(const char* t, int breite) {
    QByteArray b(t);
    return b + QByteArray(breite - b.size(), ' ');
}
}

TEST(Projektdateien, Satzlaengen_stimmen_mit_den_Dateien_ueberein) {
    Programmdaten d;
    for (const Tabelle* t : {&kanaele, &scanlist, &aufzlist, &messbvar, &fkt_cnst, &optiscan, &vorg_rei, &Buttons,
                             &Dformat, &Datlog, &Stromaus, &matrix})
        EXPECT_EQ(schreiben(*t, d).size(), t->Satzlänge * (t->letzter - t->erster + 1)) << t->Verzeichnis;
}

TEST(Projektdateien, Kanalsatz_vier_Laeufe_von_neun_Feldern) {
    Kanalgruppe g;
    g.Klemme[1] = "A 01";
    g.Art[1] = "Input";
    g.Messblockzuordnung[1] = "Gleichspannung";
    g.Signalbezeichnung[1] = "Vorlauf";
    const QByteArray satz = Satz(g);
    ASSERT_EQ(satz.size(), 441);
    const QByteArray null4(4, '\0'), null5(5, '\0'), null20(20, '\0');
    EXPECT_EQ(satz.mid(0, 4), null4);  // element 0 never assigned
    EXPECT_EQ(satz.mid(4, 4), "A 01");
    EXPECT_EQ(satz.mid(36, 5), null5);
    EXPECT_EQ(satz.mid(41, 5), "Input");
    EXPECT_EQ(satz.mid(81, 20), null20);
    EXPECT_EQ(satz.mid(101, 20), text("Gleichspannung", 20));
    EXPECT_EQ(satz.mid(261, 20), null20);
    EXPECT_EQ(satz.mid(281, 20), text("Vorlauf", 20));
}

TEST(Projektdateien, Scanlistensatz) {
    Scanlistensatz s;
    s.Klemmennummer = 5;
    s.Gruppennummer = 3;
    s.Zusatzzahl = 0x01020304;
    s.Messblockname = "Widerstand";
    s.Zusatztext = "";
    s.Signalname = QString::fromUtf8("Rücklauf");
    EXPECT_EQ(Satz(s), le16(5) + le16(3) + QByteArray("\x04\x03\x02\x01", 4) + text("Widerstand", 20) +
                           text("", 5) + text("R\xFC" "cklauf", 20));
}

TEST(Projektdateien, Messblocksatz_144_Bytes) {
    Messblocksatz m;
    m.Gerätetyp = 1;
    m.Messblockname = "Gleichspannung";
    m.Funktionsname = "Gleichspannung";
    m.Sensortyp = 1;
    m.Funktionsnummer = 0;
    m.Funktionspräfix = ":VOLT:DC";
    m.Bereich = 3;
    m.Integrationszeit = 4;
    m.Messanzahl = 2;
    m.Anzeige = 3;
    m.Mittelung = 7;
    m.Mittelungsart = 1;
    m.Kaltstelle_subtrahieren = 1;
    m.Autozero = 1;
    const QByteArray satz = Satz(m);
    ASSERT_EQ(satz.size(), 144);
    QByteArray erwartet = le16(1) + text("Gleichspannung", 20) + text("Gleichspannung", 20) + le16(1) + le16(0) +
                          text(":VOLT:DC", 30) + QByteArray(10 + 2 + 10, '\0');
    erwartet += QByteArray("\x00\x00\x40\x40", 4);  // 3.0f
    erwartet += QByteArray("\x00\x00\x80\x40", 4);  // 4.0f
    erwartet += le16(2) + QByteArray(4 + 2 + 2, '\0') + le16(3) + le16(7) + le16(1) + QByteArray(16, '\0') +
                le16(1) + le16(1) + QByteArray(2, '\0');
    EXPECT_EQ(satz, erwartet);
}

TEST(Projektdateien, Datenformat_Logger_und_Matrix) {
    Datenformatsatz_t f;
    f.max = 1;
    f.Zeit_am_Zeilenbeginn = -1;
    f.Dezimalpunkt = 1;
    EXPECT_EQ(Satz(f), le16(0) + le16(0) + le16(0) + le16(1) + le16(0) + le16(0) + le16(0) + le16(0) + le16(-1) +
                           le16(0) + le16(0) + le16(0) + le16(0) + le16(1));
    Datenloggersatz_t l;
    l.Datenlogger_ein = 1;
    l.Zeitformatindex = 2;
    EXPECT_EQ(Satz(l), le16(1) + le16(0) + le16(0) + le16(0) + le16(2) + le16(0) + le16(0) + le16(0) + le16(0));
    Matrixsatz m;
    m.Aktiv = 1;
    m.Punktzahl = 63;
    m.Matrixname = "Boden";
    m.KalDatei = 1;
    m.Signal = "Aussen";
    EXPECT_EQ(Satz(m), le16(1) + le16(63) + le16(0) + text("Boden", 30) + le16(0) + le16(1) + le16(0) +
                           text("Aussen", 30));
}

TEST(Projektdateien, Lesen_gibt_die_Bytes_unveraendert_zurueck) {
    QByteArray datei;
    for (int r = 0; r < 20; ++r)
        for (int i = 0; i < 144; ++i)
            datei.append(static_cast<char>((r * 31 + i * 7) & 0xFF));
    Programmdaten d;
    lesen(messbvar, datei, d);
    EXPECT_EQ(schreiben(messbvar, d), datei);

    QByteArray aufz(53 * 120, '\0');
    aufz.replace(0, 4, le16(7) + le16(2));
    Programmdaten e;
    lesen(aufzlist, aufz, e);
    EXPECT_EQ(e.Aufzeichnungstabelle[0].Klemmennummer, 7);  // record 1 is element 0
    EXPECT_EQ(e.Aufzeichnungstabelle[0].Gruppennummer, 2);
}

TEST(Projektdateien, Zu_kurze_Datei_laesst_fehlende_Saetze_stehen) {
    Programmdaten d;
    d.Knopfzustände[3] = -1;
    lesen(Buttons, le16(5) + le16(6), d);
    EXPECT_EQ(d.Knopfzustände[1], 5);
    EXPECT_EQ(d.Knopfzustände[2], 6);
    EXPECT_EQ(d.Knopfzustände[3], -1);
}
