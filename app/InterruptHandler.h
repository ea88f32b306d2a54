#pragma once

#include <QObject>

class QSocketNotifier;

// While alive, SIGINT, SIGTERM and SIGHUP (Ctrl+C, kill, a closed terminal) end the program the
// way "&Salir" does: the event loops are left, so the application is destroyed normally and the
// sample files are completed. The signal handler only writes the signal's number into a pipe;
// the quitting happens in the event loop. A second signal finds the default action again and
// ends the process at once.
class InterruptHandler : public QObject {
    Q_OBJECT
public:
    InterruptHandler();
    ~InterruptHandler() override;

    // The signal that asked the program to end; 0 if none has arrived (or been handled) yet.
    int Received() const { return m_received; }
    // The conventional exit status for it: 128 + the signal's number.
    int ExitStatus() const { return 128 + m_received; }

private:
    void OnSignal();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
    int m_received = 0;
};
