#include "common/Fenster.h"

Geladene_Fenster Fenster;
