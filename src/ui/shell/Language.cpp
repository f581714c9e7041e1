#include "ui/shell/Language.h"

#include <QCoreApplication>
#include <QTranslator>

namespace velmor {

const QTranslator& SpanishTranslator()
{
    // Read-only after the first call; the catalogue is part of the program.
    static const QTranslator* translator = [] {
        auto* t = new QTranslator;
        (void)t->load(QStringLiteral(":/i18n/velmor_es.qm"));
        return t;
    }();
    return *translator;
}

QString SpanishText(const char* context, const char* english, const char* disambiguation)
{
    const QString spanish = SpanishTranslator().translate(context, english, disambiguation);
    return spanish.isEmpty() ? QString::fromUtf8(english) : spanish;
}

QString LangText(const ShellState& shell, const char* context, const char* english,
                 const char* disambiguation)
{
    if (!shell.langEnglish && shell.langSpanish) {
        return SpanishText(context, english, disambiguation);
    }
    return QString::fromUtf8(english);
}

void ApplyToolkitLanguage(const ShellState& shell)
{
    static QTranslator* toolkit = [] {
        auto* t = new QTranslator(QCoreApplication::instance());
        (void)t->load(QStringLiteral(":/i18n/qtbase_es.qm"));
        return t;
    }();
    static bool installed = false;
    const bool spanish = !shell.langEnglish && shell.langSpanish;
    if (spanish && !installed) {
        installed = QCoreApplication::installTranslator(toolkit);
    } else if (!spanish && installed) {
        QCoreApplication::removeTranslator(toolkit);
        installed = false;
    }
}

QString NoAnd(const QString& text)
{
    QString result = text;
    const qsizetype amp = result.indexOf(QLatin1Char('&'));
    if (amp >= 0) {
        result.remove(amp, 1);
    }
    return result;
}

} // namespace velmor
