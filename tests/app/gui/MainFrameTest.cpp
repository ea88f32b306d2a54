#include "app/CInputView.h"
#include "app/CMainFrame.h"
#include "app/MenuCommand.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

namespace {

struct Item {
    std::string text;  // empty for a separator
    int command;
    bool checkable;
    bool checked;
};

std::vector<Item> ItemsOf(QMenu* popup)
{
    std::vector<Item> items;
    for (QAction* action : popup->actions()) {
        if (action->isSeparator())
            items.push_back({"", 0, false, false});
        else
            items.push_back({action->text().toStdString(), action->data().toInt(), action->isCheckable(),
                             action->isChecked()});
    }
    return items;
}

void ExpectItems(QMenu* popup, const std::vector<Item>& expected)
{
    const std::vector<Item> items = ItemsOf(popup);
    ASSERT_EQ(items.size(), expected.size()) << popup->title().toStdString();
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(items[i].text, expected[i].text);
        EXPECT_EQ(items[i].command, expected[i].command);
        EXPECT_EQ(items[i].checked, expected[i].checked);
        EXPECT_EQ(items[i].checkable, expected[i].checkable);
    }
}

TEST(MainFrameTest, TitleAndWindowDecoration)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle().toStdString(), "Brumaria");
    const Qt::WindowFlags flags = frame.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_EQ(frame.centralWidget(), &frame.View());
}

TEST(MainFrameTest, TheClientAreaStartsAt640By480)
{
    CMainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    EXPECT_EQ(frame.View().size(), QSize(640, 480));
}

TEST(MainFrameTest, TheMenuHasItsPopupsItemsIdentifiersAndCheckMarks)
{
    CMainFrame frame;
    const QList<QAction*> popups = frame.menuBar()->actions();
    ASSERT_EQ(popups.size(), 4);
    EXPECT_EQ(popups[0]->text().toStdString(), "&Archivo");
    EXPECT_EQ(popups[1]->text().toStdString(), "&Vistas");
    EXPECT_EQ(popups[2]->text().toStdString(), "&Opciones");
    EXPECT_EQ(popups[3]->text().toStdString(), "Ay&uda");

    ExpectItems(popups[0]->menu(), {{"Empezar", 32788, false, false},
                                    {"Abrir", 32783, false, false},
                                    {"WebCam", 32786, true, false},
                                    {"Solo teclas", 32785, true, false},
                                    {"", 0, false, false},
                                    {"&Salir", 57665, false, false}});
    ExpectItems(popups[1]->menu(), {{"FrameA", 32772, true, false},
                                    {"FrameB", 32773, true, false},
                                    {"Valores", 32774, true, false},
                                    {"Rendimiento", 32775, true, false},
                                    {"Cámara", 32778, true, true}});
    ExpectItems(popups[2]->menu(), {{"Parámetros", 32771, false, false},
                                    {"Detecta Preciso", 32780, true, false},
                                    {"Detección movimientos", 32781, false, false},
                                    {"Número capturas seg", 32782, false, false}});
    ExpectItems(popups[3]->menu(), {{"&Temas de Ayuda", 57667, false, false},
                                    {"", 0, false, false},
                                    {"&Acerca de Brumaria...", 57664, false, false}});
    EXPECT_TRUE(frame.IsChecked(CommandCamera));
    EXPECT_FALSE(frame.IsChecked(CommandKeysOnly));
}

TEST(MainFrameTest, HelpAcceleratorsAreF1AndShiftF1)
{
    CMainFrame frame;
    ASSERT_NE(frame.Action(CommandHelp), nullptr);
    ASSERT_NE(frame.Action(CommandContextHelp), nullptr);
    EXPECT_EQ(frame.Action(CommandHelp)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(frame.Action(CommandContextHelp)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F1));
}

TEST(MainFrameTest, CommandsRunTheirHandlersWhichDecideTheCheckMarks)
{
    CMainFrame frame;
    std::vector<bool> seen;
    frame.SetCommandHandler(CommandKeysOnly, [&] {
        seen.push_back(frame.IsChecked(CommandKeysOnly));
        frame.SetChecked(CommandKeysOnly, !frame.IsChecked(CommandKeysOnly));
    });
    frame.Action(CommandKeysOnly)->trigger();
    frame.Action(CommandKeysOnly)->trigger();
    EXPECT_EQ(seen, (std::vector<bool>{false, true}));
    EXPECT_FALSE(frame.IsChecked(CommandKeysOnly));

    // Without a handler a command changes nothing, its check mark included.
    frame.Action(CommandCamera)->trigger();
    EXPECT_TRUE(frame.IsChecked(CommandCamera));

    frame.SetEnabled(CommandWebcam, false);
    EXPECT_FALSE(frame.Action(CommandWebcam)->isEnabled());
}

}  // namespace
