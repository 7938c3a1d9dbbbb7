#pragma once

#include "Internet.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QUdpSocket>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

namespace Loadmate {

// A label whose caption is kept exactly as set; a carriage return in it
// starts a new line on screen, as on the old platform.
class Beschriftung : public QLabel {
public:
    explicit Beschriftung(QWidget *eltern) : QLabel(eltern) {}
    void Caption_setzen(const QString &caption);
    QString Caption() const { return caption_; }

private:
    QString caption_;
};

struct Gerät {
    QString IPAdresse;
    QString Seriennummer;
};

// The update wizard's one window.
class Form1 : public QWidget {
public:
    explicit Form1(QWidget *eltern = nullptr);
    ~Form1() override;

    // ---- controls ----
    QLabel Label3{this};       // "Schritt"
    QLabel Label4{this};       // the current step, 1 to 5
    QLabel Image1{this};
    QLabel Label1{this};       // introduction
    QGroupBox Frame5{this};    // box choice
    QListWidget List2{&Frame5};
    QPushButton Command9{&Frame5};
    QGroupBox Frame1{this};    // transfer
    QLabel Label2{&Frame1};
    Beschriftung Statuszeile{&Frame1};
    Beschriftung Antwortzeile{&Frame1};
    QLineEdit Text1{&Frame1};  // search pattern of the box directory
    QPushButton Command5{&Frame1}; // "Connect"
    QPushButton Command1{&Frame1}; // "Disconnect"
    QListWidget List1{&Frame1};    // box directory
    QPushButton Command3{this};    // "< Zurück"
    QPushButton Command2{this};    // "Weiter >"
    QTimer Timer1;                 // search tick

    // ---- fields ----
    QString Boxadresse;
    std::array<Gerät, 21> Geräteliste;
    std::int16_t Geräteanzahl = 0;
    std::int16_t Gelistet = 0;
    std::int16_t Suchzähler = 0;
    QString Suchpuffer;
    std::int16_t Suche_beendet = 0;
    std::int16_t Updatefehler = 0;
    Internet::Handle Internetzugang = 0;
    Internet::Handle FTPVerbindung = 0;
    std::uint32_t Übertragungsart = 0;
    QList<Internet::Verzeichniseintrag> FTPListe;
    // Element 2 of the socket array; exists during a search tick only.
    std::unique_ptr<QUdpSocket> Winsock1;

    // ---- handlers ----
    void Command2_Click(); // "Weiter >"
    void Command3_Click(); // "< Zurück"
    void Command9_Click(); // start or stop the search
    void List2_Click(int zeile);
    void Command5_Click(); // Connect
    void Command1_Click(); // Disconnect
    void Timer1_Timer();
    void Winsock1_DataArrival();

    // ---- procedures ----
    int Schritt() const;
    bool Suche_läuft() const;
    void Suche_anhalten();
    void Update_durchführen();
    void Datei_hochladen(const QString &lokale_datei, const QString &ferner_name);
    void Datei_löschen(const QString &ferner_name);
    void Antwort_anzeigen();
    void Verzeichnis_auflisten(const QString &muster);
    void FTPListe_anzeigen();
    void Suchpuffer_auswerten();

    static QString Eintragsname(const Internet::Verzeichniseintrag &e);

    // Ends the program; tests replace it.
    std::function<void()> Programmende;

protected:
    void closeEvent(QCloseEvent *ereignis) override;
    void showEvent(QShowEvent *ereignis) override;

private:
    void Form_Load();
    void Fenstergröße_anpassen();
    void Winsock1_anlegen();
    bool tick_läuft_ = false;
    bool update_läuft_ = false;
};

} // namespace Loadmate
