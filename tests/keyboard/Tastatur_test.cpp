// The on-screen keyboard as the operator uses it: keys, Shift, the width
// limit, Enter and Escape, and the "Return" and "Esc" rules of the channel
// page and the block window.
#include <gtest/gtest.h>

#include <QCursor>
#include <QDir>
#include <QTest>

#include "points/Kanalbelegung_Testhilfe.h"

using namespace Kanaltest;

namespace {
// The keyboard opened by a caller with a text.
void öffnen(Kanalstation& s, const QString& aufrufer, const QString& text = {}) {
    Daten.Tastaturaufrufer = aufrufer;
    s.tastatur->Text1->setText(text);
    s.tastatur->zeigen();
}
}  // namespace

TEST(Tastatur, Lage_und_Tasten) {
    Kanalstation s;
    EXPECT_EQ(s.tastatur->geometry(), QRect(105, 4, 215, 133));  // 1580, 60, 3220 (to the edge), 2000 twips
    EXPECT_EQ(s.tastatur->Umschaltzähler, 0);
    // Letters, umlauts, digits, the signs of names and formulas, brackets, cursor keys.
    for (const char* t : {"A", "Z", "Ä", "Ö", "Ü", "0", "9", "+", "-", "*", "/", "^", "(", ")", ".", ",", "_", "[", "]",
                          "=", "<-", "->"})
        EXPECT_NE(s.tastatur->Taste_mit(QString::fromUtf8(t)), nullptr) << t;
    EXPECT_EQ(s.tastatur->Label2->text(), "Spacebar");
    EXPECT_EQ(s.tastatur->Label3->text(), "Esc");
    EXPECT_EQ(s.tastatur->Label4->text(), "Return");
    EXPECT_EQ(s.tastatur->Label6->text(), "Shift");
    EXPECT_EQ(s.tastatur->Label7->text(), "Del");
    // Every key lies on the panel (the window reaches past its right edge)
    // and no two overlap.
    const QRect auf_dem_Schirm(0, 0, 320 - s.tastatur->x(), s.tastatur->height());
    QList<QWidget*> tasten;
    for (Taste* t : s.tastatur->Label1)
        tasten << t;
    tasten << s.tastatur->Label2 << s.tastatur->Label3 << s.tastatur->Label4 << s.tastatur->Label6
           << s.tastatur->Label7 << s.tastatur->Text1;
    for (int i = 0; i < tasten.size(); ++i) {
        EXPECT_TRUE(auf_dem_Schirm.contains(tasten[i]->geometry())) << i;
        for (int j = i + 1; j < tasten.size(); ++j)
            EXPECT_FALSE(tasten[i]->geometry().intersects(tasten[j]->geometry())) << i << " " << j;
    }
}

