#include "app/CGameApp.h"
#include "app/DialogMessagePresenter.h"
#include "app/core/CommandLineOptions.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

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

    QApplication qtApplication(argc, argv);
    QApplication::setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon));
    std::optional<DialogMessagePresenter> messageBoxes;
    if (!options->messagesOnStderr)
        messageBoxes.emplace();

    CGameApp app;
    if (!app.InitInstance())
        return 1;
    app.ApplyCommandLine(*options);
    const int status = QApplication::exec();

    if (options->screenshotFile && !app.SaveLastFrame(*options->screenshotFile)) {
        std::fprintf(stderr, "brumaria: cannot write the screenshot %s\n", options->screenshotFile->c_str());
        return 1;
    }
    return status;
}
