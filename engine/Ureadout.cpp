// TOpen: the texts of the main window's read-outs, one format each.
#include "engine/Uopen.h"

std::string TOpen::AreaText(float km2) {
    const char* fmt = km2 > 1000 ? "%8.0f km" : km2 > 100 ? "%8.1f km" : "%8.2f km";
    return gui::Format(fmt, km2);
}

std::string TOpen::LengthText(float km) {
    const char* fmt = km > 1000 ? "%7.0f km" : km > 100 ? "%7.1f km" : "%7.2f km";
    return gui::Format(fmt, km);
}

std::string TOpen::DistanceText(float km) { return gui::Format("%7.2f km", km); }

std::string TOpen::MagnificationText(float m) { return gui::Format("%4.2f", m); }
