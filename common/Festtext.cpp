#include "common/Festtext.h"

QString RTrim(const QString& text) {
    qsizetype ende = text.size();
    while (ende > 0 && text[ende - 1] == ' ')
        --ende;
    return text.left(ende);
}
