#pragma once

#include <QMainWindow>

#include <functional>
#include <map>

class CInputView;
class QAction;
class QMenu;

// The program's one window: title "Brumaria", a caption and a sizing border (no minimise,
// maximise or close box), the menu that is the program's control panel, and the input view
// over the whole client area. F11 switches it to the whole screen and back. Closing it ends the
// program.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Size of the client area the 3D view starts with.
    static constexpr int kClientWidth = 640;
    static constexpr int kClientHeight = 480;

    explicit CMainFrame(QWidget* parent = nullptr);

    CInputView& View() const { return *m_view; }

    // The menu item or accelerator of a command (see MenuCommand.h); null if there is none.
    QAction* Action(int command) const;
    // Check marks and enabled state of menu items, by command.
    bool IsChecked(int command) const;
    void SetChecked(int command, bool checked);
    void SetEnabled(int command, bool enabled);

    // What a command does; a command without a handler does nothing. Handlers of check-mark
    // items find the mark as it was before the command and change it themselves.
    void SetCommandHandler(int command, std::function<void()> handler);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    QMenu* AddPopup(const char* title);
    void AddItem(QMenu* popup, const char* text, int command, bool checkable = false, bool checked = false);
    // A submenu whose items its owner fills; Action(command) is its item in the popup.
    void AddSubmenu(QMenu* popup, const char* text, int command);
    void AddAccelerator(int command, const QKeySequence& keys);
    void RunCommand(QAction* action);

    CInputView* m_view;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
};
