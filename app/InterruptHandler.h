#pragma once

#include <QObject>

class QSocketNotifier;

// While alive, SIGINT, SIGTERM and SIGHUP (Ctrl+C, kill, a closed terminal) end the program the
// way "&Salir" does: the event loops are left, so the application is destroyed normally and the
// sample files are completed. The signal handler only notes the signal (NoteInterruption, which
// start-up looks at) and writes its number into a pipe; the quitting happens in the event loop.
// Later signals change nothing, also once the handler is gone: the program is ending already,
// and neither the completion of the sample files nor its exit status is cut short.
//
// SIGPIPE is ignored meanwhile, so a display that goes away is an error that Xlib reports by
// calling exit(), which completes the sample files, and not a silent end.
class InterruptHandler : public QObject {
    Q_OBJECT
public:
    InterruptHandler();
    ~InterruptHandler() override;

    // The signal that asked the program to end; 0 if none has arrived yet.
    int Received() const;
    // The conventional exit status for it: 128 + the signal's number.
    int ExitStatus() const { return 128 + Received(); }

private:
    void OnSignal();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier* m_notifier = nullptr;
};
