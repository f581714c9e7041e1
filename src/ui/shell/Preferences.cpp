#include "ui/shell/Preferences.h"

#include <QSettings>

namespace velmor {

namespace {

const QString kSection = QStringLiteral("Setup");
const QString kInstalled = QStringLiteral("Installed");
const QString kShowEasyMenus = QStringLiteral("Show Easy Menus");
const QString kMaximised = QStringLiteral("Maximised");
const QString kToolbar = QStringLiteral("Toolbar");
const QString kKeepRunHistory = QStringLiteral("Keep Run History");

QString Flag(bool on)
{
    return on ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

Preferences::Preferences()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("VELMOR")))
{
}

Preferences::Preferences(const QString& iniFile)
    : m_settings(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

Preferences::~Preferences() = default;

QString Preferences::read(const QString& name, const QString& absent) const
{
    m_settings->sync();
    return m_settings->value(kSection + QLatin1Char('/') + name, absent).toString();
}

void Preferences::write(const QString& name, const QString& value)
{
    m_settings->setValue(kSection + QLatin1Char('/') + name, value);
}

QString Preferences::text(const QString& name) const
{
    return read(name, QString());
}

bool Preferences::firstRun() const
{
    return read(kInstalled, QStringLiteral("NO")) == QLatin1String("NO");
}

void Preferences::writeFirstRunDefaults()
{
    write(kInstalled, QStringLiteral("YES"));
    write(kShowEasyMenus, QStringLiteral("True"));
    write(kMaximised, QStringLiteral("True"));
    write(kToolbar, QStringLiteral("False"));
    m_settings->sync();
}

bool Preferences::showEasyMenus() const
{
    return read(kShowEasyMenus, QStringLiteral("True")) == QLatin1String("True");
}

bool Preferences::maximised() const
{
    return read(kMaximised, QStringLiteral("False")) != QLatin1String("False");
}

bool Preferences::toolbar() const
{
    return read(kToolbar, QStringLiteral("True")) == QLatin1String("True");
}

bool Preferences::keepRunHistory() const
{
    return read(kKeepRunHistory, QStringLiteral("True")) != QLatin1String("False");
}

void Preferences::saveKeepRunHistory(bool on)
{
    write(kKeepRunHistory, Flag(on));
    m_settings->sync();
}

void Preferences::save(bool showEasyMenus, bool maximised, bool toolbar)
{
    write(kInstalled, QStringLiteral("YES"));
    write(kShowEasyMenus, Flag(showEasyMenus));
    write(kMaximised, Flag(maximised));
    write(kToolbar, Flag(toolbar));
    m_settings->sync();
}

} // namespace velmor
