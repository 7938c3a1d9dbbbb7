#pragma once
// Message boxes and input boxes, the only modal dialogs of the program.
// Tests answer them by script.
#include <QString>
#include <QStringList>

class Dialoge {
public:
    virtual ~Dialoge() = default;
    // OK button only.
    virtual void Meldung(const QString& text);
    // OK and Cancel; true for OK.
    virtual bool Meldung_OK_Abbrechen(const QString& text);
    // Input box; Cancel gives the empty text.
    virtual QString Eingabe(const QString& aufforderung, const QString& titel = {},
                            const QString& vorgabe = {});
};

Dialoge& dialoge();
void dialoge_ersetzen(Dialoge* neu);  // nullptr restores the real one

// For a program started by a test: with KESTRIX_DIALOGPROTOKOLL set, every
// dialog text is appended to that file and answered at once (OK; input
// boxes take the next line of KESTRIX_DIALOGANTWORTEN, else the empty text).
class Dialogprotokoll : public Dialoge {
public:
    Dialogprotokoll(QString protokoll, QString antworten);
    void Meldung(const QString& text) override;
    bool Meldung_OK_Abbrechen(const QString& text) override;
    QString Eingabe(const QString& aufforderung, const QString& titel, const QString& vorgabe) override;

private:
    void schreiben(const QString& art, const QString& text);
    QString protokoll_;
    QStringList antworten_;
};
