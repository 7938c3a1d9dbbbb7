#pragma once
// An X screen of the test's own (Xvfb, no window manager) and what the
// operator does and sees on it: real pointer and key events through the X
// server (xdotool), the shown widgets of a running Kestrix with their screen
// geometry, and screenshots of the whole screen.
#include <QList>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

struct Steuerelement {
    int Tiefe = 0;
    QString Klasse, Name, Text;
    QRect Rechteck;  // global
    bool verdeckt = false;
    bool abgeschnitten = false;  // partly outside a parent
    bool Zustand = false;        // enabled
    bool gewählt = false;        // checked; a list row ("Zeile"): selected
};

// The report of the shown widgets (written by the program on SIGUSR1).
struct Auskunft {
    QList<Steuerelement> Elemente;
    bool gültig = false;
    // The first shown widget with this object name (and text, when given).
    const Steuerelement* finden(const QString& name, const QString& text = {}) const;
    // The same inside the page (or window) 'seite'.
    const Steuerelement* finden_auf(const QString& seite, const QString& name, const QString& text = {}) const;
    // The first shown widget with exactly this text.
    const Steuerelement* mit_Text(const QString& text) const;
    // Shown widgets inside 'seite' (by object name), the page included.
    QList<Steuerelement> auf_Seite(const QString& seite) const;
    // The pages in the frame's page area, bottom first.
    QStringList Seitenstapel() const;
    QString oberste_Seite() const;
    // Every widget of 'seite' that lies off 'bildschirm' or is covered, as text.
    QStringList Mängel(const QString& seite, const QRect& bildschirm) const;
};

class Bildschirm {
public:
    Bildschirm(int breite, int höhe);
    ~Bildschirm();
    bool läuft() const { return !anzeige_.isEmpty(); }
    QString Anzeige() const { return anzeige_; }
    QRect Fläche() const { return {0, 0, breite_, höhe_}; }

    // Pointer and keys as the X server delivers them.
    bool klicken(const QPoint& punkt);
    bool klicken(const Steuerelement* element);
    bool doppelklicken(const QPoint& punkt);
    bool ziehen(const QPoint& von, const QPoint& nach);
    bool tippen(const QString& text);
    bool Taste(const QString& name);  // xdotool key names: "Tab", "Return", "alt+Tab"
    // The program's window loses the keyboard focus to the screen and gets it back.
    bool Fokus_weg_und_zurück(qint64 pid);

    // A PNG of the whole screen in the folder "bildschirmfotos" of the
    // test's working directory; returns its path.
    QString Foto(const QString& name);

    // The report of the program with 'pid', written to 'datei' on SIGUSR1.
    static Auskunft Auskunft_holen(qint64 pid, const QString& datei);
    // Fetches reports until 'bedingung' holds; the last report.
    static Auskunft abwarten(qint64 pid, const QString& datei, const std::function<bool(const Auskunft&)>& bedingung,
                             int ms = 8000);

private:
    bool xdotool(const QStringList& argumente, QByteArray* ausgabe = nullptr);
    QProcess xvfb_;
    QString anzeige_;
    int breite_, höhe_;
};
