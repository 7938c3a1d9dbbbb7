// Lines of the box's FTP directory listing, and the name patterns.
#include "Fuzzstation.h"
#include "Internet.h"

using namespace Loadmate::Internet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
    Station();
    const QByteArray eingabe = Eingabe(daten, größe);
    for (const QByteArray& zeile : eingabe.split('\n')) {
        Verzeichniseintrag eintrag;
        if (Listenzeile_lesen(zeile, &eintrag))
            Muster_passt("*.ini", QString::fromLatin1(eintrag.cFileName.data()));
    }
    const qsizetype stern = eingabe.indexOf('\t');
    if (stern >= 0)
        Muster_passt(QString::fromLatin1(eingabe.left(stern)), QString::fromLatin1(eingabe.mid(stern + 1)));
    return 0;
}
