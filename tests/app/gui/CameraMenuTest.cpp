#include "app/CameraMenu.h"
#include "app/CGameApp.h"
#include "app/CInputView.h"
#include "app/CMainFrame.h"
#include "app/CameraSettings.h"
#include "app/MenuCommand.h"
#include "app/core/ProcessSettings.h"
#include "platform/MessageBox.h"
#include "tests/app/gui/FakeCameraLister.h"
#include "tests/support/TemporaryFolder.h"
#include "tracking/capture/CaptureSource.h"
#include "world/CCamera.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QSettings>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <tuple>

#include <stdlib.h>

namespace {

using Texts = std::vector<std::string>;

// A laptop's camera with its metadata node, and a USB camera without 640 x 480. No such device
// nodes exist, so nothing is ever opened.
const std::vector<VideoDevice> kDevices = {
    {"/dev/video60", "Integrated Camera", true, {{320, 240}, {640, 480}, {1280, 720}}},
    {"/dev/video61", "Integrated Camera", false, {}},
    {"/dev/video62", "USB 2.0 Camera", true, {{352, 288}, {800, 600}, {1920, 1080}}},
};

// The user settings in the working folder, nothing chosen yet, and no BRUMARIA_CAMERA.
struct SettingsFolder : TemporaryFolder {
    SettingsFolder()
    {
        ::unsetenv(CaptureSource::kCameraVariable);
        ::setenv("ALSOFT_DRIVERS", "null", 0);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QDir::current().filePath("config"));
    }
};

// ... with the game's content linked in, so the program shows its title picture.
struct ContentFolder : SettingsFolder {
    ContentFolder()
    {
        for (const auto& entry : std::filesystem::directory_iterator(BRUMARIA_SOURCE_DIR "/data"))
            std::filesystem::create_symlink(entry.path(), entry.path().filename());
    }
};

auto Fields(const CameraChoice& c)
{
    return std::tuple(c.kind, c.path, c.name, c.size.width, c.size.height);
}

// The menu's items as the player reads them: "*" after a checked one, "(gris)" after a disabled one.
Texts Items(const QMenu& menu)
{
    Texts items;
    for (const QAction* action : menu.actions())
        items.push_back(action->isSeparator() ? "-"
                                              : action->text().toStdString() + (action->isChecked() ? " *" : "") +
                                (action->isEnabled() ? "" : " (gris)"));
    return items;
}

QAction* Item(const QMenu& menu, const char* text)
{
    for (QAction* action : menu.actions())
        if (action->text() == QString::fromUtf8(text))
            return action;
    ADD_FAILURE() << "no item " << text;
    return nullptr;
}

// The program with the fake cameras, the menu opened and clicked with the mouse as the player does.
class CameraMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(app.InitInstance());
        messages.Clear();
        frame().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame()));
    }
    void TearDown() override { g_steeringMode = KeysOnly; }

    CMainFrame& frame() { return app.MainFrame(); }
    QMenu& webcamMenu() { return *frame().Action(CommandChooseWebcam)->menu(); }

    // Opciones > "Elegir webcam", open.
    void OpenWebcamMenu()
    {
        QMenuBar* bar = frame().menuBar();
        QMenu* options = bar->actions()[2]->menu();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(options->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return options->isVisible(); }, 3000));
        OpenSubmenu(*options, *frame().Action(CommandChooseWebcam)->menu());
    }
    // As the arrow keys do.
    static void OpenSubmenu(QMenu& menu, QMenu& submenu)
    {
        menu.setActiveAction(submenu.menuAction());
        ASSERT_TRUE(QTest::qWaitFor([&] { return submenu.isVisible(); }, 3000));
    }
    static void Click(QMenu& menu, QAction* item)
    {
        ASSERT_NE(item, nullptr);
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(item).center());
    }

    ContentFolder folder;
    MessageCapture messages;
    FakeCameraLister* cameras = new FakeCameraLister(kDevices);
    CGameApp app{std::unique_ptr<CameraLister>(cameras)};
};

