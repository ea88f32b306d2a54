#include "app/core/StartupTimes.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace {

constexpr const char* kDetailMark = "- ";

// Milliseconds since the process started, to the kernel's clock tick (10 ms); 0 if unknown.
double MsSinceProcessStart()
{
    std::ifstream file("/proc/self/stat");
    std::string line;
    if (!std::getline(file, line) || line.rfind(')') == std::string::npos)
        return 0.0;
    // After the command name come the fields from the third on; the start time is the 22nd, in
    // clock ticks since boot.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int number = 3; number <= 22 && fields >> field; ++number) {
    }
    timespec now{};
    if (fields.fail() || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return 0.0;
    const double startMs = std::stod(field) * 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    const double nowMs = static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
    return nowMs > startMs ? nowMs - startMs : 0.0;
}

}  // namespace

StartupTimes::StartupTimes(bool report) : m_report(report), m_last(std::chrono::steady_clock::now())
{
    const double loading = MsSinceProcessStart();
    m_stages.push_back({"program and libraries loaded", loading});
    m_totalMs = loading;
}

void StartupTimes::Mark(const std::string& stage)
{
    const auto now = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - m_last).count();
    m_last = now;
    m_stages.push_back({stage, ms});
    m_totalMs += ms;
}

void StartupTimes::Detail(const std::string& part, double ms)
{
    m_stages.push_back({kDetailMark + part, ms});
}

void StartupTimes::Finish(const std::string& stage)
{
    Mark(stage);
    if (m_report)
        std::fputs(Report().c_str(), stderr);
}

std::string StartupTimes::Report() const
{
    std::string report;
    char line[256];
    for (const Stage& stage : m_stages) {
        std::snprintf(line, sizeof line, "brumaria: start-up: %s: %.0f ms\n", stage.name.c_str(), stage.ms);
        report += line;
    }
    std::snprintf(line, sizeof line, "brumaria: start-up: total: %.0f ms\n", m_totalMs);
    return report + line;
}
