// A matrix calibration file as the operator may have edited it.
#include "Fuzzstation.h"
#include "run/Matrixmessung.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
    Station();
    Matrixmessung::Kalibrierung_lesen(Eingabe(daten, größe));
    return 0;
}
