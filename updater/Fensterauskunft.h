#pragma once

// For the tests that operate the real wizard on an X screen: with
// LOADMATE_FENSTERAUSKUNFT set to a file, SIGUSR1 writes every shown widget
// there, one line each: depth class objectName x y w h 0 0 state text
// (global geometry; state 1 when enabled; a list's shown rows follow as
// class "Zeile" with state 3 when selected, else 1). Replaced in one step.

class QObject;

namespace Loadmate {
void Fensterauskunft_einrichten(QObject *besitzer);
}
