#pragma once
// What the scan-list and the recording-order pages share: a heading, the
// pair of order options, the list the operator drags lines in, and the page
// buttons with their common meaning.
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "calc/Listenzeile.h"

class Ordnungsseite : public QWidget {
    Q_OBJECT
public:
    // controls
    QLabel* Label1;         // heading
    QGroupBox* Frame1;      // the list
    Ziehliste* List2;       // one line per point
    QGroupBox* Frame2;      // "Reihenfolge"
    QRadioButton* Option1;  // "festhalten"
    QRadioButton* Option2;  // the page's other order
    QPushButton* Command1;  // next page
    QPushButton* Command2;  // hide this page
    QPushButton* Command3;  // "Speichern"
    QPushButton* Command4;  // "Abbrechen"
    QPushButton* Command8;  // "Hilfe"

    void Form_Load();

    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command8_Click();

protected:
    Ordnungsseite(QWidget* eltern, const QString& überschrift, const QString& andere_Ordnung);
};
