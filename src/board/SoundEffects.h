#pragma once

#include "protocol/Ports.h"

#include <QHash>
#include <QObject>

class QSoundEffect;

// The game sounds, one preloaded effect per file. A new sound cuts the one playing. Without an
// audio output nothing is loaded or played, and nothing ever waits for the device.
class SoundEffects : public QObject, public SoundPort {
    Q_OBJECT
public:
    explicit SoundEffects(const QString& appFolder, QObject* parent = nullptr);

    void play(const QString& relativePath) override;
    bool HasOutput() const { return hasOutput_; }

    static const QStringList& GameSounds();

private:
    QSoundEffect* effect(const QString& relativePath);

    QString appFolder_;
    bool hasOutput_;
    QHash<QString, QSoundEffect*> effects_;
    QSoundEffect* playing_ = nullptr;
};
