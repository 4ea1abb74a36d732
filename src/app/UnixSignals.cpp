#include "app/UnixSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int pipeFds[2] = {-1, -1}; // [0] written by the handler, [1] read on the event loop
struct sigaction previousInt;
struct sigaction previousTerm;

void onSignal(int number)
{
    const int savedErrno = errno;
    const char byte = char(number);
    // Non-blocking: when the pipe is full a signal is already waiting to be read.
    [[maybe_unused]] const ssize_t written = ::write(pipeFds[0], &byte, 1);
    errno = savedErrno;
}

void install(int number, struct sigaction* previous)
{
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(number, &action, previous);
}
} // namespace

UnixSignals::UnixSignals(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pipeFds) != 0)
        return;
    for (int fd : pipeFds) {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    }
    notifier_ = new QSocketNotifier(pipeFds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &UnixSignals::readSignals);
    install(SIGINT, &previousInt);
    install(SIGTERM, &previousTerm);
}

UnixSignals::~UnixSignals()
{
    if (!notifier_)
        return;
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
    delete notifier_;
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    pipeFds[0] = pipeFds[1] = -1;
}

void UnixSignals::readSignals()
{
    char bytes[16];
    ssize_t count;
    while ((count = ::read(pipeFds[1], bytes, sizeof bytes)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit terminationRequested(int(bytes[i]));
    }
}