// Then the chosen camera, missing: the player is told which, and the keys steer as with no camera.
TEST_F(CameraMenuTest, ListsTheCamerasThatCaptureEachTimeItOpensTheSizesOfTheChosenOneAndNamesItIfMissing)
{
    OpenWebcamMenu();
    EXPECT_EQ(Items(webcamMenu()),
              (Texts{"Integrated Camera", "USB 2.0 Camera", "Ninguna (solo teclas)", "-", "Resolución (gris)"}));
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();

    // Plugged in while the program runs.
    cameras->devices.push_back({"/dev/video63", "Logitech C920", true, {{640, 480}}});
    OpenWebcamMenu();
    EXPECT_EQ(Items(webcamMenu()),
              (Texts{"Integrated Camera", "USB 2.0 Camera", "Logitech C920", "Ninguna (solo teclas)", "-",
                     "Resolución (gris)"}));
    // Without 640 x 480, the size nearest to it.
    Click(webcamMenu(), Item(webcamMenu(), "USB 2.0 Camera"));
    EXPECT_EQ(Fields(CameraSettings::Load()),
              Fields({CameraChoice::Kind::Device, "/dev/video62", "USB 2.0 Camera", {800, 600}}));

    OpenWebcamMenu();
    EXPECT_EQ(
        Items(webcamMenu()),
        (Texts{"Integrated Camera", "USB 2.0 Camera *", "Logitech C920", "Ninguna (solo teclas)", "-", "Resolución"}));
    QMenu& sizes = *Item(webcamMenu(), CameraMenu::kSizesText)->menu();
    OpenSubmenu(webcamMenu(), sizes);
    EXPECT_EQ(Items(sizes), (Texts{"352 × 288", "800 × 600 *", "1920 × 1080"}));
    if (const char* screenshots = std::getenv("BRUMARIA_SCREENSHOT_FOLDER")) {
        QTest::qWait(500);
        const QRect shown = frame().frameGeometry() | sizes.geometry();
        QGuiApplication::primaryScreen()
            ->grabWindow(0, shown.x(), shown.y(), shown.width(), shown.height())
            .save(QDir(screenshots).filePath("camera-menu.png"));
    }
    Click(sizes, Item(sizes, "1920 × 1080"));
    EXPECT_EQ(CameraSettings::Load().size, (FrameSize{1920, 1080}));
    // Back to the laptop's camera: 1920 x 1080 it has not, 640 x 480 it has.
    OpenWebcamMenu();
    Click(webcamMenu(), Item(webcamMenu(), "Integrated Camera"));
    EXPECT_EQ(Fields(CameraSettings::Load()),
              Fields({CameraChoice::Kind::Device, "/dev/video60", "Integrated Camera", {640, 480}}));

    const glm::vec3 start = CCamera::Instance()->Eye();
    QTest::keyClick(&frame().View(), Qt::Key_Return);
    const std::string named =
        "No se puede abrir la webcam \"Integrated Camera\" (/dev/video60): se juega solo con las teclas.";
    EXPECT_EQ(messages.Texts(), Texts{named});
    EXPECT_EQ(g_steeringMode, NoCamera);
    QTest::keyClick(&frame().View(), Qt::Key_Up);
    EXPECT_NE(CCamera::Instance()->Eye(), start);
    // "WebCam" tells it once more, and only once.
    frame().Action(CommandWebcam)->trigger();
    EXPECT_EQ(messages.Texts(), (Texts{named, named}));
}

TEST(CameraMenu, TheChoiceSurvivesARestartFindsItsCameraByNameAndBrumariaCameraWinsOverIt)
{
    SettingsFolder folder;
    MessageCapture messages;
    FakeCameraLister cameras(kDevices);
    {
        QMenu menu;
        CaptureOpener opener;
        CameraMenu choosing(menu, cameras, opener);
        EXPECT_EQ(Fields(opener.Choice()), Fields(CameraChoice{})) << "nothing chosen: any camera at 640 x 480";
        emit menu.aboutToShow();
        Item(menu, CameraMenu::kNoCameraText)->trigger();
        EXPECT_EQ(opener.Choice().kind, CameraChoice::Kind::NoCamera);
        Item(menu, "USB 2.0 Camera")->trigger();
    }
    // Plugged in after another camera this time.
    cameras.devices[2].path = "/dev/video64";
    QMenu menu;
    CaptureOpener opener;
    cameras.listings = 0;
    const CameraMenu restarted(menu, cameras, opener);
    EXPECT_EQ(cameras.listings, 1) << "the devices are listed once to find the camera, not again for the menu";
    const CameraChoice expected{CameraChoice::Kind::Device, "/dev/video64", "USB 2.0 Camera", {800, 600}};
    EXPECT_EQ(Fields(restarted.Choice()), Fields(expected));
    EXPECT_EQ(Fields(opener.Choice()), Fields(expected));

    ::setenv(CaptureSource::kCameraVariable, "57", 1);
    EXPECT_EQ(opener.OpenCamera(), nullptr);
    emit menu.aboutToShow();
    ::unsetenv(CaptureSource::kCameraVariable);
    EXPECT_EQ(messages.Texts(),
              Texts{"No se puede abrir la webcam /dev/video57 (BRUMARIA_CAMERA=57): se juega solo con las teclas."});
    EXPECT_EQ(Items(menu).front(), "BRUMARIA_CAMERA=57 manda sobre esta elección (gris)");
}

}  // namespace
