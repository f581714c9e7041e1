// A language put in force for part of a test, as the preferences' OK puts
// it: in the shell's state and on the application, so that every open
// window retranslates itself. English is back in force when the scope ends,
// also when the test fails half-way, so that the next test starts in English.
#pragma once

#include "core/rundata/State.h"
#include "ui/common/Language.h"

namespace velmor {

// The switch alone, for a test that goes back and forth.
inline void UseLanguage(ShellState& shell, Language language)
{
    shell.language = language;
    InstallLanguage(language);
}

class LanguageScope {
public:
    LanguageScope(ShellState& shell, Language language) { UseLanguage(shell, language); }
    ~LanguageScope() { InstallLanguage(Language::English); }
    LanguageScope(const LanguageScope&) = delete;
    LanguageScope& operator=(const LanguageScope&) = delete;
};

} // namespace velmor
