#include "app/InterruptHandler.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Runs the event loop until something quits it, for at most 10 s; true if something did.
bool RunEventLoop()
{
    bool timedOut = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        timedOut = true;
        QApplication::quit();
    });
    guard.start(10000);
    QApplication::exec();
    return !timedOut;
}

bool HasDefaultAction(int signal)
{
    struct sigaction current = {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler == SIG_DFL;
}

TEST(InterruptHandlerTest, ASignalLeavesEveryEventLoopADialogsToo)
{
    InterruptHandler interrupts;
    EXPECT_EQ(interrupts.Received(), 0);
    EXPECT_FALSE(HasDefaultAction(SIGTERM));

    bool dialogClosed = false;
    QTimer::singleShot(0, [&] {
        QDialog dialog;
        QTimer::singleShot(100, [] { std::raise(SIGTERM); });
        dialog.exec();
        dialogClosed = true;
    });
    EXPECT_TRUE(RunEventLoop());
    EXPECT_TRUE(dialogClosed);
    EXPECT_EQ(interrupts.Received(), SIGTERM);
    EXPECT_EQ(interrupts.ExitStatus(), 143);
    // A second signal would end the process at once.
    EXPECT_TRUE(HasDefaultAction(SIGTERM));
    EXPECT_FALSE(HasDefaultAction(SIGINT));
}

TEST(InterruptHandlerTest, ASignalBeforeTheEventLoopRunsEndsItAsSoonAsItRuns)
{
    InterruptHandler interrupts;
    std::raise(SIGINT);
    // The handler only wrote into the pipe.
    EXPECT_EQ(interrupts.Received(), 0);
    EXPECT_TRUE(RunEventLoop());
    EXPECT_EQ(interrupts.Received(), SIGINT);
    EXPECT_EQ(interrupts.ExitStatus(), 130);
}

TEST(InterruptHandlerTest, WhenItIsGoneTheSignalsHaveTheirDefaultActionsAgain)
{
    {
        InterruptHandler interrupts;
        for (const int signal : {SIGINT, SIGTERM, SIGHUP})
            EXPECT_FALSE(HasDefaultAction(signal));
    }
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        EXPECT_TRUE(HasDefaultAction(signal));
}

}  // namespace
