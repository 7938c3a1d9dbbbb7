#pragma once
// Screen geometry is given in twips; the station panel has 15 twips per pixel.
#include <QRect>
#include <QWidget>

namespace Twips {
constexpr int pro_Pixel = 15;
constexpr int px(int twips) { return twips >= 0 ? (twips + pro_Pixel / 2) / pro_Pixel : -((-twips + pro_Pixel / 2) / pro_Pixel); }
inline QRect Rechteck(int links, int oben, int breite, int höhe) { return {px(links), px(oben), px(breite), px(höhe)}; }
inline void Geometrie(QWidget* w, int links, int oben, int breite, int höhe) { w->setGeometry(Rechteck(links, oben, breite, höhe)); }
}