TEST(Tastatur, Shift_Leertaste_und_Cursortasten) {
    Kanalstation s;
    öffnen(s, "Kanalbelegung");
    s.tippen({"A", "Ä"});
    EXPECT_EQ(s.tastatur->Text1->text(), "aä");
    s.tippen({"Shift"});
    EXPECT_EQ(s.tastatur->Umschaltzähler, 1);
    EXPECT_EQ(s.tastatur->Label6->palette().color(QPalette::Window), QColor(0x40, 0x40, 0x40));
    EXPECT_EQ(s.tastatur->Label6->palette().color(QPalette::WindowText), QColor(Qt::white));
    s.tippen({"B", "Ö", "1"});
    EXPECT_EQ(s.tastatur->Text1->text(), "aäBÖ1");
    s.tippen({"Shift"});  // toggles back
    EXPECT_EQ(s.tastatur->Umschaltzähler, 0);
    EXPECT_EQ(s.tastatur->Label6->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
    s.tippen({"<-", "<-", "Spacebar", "C", "->", "->", "->", "_"});
    EXPECT_EQ(s.tastatur->Text1->text(), "aäB cÖ1_");
    s.tippen({"<-", "Del"});
    EXPECT_EQ(s.tastatur->Text1->text(), "aäB cÖ_");
    EXPECT_EQ(s.tastatur->Text1->cursorPosition(), 6);
}

TEST(Tastatur, Breitengrenze_1500_Twips_in_der_Schrift_des_Feldes) {
    Kanalstation s;
    öffnen(s, "Kanalbelegung");
    auto füllen = [&](const char* taste) {
        s.tastatur->Text1->clear();
        for (int i = 0; i < 100; ++i)
            s.tippen({taste});
        return s.tastatur->Text1->text();
    };
    const QFontMetrics maß(s.tastatur->Text1->font());
    const QString breit = füllen("W");
    const QString schmal = füllen("I");
    for (const QString& text : {breit, schmal}) {
        EXPECT_GE(maß.horizontalAdvance(text) * 15, 1500) << text.toStdString();
        EXPECT_LT(maß.horizontalAdvance(text.chopped(1)) * 15, 1500) << text.toStdString();
    }
    EXPECT_LT(breit.size(), 100);
    EXPECT_GT(schmal.size(), breit.size());
    // Neither blanks nor further keys pass the limit.
    s.tippen({"Spacebar", "A"});
    EXPECT_EQ(s.tastatur->Text1->text(), schmal);

    // A larger font in the field: fewer characters.
    QFont groß = s.tastatur->Text1->font();
    groß.setPixelSize(20);
    s.tastatur->Text1->setFont(groß);
    const QString groß_breit = füllen("W");
    EXPECT_LT(groß_breit.size(), breit.size());
    EXPECT_GE(QFontMetrics(groß).horizontalAdvance(groß_breit) * 15, 1500);
}

TEST(Tastatur, Del_hinter_einer_Referenz_und_markieren) {
    Kanalstation s;
    öffnen(s, "Kanalbelegung", "y=2*[Ua]");
    s.tippen({"Del"});
    EXPECT_EQ(s.tastatur->Text1->text(), "y=2*");
    s.tastatur->Text1->setText("y=[Ua]+1");
    s.tastatur->Text1->setCursorPosition(4);
    s.tastatur->markieren();
    EXPECT_EQ(s.tastatur->Text1->selectedText(), "[Ua]");
    // A click in the field does the same.
    s.tastatur->Text1->deselect();
    const int x = QFontMetrics(s.tastatur->Text1->font()).horizontalAdvance("y=[U") + 3;
    QTest::mouseClick(s.tastatur->Text1, Qt::LeftButton, {}, QPoint(x, s.tastatur->Text1->height() / 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(s.tastatur->Text1->selectedText(), "[Ua]");
}

TEST(Tastatur, Enter_und_Escape_im_Textfeld) {
    Kanalstation s;
    s.kanal->Label4_Click(2);
    s.tastatur->Text1->setText("Vorlauf");
    QTest::keyClick(s.tastatur->Text1, Qt::Key_Return);
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_EQ(Daten.Kanaltabelle[1].Signalbezeichnung[3].text(), "Vorlauf");
    EXPECT_TRUE(s.kanal->isEnabled());

    s.kanal->Label4_Click(2);
    EXPECT_EQ(s.tastatur->Text1->text(), "Vorlauf");
    s.tastatur->Text1->setText("Rücklauf");
    QTest::keyClick(s.tastatur->Text1, Qt::Key_Escape);
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_TRUE(s.kanal->isEnabled());
    EXPECT_EQ(Daten.Kanaltabelle[1].Signalbezeichnung[3].text(), "Vorlauf");
    EXPECT_TRUE(s.station.Dialoge.Meldungen.isEmpty());
}

TEST(Tastatur, Kanalbelegung_ss_abgewiesen) {
    Kanalstation s;
    s.kanal->Label4_Click(0);
    s.tastatur->Text1->setText("Maß");
    s.tastatur->Label4_Click();
    EXPECT_EQ(s.station.Dialoge.Meldungen, QStringList({"ß Zeichen ist nicht erlaubt!"}));
    // The keyboard closes, the page is back, nothing changed.
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_TRUE(s.kanal->isEnabled());
    EXPECT_TRUE(s.kanal->isVisible());
    EXPECT_TRUE(Daten.Kanaltabelle[1].Signalbezeichnung[1].text().isEmpty());
    EXPECT_TRUE(s.kanal->Label4[0]->text().isEmpty());
    EXPECT_TRUE(s.Marker().isEmpty());
}

TEST(Tastatur, Kanalbelegung_Leerzeichen_abgewiesen_Umlautname_angenommen) {
    Kanalstation s;
    s.kanal->Label4_Click(0);
    s.tastatur->Text1->setText("   ");
    s.tastatur->Label4_Click();
    EXPECT_EQ(s.station.Dialoge.Meldungen, QStringList({"Signalbezeichung darf nicht aus Leerzeichen bestehen"}));
    EXPECT_TRUE(s.tastatur->isVisible());  // open for correction
    EXPECT_FALSE(s.kanal->isEnabled());
    EXPECT_TRUE(Daten.Kanaltabelle[1].Signalbezeichnung[1].text().isEmpty());

    s.tastatur->Text1->clear();
    s.tippen({"Shift", "Ö", "Shift", "L", "_", "Shift", "T", "1", "Spacebar", "(", "Shift", "A", ")"});
    EXPECT_EQ(s.tastatur->Text1->text(), "Öl_T1 (a)");
    s.tastatur->Label4_Click();
    EXPECT_EQ(s.station.Dialoge.Meldungen.size(), 1);
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_TRUE(s.kanal->isEnabled());
    EXPECT_EQ(Daten.Kanaltabelle[1].Signalbezeichnung[1].text(), "Öl_T1 (a)");
    EXPECT_EQ(s.kanal->Label4[0]->text(), "Öl_T1 (a)");
    EXPECT_EQ(s.Marker(), QStringList({"hinzu"}));
}

TEST(Tastatur, MBForm_Blocknamen) {
    Kanalstation s;
    Kanalstation::Blöcke({{"Gleichspannung", "Gleichspannung"}, {"Widerstand", "Widerstand"}});
    const auto name_prüfen = [&](const QString& name) {
        s.station.Dialoge.Meldungen.clear();
        öffnen(s, "MBForm", name);
        s.tastatur->Label4_Click();
        return s.station.Dialoge.Meldungen;
    };
    EXPECT_EQ(name_prüfen("Widerstand"), QStringList({"Diese Messblockname existiert bereits!"}));
    EXPECT_TRUE(s.tastatur->isVisible());
    EXPECT_EQ(name_prüfen("ABCDEFGHIJKLMNOPQ"), QStringList({"Bitte max. 16 Zeichen!"}));
    EXPECT_TRUE(s.tastatur->isVisible());
    EXPECT_EQ(name_prüfen("   "), QStringList({"Messblockname darf nicht aus Leerzeichen bestehen!"}));
    EXPECT_TRUE(s.tastatur->isVisible());
    // Refusals leave the table as it was.
    EXPECT_EQ(Kanalbelegung::Blockliste(), QStringList({"Gleichspannung", "Widerstand", "neu"}));

    EXPECT_TRUE(name_prüfen("").isEmpty());
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_EQ(Daten.Messblocktabelle[3].Messblockname.roh(), QString(20, ' '));
    EXPECT_EQ(Daten.Messblocktabelle[4].Messblockname.text(), "neu");

    EXPECT_TRUE(name_prüfen("ABCDEFGHIJKLMNOP").isEmpty());
    EXPECT_EQ(Kanalbelegung::Blockliste(), QStringList({"Gleichspannung", "Widerstand", "", "ABCDEFGHIJKLMNOP", "neu"}));
}

TEST(Tastatur, MBForm_Esc_legt_nichts_an) {
    Kanalstation s;
    Kanalstation::Blöcke({{"V1", "Gleichspannung"}});
    s.Block(0, "neu");
    s.tastatur->Text1->setText("PT100");
    s.tastatur->Label3_Click();
    EXPECT_FALSE(s.tastatur->isVisible());
    EXPECT_TRUE(s.kanal->isEnabled());
    EXPECT_FALSE(s.mbform1->isVisible());
    EXPECT_TRUE(s.mbform1->isEnabled());
    EXPECT_EQ(Kanalbelegung::Blockliste(), QStringList({"V1", "neu"}));
}

TEST(Tastatur, andere_Aufrufer) {
    Kanalstation s;
    // Return of an unknown caller does nothing; Esc only hides.
    öffnen(s, "Unbekannt", "abc");
    s.tastatur->Label4_Click();
    EXPECT_TRUE(s.tastatur->isVisible());
    EXPECT_EQ(s.tastatur->Text1->text(), "abc");
    s.tastatur->Label3_Click();
    EXPECT_FALSE(s.tastatur->isVisible());

    // A caller plugs in its own rules and the bracket rule.
    QString übergeben;
    bool zurück = false;
    Tastatur::Aufruferregel regel;
    regel.Klammern = true;
    regel.Signalliste = true;
    regel.Return = [&](Tastatur& t, const QString& text) {
        übergeben = text;
        t.hide();
    };
    regel.Esc = [&] { zurück = true; };
    Tastatur::Aufrufer_anmelden("Formelseite", regel);
    Daten.Scanlistentabelle[1].Signalname = "Ua";
    Daten.Scanlistentabelle[2].Signalname = "Ub";
    Daten.Scanlistentabelle[3].Signalname = QString();
    öffnen(s, "Formelseite", "x=");
    ASSERT_FALSE(s.tastatur->List1->isHidden());
    EXPECT_EQ(s.tastatur->List1->count(), 2);
    s.tastatur->List1_Click(1);
    EXPECT_EQ(s.tastatur->Text1->text(), "x=[Ub]");
    s.tippen({"<-", "*", "<-", "<-", "->", "2"});
    EXPECT_EQ(s.tastatur->Text1->text(), "x=2*[Ub]");
    s.tastatur->Label4_Click();
    EXPECT_EQ(übergeben, "x=2*[Ub]");
    öffnen(s, "Formelseite");
    s.tastatur->Label3_Click();
    EXPECT_TRUE(zurück);
    // The channel page's caller does not show the list.
    öffnen(s, "Kanalbelegung");
    EXPECT_TRUE(s.tastatur->List1->isHidden());
}

TEST(Mausfangform, faengt_den_Zeiger) {
    Teststation station;
    QWidget fläche;
    auto* fang = new Mausfangform(&fläche);
    fang->Form_Load();
    EXPECT_EQ(fang->size(), QSize(653, 507));  // 9800 x 7600 twips
    EXPECT_EQ(fang->Label1->text(), "bitte warten!");
    fläche.show();
    fang->show();
    QCursor::setPos(100, 100);
    fang->Form_MouseMove({100, 100});
    fang->Form_MouseMove({101, 100});
    fang->Form_MouseMove({101, 101});  // a tremble stays below the threshold
    EXPECT_EQ(QCursor::pos(), QPoint(100, 100));
    fang->hide();
    fang->show();  // a new wait starts with no samples
    QCursor::setPos(140, 120);
    fang->Form_MouseMove({120, 110});
    fang->Form_MouseMove({130, 115});
    fang->Form_MouseMove({140, 120});
    // Put back by the distance moved over the three samples.
    EXPECT_EQ(QCursor::pos(), QPoint(120, 110));
}
