#pragma once

// A wizard window in a test of its own: its own folder, its own ports, a
// discovery that stays on loopback.

#include "Form1.h"
#include "Hilfen.h"

#include <gtest/gtest.h>

#include <memory>
#include <list>
#include <optional>

class Assistent : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ordner.isValid());
        suchport = Testhilfe::Freier_UDP_Port();
        ASSERT_NE(suchport, 0);
        umgebung.emplace_back("LOADMATE_DIR", ordner.path().toLocal8Bit());
        umgebung.emplace_back("KESTRIX_DISCOVERY_ADDR", "127.0.0.2");
        umgebung.emplace_back("KESTRIX_DISCOVERY_PORT", QByteArray::number(suchport));
    }
    void TearDown() override { fenster.reset(); }

    void Server_starten(const QStringList &nur_lesen = {}, const QString &kennwort = "wbn")
    {
        server = std::make_unique<Testhilfe::FTPServer>(nur_lesen, kennwort);
        ASSERT_TRUE(server->läuft());
        umgebung.emplace_back("LOADMATE_FTP_PORT", QByteArray::number(server->Port()));
    }
    // The box answers the search with the FTP server's address.
    void Box_antwortet(const QString &adresse = "127.0.0.1", const QByteArray &serie = "123456789")
    {
        box = std::make_unique<Testhilfe::Antworter>(QHostAddress("127.0.0.2"), suchport,
                                                     QList<QByteArray>{Testhilfe::Boxantwort(adresse, serie)});
        ASSERT_TRUE(box->bereit());
    }
    Loadmate::Form1 &F()
    {
        if (!fenster) {
            fenster = std::make_unique<Loadmate::Form1>();
            fenster->Programmende = [this] {
                beendet = true;
                fenster->close();
            };
            fenster->show();
        }
        return *fenster;
    }
    QString Datei(const QString &name) const { return ordner.filePath(name); }
    void Lokale_Dateien()
    {
        ASSERT_TRUE(Testhilfe::Schreiben(Datei("Kestrix"), "altes Programm"));
        ASSERT_TRUE(Testhilfe::Schreiben(Datei("Kestrix_"), "neues Programm\r\n\x00\xff"));
        ASSERT_TRUE(Testhilfe::Schreiben(Datei("autoex_.bat"), "@echo off\r\nq7rev102.exe\r\n"));
        QByteArray firmware;
        for (int i = 0; i < 50000; ++i)
            firmware += char(i % 251);
        ASSERT_TRUE(Testhilfe::Schreiben(Datei("q7rev_.exe"), firmware));
    }
    // Steps 1 to 3 as the operator goes them.
    void Bis_Schritt_3()
    {
        F().Command2.click();
        ASSERT_EQ(F().Label4.text(), "2");
        ASSERT_TRUE(Testhilfe::Warte_bis([&] { return F().List2.count() > 0; }, 5000));
        Testhilfe::Eintrag_klicken(F().List2, 0);
        ASSERT_TRUE(F().Command2.isEnabled());
        F().Command2.click();
        ASSERT_EQ(F().Label4.text(), "3");
    }
    QStringList Liste1() const
    {
        QStringList z;
        for (int i = 0; i < fenster->List1.count(); ++i)
            z << fenster->List1.item(i)->text();
        return z;
    }

    QTemporaryDir ordner;
    quint16 suchport = 0;
    std::list<Testhilfe::Umgebung> umgebung;
    std::unique_ptr<Testhilfe::FTPServer> server;
    std::unique_ptr<Testhilfe::Antworter> box;
    Testhilfe::Meldungsschreiber meldungen;
    std::unique_ptr<Loadmate::Form1> fenster;
    bool beendet = false;
};
