#include "tracking/ThresholdFile.h"

#include "platform/ContentPath.h"
#include "platform/MessageBox.h"
#include "tracking/SaturatingInt.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kWithDefaults = ": se usan los valores por defecto";

// Line keys, in file order, and the field each one fills.
struct ThresholdLine {
    const char* key;
    std::int32_t DetectionThresholds::*field;
};

constexpr ThresholdLine kLines[] = {
    {"Distancia X:", &DetectionThresholds::distanceX},
    {"Distancia Y:", &DetectionThresholds::distanceY},
    {"Distancia Z:", &DetectionThresholds::distanceZ},
    {"Angulo GiroX:", &DetectionThresholds::yawThreshold},
    {"Angulo GiroY Arriba:", &DetectionThresholds::pitchUpThreshold},
    {"Angulo GiroY Abajo:", &DetectionThresholds::pitchDownThreshold},
    {"Angulo GiroZ:", &DetectionThresholds::rollThreshold},
};

bool IsSpace(int c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the file the way the "key:%d\n" formats always have (scanf rules): a blank in the key
// matches any run of white space, the number may be preceded by white space and a sign, and
// the line end skips all white space. Numbers beyond 32 bits clamp.
class LineScanner {
public:
    explicit LineScanner(std::FILE* file) : m_file(file) {}

    bool Key(const char* key)
    {
        for (const char* k = key; *k != '\0'; ++k) {
            if (IsSpace(*k)) {
                SkipSpace();
                continue;
            }
            const int c = std::getc(m_file);
            if (c != static_cast<unsigned char>(*k)) {
                Unget(c);
                return false;
            }
        }
        return true;
    }

    bool Number(std::int32_t& value)
    {
        SkipSpace();
        int c = std::getc(m_file);
        bool negative = false;
        if (c == '-' || c == '+') {
            negative = c == '-';
            c = std::getc(m_file);
        }
        if (c < '0' || c > '9') {
            Unget(c);
            return false;
        }
        std::int64_t magnitude = 0;
        for (; c >= '0' && c <= '9'; c = std::getc(m_file)) {
            // Past 2^31 the value is clamped anyway; stop growing it.
            if (magnitude <= 2147483648LL)
                magnitude = magnitude * 10 + (c - '0');
        }
        Unget(c);
        value = ClampToInt32(negative ? -magnitude : magnitude);
        SkipSpace();
        return true;
    }

private:
    void SkipSpace()
    {
        int c = std::getc(m_file);
        while (IsSpace(c))
            c = std::getc(m_file);
        Unget(c);
    }

    void Unget(int c)
    {
        if (c != EOF)
            std::ungetc(c, m_file);
    }

    std::FILE* m_file;
};

// What a chain of symbolic links ends at, whether or not that exists.
std::filesystem::path LinkTarget(std::filesystem::path path)
{
    std::error_code error;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(std::filesystem::symlink_status(path, error)); ++hops) {
        const std::filesystem::path link = std::filesystem::read_symlink(path, error);
        if (error)
            break;
        path = link.is_absolute() ? link : path.parent_path() / link;
    }
    return path;
}

bool WriteLines(std::FILE* file, const DetectionThresholds& thresholds)
{
    for (const ThresholdLine& line : kLines) {
        if (std::fprintf(file, "%s%d\n", line.key, static_cast<int>(thresholds.*line.field)) < 0)
            return false;
    }
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

}  // namespace

bool ThresholdFile::Load(DetectionThresholds& thresholds)
{
    thresholds = DetectionThresholds();
    // Not blocking: a FIFO of that name must not hold up the start.
    const std::string path = WritablePath(kFileName);
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0 && errno == ENOENT) {
        if (Save(thresholds))
            return true;
        ShowMessageBox(kApplicationTitle, std::string("No se puede crear el archivo ") + path + kWithDefaults);
        return false;
    }
    struct stat status = {};
    if (fd < 0 || ::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (fd >= 0)
            ::close(fd);
        ShowMessageBox(kApplicationTitle, std::string("No se puede leer el archivo ") + path + kWithDefaults);
        return false;
    }
    std::FILE* file = ::fdopen(fd, "r");
    if (file == nullptr) {
        ::close(fd);
        return false;
    }

    LineScanner scanner(file);
    for (const ThresholdLine& line : kLines) {
        std::int32_t value = 0;
        if (!scanner.Key(line.key) || !scanner.Number(value))
            break;
        thresholds.*line.field = value;
    }
    thresholds.yawLeftLimit = NegateSaturating(thresholds.yawThreshold);
    const bool readable = std::ferror(file) == 0;
    std::fclose(file);
    return readable;
}

bool ThresholdFile::Save(const DetectionThresholds& thresholds)
{
    // Through a symbolic link the file it names is replaced, and the link stays.
    const std::filesystem::path target = LinkTarget(WritablePath(kFileName));
    struct stat existing = {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    // A folder, FIFO or device of that name is not replaced, nor a file the user made read-only.
    if (exists && (!S_ISREG(existing.st_mode) || ::access(target.c_str(), W_OK) != 0))
        return false;

    const std::string temporary = target.string() + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    // The file keeps its permissions and owner, or is not replaced.
    const bool kept =
        !exists || (::fchmod(fd, existing.st_mode & 07777) == 0 && ::fchown(fd, existing.st_uid, existing.st_gid) == 0);
    std::FILE* file = ::fdopen(fd, "w");
    if (file == nullptr) {
        ::close(fd);
        std::remove(temporary.c_str());
        return false;
    }
    const bool written = kept && WriteLines(file, thresholds);
    const bool closed = std::fclose(file) == 0;
    if (written && closed && std::rename(temporary.c_str(), target.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}
