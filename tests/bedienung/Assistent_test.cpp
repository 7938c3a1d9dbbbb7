// The update wizard on the panel: the box to update is chosen by a touch on
// it, never by the list merely getting the focus.
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "support/Bildschirm.h"
#include "support/Teststation.h"

#ifdef LOADMATE_PFAD
namespace {
const Steuerelement* Zeile_mit(const Auskunft& a, const QString& text) {
    for (const Steuerelement& e : a.Elemente)
        if (e.Klasse == "Zeile" && e.Text == text)
            return &e;
    return nullptr;
}
}

TEST(Assistent_am_Panel, nur_ein_Tippen_waehlt_die_Box) {
    Bildschirm schirm(320, 240);
    ASSERT_TRUE(schirm.läuft());
    Q7Sim box({"--discovery", "127.0.0.2:0", "--serial", "111111111", "--reply-address", "127.0.0.11",
               "--extra-box", "127.0.0.12,222222222"});
    ASSERT_TRUE(box.läuft());
    QTemporaryDir ordner;
    const QString auskunft = ordner.filePath("auskunft.txt");
    QProcess wizard;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert("DISPLAY", schirm.Anzeige());
    umgebung.insert("QT_QPA_PLATFORM", "xcb");
    umgebung.insert("LOADMATE_FENSTERAUSKUNFT", auskunft);
    umgebung.insert("LOADMATE_DIR", ordner.path());
    umgebung.insert("KESTRIX_DISCOVERY_ADDR", "127.0.0.2");
    umgebung.insert("KESTRIX_DISCOVERY_PORT", QString::number(box.Udpport()));
    wizard.setProcessEnvironment(umgebung);
    wizard.start(LOADMATE_PFAD, {});
    ASSERT_TRUE(wizard.waitForStarted(5000));
    const qint64 pid = wizard.processId();
    auto abwarten = [&](const std::function<bool(const Auskunft&)>& bedingung) {
        return Bildschirm::abwarten(pid, auskunft, bedingung);
    };

    Auskunft bild = abwarten([](const Auskunft& a) { return a.mit_Text("Weiter >"); });
    // The whole window is 4095 x 3660 twips; without a window manager there
    // is no title bar, so that is the window itself.
    const Steuerelement* fenster = bild.mit_Text("Orvamet Kestrix Q7-Update Wizard");
    ASSERT_TRUE(fenster);
    EXPECT_EQ(fenster->Rechteck.size(), QSize(273, 244));
    EXPECT_FALSE(schirm.Foto("Assistent_Schritt1").isEmpty());

    ASSERT_TRUE(schirm.klicken(bild.mit_Text("Weiter >")));
    bild = abwarten([](const Auskunft& a) {
        return Zeile_mit(a, "127.0.0.11    111111111") && Zeile_mit(a, "127.0.0.12    222222222");
    });
    ASSERT_TRUE(Zeile_mit(bild, "127.0.0.12    222222222"));
    for (const Steuerelement& e : bild.Elemente)
        if (e.Tiefe > 0 && e.Klasse != "Zeile")
            EXPECT_TRUE(schirm.Fläche().contains(e.Rechteck)) << e.Klasse.toStdString() << " " << e.Text.toStdString();

    // Tab moves the focus through the list, and the window loses and
    // regains the focus: no box is chosen by that.
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(schirm.Taste("Tab"));
    ASSERT_TRUE(schirm.Fokus_weg_und_zurück(pid));
    bild = abwarten([](const Auskunft&) { return true; });
    EXPECT_FALSE(bild.mit_Text("Weiter >")->Zustand);
    EXPECT_FALSE(Zeile_mit(bild, "127.0.0.11    111111111")->gewählt);
    EXPECT_FALSE(schirm.Foto("Assistent_Schritt2_Tab").isEmpty());

    // A touch on the second box chooses it.
    ASSERT_TRUE(schirm.klicken(Zeile_mit(bild, "127.0.0.12    222222222")));
    bild = abwarten([](const Auskunft& a) { return a.mit_Text("Weiter >")->Zustand; });
    EXPECT_TRUE(bild.mit_Text("Weiter >")->Zustand);
    EXPECT_TRUE(Zeile_mit(bild, "127.0.0.12    222222222")->gewählt);
    EXPECT_FALSE(Zeile_mit(bild, "127.0.0.11    111111111")->gewählt);
    EXPECT_FALSE(schirm.Foto("Assistent_Schritt2_gewaehlt").isEmpty());

    wizard.kill();
    wizard.waitForFinished(3000);
}
#endif
