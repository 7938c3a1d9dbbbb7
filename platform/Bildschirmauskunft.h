#pragma once
// What the operator sees, for the GUI tests that drive the real program from
// outside: with KESTRIX_BILDSCHIRMAUSKUNFT set to a file, SIGUSR1 makes the
// program write every shown widget there, one line each:
//   depth class objectName x y w h covered cut state text
// (global geometry; covered = 1 when another widget lies over a leaf
// control's centre or corners; cut = 1 when part of it lies outside one of
// its parents; state = 1 when enabled, plus 2 when checked; text with \n and
// \\ escaped). The rows a list shows follow it as class "Zeile", named by
// their number, with state 3 when selected, else 1. The file is replaced in one step, so a reader
// never sees half of it.
class QObject;

void Bildschirmauskunft_einrichten(QObject* besitzer);
