#pragma once

#include <QDialog>

class QLabel;
class QSlider;

// "Capturas por segundo": a slider from 1 to 50 for the number of frames taken from the
// capture source each second. Every move applies at once (the game uses it from the first pass
// after the dialog), so Esc keeps what the slider has set.
class CFrameCaptura : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinimum = 1;
    static constexpr int kMaximum = 50;

    explicit CFrameCaptura(QWidget* parent = nullptr);

private:
    void OnMoved(int value);

    QSlider* m_slider;
    QLabel* m_value;
};
