#pragma once
// The network identity page: computer name, workgroup and log-on password of
// the station. The program does not change them itself; it hands the new
// values to a station tool through "c:\MSnetzw.txt" and starts the tool.
#include <QByteArray>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include "common/Programmdaten.h"

class Tastatur;

class Network : public QWidget {
    Q_OBJECT
public:
    explicit Network(QWidget* eltern = nullptr);
    ~Network() override;

    // controls
    QGroupBox* Frame1;  // "Microsoft-Netzwerk Einstellungen"
    QLabel* Label1;     // "Computername"
    QLineEdit* CompName;
    QLabel* Label2;  // "Arbeitsgruppe"
    QLineEdit* ArbGruppe;
    QLabel* Label3;  // "Kennwort"
    QLineEdit* Text1;
    QLabel* Label4;  // "Freigabepfad Dataloggverzeichnis:"
    QLabel* Label5;  // \\computer name\KEST_DATALOG
    QLabel* Label6;  // "Freigabepfad aktuelle Messdatenzeile:"
    QLabel* Label7;  // \\computer name\KEST_AKTMESS
    QPushButton* Command2;  // "<<"
    QPushButton* ändern;
    QPushButton* Command4;  // "Abbrechen"
    QPushButton* Command5;  // "Hilfe"

    i16 Namensänderung = 0;
    i16 Kennwortänderung = 0;
    QString Netzkennwort;

    void Form_Load();

    // handlers
    void CompName_Click();
    void ArbGruppe_Click();
    void Text1_Click();
    void ändern_Click();
    void Command2_Click();
    void Command4_Click();
    void Command5_Click();

    // The keyboard's "Return" for field Daten.Netzwerkfeld (1 computer name,
    // 2 workgroup, 3 password).
    void Tastaturtext_übernehmen(const QString& text);

    // The hand-over file and the two station tools.
    static constexpr const char* Übergabedatei = "c:\\MSnetzw.txt";
    static constexpr const char* Namenswerkzeug = "c:\\Dazuzoz\\KestiMSNet.exe";
    static constexpr const char* Kennwortwerkzeug = "c:\\dazuzoz\\kennwort.exe";
    // One value per line, each ending with CR LF, in Windows-1252.
    static QByteArray Übergabetext(const QStringList& zeilen);
    // Writes the hand-over file completely, readable by its owner only; an
    // older file is replaced in one step. False when it could not be written.
    static bool Übergabedatei_schreiben(const QStringList& zeilen);
    // The station's computer name as the page shows it first.
    static QString Stationsname();

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void Tastatur_öffnen(i16 feld, const QString& text);
    // Writes the file and starts the tool; false (with a message) when either
    // failed, so the change stays pending.
    bool anwenden(const QStringList& zeilen, const QString& werkzeug, const QStringList& argumente);
};
