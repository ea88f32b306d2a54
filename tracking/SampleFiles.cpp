#include "tracking/SampleFiles.h"

#include "platform/ContentPath.h"
#include "platform/MessageBox.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// In table order: position excesses first, then the turns.
struct SampleFileText {
    const char* name;
    const char* header;
    const char* closing;
};

constexpr SampleFileText kFileTexts[] = {
    {"muestrasPosX.m", "movX =[0", "movX = [(1:columns(movX)); movX]'"},
    {"muestrasPosY.m", "movY =[0", "movY = [(1:columns(movY)); movY]'"},
    {"muestrasPosZ.m", "movZ =[0", "movZ = [(1:columns(movZ)); movZ]'"},
    {"muestrasGiroX.m", "giroX =[0", "giroX = [(1:columns(giroX)); giroX]'"},
    {"muestrasGiroY.m", "giroY =[0", "giroY = [(1:columns(giroY)); giroY]'"},
    {"muestrasGiroZ.m", "giroZ =[0", "giroZ = [(1:columns(giroZ)); giroZ]'"},
};

// Past this many bytes waiting in a file a flush does not wait for the clock, so a program that
// never reads one still writes as it goes.
constexpr std::size_t kMaxPendingBytes = 64 * 1024;

std::string Ending(int file)
{
    return std::string("]\n") + kFileTexts[file].closing;
}

// A FIFO, device or folder of that name is not written to; nor is it waited for. `created`: the
// file is new, so a failed start removes it again.
int OpenRegularFile(const char* name, bool& created)
{
    const int flags = O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int fd = ::open(name, flags);
    created = fd < 0 && errno == ENOENT;
    if (created)
        fd = ::open(name, flags | O_CREAT | O_EXCL, 0666);
    if (fd < 0)
        return -1;
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

// All of `bytes` at `offset`; false with errno set when the file takes fewer.
bool WriteAt(int fd, const std::string& bytes, long long offset)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written =
            ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

// The sample files open in this process, completed if it ends through exit().
std::vector<SampleFiles*>& OpenSampleFiles()
{
    static auto* open = new std::vector<SampleFiles*>;
    return *open;
}

void CompleteAtExit()
{
    if (OpenSampleFiles().empty())
        return;
    // The program's windows may be gone already: a failure is told on the terminal.
    SetMessagePresenter({});
    while (!OpenSampleFiles().empty())
        OpenSampleFiles().back()->Close();
}

void NoteOpen(SampleFiles* files)
{
    static const bool registered = std::atexit(CompleteAtExit) == 0;
    static_cast<void>(registered);
    OpenSampleFiles().push_back(files);
}

void NoteClosed(SampleFiles* files)
{
    std::vector<SampleFiles*>& open = OpenSampleFiles();
    open.erase(std::remove(open.begin(), open.end(), files), open.end());
}

}  // namespace

SampleFiles::~SampleFiles()
{
    Close();
}

bool SampleFiles::Open()
{
    Close();
    m_writeFailed = false;
    int fds[kFileCount];
    bool created[kFileCount];
    for (int i = 0; i < kFileCount; ++i) {
        fds[i] = OpenRegularFile(WritablePath(kFileTexts[i].name).c_str(), created[i]);
        if (fds[i] < 0) {
            for (int j = 0; j < i; ++j) {
                ::close(fds[j]);
                if (created[j])
                    ::unlink(WritablePath(kFileTexts[j].name).c_str());
            }
            ShowMessageBox(kApplicationTitle,
                           std::string("No se puede escribir el archivo de muestras ") +
                               WritablePath(kFileTexts[i].name) +
                               ": esta partida no guarda muestras y se conservan las de la anterior");
            return false;
        }
    }
    for (int i = 0; i < kFileCount; ++i)
        m_files[i] = File{fds[i], static_cast<long long>(std::char_traits<char>::length(kFileTexts[i].header)), {}};
    NoteOpen(this);
    for (int i = 0; i < kFileCount; ++i) {
        const std::string script = kFileTexts[i].header + Ending(i);
        if (!WriteAt(m_files[i].fd, script, 0) || ::ftruncate(m_files[i].fd, static_cast<off_t>(script.size())) != 0) {
            const int error = errno;
            // A new file the disk had no room for is no script at all.
            struct stat status = {};
            if (::fstat(m_files[i].fd, &status) == 0 && status.st_size == 0)
                ::unlink(WritablePath(kFileTexts[i].name).c_str());
            StopWriting(error, i);
            return false;
        }
    }
    return true;
}

void SampleFiles::Append(const SampleValues& values)
{
    if (!IsOpen() || m_writeFailed)
        return;
    const std::int32_t inFileOrder[kFileCount] = {values.movX,  values.movY,  values.movZ,
                                                  values.giroX, values.giroY, values.giroZ};
    for (int i = 0; i < kFileCount; ++i) {
        m_files[i].pending += ',';
        m_files[i].pending += std::to_string(inFileOrder[i]);
    }
    if (m_files[0].pending.size() >= kMaxPendingBytes)
        Flush();
}

void SampleFiles::FlushIfDue(double nowMs)
{
    if (nowMs - m_lastFlushMs < kFlushIntervalMs)
        return;
    m_lastFlushMs = nowMs;
    Flush();
}

void SampleFiles::Flush()
{
    // Every file holds as many values as the others.
    if (!IsOpen() || m_writeFailed || m_files[0].pending.empty())
        return;
    for (int i = 0; i < kFileCount; ++i) {
        File& file = m_files[i];
        if (!WriteAt(file.fd, file.pending + Ending(i), file.valuesEnd)) {
            const int error = errno;
            RestoreEndings(i);
            StopWriting(error, i);
            return;
        }
    }
    for (File& file : m_files) {
        file.valuesEnd += static_cast<long long>(file.pending.size());
        file.pending.clear();
    }
}

// Files 0 to lastFile took the failed flush whole or in part. Their previous ending goes back
// where it was, which takes no new space, and what follows it is cut off.
void SampleFiles::RestoreEndings(int lastFile)
{
    for (int i = 0; i <= lastFile; ++i) {
        const std::string ending = Ending(i);
        if (WriteAt(m_files[i].fd, ending, m_files[i].valuesEnd))
            static_cast<void>(::ftruncate(m_files[i].fd, static_cast<off_t>(m_files[i].valuesEnd + ending.size())));
    }
}

void SampleFiles::StopWriting(int error, int failedFile)
{
    for (File& file : m_files)
        file.pending.clear();
    m_writeFailed = true;
    const char* reason = error == ENOSPC || error == EDQUOT ? "no queda espacio en el disco" : "error de escritura";
    ShowMessageBox(kApplicationTitle,
                   std::string("No se pueden guardar más muestras en ") + WritablePath(kFileTexts[failedFile].name) +
                       " (" + reason + "): los archivos de muestras conservan las guardadas hasta ahora");
}

void SampleFiles::Close()
{
    if (!IsOpen())
        return;
    Flush();
    for (File& file : m_files) {
        ::close(file.fd);
        file = File();
    }
    NoteClosed(this);
}
