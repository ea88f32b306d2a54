#pragma once

#include "app/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// Driving the main frame's menu with the mouse, and the modal windows its commands open.

inline QMenu* PopupOf(const CMainFrame& frame, int command)
{
    for (QWidget* widget : frame.Action(command)->associatedWidgets()) {
        if (auto* popup = qobject_cast<QMenu*>(widget))
            return popup;
    }
    return nullptr;
}

// Clicks the popup's title on the menu bar; true once the popup is open.
inline bool OpenPopup(CMainFrame& frame, QMenu* popup)
{
    QMenuBar* bar = frame.menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(popup->menuAction()).center());
    return QTest::qWaitFor([popup] { return popup->isVisible(); }, 3000);
}

inline void CloseMenus()
{
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    QApplication::processEvents();
}

// Opens the command's popup and clicks its item, as the player would. A command that opens a
// modal window returns only once that window is closed (see WhenModal). A disabled item does
// nothing and leaves its popup open. False when the popup did not open.
inline bool ChooseMenuItem(CMainFrame& frame, int command)
{
    QMenu* popup = PopupOf(frame, command);
    if (!popup || !OpenPopup(frame, popup))
        return false;
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(frame.Action(command)).center());
    return true;
}

// Calls `act` with the next modal window once it is open (checked every 20 ms, for at most 5 s).
// The timer that waits for it is returned, to stop waiting (StopWaiting).
inline QPointer<QTimer> WhenModal(std::function<void(QWidget*)> act)
{
    auto* poll = new QTimer;
    poll->setInterval(20);
    auto tries = std::make_shared<int>(250);
    QObject::connect(poll, &QTimer::timeout, [poll, tries, act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && --*tries > 0)
            return;
        poll->stop();
        poll->deleteLater();
        if (modal)
            act(modal);
    });
    poll->start();
    return poll;
}

inline void StopWaiting(const QPointer<QTimer>& poll)
{
    if (poll) {
        poll->stop();
        poll->deleteLater();
    }
}

// Esc to the modal window's focused control, as the player would close it without applying.
inline void PressEscIn(QWidget* modal)
{
    QWidget* focus = modal->focusWidget() ? modal->focusWidget() : modal;
    QTest::keyClick(focus, Qt::Key_Escape);
}
