#pragma once

// The PDF writer's hooks with a stopped clock, shared by its tests, benchmarks and fuzz targets so that
// every run writes the same bytes: 5 December 2026, 14:03:09 in Italian winter time, launch day
// "05122026", digit 7, name "ROSSI MARIO"; existing PDF files are read by the reader on libqpdf, linked in.
#include "core/Hooks.h"
#include "streams/QpdfSource.h"

#include <string>

namespace folian::test {

inline Hooks fixedHooks()
{
    Hooks hooks;
    hooks.nomeCorrente = [] { return std::string("ROSSI MARIO"); };
    hooks.oggiTesto = [] { return std::string("05122026"); };
    hooks.now = [] { return LocalDateTime{2026, 12, 5, 14, 3, 9}; };
    hooks.utcOffsetMinutes = [](const LocalDateTime&) { return 60; };
    hooks.randomDigit = [] { return 7; };
    hooks.openPdf = OpenWithQpdf;
    return hooks;
}

} // namespace folian::test
