// The sample writer on real files: complete scripts after every flush, after a kill, on a full
// disk and beside a file it may not touch.
#include "tracking/SampleFiles.h"
#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"
#include "tests/support/tracking/OctaveSampleFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

OctaveSampleFile ReadFile(int i)
{
    return OctaveSampleFile::Parse(TemporaryFolder::Read(kSampleFileNames[i][0]), kSampleFileNames[i][1]);
}

// Pass n logs n in every file, so a file's samples are 1, 2, ... up to its last flushed pass.
SampleValues Pass(int n)
{
    return {n, n, n, n, n, n};
}

// File i is well formed and holds exactly `samples`.
void ExpectSamples(int i, const std::vector<long long>& samples, const std::string& when = "")
{
    const OctaveSampleFile file = ReadFile(i);
    EXPECT_EQ(std::make_tuple(file.error, file.samples), std::make_tuple("", samples))
        << kSampleFileNames[i][0] << " " << when;
}

// The six files each hold exactly passes 1 to `count`.
void ExpectPasses(int count, const std::string& when)
{
    std::vector<long long> passes(count);
    std::iota(passes.begin(), passes.end(), 1);
    for (int i = 0; i < 6; ++i)
        ExpectSamples(i, passes, when);
}

void WritePreviousRun()
{
    for (const auto& [name, variable] : kSampleFileNames)
        TemporaryFolder::Write(name,
                               std::string(variable) + " =[0,7,8]\n" + variable + " = [(1:columns(" + variable +
                                   ")); " + variable + "]'");
}

// A tmpfs of `bytes` mounted on a folder while the object lives; Mounted() false where this
// process may not mount.
class SmallDisk {
public:
    explicit SmallDisk(const std::string& folder, int bytes) : m_folder(folder)
    {
        std::filesystem::create_directory(folder);
        m_mounted = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + std::to_string(bytes)).c_str()) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_folder.c_str(), MNT_DETACH);
    }
    bool Mounted() const { return m_mounted; }

private:
    std::string m_folder;
    bool m_mounted = false;
};

// A file this process cannot open for writing while the object lives: immutable where the file
// system has the flag, else under a read-only bind mount, else (for anyone but root) read-only.
class UntouchableFile {
public:
    explicit UntouchableFile(const std::string& path) : m_path(path)
    {
        m_immutable = SetImmutable(true);
        if (!m_immutable && ::mount(path.c_str(), path.c_str(), nullptr, MS_BIND, nullptr) == 0) {
            m_bound = true;
            m_readOnly = ::mount(nullptr, path.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
        }
        if (!m_immutable && !m_readOnly)
            ::chmod(path.c_str(), 0444);
    }
    ~UntouchableFile()
    {
        if (m_immutable)
            SetImmutable(false);
        if (m_bound)
            ::umount2(m_path.c_str(), MNT_DETACH);
    }
    bool Untouchable() const { return m_immutable || m_readOnly || ::access(m_path.c_str(), W_OK) != 0; }

private:
    bool SetImmutable(bool immutable) const
    {
        const int fd = ::open(m_path.c_str(), O_RDONLY);
        int flags = 0;
        bool set = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = immutable ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        set = set && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return set;
    }

    std::string m_path;
    bool m_immutable = false;
    bool m_bound = false;
    bool m_readOnly = false;
};

}  // namespace

TEST(SampleFiles, EveryFlushLeavesSixCompleteScriptsAndAnEndTheExactBytes)
{
    TemporaryFolder folder;
    WritePreviousRun();
    MessageCapture messages;
    SampleFiles files;
    ASSERT_TRUE(files.Open());
    ExpectPasses(0, "after opening");
    files.Append(Pass(1));
    files.Append(Pass(2));
    files.FlushIfDue(SampleFiles::kFlushIntervalMs - 1);
    ExpectPasses(0, "before the interval");
    files.FlushIfDue(SampleFiles::kFlushIntervalMs);
    ExpectPasses(2, "after the interval");
    files.Append({3, 4, 5, 6, 7, -2147483647 - 1});
    files.FlushIfDue(SampleFiles::kFlushIntervalMs * 1.5);
    ExpectPasses(2, "half an interval later");
    files.Close();
    files.Close();
    files.Append(Pass(4));
    EXPECT_EQ(TemporaryFolder::Read("muestrasPosX.m"), "movX =[0,1,2,3]\nmovX = [(1:columns(movX)); movX]'");
    // Each value in its own file.
    const long long last[6] = {3, 4, 5, 6, 7, -2147483648LL};
    for (int i = 0; i < 6; ++i)
        ExpectSamples(i, {1, 2, last[i]});

    // A program that never reads the clock still writes as it goes, a few tens of kilobytes at a time.
    ASSERT_TRUE(files.Open());
    for (int n = 1; n <= 20000; ++n)
        files.Append(Pass(n));
    EXPECT_GT(ReadFile(0).samples.size(), 10000u);
    files.Close();
    ExpectPasses(20000, "at the end");
    EXPECT_TRUE(messages.Messages().empty());
}

