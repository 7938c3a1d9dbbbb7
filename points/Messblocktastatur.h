#pragma once
// The name of a new measurement block is typed on the on-screen keyboard.
#include <QWidget>

// Opens the entry for the block window 'aufrufer', which has disabled itself
// and set Tastaturaufrufer to "MBForm": the on-screen keyboard when it is
// loaded, else an input box. The entry ends through the project
// page's block-form routing (MBForm_Enablen, MBForm_anzeigen,
// MBFormTastaturtextverarbeit, MBForminitialisieren), or with an empty entry
// by hiding and re-enabling the block window.
void Messblocktastatur_zeigen(QWidget* aufrufer);
