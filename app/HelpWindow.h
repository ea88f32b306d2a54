#pragma once

#include <QWidget>

// "Ayuda de Brumaria": the player's guide, in a window of its own over the game, which keeps
// running; closing it gives the keys back to the game. How to sit and start, the head
// movements, the keys, choosing the webcam, reading "Gráficas" and tuning the dead zones in
// "Parámetros", the debug windows.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Ayuda de Brumaria";

    // Closing it activates the parent window.
    explicit HelpWindow(QWidget* parent = nullptr);

protected:
    void closeEvent(QCloseEvent* event) override;
};
