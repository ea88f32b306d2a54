#pragma once

#include <QDialog>

#include <array>

class MotionSettings;
class QLineEdit;

// "Parámetros": the seven dead zones of the head steering. Opens with the current values;
// "Restaurar valores" puts the default texts back; "OK" stores every edit as atoi would read it
// (no input is refused) and rewrites "configuracion" (telling the player when it cannot); the
// pixel dead zones are then the opener's to recompute. Esc applies nothing.
class CParametros : public QDialog {
    Q_OBJECT
public:
    static constexpr int kThresholdCount = 7;

    explicit CParametros(MotionSettings& settings, QWidget* parent = nullptr);

private:
    void OnRestore();
    void OnOK();

    MotionSettings& m_settings;
    // In the order the dialog fills and reads them, which is also their order on the screen.
    std::array<QLineEdit*, kThresholdCount> m_edits{};
};
