#pragma once

#include <functional>
#include <memory>
#include <string>

namespace folian {

class PdfSource;
struct SourceFailure;

struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// What the writer needs from the program around it. Every member may be left empty:
// an empty member falls back to the behaviour described beside it.
struct Hooks {
    // The selected subject's display name, Windows-1252 bytes; becomes author, creator and
    // producer at every reset. Empty: no name.
    std::function<std::string()> nomeCorrente;
    // The program's launch date as "ddmmyyyy"; its digits replace the date of the creation
    // date. Empty (or not eight digits): the clock's date stands.
    std::function<std::string()> oggiTesto;
    // Local wall-clock time. Empty: the system clock.
    std::function<LocalDateTime()> now;
    // How many minutes the local time given is ahead of UTC (60 in an Italian winter, 120 in
    // summer, negative west of Greenwich). Empty: the system's time zone at that moment.
    std::function<int(const LocalDateTime&)> utcOffsetMinutes;
    // One decimal digit 0-9 for generated file names. Empty: a random digit.
    std::function<int()> randomDigit;
    // Opens a finished file in the system's PDF viewer and returns at once; returns false when
    // the viewer could not be started. Empty: OpenDoc raises.
    std::function<bool(const std::string& path)> openInViewer;
    // Opens an existing PDF file for GetInfo and ImportPage (streams/PdfSource.h; OpenWithQpdf is the
    // reader), or returns nullptr saying why. Empty: both fail with ErrorCode::LoadingLibrary.
    std::function<std::unique_ptr<PdfSource>(const std::string& path, SourceFailure& failure)> openPdf;
};

// The hooks that Folian objects built without explicit hooks use. The application sets them
// once at start-up; until then all members are empty.
void SetDefaultHooks(Hooks hooks);
const Hooks& DefaultHooks();

// Fallbacks used for empty members.
LocalDateTime SystemNow();
int SystemUtcOffsetMinutes(const LocalDateTime& when);
int SystemRandomDigit();

} // namespace folian
