#include "app/InterruptHandler.h"

#include "platform/Interruption.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Write end of the pipe, for the signal handler.
volatile std::sig_atomic_t g_signalPipe = -1;

extern "C" void WriteSignalToPipe(int signal)
{
    const int savedErrno = errno;
    NoteInterruption(signal);
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds a request to quit.
    [[maybe_unused]] const ssize_t written = write(g_signalPipe, &number, 1);
    errno = savedErrno;
}

void SetAction(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

}  // namespace

InterruptHandler::InterruptHandler()
{
    if (pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_signalPipe = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InterruptHandler::OnSignal);
    for (const int signal : kSignals)
        SetAction(signal, WriteSignalToPipe);
    SetAction(SIGPIPE, SIG_IGN);
}

InterruptHandler::~InterruptHandler()
{
    if (m_pipe[0] < 0)
        return;
    // A program ending on a signal ignores the later ones to the very end, so that it ends with
    // the status for the first.
    for (const int signal : kSignals)
        SetAction(signal, Received() ? SIG_IGN : SIG_DFL);
    SetAction(SIGPIPE, SIG_DFL);
    g_signalPipe = -1;
    delete m_notifier;
    close(m_pipe[0]);
    close(m_pipe[1]);
}

int InterruptHandler::Received() const
{
    return NotedInterruption();
}

void InterruptHandler::OnSignal()
{
    unsigned char numbers[16];
    while (read(m_pipe[0], numbers, sizeof numbers) > 0) {
    }
    // Leaves every running event loop, a dialog's included.
    QCoreApplication::quit();
}
