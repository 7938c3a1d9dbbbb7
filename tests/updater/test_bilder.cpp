// Each step as the operator sees it on the 273 x 244 panel; the pictures go
// to LOADMATE_BILDER (or a temporary folder) for a look.

#include "Assistent.h"

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>

namespace {

// Every visible control lies inside its parent, and no button cuts its caption.
void Prüfe_Anordnung(QWidget &fenster, const QString &schritt)
{
    for (QWidget *w : fenster.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&fenster) || !w->parentWidget() || w->objectName().startsWith("qt_"))
            continue;
        if (qobject_cast<QGroupBox *>(w->parentWidget()) || w->parentWidget() == &fenster)
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
                << schritt.toStdString() << ": " << w->metaObject()->className() << " outside its frame";
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 8, b->width())
                << schritt.toStdString() << ": caption cut: " << b->text().toStdString();
    }
}

} // namespace

TEST_F(Assistent, EveryStepFitsThePanel)
{
    QString ziel = qEnvironmentVariable("LOADMATE_BILDER");
    QTemporaryDir eigener;
    if (ziel.isEmpty())
        ziel = eigener.path();
    QDir().mkpath(ziel);
    auto bild = [&](const QString &name) {
        const QPixmap p = F().grab();
        EXPECT_EQ(F().frameGeometry().size(), QSize(273, 244)); // the whole window
        EXPECT_TRUE(p.save(ziel + "/" + name + ".png"));
        Prüfe_Anordnung(F(), name);
    };

    Server_starten({"autoexec.bat"});
    Box_antwortet("127.0.0.1", "Q70004711");
    Lokale_Dateien();
    ASSERT_TRUE(QDir(server->Ordner()).mkdir("daten"));
    for (const char *n : {"chiptel.ini", "chipcom.ini", "q7rev101.exe", "autoexec.bat"})
        ASSERT_TRUE(Testhilfe::Schreiben(server->Pfad(n), "x"));

    F();
    bild("schritt1");
    F().Command2.click();
    ASSERT_TRUE(Testhilfe::Warte_bis([&] { return F().List2.count() > 0; }, 5000));
    Testhilfe::Eintrag_klicken(F().List2, 0);
    bild("schritt2");
    F().Command2.click();
    bild("schritt3");
    F().Command2.click();
    bild("schritt4_fehler");
    F().Command2.click();
    EXPECT_TRUE(beendet);
}

TEST_F(Assistent, SuccessTextFitsTheStatusLine)
{
    Server_starten();
    Box_antwortet();
    Lokale_Dateien();
    Bis_Schritt_3();
    F().Command2.click();
    const QString ziel = qEnvironmentVariable("LOADMATE_BILDER");
    if (!ziel.isEmpty())
        F().grab().save(ziel + "/schritt4.png");
    // Two lines, each within the line's width.
    const QStringList zeilen = F().Statuszeile.text().split('\n');
    ASSERT_EQ(zeilen.size(), 2);
    for (const QString &z : zeilen)
        EXPECT_LE(F().Statuszeile.fontMetrics().horizontalAdvance(z), F().Statuszeile.width()) << z.toStdString();
    EXPECT_LE(2 * F().Statuszeile.fontMetrics().lineSpacing(), F().Statuszeile.height());
}
