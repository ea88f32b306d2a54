#include "app/CGameApp.h"
#include "app/DialogMessagePresenter.h"
#include "app/InterruptHandler.h"
#include "app/core/CommandLineOptions.h"
#include "app/core/StartupTimes.h"
#include "platform/ContentLocator.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QSurfaceFormat>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Content in the working directory, or installed beside the program, with the files the
// program writes in the user's own folder; false (the user told) when there is none.
bool UseContentFolders()
{
    const ContentLocator locator = ContentLocator::ForThisProcess();
    const std::optional<ContentFolders> folders = locator.Locate();
    if (!folders) {
        ShowMessageBox(kApplicationTitle, locator.NotFoundMessage());
        return false;
    }
    std::string error;
    if (!ContentLocator::CreateWritableFolder(*folders, error))
        ShowMessageBox(kApplicationTitle, error + ". Los umbrales y las muestras no se guardarán.");
    SetContentFolders(*folders);
    return true;
}

// The icon at every size it was drawn at, so the window system need not scale it.
QIcon ApplicationIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

QtMessageHandler g_qtMessageHandler = nullptr;

// Qt ends a program whose platform plugin cannot start (no display to connect to) with abort();
// this says why in Spanish and ends it with status 1. Other messages go on to Qt's handler.
void EndWithoutDisplay(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type != QtFatalMsg) {
        g_qtMessageHandler(type, context, text);
        return;
    }
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fputs("brumaria: no hay pantalla (la variable DISPLAY está vacía). Brumaria necesita una; "
                   "sin ella se puede usar xvfb-run.\n",
                   stderr);
    } else {
        // The server may be out of reach or Qt's platform plugin may not load: Qt's words say which.
        std::fprintf(stderr, "brumaria: no se puede abrir la pantalla %s.\n%s\n", display, qPrintable(text));
    }
    std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv)
{
    std::string error;
    const std::optional<CommandLineOptions> options =
        CommandLineOptions::Parse(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::fprintf(stderr, "brumaria: %s\n\n%s", error.c_str(), CommandLineOptions::Usage());
        return 2;
    }
    if (options->help) {
        std::fputs(CommandLineOptions::Usage(), stdout);
        return 0;
    }
    StartupTimes startupTimes(options->startupTimes);

    g_qtMessageHandler = qInstallMessageHandler(EndWithoutDisplay);
    // Frames are presented at the display's vertical retrace, where the platform offers it.
    QSurfaceFormat surfaceFormat = QSurfaceFormat::defaultFormat();
    surfaceFormat.setSwapInterval(1);
    QSurfaceFormat::setDefaultFormat(surfaceFormat);
    QApplication qtApplication(argc, argv);
    qInstallMessageHandler(g_qtMessageHandler);
    QApplication::setWindowIcon(ApplicationIcon());
    // The program speaks Spanish, and so do the windows Qt provides (the file dialog above all).
    QTranslator qtSpanish;
    if (qtSpanish.load(QLocale(QLocale::Spanish), "qtbase", "_",
                       QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtSpanish);
    // Outlives the application: a signal while it is being destroyed does not cut the completion
    // of the sample files short.
    InterruptHandler interrupts;
    std::optional<DialogMessagePresenter> messageBoxes;
    if (!options->messagesOnStderr)
        messageBoxes.emplace();
    if (!UseContentFolders())
        return 1;

    startupTimes.Mark("Qt set up");
    CGameApp app;
    startupTimes.Mark("application object: configuracion, sample files");
    if (!app.InitInstance(&startupTimes))
        return interrupts.Received() ? interrupts.ExitStatus() : 1;
    // A signal handled before the main loop runs left no loop to quit: it ends the run here.
    int status = 0;
    if (!interrupts.Received())
        app.ApplyCommandLine(*options);
    if (!interrupts.Received())
        status = QApplication::exec();
    if (interrupts.Received())
        status = interrupts.ExitStatus();

    if (options->screenshotFile && !app.SaveLastFrame(*options->screenshotFile)) {
        std::fprintf(stderr, "brumaria: cannot write the screenshot %s\n", options->screenshotFile->c_str());
        return 1;
    }
    if (options->viewScreenshotFolder && !app.SaveViewPictures(*options->viewScreenshotFolder, error)) {
        std::fprintf(stderr, "brumaria: %s\n", error.c_str());
        return 1;
    }
    return status;
}
