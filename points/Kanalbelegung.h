#pragma once
// The channel assignment page: one scanner slot (group A..P) at a time as
// eight rows of terminal, kind, signal name and measurement block. Every
// edit goes into Kanaltabelle at once, is recorded in Änderungsmerker and
// passed on to the scan list and the recording order.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include "common/Programmdaten.h"

// A cell of the page's columns: a label that reports a click.
class Kanalzelle : public QLabel {
    Q_OBJECT
public:
    explicit Kanalzelle(QWidget* eltern = nullptr);
signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
};

class Kanalbelegung : public QWidget {
    Q_OBJECT
public:
    explicit Kanalbelegung(QWidget* eltern = nullptr);
    ~Kanalbelegung() override;

    // controls
    QLabel* Spaltenkopf[4];   // "Klemme", "Art", "Signalbezeichnung", "Meßblockzuordnung"
    QLabel* Label1[8];        // terminal
    Kanalzelle* Label2[8];    // kind
    Kanalzelle* Label4[8];    // signal name
    Kanalzelle* Label3[8];    // block (first 16 characters)
    QListWidget* List1;       // "Input", "Sense"
    QComboBox* Meßblock;      // block list
    QPushButton* Command5;    // next group
    QPushButton* Command6;    // previous group
    QPushButton* Command7;    // "Meßblockkonfig."
    QPushButton* Command1;    // ">>"
    QPushButton* Command2;    // "<<"
    QPushButton* Command3;    // "Speichern"
    QPushButton* Command4;    // "Abbrechen"
    QPushButton* Command8;    // "Hilfe"
    // marker of the last edit, for testing
    QLabel* Label5;  // "nichts"
    QLabel* Label6;  // "geändert"
    QLabel* Label7;  // "gelöscht"
    QLabel* Label8;  // "hinzu"
    QLabel* Label9;  // "auf Sense geändert"

    void Form_Load();
    void Labels_auffrischen();
    void in_Listen_übernehmen();
    void KanalbelegungTest_Ein();
    void KanalbelegungTest_Aus();
    // The keyboard's "Return" for a signal name that passed its checks:
    // marker, table and lists of the row at aktuelle_Zeile.
    void Signalbezeichnung_übernehmen(const QString& neu);

    // handlers
    void Form_Click();
    void Label2_Click(int index);
    void Label3_Click(int index);
    void Label4_Click(int index);
    void List1_Click(int index);
    void Meßblock_GotFocus();
    void Meßblock_Click(int index);
    void Meßblock_LostFocus();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command8_Click();

    // The names the block list offers: records 1, 2, ... up to the first one
    // named "neu" (first 16 characters, trailing blanks removed), then "neu".
    static QStringList Blockliste();

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void mousePressEvent(QMouseEvent* ereignis) override;

private:
    void Gruppe_zeigen();
    void Gruppenknöpfe(bool an);
    void Markerlabels_leeren();
    void Marker_zeigen(const QString& text);
};
