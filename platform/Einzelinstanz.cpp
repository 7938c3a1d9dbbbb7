#include "platform/Einzelinstanz.h"

#include <QLockFile>
#include <memory>

#include "platform/Pfade.h"

bool Einzelinstanz::andere_läuft() {
    static std::unique_ptr<QLockFile> sperre;
    if (sperre && sperre->isLocked())
        return false;
    sperre = std::make_unique<QLockFile>(Pfade::Programmverzeichnis() + "/Kestrix.lock");
    sperre->setStaleLockTime(0);  // only a dead owner makes the lock stale
    return !sperre->tryLock(0);
}
