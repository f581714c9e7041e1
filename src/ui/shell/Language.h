// The interface language in force. English is the source text of every
// tr() string; Spanish comes from the compiled translation. A window's
// SetLanguage asks here for each text by its context and English source.
#pragma once

#include "core/rundata/State.h"

#include <QString>

class QTranslator;

namespace velmor {

// The Spanish catalogue, loaded once from the program's resources.
const QTranslator& SpanishTranslator();

// The text for the language flags of the shell: English when langEnglish,
// else Spanish when langSpanish, else the English layout text.
QString LangText(const ShellState& shell, const char* context, const char* english,
                 const char* disambiguation = nullptr);

// Spanish text of a source string regardless of the flags (a preview).
QString SpanishText(const char* context, const char* english, const char* disambiguation = nullptr);

// The toolkit's own texts (message box buttons, file and print dialogs)
// follow the language flags too.
void ApplyToolkitLanguage(const ShellState& shell);

// The text without its first "&" (menu captions made into hints).
QString NoAnd(const QString& text);

} // namespace velmor
