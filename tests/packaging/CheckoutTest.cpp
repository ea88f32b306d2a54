// The README's first steps for a new user, `tools/run.sh --help` and then `tools/demo.sh`, in
// this checkout: the checkout stays as it was, and the demo, played to the end of its video with
// every window open, leaves its pictures in run/demo-output.

#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

QByteArray Status()
{
    QProcess git;
    git.setWorkingDirectory(BRUMARIA_SOURCE_DIR);
    git.start("git", {"status", "--porcelain", "--untracked-files=all", "--ignored=no"});
    return git.waitForFinished() && git.exitCode() == 0 ? git.readAllStandardOutput() : QByteArray("not a checkout");
}

TEST(Checkout, TheHelpAndTheDemoLeaveTheCheckoutAsItWas)
{
    const QByteArray before = Status();
    if (before == "not a checkout")
        GTEST_SKIP() << "the sources are not a git checkout";
    const QDir output(BRUMARIA_SOURCE_DIR "/run/demo-output");
    const QStringList pictures = {"escena.png",         "vistas/Imagen.png",     "vistas/Frame.png",
                                  "vistas/Frame B.png", "vistas/Parámetros.png", "vistas/Gráficas.png"};
    for (const QString& picture : pictures)
        QFile::remove(output.filePath(picture));

    QProcess scripts;
    scripts.setWorkingDirectory(BRUMARIA_SOURCE_DIR);
    // As on a machine without a display: the demo then plays to the end of its video by itself.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    // This build, by its absolute path.
    environment.insert("BRUMARIA_BUILD", BRUMARIA_BUILD_FOLDER);
    scripts.setProcessEnvironment(environment);
    scripts.setProcessChannelMode(QProcess::MergedChannels);
    scripts.start("sh", {"-c", "tools/run.sh --help && tools/demo.sh"});
    ASSERT_TRUE(scripts.waitForFinished(300000)) << "still running after five minutes";
    const QByteArray said = scripts.readAll();
    EXPECT_EQ(scripts.exitCode(), 0) << said.data();
    EXPECT_TRUE(said.contains("Usage: brumaria")) << said.data();
    // What the scene and every window showed last.
    for (const QString& picture : pictures)
        EXPECT_TRUE(QFileInfo(output.filePath(picture)).isFile()) << picture.toStdString() << said.data();
    EXPECT_EQ(Status(), before);
}

}  // namespace
