#include "run/Matrixkalibrierung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "common/Programmdaten.h"
#include "platform/Pfade.h"

QString Matrix_Kalibrierdatei(int matrix) {
    const QChar buchstabe(QLatin1Char(char('A' + matrix - 1)));
    return "C:\\kestrix\\extern\\config\\" + Daten.Projektkurzname + "\\Matrix_Cal_" + buchstabe + ".txt";
}

bool Matrix_Kalibrierdatei_bereitstellen(int matrix) {
    if (matrix < 1 || matrix > 8) return false;
    const QString datei = Pfade::lokal(Matrix_Kalibrierdatei(matrix));
    if (QFileInfo(datei).isFile()) return true;
    const QString vorlage = Pfade::im_Programmverzeichnis("Matrix_Cal_.txt");
    if (!QFileInfo(vorlage).isFile()) return false;
    QDir().mkpath(QFileInfo(datei).absolutePath());
    // Copy through a temporary name, so a half-written copy is never taken
    // for a calibration.
    const QString neu = datei + ".neu";
    QFile::remove(neu);
    if (!QFile::copy(vorlage, neu)) return false;
    QFile(neu).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    if (!QFile::rename(neu, datei)) {
        QFile::remove(neu);
        return QFileInfo(datei).isFile();
    }
    return true;
}
