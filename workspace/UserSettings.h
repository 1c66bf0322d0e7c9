// The choices the program remembers for each user between sessions.
#pragma once

enum class UserSetting {
    KeepPreviousResults,  // a run adds its pages beside the previous run's instead of replacing them
};

class UserSettings {
public:
    static bool flag(UserSetting setting, bool fallback = false);
    static void setFlag(UserSetting setting, bool on);
};
