#pragma once

#include <QDialog>

#include <array>

class MotionSettings;
class QCheckBox;

// "Opciones Detección": one check box for each kind of head-steered movement. Opens with the
// current switches; "Aceptar" stores them for this run (they are not saved: every
// start has them all on). Esc applies nothing.
class CParamDeteccion : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOptionCount = 6;

    explicit CParamDeteccion(MotionSettings& settings, QWidget* parent = nullptr);

private:
    void OnOK();

    MotionSettings& m_settings;
    // Top to bottom.
    std::array<QCheckBox*, kOptionCount> m_boxes{};
};
