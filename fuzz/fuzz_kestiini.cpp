// "Kesti.ini" as found in the program directory: every key read, one written.
#include "Fuzzstation.h"
#include "common/Kestiini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t größe) {
    Fuzzstation& station = Station();
    QFile datei(station.Programmverzeichnis() + "/Kesti.ini");
    if (!datei.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    datei.write(Eingabe(daten, größe));
    datei.close();
    const char* const schlüssel[][2] = {
        {"Betriebsart", "8"},  {"MDeviceLocation", "3"}, {"DisplayType", "7"},        {"Testlabels", "1"},
        {"Esc", "1"},          {"Help", "1"},            {"MeasureDevice", "1"},      {"DevicePort", "1"},
        {"HelpSchalter", "1"}, {"EscSchalter", "1"},     {"OperatingSystem", "6"},    {"RefTempMeasurement", "1"},
        {"Ramdisk1", "3"},     {"Ramdisk2", "3"},        {"Unbekannt", "-2"},         {"", "100000"}};
    for (const auto& [s, b] : schlüssel)
        Kestiini_abfragen(s, b);
    Kestiini_lesbar();
    Kestiini_schreiben("DisplayType", "7", "ExtMoni");
    Kestiini_schreiben("Ramdisk1", "3", "x:\\");
    return 0;
}
