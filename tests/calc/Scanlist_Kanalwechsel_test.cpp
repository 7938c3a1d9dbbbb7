// Each kind of terminal edit under each pair of order options, driven as the
// channel page drives the two lists; checked by the resulting scan list and
// recording order.
#include <gtest/gtest.h>

#include "Scanlist_Testhilfe.h"

using namespace Testhilfe;

namespace {
struct Paar {
    bool scan_halten;
    bool aufz_halten;
    const char* name;
};
const Paar Paare[] = {{false, false, "Scanzeit optimieren / aus Scanliste übernehmen"},
                      {true, false, "Scanliste festhalten / aus Scanliste übernehmen"},
                      {false, true, "Scanzeit optimieren / Aufzeichnung festhalten"},
                      {true, true, "Scanliste festhalten / Aufzeichnung festhalten"}};

// Three points on group A and B: Ra (R1), Ua (V1), Ub (V1, on the sense slot
// switched to "Input"), in that order.
struct Aufbau {
    Seiten s;
    Kanalseite k{*s.scan, *s.aufz};
    explicit Aufbau(const Paar& p) {
        Vorgabe({"Gleichspannung", "Widerstand"});
        Blöcke({{"V1", "Gleichspannung"}, {"R1", "Widerstand"}});
        s.Scan_festhalten(p.scan_halten);
        s.Aufz_festhalten(p.aufz_halten);
        k.Punkt(1, 3, "Ra", "R1");
        k.Punkt(1, 1, "Ua", "V1");
        k.Art(2, 2, "Input");
        k.Punkt(2, 2, "Ub", "V1");
    }
};

void prüfen(const Aufbau& a, const Paar& p, const QStringList& scan_opt, const QStringList& scan_halten,
            const QStringList& aufz_halten) {
    const QStringList scan = p.scan_halten ? scan_halten : scan_opt;
    EXPECT_EQ(Scantabelle(), scan);
    EXPECT_EQ(Zeilen(a.s.scan->List2), ohne_Klemme(scan));
    const QStringList aufz = p.aufz_halten ? aufz_halten : scan;
    EXPECT_EQ(Aufzeichnungstabelle(), aufz);
    EXPECT_EQ(Zeilen(a.s.aufz->List2), ohne_Klemme(aufz));
    const Änderungsmerker_t& m = Daten.Änderungsmerker;
    EXPECT_FALSE(m.Merker_hinzu || m.Merker_gelöscht || m.Merker_geändert || m.Merker_Sense);
    EXPECT_EQ(Daten.Headermerker, 1);
}
}  // namespace

TEST(Scanlist_Kanalwechsel, Ausgangslage) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        prüfen(a, p, {"V1 Ua A 01", "V1 Ub B 02", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"},
               {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"});
    }
}

TEST(Scanlist_Kanalwechsel, hinzu) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        a.k.Punkt(1, 2, "Uc", "V1");
        prüfen(a, p, {"V1 Ua A 01", "V1 Uc A 02", "V1 Ub B 02", "R1 Ra A 03"},
               {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02", "V1 Uc A 02"},
               {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02", "V1 Uc A 02"});
    }
}

TEST(Scanlist_Kanalwechsel, geloescht) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        a.k.Signal(1, 1, "");
        prüfen(a, p, {"V1 Ub B 02", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Ub B 02"},
               {"R1 Ra A 03", "gelöscht! gelöscht! -", "V1 Ub B 02"});
        EXPECT_TRUE(Daten.Kanaltabelle[1].Messblockzuordnung[1].text().isEmpty());
    }
}

TEST(Scanlist_Kanalwechsel, geaendert_Signalname) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        a.k.Signal(1, 1, "Uz");
        prüfen(a, p, {"V1 Uz A 01", "V1 Ub B 02", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Uz A 01", "V1 Ub B 02"},
               {"R1 Ra A 03", "V1 Uz A 01", "V1 Ub B 02"});
    }
}

TEST(Scanlist_Kanalwechsel, geaendert_Messblock) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        a.k.Block(1, 3, "V1");
        prüfen(a, p, {"V1 Ua A 01", "V1 Ra A 03", "V1 Ub B 02"}, {"V1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"},
               {"V1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"});
    }
}

TEST(Scanlist_Kanalwechsel, auf_Sense_geaendert) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        a.k.Art(2, 2, "Sense");
        prüfen(a, p, {"V1 Ua A 01", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Ua A 01"}, {"R1 Ra A 03", "V1 Ua A 01"});
        EXPECT_EQ(Daten.Kanaltabelle[2].Signalbezeichnung[2].text(), "Ub");
        EXPECT_EQ(Daten.Kanaltabelle[2].Messblockzuordnung[2].text(), "V1");
    }
}

TEST(Scanlist_Kanalwechsel, gleiche_Art_und_gleicher_Name_aendern_nichts) {
    for (const Paar& p : Paare) {
        SCOPED_TRACE(p.name);
        Aufbau a(p);
        Daten.Headermerker = 0;
        a.k.Art(1, 1, "Input");
        a.k.Signal(1, 3, "Ra");
        a.k.Block(1, 1, "V1");
        prüfen(a, p, {"V1 Ua A 01", "V1 Ub B 02", "R1 Ra A 03"}, {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"},
               {"R1 Ra A 03", "V1 Ua A 01", "V1 Ub B 02"});
    }
}
