#pragma once
// The one place that knows the loaded windows. A window enters itself when
// it is constructed and leaves when it is destroyed; unloading the frame
// destroys them all.
class MDIForm1;
class Hauptfenster;
class Hinweisform;
class Scanlist;
class Datenreihenfolge;
class Projekt;
class Dateiform;
class Datenformat;
class Datenlogger;
class CalcuReihenfolge;
class MBForm1;
class MBForm4;
class Kanalbelegung;
class Tastatur;
class Mausfangform;
class Network;
class Matrix;

struct Geladene_Fenster {
    ::MDIForm1* MDIForm1 = nullptr;
    ::Hauptfenster* Hauptfenster = nullptr;
    ::Hinweisform* Hinweisform = nullptr;
    ::Projekt* Projekt = nullptr;
    ::Dateiform* Dateiform = nullptr;
    ::Datenformat* Datenformat = nullptr;
    ::Datenlogger* Datenlogger = nullptr;
    ::Scanlist* Scanlist = nullptr;
    ::Datenreihenfolge* Datenreihenfolge = nullptr;
    ::CalcuReihenfolge* CalcuReihenfolge = nullptr;
    ::MBForm1* MBForm1 = nullptr;
    ::MBForm4* MBForm4 = nullptr;
    ::Kanalbelegung* Kanalbelegung = nullptr;
    ::Tastatur* Tastatur = nullptr;
    ::Mausfangform* Mausfangform = nullptr;
    ::Network* Network = nullptr;
    ::Matrix* Matrix = nullptr;
};

extern Geladene_Fenster Fenster;
