#include "app/SettingsFile.h"

#include <QFile>
#include <QSaveFile>

#include <SimpleIni.h>

#include <string>

// CSimpleIniA matches sections and keys without regard to case.
struct SettingsFile::Ini : CSimpleIniA {
    Ini() : CSimpleIniA(false, false, false) {}
};

namespace {
QByteArray bytes(const QString& s)
{
    return s.toLatin1();
}
} // namespace

SettingsFile::SettingsFile(const QString& path)
    : path_(path), ini_(std::make_unique<Ini>())
{
    ini_->SetSpaces(false);
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray data = file.readAll();
        if (ini_->LoadData(data.constData(), size_t(data.size())) < 0)
            ini_->Reset();
    }
}

SettingsFile::~SettingsFile() = default;

QString SettingsFile::readString(const char* section, const QString& key,
                                 const QString& defaultValue) const
{
    const char* value = ini_->GetValue(section, bytes(key).constData(), nullptr);
    return value ? QString::fromLatin1(value) : defaultValue;
}

int SettingsFile::readInt(const char* section, const QString& key, int defaultValue) const
{
    bool ok = false;
    const int value = readString(section, key, QString()).trimmed().toInt(&ok);
    return ok ? value : defaultValue;
}

bool SettingsFile::readBool(const char* section, const QString& key, bool defaultValue) const
{
    return readInt(section, key, defaultValue ? 1 : 0) != 0;
}

void SettingsFile::writeString(const char* section, const QString& key, const QString& value)
{
    ini_->SetValue(section, bytes(key).constData(), bytes(value).constData());
}

void SettingsFile::remove(const char* section, const QString& key)
{
    ini_->Delete(section, bytes(key).constData(), false);
}

void SettingsFile::writeInt(const char* section, const QString& key, int value)
{
    writeString(section, key, QString::number(value));
}

void SettingsFile::writeBool(const char* section, const QString& key, bool value)
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool SettingsFile::save(QString* error) const
{
    std::string text;
    if (ini_->Save(text) < 0) {
        if (error)
            *error = QStringLiteral("could not format the settings");
        return false;
    }
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}
