// POSIX end signals: the handler only writes a byte into a socket pair (all
// it may safely do); the event loop reads it and makes the call.
#include "app/EndRequests.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::array<int, 3> EndSignals{SIGTERM, SIGHUP, SIGINT};
int signalSocket[2] = {-1, -1};
QSocketNotifier* notifier = nullptr;
std::function<void()> onRequest;

extern "C" void NoteEndSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[0], &byte, 1);
    errno = savedErrno;
}

} // namespace

void WatchEndSignals(QObject* owner, std::function<void()> requested)
{
    if (notifier || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        return;
    onRequest = std::move(requested);
    notifier = new QSocketNotifier(signalSocket[1], QSocketNotifier::Read, owner);
    QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
        char bytes[16];
        [[maybe_unused]] const ssize_t read = ::read(signalSocket[1], bytes, sizeof bytes);
        if (onRequest)
            onRequest();
    });
    struct sigaction action = {};
    action.sa_handler = NoteEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : EndSignals) {
        // A signal the starter set to be ignored (nohup) stays ignored.
        struct sigaction previous = {};
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
}

void StopWatchingEndSignals()
{
    if (!notifier)
        return;
    for (const int signal : EndSignals) {
        struct sigaction previous = {};
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == NoteEndSignal)
            ::signal(signal, SIG_DFL);
    }
    delete std::exchange(notifier, nullptr);
    onRequest = nullptr;
    ::close(signalSocket[0]);
    ::close(signalSocket[1]);
    signalSocket[0] = signalSocket[1] = -1;
}
