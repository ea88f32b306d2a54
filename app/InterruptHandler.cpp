#include "app/InterruptHandler.h"

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
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full pipe already holds a request to quit.
    [[maybe_unused]] const ssize_t written = write(g_signalPipe, &number, 1);
    errno = savedErrno;
}

}  // namespace

InterruptHandler::InterruptHandler()
{
    if (pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_signalPipe = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InterruptHandler::OnSignal);

    struct sigaction action = {};
    action.sa_handler = WriteSignalToPipe;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (const int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

InterruptHandler::~InterruptHandler()
{
    if (m_pipe[0] < 0)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSignals)
        sigaction(signal, &action, nullptr);
    g_signalPipe = -1;
    delete m_notifier;
    close(m_pipe[0]);
    close(m_pipe[1]);
}

void InterruptHandler::OnSignal()
{
    unsigned char number = 0;
    if (read(m_pipe[0], &number, 1) == 1 && m_received == 0)
        m_received = number;
    // Leaves every running event loop, a dialog's included.
    QCoreApplication::quit();
}
