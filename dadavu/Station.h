#pragma once
// Where the station keeps the files the viewer reads. The data-interface file
// it is started with lies in the root of a drive folder ("<root>/d/Daten&.txt");
// the station root beside it holds the projects ("c/kestrix/...").
#include <QDate>
#include <QString>
#include <QStringList>

namespace dadavu {

// The file itself when it exists, else the entry of its folder whose name
// matches without regard to case ("daten&.txt" finds "Daten&.txt").
QString Datei_finden(const QString& pfad);
// Station root for a data-interface file (its drive folder's parent); empty
// when that folder holds no "c" drive.
QString Stationswurzel_zu(const QString& schnittstellendatei);
// Short name of the current project ("halle1" from "projekt.kxp" holding "halle1.kxp").
QString Projektkurzname(const QString& wurzel);
// Logger and matrix data files of the current project: the project's data
// folder and the logger buffer drive named in Kesti.ini ('programmverzeichnis').
// Newest first.
QStringList Verlaufsdateien(const QString& wurzel, const QString& programmverzeichnis);
// Folder for exported pictures and tables.
QString Exportordner(const QString& wurzel, const QString& schnittstellendatei);

}  // namespace dadavu
