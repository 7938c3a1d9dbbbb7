#pragma once
// The "ändern" links of the recording pages: a new drive letter for one of
// the two working drives, and the drive label as the drive check left it.
#include <QLabel>
#include <QString>

#include "common/Programmdaten.h"

// Asks with 'aufforderung'; a letter becomes letter + ":\" in 'laufwerk' and
// under 'schlüssel' in "Kesti.ini". An empty answer, or one that does not
// start with a letter, keeps the drive. The caller runs the drive check.
void Laufwerk_erfragen(Festtext<3>& laufwerk, const QString& schlüssel, const QString& aufforderung);
// Text and colour of the drive check; no colour means the normal button face.
void Laufwerk_zeigen(QLabel* label, const Laufwerksanzeige& anzeige);
