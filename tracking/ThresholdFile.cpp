#include "tracking/ThresholdFile.h"

#include "platform/ContentPath.h"
#include "tracking/SaturatingInt.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

namespace {

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

bool WriteLines(std::FILE* file, const DetectionThresholds& thresholds)
{
    for (const ThresholdLine& line : kLines) {
        if (std::fprintf(file, "%s%d\n", line.key, static_cast<int>(thresholds.*line.field)) < 0)
            return false;
    }
    return std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

}

bool ThresholdFile::Load(DetectionThresholds& thresholds)
{
    thresholds = DetectionThresholds();
    std::FILE* file = std::fopen(WritablePath(kFileName).c_str(), "r");
    if (file == nullptr)
        return errno == ENOENT && Save(thresholds);

    LineScanner scanner(file);
    for (const ThresholdLine& line : kLines) {
        std::int32_t value = 0;
        if (!scanner.Key(line.key) || !scanner.Number(value))
            break;
        thresholds.*line.field = value;
    }
    thresholds.yawLeftLimit = NegateSaturating(thresholds.yawThreshold);
    // A folder of that name opens but cannot be read.
    const bool readable = std::ferror(file) == 0;
    std::fclose(file);
    return readable;
}

bool ThresholdFile::Save(const DetectionThresholds& thresholds)
{
    const std::string path = WritablePath(kFileName);
    // A file the user made read-only stays as it is.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0)
        return false;

    const std::string temporary = path + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    if (file == nullptr)
        return false;
    const bool written = WriteLines(file, thresholds);
    const bool closed = std::fclose(file) == 0;
    if (written && closed && std::rename(temporary.c_str(), path.c_str()) == 0)
        return true;
    std::remove(temporary.c_str());
    return false;
}
