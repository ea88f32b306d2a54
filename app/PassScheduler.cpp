#include "app/PassScheduler.h"

#include <QApplication>
#include <QEvent>

#include <cmath>
#include <utility>

namespace {

bool ModalOrMenuOpen()
{
    return QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr;
}

}  // namespace

PassScheduler::PassScheduler(PassClock& clock, double refreshRateHz, std::function<bool()> runPass)
    : m_pacer(clock, refreshRateHz), m_runPass(std::move(runPass))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PassScheduler::OnTimer);
}

void PassScheduler::Start()
{
    m_running = true;
    ScheduleNext();
}

void PassScheduler::ScheduleNext()
{
    if (!m_running || m_waitingForModal || m_inPass)
        return;
    m_timer.start(static_cast<int>(std::ceil(m_pacer.MsUntilNextPass())));
}

void PassScheduler::OnTimer()
{
    // Dialogs, message boxes and open menus hold the game still, as their own loops would.
    if (ModalOrMenuOpen()) {
        WaitForModalToClose();
        return;
    }
    m_pacer.PassStarted();
    m_inPass = true;
    m_running = m_runPass();
    m_inPass = false;
    ScheduleNext();
}

void PassScheduler::WaitForModalToClose()
{
    m_waitingForModal = true;
    qApp->installEventFilter(this);
}

bool PassScheduler::eventFilter(QObject* watched, QEvent* event)
{
    // A window that closes or unblocks the others may be the last modal one; the check waits
    // until Qt has finished closing it.
    const QEvent::Type type = event->type();
    if (type == QEvent::Hide || type == QEvent::WindowUnblocked)
        QTimer::singleShot(0, this, &PassScheduler::ResumeIfNothingModal);
    return QObject::eventFilter(watched, event);
}

void PassScheduler::ResumeIfNothingModal()
{
    if (!m_waitingForModal || ModalOrMenuOpen())
        return;
    m_waitingForModal = false;
    qApp->removeEventFilter(this);
    ScheduleNext();
}
