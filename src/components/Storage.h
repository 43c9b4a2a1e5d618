#pragma once

// Where the windows' persistent controls keep their values. Every window describes its
// controls alike, with the registry in use and the profile "My.ini", section "MyKey", as the
// other back end; only the registry key differs, by what the values belong to.

#include "components/Options.h"

// Sets all five storage options of `options`: the key `regKey`\`regSubKey` below
// HKEY_CURRENT_USER (a leading backslash on `regKey` is allowed), the profile, the registry.
inline void ApplyStorage(TSimpleOptions *options, const QString &regKey, const QString &regSubKey) {
    options->RegKey = regKey;
    options->RegSubKey = regSubKey;
    options->IniFile = QStringLiteral("My.ini");
    options->IniSection = QStringLiteral("MyKey");
    options->UseRegistry = true;
}

// The game's own settings: the main window's placement and the two preferences.
inline void ApplyGameStorage(TSimpleOptions *options) {
    ApplyStorage(options, QStringLiteral("\\Software\\Brakmoor\\Gorbulax"),
                 QStringLiteral("Settings"));
}
