#include "app/CFrameCaptura.h"
#include "app/CParamDeteccion.h"
#include "app/CParametros.h"
#include "app/DialogUnits.h"
#include "app/core/ProcessSettings.h"
#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"
#include "tracking/CHeadTracker.h"
#include "tracking/NullDebugWindows.h"
#include "tracking/capture/CaptureSource.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Texts = std::vector<std::string>;

template <typename Control>
Control* ChildNamed(const QWidget& parent, const char* name)
{
    Control* control = parent.findChild<Control*>(QString::fromLatin1(name));
    EXPECT_NE(control, nullptr) << name;
    return control;
}

// The texts of the dialog's controls of one kind, in reading order.
template <typename Control>
Texts TextsOf(const QWidget& dialog)
{
    QList<Control*> controls = dialog.findChildren<Control*>();
    std::sort(controls.begin(), controls.end(),
              [](const Control* a, const Control* b) { return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x()); });
    Texts texts;
    for (const Control* control : controls)
        texts.push_back(control->text().toStdString());
    return texts;
}

// Replaces an edit's text as the player would.
void Retype(QLineEdit* edit, const char* text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, QString::fromLatin1(text));
}

// Shown and active, once its size is checked: the template's, in dialog units.
void Show(QDialog& dialog, int widthUnits, int heightUnits)
{
    const DialogUnits units(dialog.font());
    EXPECT_EQ(units.Y(8), dialog.fontMetrics().height());
    EXPECT_EQ(dialog.size(), units.Size(widthUnits, heightUnits));
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// A head tracker without windows or camera, in a folder of its own.
class DialogsTest : public ::testing::Test {
protected:
    void TearDown() override { g_nCapturesPerSecond = 5; }

    TemporaryFolder folder;
    MessageCapture messages;
    NullDebugWindows windows;
    CaptureOpener opener;
    CHeadTracker tracker{windows, opener};
    MotionSettings& settings = tracker.Settings();
};

TEST_F(DialogsTest, ParametrosRestoreThenEscChangesNothingOkSavesAndReportsAFileItCannotRewrite)
{
    settings.SetThreshold(&DetectionThresholds::distanceY, 12);
    settings.SetThreshold(&DetectionThresholds::pitchDownThreshold, -6);
    ASSERT_TRUE(settings.SaveThresholds());
    const std::string ownFile = TemporaryFolder::Read("configuracion");
    for (const bool confirm : {false, true}) {
        CParametros dialog(settings);
        Show(dialog, 235, 160);
        EXPECT_EQ(TextsOf<QLineEdit>(dialog), (Texts{"20", "12", "20", "3", "10", "-6", "10"}));
        EXPECT_EQ(QApplication::focusWidget(), ChildNamed<QLineEdit>(dialog, "distanceX"));
        QTest::mouseClick(ChildNamed<QPushButton>(dialog, "restore"), Qt::LeftButton);
        EXPECT_EQ(TextsOf<QLineEdit>(dialog), (Texts{"20", "20", "20", "3", "10", "-1", "10"}));
        if (confirm) {
            EXPECT_EQ(TextsOf<QLabel>(dialog),
                      (Texts{"UMBRALES", "Distancia para desplazamientos laterales:", "%",
                             "Distancia entre ojos y boca:", "%", "Distancia interocular para andar:", "%", "Giro X:",
                             "pixeles", "Giro Y arriba:", "pixeles", "Giro Y abajo:", "pixeles", "Giro Z:", "º"}));
            EXPECT_EQ(TextsOf<QPushButton>(dialog), (Texts{"Restaurar valores", "OK"}));
            QTest::mouseClick(ChildNamed<QPushButton>(dialog, "ok"), Qt::LeftButton);
        } else {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            EXPECT_EQ(settings.Thresholds().distanceY, 12);
            EXPECT_EQ(TemporaryFolder::Read("configuracion"), ownFile);
        }
        EXPECT_EQ(dialog.result(), confirm ? QDialog::Accepted : QDialog::Rejected);
    }
    EXPECT_EQ(TemporaryFolder::Read("configuracion"),
              "Distancia X:20\nDistancia Y:20\nDistancia Z:20\nAngulo GiroX:3\n"
              "Angulo GiroY Arriba:10\nAngulo GiroY Abajo:-1\nAngulo GiroZ:10\n");
    // The left turn limit follows the yaw threshold.
    EXPECT_EQ(settings.Thresholds().yawLeftLimit, -3);
    EXPECT_TRUE(messages.Messages().empty());

    // The edits read as atoi does, into a file that cannot be rewritten.
    std::filesystem::remove("configuracion");
    std::filesystem::create_directories("configuracion/ocupado");
    CParametros dialog(settings);
    Show(dialog, 235, 160);
    Retype(ChildNamed<QLineEdit>(dialog, "distanceX"), "12abc");
    Retype(ChildNamed<QLineEdit>(dialog, "rollThreshold"), "abc");
    // Enter in an edit is "OK"; the values hold for the run, the player is told they are not saved.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(std::pair(settings.Thresholds().distanceX, settings.Thresholds().rollThreshold), std::pair(12, 0));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].text.find("\"configuracion\""), std::string::npos);
}

TEST_F(DialogsTest, CapturasPorSegundoAppliesEveryMoveOfTheSliderWithin1To50AndEscKeepsIt)
{
    g_nCapturesPerSecond = 7;
    CFrameCaptura dialog;
    Show(dialog, 187, 65);
    QSlider* slider = ChildNamed<QSlider>(dialog, "slider");
    EXPECT_EQ(QApplication::focusWidget(), slider);
    EXPECT_EQ(TextsOf<QPushButton>(dialog), Texts{"Aceptar"});
    // The value under the slider, the slider and the stored rate.
    const auto shown = [&] {
        return TextsOf<QLabel>(dialog)[0] + " " + std::to_string(slider->value()) + " " +
            std::to_string(g_nCapturesPerSecond);
    };
    EXPECT_EQ(shown(), "7 7 7");
    const std::pair<Qt::Key, const char*> moves[] = {{Qt::Key_Left, "6 6 6"},     {Qt::Key_Home, "1 1 1"},
                                                     {Qt::Key_Left, "1 1 1"},     {Qt::Key_End, "50 50 50"},
                                                     {Qt::Key_Right, "50 50 50"}, {Qt::Key_Escape, "50 50 50"}};
    for (const auto& [key, expected] : moves) {
        QTest::keyClick(slider, key);
        EXPECT_EQ(shown(), expected) << key;
    }
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

// Esc applies nothing, "Aceptar" what the boxes show (the interpreter reads the options on every
// pass: MotionInterpreterTest).
TEST_F(DialogsTest, OpcionesDeteccionAppliesItsBoxesOnAceptarOnly)
{
    settings.Options().rotateY = false;
    for (const bool confirm : {false, true}) {
        CParamDeteccion dialog(settings);
        Show(dialog, 187, 132);
        EXPECT_EQ(TextsOf<QCheckBox>(dialog),
                  (Texts{"Desplazamiento izquierda o derecha", "Desplazamiento arriba o abajo",
                         "Desplazamiento adelante o atrás", "Rotar sobre el eje X", "Rotar sobre el eje Y",
                         "Rotar sobre el eje Z"}));
        EXPECT_EQ(TextsOf<QPushButton>(dialog), Texts{"Aceptar"});
        EXPECT_FALSE(ChildNamed<QCheckBox>(dialog, "rotateY")->isChecked());
        QTest::mouseClick(ChildNamed<QCheckBox>(dialog, "moveZ"), Qt::LeftButton, {}, QPoint(6, 6));
        if (confirm)
            QTest::mouseClick(ChildNamed<QPushButton>(dialog, "ok"), Qt::LeftButton);
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(settings.Options().moveZ, !confirm);
    }
    EXPECT_FALSE(settings.Options().rotateY);
}

}  // namespace
