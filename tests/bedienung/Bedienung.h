#pragma once
// The real Kestrix on an X screen of its own, operated as on the panel: every
// action is a pointer click or key press through the X server, every check
// reads what the program shows (its widget report) or what reached the disk.
#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "support/Bildschirm.h"
#include "support/Programmlauf.h"
#include "support/Teststation.h"

class Bedienung : public ::testing::Test {
protected:
    Teststation station;
    std::unique_ptr<Bildschirm> schirm;  // outlives the program on it
    Programmlauf lauf{station};
    Auskunft bild;  // the last report

    // Screen of 'breite' x 'höhe', Kestrix with 'argumente', main window shown.
    void starten(int breite = 320, int höhe = 240, const QStringList& argumente = {}) {
        schirm = std::make_unique<Bildschirm>(breite, höhe);
        ASSERT_TRUE(schirm->läuft()) << "Xvfb";
        lauf.Anzeige = schirm->Anzeige();
        ASSERT_TRUE(lauf.Kestrix_starten(argumente));
        oben("Hauptfenster");
    }

    Auskunft sehen() { return bild = Bildschirm::Auskunft_holen(lauf.Pid(), lauf.Auskunftsdatei()); }
    Auskunft abwarten(const std::function<bool(const Auskunft&)>& bedingung, int ms = 8000) {
        return bild = Bildschirm::abwarten(lauf.Pid(), lauf.Auskunftsdatei(), bedingung, ms);
    }

    // Waits until 'seite' is the top page of the frame.
    void oben(const QString& seite) {
        abwarten([&](const Auskunft& a) { return a.oberste_Seite() == seite; });
        ASSERT_EQ(bild.oberste_Seite(), seite) << bild.Seitenstapel().join(", ").toStdString();
    }

    // Every control of 'seite' on the screen and not covered; a screenshot.
    void prüfen(const QString& seite, const QString& foto) {
        abwarten([](const Auskunft& a) {  // no list left open
            for (const Steuerelement& e : a.Elemente)
                if (e.Tiefe == 0 && e.Klasse == "QComboBoxPrivateContainer")
                    return false;
            return true;
        });
        EXPECT_EQ(bild.Mängel(seite, schirm->Fläche()), QStringList{}) << seite.toStdString();
        EXPECT_FALSE(schirm->Foto(foto).isEmpty());
    }

    // A touch on the control 'name' (with 'text', when given) of the last report.
    void tippen(const QString& name, const QString& text = {}) {
        const Steuerelement* e = bild.finden(name, text);
        ASSERT_TRUE(e) << name.toStdString() << " " << text.toStdString();
        ASSERT_TRUE(schirm->klicken(e));
    }
    void tippen_auf(const QString& seite, const QString& text) {
        for (const Steuerelement& e : bild.auf_Seite(seite))
            if (e.Text == text) {
                ASSERT_TRUE(schirm->klicken(&e));
                return;
            }
        FAIL() << seite.toStdString() << ": " << text.toStdString();
    }
    void tippen_auf_Text(const QString& text) {
        const Steuerelement* e = bild.mit_Text(text);
        ASSERT_TRUE(e) << text.toStdString();
        ASSERT_TRUE(schirm->klicken(e));
    }

    // The arrow of 'seite': the rightmost (">>") or leftmost ("<<") button of
    // its bottom row.
    std::optional<Steuerelement> Pfeil(const QString& seite, bool vor) const {
        const QList<Steuerelement> teile = bild.auf_Seite(seite);
        std::optional<Steuerelement> pfeil;
        if (teile.isEmpty())
            return pfeil;
        const auto knopf = [&](const Steuerelement& e) {
            return e.Tiefe == teile.first().Tiefe + 1 && e.Klasse == "QPushButton";
        };
        int unten = 0;
        for (const Steuerelement& e : teile)
            if (knopf(e))
                unten = std::max(unten, e.Rechteck.top() - 10);
        for (const Steuerelement& e : teile)
            if (knopf(e) && e.Rechteck.top() >= unten &&
                (!pfeil || (vor ? e.Rechteck.x() > pfeil->Rechteck.x() : e.Rechteck.x() < pfeil->Rechteck.x())))
                pfeil = e;
        return pfeil;
    }
    // Along the arrows from the first page: each next one on top, checked
    // and photographed as "NN_page", counting from 'nummer'.
    void Kette_entlang(const QStringList& seiten, int nummer) {
        for (int i = 1; i < seiten.size(); ++i) {
            ASSERT_NO_FATAL_FAILURE(Pfeil_tippen(seiten[i - 1], seiten[i]));
            prüfen(seiten[i], QString("%1_%2").arg(nummer + i - 1, 2, 10, QChar('0')).arg(seiten[i]));
        }
    }
    // Goes on with ">>" (or back with "<<") and waits for 'nach' on top.
    void Pfeil_tippen(const QString& von, const QString& nach, bool vor = true) {
        const std::optional<Steuerelement> pfeil = Pfeil(von, vor);
        ASSERT_TRUE(pfeil) << von.toStdString();
        ASSERT_TRUE(schirm->klicken(&*pfeil));
        oben(nach);
    }
};
