// The personal settings' values and their keys in mysetting.ini.
#pragma once

#include <QString>

#include <optional>

namespace m7410 {

// The keys of section "Personal settings" in "mysetting.ini".
namespace SettingsKey {
inline constexpr const char* Section = "Personal settings";
inline constexpr const char* Name = "Name";
inline constexpr const char* ChannelMode = "Channel mode";
inline constexpr const char* MainChannel = "Input the main channel";
inline constexpr const char* OutputOne = "Output channel one";
inline constexpr const char* OutputTwo = "Output channel two";
inline constexpr const char* OutputThree = "Output channel three";
inline constexpr const char* Version = "Version";
} // namespace SettingsKey

// What the personal-settings box edits and "save" writes.
struct PersonalSettings {
    QString name;
    int channelMode = 0;
    QString mainChannel;
    QString outputOne;
    QString outputTwo;
    QString outputThree;
    QString version;
};

} // namespace m7410
