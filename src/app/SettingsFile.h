#pragma once

#include <QString>
#include <memory>

// tabulon.ini: sections and keys matched without regard to case, values kept as typed,
// booleans written "1"/"0", a value that is not a number reads as the default.
// Every save replaces the file atomically, so a crash never leaves half a file.
class SettingsFile {
public:
    explicit SettingsFile(const QString& path);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    bool readBool(const char* section, const QString& key, bool defaultValue) const;
    int readInt(const char* section, const QString& key, int defaultValue) const;
    QString readString(const char* section, const QString& key, const QString& defaultValue) const;

    void writeBool(const char* section, const QString& key, bool value);
    void writeInt(const char* section, const QString& key, int value);
    void writeString(const char* section, const QString& key, const QString& value);
    // Removes the key; nothing happens when it is not there.
    void remove(const char* section, const QString& key);

    // Writes the file; false with a reason when it could not be replaced.
    bool save(QString* error = nullptr) const;
    const QString& path() const { return path_; }

private:
    QString path_;
    struct Ini;
    std::unique_ptr<Ini> ini_;
};