// Killed after a flush, each file holds a complete script with every pass up to it. The child
// kills itself between flushes: a kill inside a flush's write can still cut a file (the README
// says when), which kills at random hit about once in ten runs.
TEST(SampleFiles, AKillLeavesCompleteScriptsWithEveryFlushedPass)
{
    TemporaryFolder folder;
    const pid_t child = ::fork();
    if (child == 0) {
        SampleFiles files;
        files.Open();
        // One pass every 10 ms: flushes after passes 75, 150 and 225.
        for (int n = 1; n <= 250; ++n) {
            files.Append(Pass(n));
            files.FlushIfDue(n * 10.0);
        }
        ::raise(SIGKILL);
    }
    int status = 0;
    ASSERT_GT(::waitpid(child, &status, 0), 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ExpectPasses(225, "after the last flush");
}

TEST(SampleFiles, AFullDiskGetsOneMessageAndTheFilesKeepTheirLastFlush)
{
    TemporaryFolder folder;
    // Eight pages: one each for the six files, two to grow into.
    SmallDisk disk("disco", 8 * 4096);
    if (!disk.Mounted())
        GTEST_SKIP() << "this process may not mount a tmpfs, so no disk can be filled";
    std::filesystem::current_path("disco");
    MessageCapture messages;
    SampleFiles files;
    ASSERT_TRUE(files.Open());
    int flushed = 0;
    for (int n = 1; n <= 5000 && messages.Messages().empty(); ++n) {
        files.Append(Pass(n));
        if (n % 100 == 0) {
            files.Flush();
            if (messages.Messages().empty())
                flushed = n;
        }
    }
    ASSERT_EQ(messages.Texts().size(), 1u) << "the disk never filled";
    EXPECT_EQ(messages.Texts()[0].rfind("No se pueden guardar más muestras en muestras", 0), 0u) << messages.Texts()[0];
    EXPECT_NE(messages.Texts()[0].find("no queda espacio en el disco"), std::string::npos) << messages.Texts()[0];
    EXPECT_GT(flushed, 0);
    ExpectPasses(flushed, "after the disk filled");
    files.Append(Pass(flushed + 1));
    files.Close();
    ExpectPasses(flushed, "at the end");
    EXPECT_EQ(messages.Texts().size(), 1u);

    // A disk with room for five new files: the sixth is not left empty.
    std::filesystem::current_path("..");
    SmallDisk fuller("lleno", 5 * 4096);
    ASSERT_TRUE(fuller.Mounted());
    std::filesystem::current_path("lleno");
    messages.Clear();
    EXPECT_FALSE(files.Open());
    files.Close();
    EXPECT_EQ(messages.Texts().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists("muestrasGiroZ.m"));
    for (int i = 0; i < 5; ++i)
        ExpectSamples(i, {}, "a full disk");
    std::filesystem::current_path("..");
}

// A file that cannot be opened (a FIFO, a file nobody may write): none of the six is emptied, and
// none that was missing is left behind empty.
TEST(SampleFiles, AFileThatCannotBeOpenedKeepsThePreviousRunsSixAndSaysSo)
{
    TemporaryFolder folder;
    WritePreviousRun();
    std::filesystem::remove("muestrasPosX.m");
    std::filesystem::remove("muestrasPosZ.m");
    ASSERT_EQ(::mkfifo("muestrasPosZ.m", 0644), 0);
    MessageCapture messages;
    SampleFiles files;
    EXPECT_FALSE(files.Open());
    files.Append(Pass(1));
    files.Close();
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"No se puede escribir el archivo de muestras muestrasPosZ.m: "
                                       "esta partida no guarda muestras y se conservan las de la anterior"});
    EXPECT_TRUE(std::filesystem::is_fifo("muestrasPosZ.m"));
    EXPECT_FALSE(std::filesystem::exists("muestrasPosX.m"));
    for (const int i : {1, 3, 4, 5})
        ExpectSamples(i, {7, 8}, "beside a FIFO");

    std::filesystem::remove("muestrasPosZ.m");
    WritePreviousRun();
    const UntouchableFile untouchable("muestrasGiroY.m");
    if (!untouchable.Untouchable())
        GTEST_SKIP() << "root here can set neither the immutable flag nor a read-only bind mount";
    messages.Clear();
    EXPECT_FALSE(files.Open());
    EXPECT_EQ(messages.Texts().size(), 1u);
    EXPECT_NE(messages.Texts()[0].find("muestrasGiroY.m"), std::string::npos);
    for (int i = 0; i < 6; ++i)
        ExpectSamples(i, {7, 8}, "beside an untouchable file");
}
