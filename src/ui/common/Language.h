// The interface language in force. English is the source text of every
// window text; another language is a catalogue installed on the application,
// so that QCoreApplication::translate answers in it. Installing one makes Qt
// send every window QEvent::LanguageChange, on which the window's
// changeEvent calls its SetLanguage.
#pragma once

#include "core/rundata/State.h"

#include <QLocale>
#include <QString>

#include <span>

namespace velmor {

// What the program needs of a language: its catalogue and the toolkit's
// (message box buttons, file and print dialogs), both in the resources,
// its help pages, how its numbers and dates are written, and whether its
// texts run long. English needs no catalogue: its texts are the sources.
struct LanguageEntry {
    Language language;
    const char* name;             // as the preferences list it (English)
    const char* catalogue;        // resource path, or nullptr
    const char* toolkitCatalogue; // resource path, or nullptr
    const char* code;             // two letters: a lab sheet's texts are kept under it
    const char* helpFolder;       // the pages' folder under :/help
    const char* helpStart;        // the start page, under :/help
    QLocale::Language locale;     // the printed report's numbers and dates
    QLocale::Country country;
    // Its words run longer than English: the drawn panels use their roomier
    // placings (a smaller easy-menu type, the wider mimic title plate, the
    // waveform's "Initial" label moved left).
    bool longTexts;
};

// Every language the program speaks, English first.
std::span<const LanguageEntry> Languages();

// The entry of `language` (English's for a value no entry has).
const LanguageEntry& LanguageOf(Language language);

// The entry whose help starts at `helpStart` (English's when none does).
const LanguageEntry& LanguageOfHelp(const QString& helpStart);

// Puts `language` in force for the whole program. The windows' changeEvent
// handlers have run when this returns, so the switch is complete at once.
void InstallLanguage(Language language);

// The language InstallLanguage last put in force (English at the start).
Language InstalledLanguage();

// The text of a source string in `language`, whichever language is in force:
// the preferences' preview and the pictures drawn for one language.
QString TextIn(Language language, const char* context, const char* source,
               const char* disambiguation = nullptr);

// The text without its first "&" (menu captions made into hints).
QString NoAnd(const QString& text);

} // namespace velmor
