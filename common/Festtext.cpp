#include "common/Festtext.h"

QString RTrim(const QString& text) {
    qsizetype ende = text.size();
    while (ende > 0 && text[ende - 1] == ' ')
        --ende;
    return text.left(ende);
}

QString Trim(const QString& text) {
    qsizetype a = 0, e = text.size();
    while (a < e && text[a] == ' ')
        ++a;
    while (e > a && text[e - 1] == ' ')
        --e;
    return text.mid(a, e - a);
}
