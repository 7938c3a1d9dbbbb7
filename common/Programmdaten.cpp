#include "common/Programmdaten.h"

Programmdaten Daten;
