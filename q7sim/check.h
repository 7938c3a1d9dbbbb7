#pragma once

#include "signalmodel.h"

#include <QString>
#include <QTextStream>

// "--check PROJECT": for every scan-list entry of a project in the station,
// which signal its terminal carries and whether the block's function and
// range fit it. Reads the project's record files itself.
// Returns 0 when everything fits, 1 when an entry does not, 2 when the
// project cannot be read (with 'error' set).
int checkProject(const QString &stationRoot, const QString &project, SignalTable &signalTable,
                 double referenceTemperature, QTextStream &out, QString *error);
