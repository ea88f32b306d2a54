#pragma once

#include <QDialog>

#include <array>

class CHeadTracker;
class QLineEdit;

// "Parámetros": the seven dead zones of the head steering. Opens with the tracker's current
// values; "Restaurar valores" puts the default texts back; "OK" stores every edit as atoi would
// read it (no input is refused), rewrites "configuracion" (telling the player when it cannot)
// and recomputes the pixel dead zones.
// Esc applies nothing.
class CParametros : public QDialog {
    Q_OBJECT
public:
    static constexpr int kThresholdCount = 7;

    explicit CParametros(CHeadTracker& tracker, QWidget* parent = nullptr);

private:
    void OnRestore();
    void OnOK();

    CHeadTracker& m_tracker;
    // In the order the dialog fills and reads them, which is also their order on the screen.
    std::array<QLineEdit*, kThresholdCount> m_edits{};
};
