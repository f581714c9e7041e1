#include "ui/common/Language.h"

#include <QCoreApplication>
#include <QTranslator>

#include <array>
#include <memory>

namespace velmor {

namespace {

constexpr std::array kLanguages{
    LanguageEntry{Language::English, "English", nullptr, nullptr, "en", "en", "KLN.hlp",
                  QLocale::English, QLocale::UnitedKingdom, false},
    LanguageEntry{Language::Spanish, "Spanish", ":/i18n/velmor_es.qm", ":/i18n/qtbase_es.qm", "es",
                  "es", "NLK.hlp", QLocale::Spanish, QLocale::Spain, true},
};

// The catalogues, each loaded once from the resources; read-only afterwards.
struct Catalogues {
    std::unique_ptr<QTranslator> texts;
    std::unique_ptr<QTranslator> toolkit;
};

std::unique_ptr<QTranslator> Load(const char* path)
{
    if (path == nullptr) {
        return nullptr;
    }
    auto translator = std::make_unique<QTranslator>();
    (void)translator->load(QString::fromLatin1(path));
    return translator;
}

const Catalogues& CataloguesOf(Language language)
{
    static std::array<Catalogues, kLanguages.size()> loaded;
    static std::array<bool, kLanguages.size()> done{};
    const auto index = static_cast<std::size_t>(&LanguageOf(language) - kLanguages.data());
    if (!done[index]) {
        loaded[index] = {Load(kLanguages[index].catalogue),
                         Load(kLanguages[index].toolkitCatalogue)};
        done[index] = true;
    }
    return loaded[index];
}

Language g_installed = Language::English;

} // namespace

const LanguageEntry& LanguageOf(Language language)
{
    for (const LanguageEntry& entry : kLanguages) {
        if (entry.language == language) {
            return entry;
        }
    }
    return kLanguages.front();
}

const LanguageEntry& LanguageOfHelp(const QString& helpStart)
{
    for (const LanguageEntry& entry : kLanguages) {
        if (helpStart == QLatin1String(entry.helpStart)) {
            return entry;
        }
    }
    return kLanguages.front();
}

std::span<const LanguageEntry> Languages()
{
    return kLanguages;
}

void InstallLanguage(Language language)
{
    if (language == g_installed) {
        return;
    }
    const Catalogues& old = CataloguesOf(g_installed);
    const Catalogues& now = CataloguesOf(language);
    g_installed = language;
    for (QTranslator* t : {old.texts.get(), old.toolkit.get()}) {
        if (t != nullptr) {
            QCoreApplication::removeTranslator(t);
        }
    }
    for (QTranslator* t : {now.texts.get(), now.toolkit.get()}) {
        if (t != nullptr) {
            QCoreApplication::installTranslator(t);
        }
    }
    // Qt posts LanguageChange to the top-level windows; deliver them now so
    // that every window speaks the new language when this returns.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

Language InstalledLanguage()
{
    return g_installed;
}

QString TextIn(Language language, const char* context, const char* source,
               const char* disambiguation)
{
    const QTranslator* texts = CataloguesOf(language).texts.get();
    const QString text =
        texts != nullptr ? texts->translate(context, source, disambiguation) : QString();
    return text.isEmpty() ? QString::fromUtf8(source) : text;
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
