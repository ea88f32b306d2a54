#pragma once

#include "app/core/PassPacer.h"

#include <QObject>
#include <QTimer>

#include <functional>

class PassClock;

// Runs the main loop's passes while play goes on: one per display refresh on a precise timer
// (the display's vertical retrace may hold each frame's presentation too), or back to back when
// unpaced. While a modal window (dialog, message box, file dialog) or a menu is open no pass runs
// and no timer is left ticking; passes resume once it has closed.
class PassScheduler : public QObject {
    Q_OBJECT
public:
    // `runPass` runs one pass and says whether passes are to go on.
    PassScheduler(PassClock& clock, double refreshRateHz, std::function<bool()> runPass);

    void SetPaced(bool paced) { m_pacer.SetPaced(paced); }
    // Passes from now on, until `runPass` says no more.
    void Start();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTimer();
    void ScheduleNext();
    void WaitForModalToClose();
    void ResumeIfNothingModal();

    PassPacer m_pacer;
    std::function<bool()> m_runPass;
    QTimer m_timer;
    bool m_running = false;
    bool m_waitingForModal = false;
    bool m_inPass = false;
};
