#pragma once

#include <QWidget>

#include <functional>

class QKeyEvent;

// Fills the main frame's client area: shows the 3D device's picture and receives the keys.
// It holds the keyboard focus whenever the frame has it.
class CInputView : public QWidget {
    Q_OBJECT
public:
    // Receives every key press, repeats included, as a steering key code (see KeySteering.h).
    using KeyHandler = std::function<void(int virtualKey)>;

    explicit CInputView(QWidget* parent = nullptr);

    // Shows `display` over the whole view; the view keeps the focus.
    void SetDisplay(QWidget* display);
    void SetKeyHandler(KeyHandler handler);

    // The steering key code of a key press; 0 for keys the program does not use. The keypad
    // digits 1, 3, 7 and 9 with Num Lock on have codes of their own; with Num Lock off the
    // keypad sends End, Page Down, Home and Page Up, which are those keys. Comma and period (not
    // the keypad's decimal key), K and L side-step and roll as keypad 1, 3, 7 and 9 do.
    static int VirtualKeyOf(const QKeyEvent& event);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    KeyHandler m_keyHandler;
};
