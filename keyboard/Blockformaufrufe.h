#pragma once
// The block window of the project's meter as the keyboard and the channel
// page reach it: through the project page, which picks the window by the
// meter model in record 1 of the block table.
#include <QString>

namespace Blockformaufrufe {
void anzeigen();
void ausblenden();
void Enablen();
// Stores a block name typed on the keyboard for the block form's "neu" entry.
void Tastaturtext_verarbeiten(const QString& name);
void initialisieren();
// Empties the block window's block list while the keyboard asks for a name.
void Blockliste_leeren();
}  // namespace Blockformaufrufe
