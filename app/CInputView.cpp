#include "app/CInputView.h"

#include "app/core/KeySteering.h"

#include <QKeyEvent>
#include <QVBoxLayout>

#include <utility>

CInputView::CInputView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

void CInputView::SetDisplay(QWidget* display)
{
    display->setFocusPolicy(Qt::NoFocus);
    layout()->addWidget(display);
}

void CInputView::SetKeyHandler(KeyHandler handler)
{
    m_keyHandler = std::move(handler);
}

int CInputView::VirtualKeyOf(const QKeyEvent& event)
{
    const bool keypad = event.modifiers() & Qt::KeypadModifier;
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyReturn;
    case Qt::Key_PageUp: return KeyPageUp;
    case Qt::Key_PageDown: return KeyPageDown;
    case Qt::Key_End: return KeyEnd;
    case Qt::Key_Home: return KeyHome;
    case Qt::Key_Left: return KeyLeft;
    case Qt::Key_Up: return KeyUp;
    case Qt::Key_Right: return KeyRight;
    case Qt::Key_Down: return KeyDown;
    case Qt::Key_1: return keypad ? KeyNumpad1 : 0;
    case Qt::Key_3: return keypad ? KeyNumpad3 : 0;
    case Qt::Key_7: return keypad ? KeyNumpad7 : 0;
    case Qt::Key_9: return keypad ? KeyNumpad9 : 0;
    case Qt::Key_Comma: return keypad ? 0 : KeyComma;
    case Qt::Key_Period: return keypad ? 0 : KeyPeriod;
    case Qt::Key_K: return KeyK;
    case Qt::Key_L: return KeyL;
    default: return 0;
    }
}

void CInputView::keyPressEvent(QKeyEvent* event)
{
    const int virtualKey = VirtualKeyOf(*event);
    if (virtualKey != 0 && m_keyHandler)
        m_keyHandler(virtualKey);
    QWidget::keyPressEvent(event);
}
