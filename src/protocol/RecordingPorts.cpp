#include "protocol/RecordingPorts.h"

#include <algorithm>
#include <limits>

void VirtualClock::after(int ms, std::function<void()> fn)
{
    timers_.emplace(std::make_pair(now_ + std::max(ms, 0), sequence_++), std::move(fn));
}

bool VirtualClock::runNext(qint64 limit)
{
    if (timers_.empty() || timers_.begin()->first.first > limit)
        return false;
    auto node = timers_.extract(timers_.begin());
    now_ = std::max(now_, node.key().first);
    ++timersRun_;
    node.mapped()();
    return true;
}

void VirtualClock::advance(qint64 ms)
{
    const qint64 target = now_ + ms;
    while (runNext(target)) {
    }
    now_ = target;
}

void VirtualClock::runUntilIdle()
{
    while (runNext(std::numeric_limits<qint64>::max())) {
    }
}

bool RecordingServerLink::connectTo(const QString&, const QString&, QString* error)
{
    if (failConnect) {
        if (error)
            *error = QStringLiteral("Host not found");
        return false;
    }
    connected = true;
    return true;
}

void RecordingServerLink::send(const QByteArray& bytes)
{
    sent += bytes;
    if (onSend)
        onSend(bytes);
}

void RecordingPrompter::information(const QString& title, const QString& text)
{
    boxes.append(title + QStringLiteral(" | ") + text);
    if (onBox)
        onBox(boxes.last());
}

bool RecordingPrompter::question(const QString& title, const QString& text)
{
    information(title, text);
    return answer;
}

void RecordingBoard::drawPosition(const TPositions&)
{
    ++draws;
}

void RecordingBoard::animateChecker(const TPositions&, int from, int to, std::function<void()> done)
{
    animations.append(QStringLiteral("%1-%2").arg(from).arg(to));
    done();
}

void RecordingSound::play(const QString& relativePath)
{
    played.append(relativePath);
    if (onPlay)
        onPlay(relativePath);
}
