// The user's choices in the user's own configuration file, under keys that only this file spells out.
#include "workspace/UserSettings.h"

#include <QSettings>

#include <memory>

namespace {

QString keyOf(UserSetting setting)
{
    switch (setting) {
    case UserSetting::KeepPreviousResults: return QStringLiteral("results/keepPrevious");
    }
    return {};
}

std::unique_ptr<QSettings> store()
{
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Tavlix"),
                                       QStringLiteral("Tavlix"));
}

}  // namespace

bool UserSettings::flag(UserSetting setting, bool fallback)
{
    return store()->value(keyOf(setting), fallback).toBool();
}

void UserSettings::setFlag(UserSetting setting, bool on)
{
    store()->setValue(keyOf(setting), on);
}
