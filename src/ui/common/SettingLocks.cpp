#include "ui/common/SettingLocks.h"

#include "core/exercises/ControllerSettings.h"
#include "core/exercises/ExerciseProfile.h"

#include <QCoreApplication>
#include <QCursor>
#include <QToolTip>

#include <algorithm>
#include <optional>

namespace velmor {

namespace {

struct Locks {
    std::optional<Exercise> exercise;
    std::vector<std::string> names;
};

Locks& TheLocks()
{
    static Locks locks;
    return locks;
}

} // namespace

void LockSettings(Exercise e, std::vector<std::string> names)
{
    TheLocks() = {e, std::move(names)};
}

void UnlockSettings()
{
    TheLocks() = {};
}

bool SettingLocked(Exercise e, std::string_view name)
{
    const Locks& locks = TheLocks();
    return locks.exercise == e &&
           std::find(locks.names.begin(), locks.names.end(), name) != locks.names.end();
}

std::vector<std::string_view> BoxSettingNames(const VelmorState& s, Exercise e, int code)
{
    const ExerciseProfile& p = ProfileOf(e);
    const KeypadBox* clicked = p.box(code);
    if (clicked == nullptr) {
        return {};
    }
    if (clicked->kind == BoxKind::WaveRow && code != kCodeWaveRow3 &&
        CurrentWaveform(s, p) == kRamp) {
        code = code == kCodeWaveRow1 ? kCodeWaveRow2 : kCodeWaveRow1;
    }
    std::vector<std::string_view> names;
    for (const NamedSetting& n : p.settingNames) {
        if (n.box == nullptr) {
            continue;
        }
        const bool coupled = clicked->kind == BoxKind::Pid && n.box->kind == BoxKind::Pid &&
                             n.box->loop == clicked->loop &&
                             (clicked->panelCode == kCodePG || clicked->panelCode == kCodePB) &&
                             (n.box->panelCode == kCodePG || n.box->panelCode == kCodePB);
        if (n.box->code == code || coupled) {
            names.push_back(n.name);
        }
    }
    return names;
}

std::string_view WaveformSettingName(Exercise e)
{
    for (const NamedSetting& n : ProfileOf(e).settingNames) {
        if (n.kind == SettingKind::Waveform) {
            return n.name;
        }
    }
    return {};
}

bool RefuseLockedChange(QWidget* near, Exercise e, const std::vector<std::string_view>& names)
{
    const bool locked = std::any_of(names.begin(), names.end(),
                                    [e](std::string_view name) { return SettingLocked(e, name); });
    if (locked) {
        QToolTip::showText(QCursor::pos(),
                           QCoreApplication::translate("LabSheet", "Set by the lab sheet"), near);
    }
    return locked;
}

bool RefuseLockedCheckBox(QWidget* near, LoopOf loop, bool integral)
{
    const SettingKind kind = integral ? SettingKind::IBox : SettingKind::DBox;
    for (const ExerciseProfile* p : Profiles()) {
        for (const NamedSetting& n : p->settingNames) {
            if (n.kind == kind && n.loop == loop) {
                return RefuseLockedChange(near, p->exercise, {n.name});
            }
        }
    }
    return false;
}

} // namespace velmor
