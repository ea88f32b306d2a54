#include "app/HelpWindow.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

// A resource file in a static library is only linked in when something asks for it. (Outside
// any namespace, as the macro declares the resource's function where it stands.)
static void LoadHelpResources()
{
    Q_INIT_RESOURCE(ayuda);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    LoadHelpResources();
    setWindowTitle(QString::fromUtf8(kTitle));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browser = new QTextBrowser(this);
    layout->addWidget(browser);
    browser->setSource(QUrl(QStringLiteral("qrc:/ayuda/ayuda.html")));
    resize(680, 600);
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // Not every window system hands the focus back to the window underneath.
    if (parentWidget())
        parentWidget()->activateWindow();
}
