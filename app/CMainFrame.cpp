#include "app/CMainFrame.h"

#include "app/CInputView.h"
#include "app/MenuCommand.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalBlocker>

#include <utility>

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_view(new CInputView(this))
{
    setWindowTitle(QStringLiteral("Brumaria"));
    setCentralWidget(m_view);
    setFocusProxy(m_view);
    BuildMenu();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

void CMainFrame::BuildMenu()
{
    QMenu* file = AddPopup("&Archivo");
    AddItem(file, "Empezar", CommandStart);
    AddItem(file, "Abrir", CommandOpen);
    AddItem(file, "WebCam", CommandWebcam, true);
    AddItem(file, "Solo teclas", CommandKeysOnly, true);
    file->addSeparator();
    AddItem(file, "&Salir", CommandExit);

    QMenu* views = AddPopup("&Vistas");
    AddItem(views, "FrameA", CommandFrameA, true);
    AddItem(views, "FrameB", CommandFrameB, true);
    AddItem(views, "Valores", CommandValues, true);
    AddItem(views, "Rendimiento", CommandStats, true);
    AddItem(views, "Cámara", CommandCamera, true, true);
    AddItem(views, "Gráficas", CommandGraphs, true);

    QMenu* options = AddPopup("&Opciones");
    AddItem(options, "Parámetros", CommandParameters);
    AddItem(options, "Detecta Preciso", CommandPreciseDetection, true);
    AddItem(options, "Detección movimientos", CommandMovementOptions);
    AddItem(options, "Número capturas seg", CommandCapturesPerSecond);
    AddSubmenu(options, "Elegir webcam", CommandChooseWebcam);

    QMenu* help = AddPopup("Ay&uda");
    AddItem(help, "&Temas de Ayuda", CommandHelpTopics);
    help->addSeparator();
    AddItem(help, "&Acerca de Brumaria...", CommandAbout);

    AddAccelerator(CommandHelp, QKeySequence(Qt::Key_F1));
    AddAccelerator(CommandContextHelp, QKeySequence(Qt::SHIFT | Qt::Key_F1));
    // An added key: F11 gives the whole screen to the window, and takes it back.
    new QShortcut(QKeySequence(Qt::Key_F11), this, [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });
}

QMenu* CMainFrame::AddPopup(const char* title)
{
    return menuBar()->addMenu(QString::fromUtf8(title));
}

void CMainFrame::AddItem(QMenu* popup, const char* text, int command, bool checkable, bool checked)
{
    QAction* action = popup->addAction(QString::fromUtf8(text));
    action->setData(command);
    action->setCheckable(checkable);
    action->setChecked(checked);
    connect(action, &QAction::triggered, this, [this, action] { RunCommand(action); });
    m_actions[command] = action;
}

void CMainFrame::AddSubmenu(QMenu* popup, const char* text, int command)
{
    QAction* action = popup->addMenu(QString::fromUtf8(text))->menuAction();
    action->setData(command);
    m_actions[command] = action;
}

void CMainFrame::AddAccelerator(int command, const QKeySequence& keys)
{
    auto* action = new QAction(this);
    action->setData(command);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, [this, action] { RunCommand(action); });
    addAction(action);
    m_actions[command] = action;
}

void CMainFrame::RunCommand(QAction* action)
{
    // Qt flips a check mark before the command runs; the handlers decide it themselves.
    if (action->isCheckable()) {
        const QSignalBlocker blocker(action);
        action->setChecked(!action->isChecked());
    }
    const auto handler = m_handlers.find(action->data().toInt());
    if (handler != m_handlers.end())
        handler->second();
    // Back from a dialog or a message box, the keys go to the view again.
    if (isVisible() && !isActiveWindow())
        activateWindow();
}

QAction* CMainFrame::Action(int command) const
{
    const auto action = m_actions.find(command);
    return action == m_actions.end() ? nullptr : action->second;
}

bool CMainFrame::IsChecked(int command) const
{
    const QAction* action = Action(command);
    return action && action->isChecked();
}

void CMainFrame::SetChecked(int command, bool checked)
{
    if (QAction* action = Action(command))
        action->setChecked(checked);
}

void CMainFrame::SetEnabled(int command, bool enabled)
{
    if (QAction* action = Action(command))
        action->setEnabled(enabled);
}

void CMainFrame::SetCommandHandler(int command, std::function<void()> handler)
{
    m_handlers[command] = std::move(handler);
}

void CMainFrame::focusInEvent(QFocusEvent* event)
{
    QMainWindow::focusInEvent(event);
    m_view->setFocus();
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    // Other top-level windows (the tracker's views) do not keep the program alive.
    QCoreApplication::quit();
}
