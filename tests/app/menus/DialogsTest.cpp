#include "DialogWidgets.h"

#include "app/CFrameCaptura.h"
#include "app/CParamDeteccion.h"
#include "app/CParametros.h"
#include "app/DialogUnits.h"
#include "app/core/SteeringMode.h"
#include "platform/MessageBox.h"
#include "tests/tracking/HeadScenes.h"
#include "tests/tracking/TemporaryFolder.h"
#include "tracking/CHeadTracker.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/capture/CaptureSource.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <glm/geometric.hpp>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

namespace {

constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();

std::string FileText(const char* name)
{
    std::ifstream file(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::int32_t> Thresholds(const CHeadTracker& tracker)
{
    return {tracker.DistanceX(),        tracker.DistanceY(),          tracker.DistanceZ(),    tracker.YawThreshold(),
            tracker.PitchUpThreshold(), tracker.PitchDownThreshold(), tracker.RollThreshold()};
}

std::vector<bool> Options(const CHeadTracker& tracker)
{
    return {tracker.MoveX(), tracker.MoveY(), tracker.MoveZ(), tracker.RotateX(), tracker.RotateY(), tracker.RotateZ()};
}

std::vector<std::string> Texts(const std::vector<QLineEdit*>& edits)
{
    std::vector<std::string> texts;
    for (const QLineEdit* edit : edits)
        texts.push_back(Utf8(edit->text()));
    return texts;
}

// The label whose row is the edit's, on the given side of it.
std::string LabelBeside(const QWidget& dialog, const QLineEdit* edit, bool left)
{
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        const bool sameRow = label->geometry().center().y() == edit->geometry().center().y();
        const bool onSide = left ? label->geometry().right() < edit->geometry().left()
                                 : label->geometry().left() > edit->geometry().right();
        if (sameRow && onSide)
            return Utf8(label->text());
    }
    return "(none)";
}

void ExpectPlainModalDialogChrome(const QDialog& dialog, const char* title, int widthUnits, int heightUnits)
{
    EXPECT_EQ(Utf8(dialog.windowTitle()), title);
    EXPECT_EQ(dialog.size(), DialogUnits(dialog.font()).Size(widthUnits, heightUnits));
    const Qt::WindowFlags flags = dialog.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_FALSE(flags & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowContextHelpButtonHint);
    for (const QPushButton* button : dialog.findChildren<QPushButton*>())
        EXPECT_NE(Utf8(button->text()), "Cancel");
}

void ShowActive(QDialog& dialog)
{
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// A head tracker without windows or camera, in a folder of its own ("configuracion" and the
// sample files are written there).
class DialogsTest : public ::testing::Test {
protected:
    void TearDown() override { g_nCapturesPerSecond = 5; }

    TemporaryFolder folder;
    MessageCapture messages;
    NullDebugWindows windows;
    CaptureOpener opener;
    CHeadTracker tracker{windows, opener};
};

const std::vector<std::string> kRestoreTexts = {"20", "20", "20", "3", "10", "-1", "10"};
const char* const kDefaultFile = "Distancia X:20\nDistancia Y:20\nDistancia Z:20\nAngulo GiroX:3\n"
                                 "Angulo GiroY Arriba:10\nAngulo GiroY Abajo:-1\nAngulo GiroZ:10\n";

void SetThresholds(CHeadTracker& tracker, const std::vector<std::int32_t>& values)
{
    tracker.SetDistanceX(values[0]);
    tracker.SetDistanceY(values[1]);
    tracker.SetDistanceZ(values[2]);
    tracker.SetYawThreshold(values[3]);
    tracker.SetPitchUpThreshold(values[4]);
    tracker.SetPitchDownThreshold(values[5]);
    tracker.SetRollThreshold(values[6]);
}

TEST_F(DialogsTest, ParametrosShowsTheCurrentThresholdsWithLabelsAndUnitsTopToBottom)
{
    SetThresholds(tracker, {11, 12, 13, 4, 15, -6, 17});
    CParametros dialog(tracker);
    ShowActive(dialog);
    ExpectPlainModalDialogChrome(dialog, "Parámetros", 235, 160);

    const std::vector<QLineEdit*> edits = ControlsTopToBottom<QLineEdit>(dialog);
    ASSERT_EQ(edits.size(), 7u);
    EXPECT_EQ(Texts(edits), (std::vector<std::string>{"11", "12", "13", "4", "15", "-6", "17"}));
    const std::vector<std::string> labels = {"Distancia para desplazamientos laterales:",
                                             "Distancia entre ojos y boca:",
                                             "Distancia interocular para andar:",
                                             "Giro X:",
                                             "Giro Y arriba:",
                                             "Giro Y abajo:",
                                             "Giro Z:"};
    const std::vector<std::string> units = {"%", "%", "%", "pixeles", "pixeles", "pixeles", "º"};
    const DialogUnits dialogUnits(dialog.font());
    for (std::size_t i = 0; i < edits.size(); ++i) {
        SCOPED_TRACE(labels[i]);
        EXPECT_EQ(LabelBeside(dialog, edits[i], true), labels[i]);
        EXPECT_EQ(LabelBeside(dialog, edits[i], false), units[i]);
        EXPECT_EQ(edits[i]->geometry(), QRect(dialogUnits.X(150), edits[i]->y(), dialogUnits.X(40), dialogUnits.Y(14)));
    }
    // The focus starts in the first edit.
    EXPECT_EQ(QApplication::focusWidget(), edits[0]);

    const std::vector<QLabel*> texts = ControlsTopToBottom<QLabel>(dialog);
    EXPECT_EQ(Utf8(texts.front()->text()), "UMBRALES");
    EXPECT_LT(texts.front()->geometry().bottom(), edits[0]->geometry().top());

    const std::vector<QPushButton*> buttons = ControlsTopToBottom<QPushButton>(dialog);
    ASSERT_EQ(buttons.size(), 2u);
    QPushButton* restore = ChildNamed<QPushButton>(dialog, "restore");
    QPushButton* ok = ChildNamed<QPushButton>(dialog, "ok");
    EXPECT_EQ(Utf8(restore->text()), "Restaurar valores");
    EXPECT_EQ(Utf8(ok->text()), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_LT(restore->x(), ok->x());
    EXPECT_GT(restore->y(), edits.back()->geometry().bottom());
    EXPECT_LE(ok->geometry().right(), dialog.width());
    EXPECT_LE(ok->geometry().bottom(), dialog.height());
}

TEST_F(DialogsTest, RestoreThenEscChangesNothingThenRestoreThenOkStoresAndSavesTheDefaults)
{
    SetThresholds(tracker, {30, 31, 32, 5, 12, -4, 8});
    ASSERT_TRUE(tracker.SaveThresholds());
    const std::string fileBefore = FileText("configuracion");
    {
        CParametros dialog(tracker);
        ShowActive(dialog);
        QTest::mouseClick(ChildNamed<QPushButton>(dialog, "restore"), Qt::LeftButton);
        EXPECT_EQ(Texts(ControlsTopToBottom<QLineEdit>(dialog)), kRestoreTexts);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(Thresholds(tracker), (std::vector<std::int32_t>{30, 31, 32, 5, 12, -4, 8}));
    EXPECT_EQ(FileText("configuracion"), fileBefore);

    {
        CParametros dialog(tracker);
        ShowActive(dialog);
        EXPECT_EQ(Texts(ControlsTopToBottom<QLineEdit>(dialog)),
                  (std::vector<std::string>{"30", "31", "32", "5", "12", "-4", "8"}));
        QTest::mouseClick(ChildNamed<QPushButton>(dialog, "restore"), Qt::LeftButton);
        QTest::mouseClick(ChildNamed<QPushButton>(dialog, "ok"), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Thresholds(tracker), (std::vector<std::int32_t>{20, 20, 20, 3, 10, -1, 10}));
    EXPECT_EQ(tracker.Interpreter().YawLeftLimit(), -3);
    EXPECT_EQ(FileText("configuracion"), kDefaultFile);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(DialogsTest, EditsAreReadAsAtoiReadsThemAndSaturateBeyond32Bits)
{
    CParametros dialog(tracker);
    ShowActive(dialog);
    const std::vector<QLineEdit*> edits = ControlsTopToBottom<QLineEdit>(dialog);
    ASSERT_EQ(edits.size(), 7u);
    const char* typed[] = {"12abc", "abc", "  -7 metros", "99999999999", "-99999999999", "", "+5"};
    for (std::size_t i = 0; i < edits.size(); ++i)
        Retype(edits[i], QString::fromLatin1(typed[i]));
    // Enter in an edit is "OK".
    QTest::keyClick(edits.back(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    EXPECT_EQ(Thresholds(tracker), (std::vector<std::int32_t>{12, 0, -7, kInt32Max, kInt32Min, 0, 5}));
    EXPECT_EQ(tracker.Interpreter().YawLeftLimit(), -kInt32Max);
    EXPECT_EQ(FileText("configuracion"), "Distancia X:12\nDistancia Y:0\nDistancia Z:-7\nAngulo GiroX:2147483647\n"
                                         "Angulo GiroY Arriba:-2147483648\nAngulo GiroY Abajo:0\nAngulo GiroZ:5\n");
}

TEST_F(DialogsTest, AThresholdFileThatCannotBeRewrittenIsReportedAndTheValuesHoldForTheRun)
{
    // A folder where the file should be: nothing can replace it.
    std::filesystem::remove("configuracion");
    std::filesystem::create_directories("configuracion/ocupado");
    CParametros dialog(tracker);
    ShowActive(dialog);
    Retype(ChildNamed<QLineEdit>(dialog, "distanceX"), QStringLiteral("35"));
    QTest::mouseClick(ChildNamed<QPushButton>(dialog, "ok"), Qt::LeftButton);

    EXPECT_EQ(tracker.DistanceX(), 35);
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].caption, "Brumaria");
    EXPECT_NE(messages.Messages()[0].text.find("\"configuracion\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory("configuracion/ocupado"));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(DialogsTest, ParamDeteccionShowsTheSixSwitchesTopToBottom)
{
    tracker.SetMoveX(false);
    tracker.SetRotateY(false);
    CParamDeteccion dialog(tracker);
    ShowActive(dialog);
    ExpectPlainModalDialogChrome(dialog, "Opciones Detección", 187, 132);

    const std::vector<QCheckBox*> boxes = ControlsTopToBottom<QCheckBox>(dialog);
    ASSERT_EQ(boxes.size(), 6u);
    const std::vector<std::string> texts = {"Desplazamiento izquierda o derecha", "Desplazamiento arriba o abajo",
                                            "Desplazamiento adelante o atrás", "Rotar sobre el eje X",
                                            "Rotar sobre el eje Y", "Rotar sobre el eje Z"};
    const std::vector<bool> checked = {false, true, true, true, false, true};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_EQ(Utf8(boxes[i]->text()), texts[i]);
        EXPECT_EQ(boxes[i]->isChecked(), checked[i]) << texts[i];
    }
    const std::vector<QPushButton*> buttons = ControlsTopToBottom<QPushButton>(dialog);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(Utf8(buttons[0]->text()), "Aceptar");
    EXPECT_TRUE(buttons[0]->isDefault());
    EXPECT_GT(buttons[0]->y(), boxes.back()->geometry().bottom());
}

TEST_F(DialogsTest, ParamDeteccionAppliesTheBoxesOnAceptarAndNothingOnEsc)
{
    {
        CParamDeteccion dialog(tracker);
        ShowActive(dialog);
        for (const char* name : {"moveX", "moveZ", "rotateZ"})
            QTest::mouseClick(ChildNamed<QCheckBox>(dialog, name), Qt::LeftButton, {}, QPoint(6, 6));
        EXPECT_FALSE(ChildNamed<QCheckBox>(dialog, "moveZ")->isChecked());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_EQ(Options(tracker), std::vector<bool>(6, true));

    {
        CParamDeteccion dialog(tracker);
        ShowActive(dialog);
        for (const char* name : {"moveY", "moveZ", "rotateX"})
            QTest::mouseClick(ChildNamed<QCheckBox>(dialog, name), Qt::LeftButton, {}, QPoint(6, 6));
        QTest::mouseClick(ChildNamed<QPushButton>(dialog, "ok"), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
    EXPECT_EQ(Options(tracker), (std::vector<bool>{true, false, false, false, true, true}));

    CParamDeteccion reopened(tracker);
    EXPECT_FALSE(ChildNamed<QCheckBox>(reopened, "moveZ")->isChecked());
    EXPECT_TRUE(ChildNamed<QCheckBox>(reopened, "rotateY")->isChecked());
}

TEST_F(DialogsTest, CapturasShowsTheCurrentRateOnASliderWithoutTicks)
{
    g_nCapturesPerSecond = 7;
    CFrameCaptura dialog;
    ShowActive(dialog);
    ExpectPlainModalDialogChrome(dialog, "Capturas por segundo", 187, 65);
    QSlider* slider = ChildNamed<QSlider>(dialog, "slider");
    QLabel* value = ChildNamed<QLabel>(dialog, "value");
    EXPECT_EQ(slider->orientation(), Qt::Horizontal);
    EXPECT_EQ(slider->tickPosition(), QSlider::NoTicks);
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), 50);
    EXPECT_EQ(slider->value(), 7);
    EXPECT_EQ(Utf8(value->text()), "7");
    EXPECT_GT(value->y(), slider->geometry().bottom());
    EXPECT_EQ(slider->size(), DialogUnits(dialog.font()).Size(100, 15));
    EXPECT_EQ(QApplication::focusWidget(), slider);
    const std::vector<QPushButton*> buttons = ControlsTopToBottom<QPushButton>(dialog);
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(Utf8(buttons[0]->text()), "Aceptar");
    EXPECT_TRUE(buttons[0]->isDefault());
}

TEST_F(DialogsTest, EveryMoveOfTheSliderAppliesAtOnceWithin1To50AndEscKeepsIt)
{
    CFrameCaptura dialog;
    ShowActive(dialog);
    QSlider* slider = ChildNamed<QSlider>(dialog, "slider");
    QLabel* value = ChildNamed<QLabel>(dialog, "value");
    const auto expectShown = [&](int expected) {
        EXPECT_EQ(g_nCapturesPerSecond, expected);
        EXPECT_EQ(slider->value(), expected);
        EXPECT_EQ(Utf8(value->text()), std::to_string(expected));
    };

    QTest::keyClick(slider, Qt::Key_Left);
    expectShown(4);
    QTest::keyClick(slider, Qt::Key_Home);
    expectShown(1);
    QTest::keyClick(slider, Qt::Key_Left);
    QTest::keyClick(slider, Qt::Key_PageDown);
    expectShown(1);
    QTest::keyClick(slider, Qt::Key_End);
    expectShown(50);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_PageUp);
    expectShown(50);
    // A click on the groove left of the handle moves it a page down.
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(2, slider->height() / 2));
    EXPECT_LT(g_nCapturesPerSecond, 50);
    expectShown(slider->value());
    QTest::keyClick(slider, Qt::Key_Home);
    QTest::keyClick(slider, Qt::Key_Right);
    QTest::keyClick(slider, Qt::Key_Right);
    expectShown(3);

    QTest::keyClick(slider, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(g_nCapturesPerSecond, 3);
}

// How far the camera went along its own horizontal view direction.
float ForwardDistance(const CCamera& camera, const glm::vec3& from)
{
    const glm::vec3 view = camera.LookAt() - camera.Eye();
    const glm::vec3 direction = glm::normalize(glm::vec3(view.x, 0.0f, view.z));
    const glm::vec3 moved = camera.Eye() - from;
    return moved.x * direction.x + moved.z * direction.z;
}

TEST_F(DialogsTest, ClearingWalkingStopsHeadSteeredWalkingFromTheNextCapture)
{
    CLevelMap levelMap;
    CCamera camera;
    tracker.SetWorld(&camera, &levelMap);
    // Still, then the face comes nearer and stays there.
    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse("still:10,nearer:1.5", error);
    ASSERT_TRUE(script) << error;
    ASSERT_TRUE(headscenes::Writer().Write(*script, "cara.avi", "cara.csv", error)) << error;
    ASSERT_GT(tracker.OpenVideoFile("cara.avi"), 0.0);

    // Into the hold: by then every capture walks forward.
    const int holdStart = 10 + MotionScript::kRampFrames;
    for (int frame = 0; frame < holdStart + 5; ++frame)
        ASSERT_TRUE(tracker.GrabAndProcess()) << frame;
    ASSERT_EQ(tracker.State(), Tracking);
    glm::vec3 before = camera.Eye();
    ASSERT_TRUE(tracker.GrabAndProcess());
    ASSERT_GT(ForwardDistance(camera, before), 0.1f) << "walks while the face is near";

    {
        CParamDeteccion dialog(tracker);
        ShowActive(dialog);
        QTest::mouseClick(ChildNamed<QCheckBox>(dialog, "moveZ"), Qt::LeftButton, {}, QPoint(6, 6));
        QTest::mouseClick(ChildNamed<QPushButton>(dialog, "ok"), Qt::LeftButton);
    }
    EXPECT_FALSE(tracker.MoveZ());
    for (int frame = 0; frame < 10; ++frame) {
        before = camera.Eye();
        ASSERT_TRUE(tracker.GrabAndProcess());
        tracker.InterpretBetweenFrames();
        EXPECT_NEAR(ForwardDistance(camera, before), 0.0f, 1e-5f) << "capture " << frame;
    }
    EXPECT_EQ(tracker.State(), Tracking);
}

TEST_F(DialogsTest, ConfirmedThresholdsRecomputeThePixelDeadZonesAroundTheRestPose)
{
    headscenes::WriteVideo("quieto.avi", std::vector<cv::Mat>(3, headscenes::FaceFrame()));
    ASSERT_GT(tracker.OpenVideoFile("quieto.avi"), 0.0);
    ASSERT_TRUE(tracker.GrabAndProcess());
    const RestPose rest = tracker.Interpreter().Rest();
    ASSERT_GT(rest.restEyeCentreX, 0.0f);

    CParametros dialog(tracker);
    ShowActive(dialog);
    Retype(ChildNamed<QLineEdit>(dialog, "distanceX"), QStringLiteral("40"));
    Retype(ChildNamed<QLineEdit>(dialog, "distanceY"), QStringLiteral("5"));
    Retype(ChildNamed<QLineEdit>(dialog, "distanceZ"), QStringLiteral("-10"));
    QTest::mouseClick(ChildNamed<QPushButton>(dialog, "ok"), Qt::LeftButton);

    EXPECT_EQ(tracker.Interpreter().ThresholdX(), 40 * 0.01f * rest.restEyeCentreX);
    EXPECT_EQ(tracker.Interpreter().ThresholdY(), 5 * 0.01f * rest.restFaceCentreY);
    EXPECT_EQ(tracker.Interpreter().ThresholdZ(), -10 * 0.01f * rest.restEyeMouth);
}

}  // namespace
