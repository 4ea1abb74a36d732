#pragma once

#include <QString>

class SettingsFile;
struct TSettings;

// The window fields kept in tabulon.ini beside the settings record.
struct TWindowSettings {
    static constexpr int LastColumn = 12; // the players list's last column
    int TabSelected = 0;
    int ColumnSort = 0;
    bool Descending = false;
};

// Reads every key in the file's key order into the records; missing keys give the defaults.
void ReadSettings(const SettingsFile& file, const QString& appFolder, TSettings& settings,
                  TWindowSettings& window);

// Writes the keys that shut-down stores.
void WriteWindowSettings(SettingsFile& file, const TWindowSettings& window);
