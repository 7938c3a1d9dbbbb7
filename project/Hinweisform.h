#pragma once
// The notice window: one message with up to two buttons, over the page that
// raised it. The message text is also the notice's identifier.
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QWidget>

#include <functional>

class Hinweisform : public QFrame {
    Q_OBJECT
public:
    explicit Hinweisform(QWidget* eltern = nullptr);
    ~Hinweisform() override;

    QLabel* Label1;
    QPushButton* Command1;  // "Fortfahren", "Ja", "Überschreiben"
    QPushButton* Command3;  // "Abbrechen", "Nein", "Ok"

    // Raising a notice: text, captions (an empty caption hides the button),
    // the raising page disabled until the notice is answered.
    void zeigen(QWidget* auslöser, const QString& text, const QString& knopf1, const QString& knopf3);
    // A notice with a single "Ok".
    void zeigen_Ok(QWidget* auslöser, const QString& text) { zeigen(auslöser, text, {}, "Ok"); }

    // The flows that steer by the answer (the project dialog) register here;
    // it gets the notice text and the button (1 or 3) and returns true when it
    // acted on the notice.
    std::function<bool(const QString& text, int knopf)> Ablauf;

    QWidget* Auslöser() const { return auslöser_; }

    void Command1_Click();
    void Command3_Click();

    // The project dialog's "open" and "new".
    void Datei_öffnen();
    void neues_Projkt_erstellen();

private:
    void beantwortet(int knopf);
    QPointer<QWidget> auslöser_;
};
