#pragma once
// The project dialog: lists the projects, takes a name, checks it and asks
// for confirmation through the notice window.
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

class Dateiform : public QWidget {
    Q_OBJECT
public:
    explicit Dateiform(QWidget* eltern = nullptr);
    ~Dateiform() override;

    QLabel* Label2;        // the action: "speichern unter...", "löschen", "öffnen", "neu"
    QLineEdit* Text1;      // the project file name
    QListWidget* File1;    // the projects (one file each in "c:\kestrix\intern\vorg_rei")
    QPushButton* Command1; // "Abbrechen"
    QPushButton* Command2; // "OK"

    void öffnen(const QString& aktion);
    // The on-screen keyboard for the name, for "speichern unter..." and "neu".
    void Tastatur_öffnen();
    void File1_auffrischen();
    void File1_Click(int zeile);
    void Command1_Click();
    void Command2_Click();

    // Name checks of "speichern unter..." and "neu".
    static bool Name_zulässig(const QString& name);
    static QString Erweiterung_normalisieren(const QString& name);
    // Why a project name cannot be stored (a character outside Windows-1252,
    // nothing before the dot), or "" when it can.
    static QString Namensfehler(const QString& name);

    // What a notice button does in the flows of this dialog; true when the
    // notice belonged to it.
    bool Hinweis_beantwortet(const QString& text, int knopf);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void Hinweis(const QString& text, const QString& knopf1, const QString& knopf3);
    bool existiert(const QString& name) const;
    // Every check of a name, each refusal reported; true when it may be used.
    bool Name_prüfen(const QString& name);
    void Aktion_ausführen(const QString& aktion);
    // After a save-as: the "öffnen" or "neu" whose "Ja" asked for it.
    void Aktion_fortsetzen();
    QString ausstehende_Aktion_;
    QString ausstehender_Name_;
};
