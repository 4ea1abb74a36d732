#include "board/SoundEffects.h"

#include "board/BoardTheme.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

SoundEffects::SoundEffects(const QString& appFolder, QObject* parent)
    : QObject(parent), appFolder_(appFolder), hasOutput_(!QMediaDevices::audioOutputs().isEmpty())
{
    if (!hasOutput_)
        return;
    for (const QString& sound : GameSounds())
        effect(sound);
}

const QStringList& SoundEffects::GameSounds()
{
    static const QStringList sounds{
        QStringLiteral("Sounds\\roll.wav"),  QStringLiteral("Sounds\\chequer.wav"),
        QStringLiteral("Sounds\\double.wav"), QStringLiteral("Sounds\\take.wav"),
        QStringLiteral("Sounds\\drop.wav"),  QStringLiteral("Sounds\\dance.wav"),
        QStringLiteral("Sounds\\win.wav"),   QStringLiteral("Sounds\\loose.wav")};
    return sounds;
}

QSoundEffect* SoundEffects::effect(const QString& relativePath)
{
    const QString key = relativePath.toLower();
    if (auto found = effects_.constFind(key); found != effects_.constEnd())
        return found.value();
    QSoundEffect* loaded = nullptr;
    const QString path = ResolveAppPath(appFolder_, relativePath);
    if (QFileInfo::exists(path)) {
        loaded = new QSoundEffect(this);
        loaded->setSource(QUrl::fromLocalFile(path));
    }
    effects_.insert(key, loaded);
    return loaded;
}

void SoundEffects::play(const QString& relativePath)
{
    if (!hasOutput_)
        return;
    QSoundEffect* sound = effect(relativePath);
    if (!sound)
        return;
    if (playing_ && playing_ != sound)
        playing_->stop();
    playing_ = sound;
    sound->play();
}
