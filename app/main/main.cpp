#include "app/CGameApp.h"
#include "app/DialogMessagePresenter.h"
#include "app/InterruptHandler.h"
#include "app/core/CommandLineOptions.h"
#include "app/core/StartupTimes.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyle>
#include <QSurfaceFormat>
#include <QTranslator>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

    // Frames are presented at the display's vertical retrace, where the platform offers it.
    QSurfaceFormat surfaceFormat = QSurfaceFormat::defaultFormat();
    surfaceFormat.setSwapInterval(1);
    QSurfaceFormat::setDefaultFormat(surfaceFormat);
    QApplication qtApplication(argc, argv);
    QApplication::setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon));
    // The program speaks Spanish, and so do the windows Qt provides (the file dialog above all).
    QTranslator qtSpanish;
    if (qtSpanish.load(QLocale(QLocale::Spanish), "qtbase", "_", QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtSpanish);
    // Outlives the application: a signal while it is being destroyed does not cut the completion
    // of the sample files short.
    InterruptHandler interrupts;
    std::optional<DialogMessagePresenter> messageBoxes;
    if (!options->messagesOnStderr)
        messageBoxes.emplace();

    startupTimes.Mark("Qt set up");
    CGameApp app;
    startupTimes.Mark("application object: configuracion, sample files");
    if (!app.InitInstance(&startupTimes))
        return 1;
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
