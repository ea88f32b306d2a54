#include "app/CAboutDialog.h"
#include "app/CInputView.h"
#include "app/CMainFrame.h"
#include "app/DialogUnits.h"
#include "app/MenuCommand.h"
#include "app/core/KeySteering.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

int CodeOf(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QKeyEvent event(QEvent::KeyPress, key, modifiers);
    return CInputView::VirtualKeyOf(event);
}

TEST(InputViewTest, QtKeysMapToTheSteeringKeys)
{
    EXPECT_EQ(CodeOf(Qt::Key_Return), KeyReturn);
    EXPECT_EQ(CodeOf(Qt::Key_Enter, Qt::KeypadModifier), KeyReturn);
    EXPECT_EQ(CodeOf(Qt::Key_PageUp), KeyPageUp);
    EXPECT_EQ(CodeOf(Qt::Key_PageDown), KeyPageDown);
    EXPECT_EQ(CodeOf(Qt::Key_End), KeyEnd);
    EXPECT_EQ(CodeOf(Qt::Key_Home), KeyHome);
    EXPECT_EQ(CodeOf(Qt::Key_Left), KeyLeft);
    EXPECT_EQ(CodeOf(Qt::Key_Up), KeyUp);
    EXPECT_EQ(CodeOf(Qt::Key_Right), KeyRight);
    EXPECT_EQ(CodeOf(Qt::Key_Down), KeyDown);
    // Num Lock on: the keypad digits.
    EXPECT_EQ(CodeOf(Qt::Key_1, Qt::KeypadModifier), KeyNumpad1);
    EXPECT_EQ(CodeOf(Qt::Key_3, Qt::KeypadModifier), KeyNumpad3);
    EXPECT_EQ(CodeOf(Qt::Key_7, Qt::KeypadModifier), KeyNumpad7);
    EXPECT_EQ(CodeOf(Qt::Key_9, Qt::KeypadModifier), KeyNumpad9);
    // Num Lock off: the same keys are End, Page Down, Home and Page Up.
    EXPECT_EQ(CodeOf(Qt::Key_End, Qt::KeypadModifier), KeyEnd);
    EXPECT_EQ(CodeOf(Qt::Key_PageDown, Qt::KeypadModifier), KeyPageDown);
    EXPECT_EQ(CodeOf(Qt::Key_Home, Qt::KeypadModifier), KeyHome);
    EXPECT_EQ(CodeOf(Qt::Key_PageUp, Qt::KeypadModifier), KeyPageUp);
    // Digits of the main keyboard and other keypad keys are not steering keys.
    EXPECT_EQ(CodeOf(Qt::Key_1), 0);
    EXPECT_EQ(CodeOf(Qt::Key_2, Qt::KeypadModifier), 0);
    EXPECT_EQ(CodeOf(Qt::Key_Space), 0);
    EXPECT_EQ(CodeOf(Qt::Key_A), 0);
}

TEST(InputViewTest, EveryPressRepeatsIncludedReachesTheHandler)
{
    CInputView view;
    std::vector<int> keys;
    view.SetKeyHandler([&](int key) { keys.push_back(key); });
    QKeyEvent first(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier, QString(), true);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    QApplication::sendEvent(&view, &first);
    QApplication::sendEvent(&view, &repeat);
    QApplication::sendEvent(&view, &other);
    QApplication::sendEvent(&view, &repeat);
    EXPECT_EQ(keys, (std::vector<int>{KeyUp, KeyUp, KeyUp}));
}

class FocusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame.View().SetDisplay(display);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }

    CMainFrame frame;
    QWidget* display = new QWidget;
};

TEST_F(FocusTest, TheViewHoldsTheFocusOfTheFrame)
{
    EXPECT_EQ(QApplication::focusWidget(), &frame.View());
    frame.setFocus();
    EXPECT_EQ(QApplication::focusWidget(), &frame.View());
    // A click on the 3D picture does not take the focus away.
    QTest::mouseClick(display, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), &frame.View());
}

TEST_F(FocusTest, TheFocusComesBackToTheViewAfterADialog)
{
    std::string title;
    frame.SetCommandHandler(CommandAbout, [&] {
        CAboutDialog about(&frame);
        QTimer::singleShot(100, &about, [&] {
            title = QApplication::activeModalWidget() ? QApplication::activeModalWidget()->windowTitle().toStdString()
                                                      : "";
            about.accept();
        });
        about.exec();
    });
    frame.Action(CommandAbout)->trigger();
    EXPECT_EQ(title, "Acerca de Brumaria");
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    ASSERT_EQ(QApplication::focusWidget(), &frame.View());

    int steps = 0;
    frame.View().SetKeyHandler([&](int) { ++steps; });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    EXPECT_EQ(steps, 1);
}

TEST(AboutDialogTest, ShowsNameVersionAndAceptarInItsDialogUnitSize)
{
    CAboutDialog about;
    EXPECT_EQ(about.windowTitle().toStdString(), "Acerca de Brumaria");
    const DialogUnits units(about.font());
    EXPECT_EQ(about.size(), units.Size(235, 55));

    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    const bool hasVersion = std::any_of(labels.begin(), labels.end(), [](QLabel* label) {
        return label->text() == QStringLiteral("Brumaria Version 1.0");
    });
    EXPECT_TRUE(hasVersion);

    const QList<QPushButton*> buttons = about.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 1);
    EXPECT_EQ(buttons[0]->text().toStdString(), "Aceptar");
    EXPECT_TRUE(buttons[0]->isDefault());
    EXPECT_EQ(buttons[0]->geometry(), units.Rect(178, 7, 50, 16));
    // The button fits in the dialog.
    EXPECT_TRUE(QRect(QPoint(0, 0), about.size()).contains(buttons[0]->geometry()));
}

TEST(DialogUnitsTest, FollowTheFontSize)
{
    QFont small;
    small.setPixelSize(10);
    QFont large;
    large.setPixelSize(20);
    const DialogUnits a(small);
    const DialogUnits b(large);
    EXPECT_GT(b.X(100), a.X(100));
    EXPECT_GT(b.Y(100), a.Y(100));
    EXPECT_EQ(a.Y(8), QFontMetrics(small).height());
    EXPECT_EQ(a.X(0), 0);
}

}  // namespace
