#pragma once
// The on-screen keyboard: edits one line of text for the page that opened it
// and, on "Return", checks it by that page's rules and hands it back. The
// caller is named in Daten.Tastaturaufrufer; each caller's rules of "Return"
// and "Esc" are registered under that name, so a new caller plugs in without
// a change here. Also the "bitte warten!" window that catches the pointer.
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMap>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <functional>

#include "common/Programmdaten.h"

namespace Eingaberegeln {
struct Zeile;
}

// A key: a label that reports a click.
class Taste : public QLabel {
    Q_OBJECT
public:
    explicit Taste(const QString& text, QWidget* eltern = nullptr);
    void Farben_setzen(const QColor& hintergrund, const QColor& schrift);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
};

class Tastatur : public QFrame {
    Q_OBJECT
public:
    explicit Tastatur(QWidget* eltern = nullptr);
    ~Tastatur() override;

    // What a caller does with the keyboard's text.
    struct Aufruferregel {
        // Signal references ("[" name "]") are one unit for the cursor keys
        // and for typing.
        bool Klammern = false;
        // List1 offers the scan list's signal names.
        bool Signalliste = false;
        // "Return": checks and hands over; hides the keyboard when it is done.
        std::function<void(Tastatur& tastatur, const QString& text)> Return;
        // "Esc" after the keyboard is hidden: back to the caller.
        std::function<void()> Esc;
    };
    // A caller's rules under its name; replaces an earlier registration.
    static void Aufrufer_anmelden(const QString& name, Aufruferregel regel);
    static const Aufruferregel* Regel(const QString& name);

    // controls
    QLineEdit* Text1;
    static constexpr int Tastenzahl = 60;
    Taste* Label1[Tastenzahl];  // letters, digits, signs, "<-", "->"
    Taste* Label2;              // "Spacebar"
    Taste* Label3;              // "Esc"
    Taste* Label4;              // "Return"
    Taste* Label6;              // "Shift"
    Taste* Label7;              // "Del"
    QComboBox* List1;           // signal names offered for formulas

    i16 Umschaltzähler = 0;

    void Form_Load();
    // Shows the keyboard over the caller, which has set Tastaturaufrufer and
    // Text1 and disabled itself.
    void zeigen();

    // handlers
    void Label1_Click(int index);
    void Label2_Click();
    void Label3_Click();
    void Label4_Click();
    void Label6_Click();
    void Label7_Click();
    void List1_Click(int zeile);
    void markieren();

    // Shift shows the dark background: keys type their captions unchanged.
    bool Umschaltung_an() const;
    // Width of Text1's text in twips, in Text1's font.
    int Textbreite() const;
    static constexpr int Breitengrenze = 1500;  // twips
    // The key with this caption, nullptr when there is none.
    Taste* Taste_mit(const QString& beschriftung) const;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void showEvent(QShowEvent* ereignis) override;

private:
    Eingaberegeln::Zeile lesen() const;
    void schreiben(const Eingaberegeln::Zeile& zeile);
    bool Klammern() const;
    void Zeichen_tippen(const QString& zeichen);
    static QMap<QString, Aufruferregel>& Regeln();
};

// Full-screen "bitte warten!": a touch during a wait has no effect.
class Mausfangform : public QWidget {
    Q_OBJECT
public:
    explicit Mausfangform(QWidget* eltern = nullptr);
    ~Mausfangform() override;

    QLabel* Label1;  // "bitte warten!"

    void Form_Load();
    void Form_MouseMove(const QPoint& global);
    void Form_Click();

    // Movement beyond this many twips between the oldest and the newest of
    // the last three samples puts the pointer back.
    static constexpr int Schwelle = 45;

protected:
    void mouseMoveEvent(QMouseEvent* ereignis) override;
    void mouseReleaseEvent(QMouseEvent* ereignis) override;
    void showEvent(QShowEvent* ereignis) override;

private:
    QPoint proben_[3];
    int probenzahl_ = 0;
};
