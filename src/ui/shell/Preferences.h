// The stored preferences: key "VELMOR", section "Setup", four text values,
// and beside them "Keep Run History", the run history's switch.
// This class is the only place that touches the settings store; it owns
// every value name, its default and the exact rule by which it is read.
#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace velmor {

class Preferences {
public:
    // The current user's store.
    Preferences();
    // A store in a file of its own (tests, or a portable set-up).
    explicit Preferences(const QString& iniFile);
    ~Preferences();
    Preferences(const Preferences&) = delete;
    Preferences& operator=(const Preferences&) = delete;

    // "Installed" reads "NO" when absent: the first run.
    bool firstRun() const;
    // WriteRegistry: the first-run defaults.
    void writeFirstRunDefaults();

    // Reading rules: only the exact text "True" turns the easy menu or the
    // toolbar on; only the exact text "False" turns the maximised start off.
    bool showEasyMenus() const;
    bool maximised() const;
    bool toolbar() const;

    // What the preferences window's OK stores.
    void save(bool showEasyMenus, bool maximised, bool toolbar);

    // The run history is kept unless the value reads exactly "False"
    // (absent: kept). Written only by the preferences window's OK.
    bool keepRunHistory() const;
    void saveKeepRunHistory(bool on);

    // The raw text of a value ("" when absent), for tests and diagnostics.
    QString text(const QString& name) const;

private:
    QString read(const QString& name, const QString& absent) const;
    void write(const QString& name, const QString& value);

    std::unique_ptr<QSettings> m_settings;
};

} // namespace velmor
