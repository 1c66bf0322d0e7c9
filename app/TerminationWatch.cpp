// SIGTERM to the event loop through a pipe: the handler itself may only write a byte, so the work is done later.
#include "app/TerminationWatch.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <csignal>

namespace {

// A signal handler reaches no object, so the pipe's ends live here, set once before the handler is installed.
std::array<int, 2> signalPipe{-1, -1};

void onTerminateSignal(int)
{
    const char byte = 't';
    (void)!::write(signalPipe[1], &byte, 1);
}

}  // namespace

TerminationWatch::TerminationWatch(std::function<void()> lastWords, QObject* parent)
    : QObject(parent), lastWords_(std::move(lastWords))
{
    if (::pipe2(signalPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationWatch::onSignal);
    struct sigaction action {};
    action.sa_handler = onTerminateSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
}

TerminationWatch::~TerminationWatch()
{
    std::signal(SIGTERM, SIG_DFL);
    for (int& fd : signalPipe)
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
}

void TerminationWatch::onSignal()
{
    notifier_->setEnabled(false);
    if (lastWords_)
        lastWords_();
    // Ended by the signal, as without this watch: whoever sent it sees the usual status, and nothing after this
    // point (no question about unsaved documents, no run going on) can hold the logout up.
    std::signal(SIGTERM, SIG_DFL);
    std::raise(SIGTERM);
}
