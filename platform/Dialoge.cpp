#include "platform/Dialoge.h"

#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>

namespace {
const QString Programmtitel = "Kestrix";
}

void Dialoge::Meldung(const QString& text) {
    QMessageBox::information(QApplication::activeWindow(), Programmtitel, text, QMessageBox::Ok);
}

bool Dialoge::Meldung_OK_Abbrechen(const QString& text) {
    return QMessageBox::question(QApplication::activeWindow(), Programmtitel, text,
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

QString Dialoge::Eingabe(const QString& aufforderung, const QString& titel, const QString& vorgabe) {
    bool ok = false;
    const QString antwort = QInputDialog::getText(QApplication::activeWindow(),
                                                  titel.isEmpty() ? Programmtitel : titel, aufforderung,
                                                  QLineEdit::Normal, vorgabe, &ok);
    return ok ? antwort : QString();
}

Dialogprotokoll::Dialogprotokoll(QString protokoll, QString antworten) : protokoll_(std::move(protokoll)) {
    QFile f(antworten);
    if (!antworten.isEmpty() && f.open(QIODevice::ReadOnly))
        antworten_ = QString::fromUtf8(f.readAll()).split('\n');
}

void Dialogprotokoll::schreiben(const QString& art, const QString& text) {
    QFile f(protokoll_);
    if (f.open(QIODevice::Append))
        f.write((art + ": " + QString(text).replace('\r', "\\r").replace('\n', "\\n") + '\n').toUtf8());
}

void Dialogprotokoll::Meldung(const QString& text) { schreiben("Meldung", text); }

bool Dialogprotokoll::Meldung_OK_Abbrechen(const QString& text) {
    schreiben("Frage", text);
    return true;
}

QString Dialogprotokoll::Eingabe(const QString& aufforderung, const QString&, const QString&) {
    schreiben("Eingabe", aufforderung);
    return antworten_.isEmpty() ? QString() : antworten_.takeFirst();
}

namespace {
Dialoge* echte_dialoge() {
    static Dialoge echt;
    static Dialogprotokoll protokolliert(qEnvironmentVariable("KESTRIX_DIALOGPROTOKOLL"),
                                         qEnvironmentVariable("KESTRIX_DIALOGANTWORTEN"));
    return qEnvironmentVariableIsEmpty("KESTRIX_DIALOGPROTOKOLL") ? &echt : &protokolliert;
}
Dialoge* aktuelle_dialoge = nullptr;
}

Dialoge& dialoge() { return aktuelle_dialoge ? *aktuelle_dialoge : *echte_dialoge(); }
void dialoge_ersetzen(Dialoge* neu) { aktuelle_dialoge = neu; }
