#pragma once

#include <chrono>
#include <string>
#include <vector>

// How long each stage of start-up took, in milliseconds, counted from the start of the process:
// the first stage, noted on construction, is the loading of the program and its libraries.
class StartupTimes {
public:
    struct Stage {
        std::string name;
        double ms;
    };

    // With `report`, Finish writes the stages to standard error.
    explicit StartupTimes(bool report = false);

    // Ends the stage under way, naming it.
    void Mark(const std::string& stage);
    // A part of the last stage measured on its own: listed under it, not added to the total.
    void Detail(const std::string& part, double ms);
    // Ends the last stage; writes the report if asked to.
    void Finish(const std::string& stage);

    const std::vector<Stage>& Stages() const { return m_stages; }
    double TotalMs() const { return m_totalMs; }
    // One line per stage, "brumaria: start-up: <stage>: <ms> ms", details indented with "- ",
    // then the total.
    std::string Report() const;

private:
    bool m_report;
    std::chrono::steady_clock::time_point m_last;
    std::vector<Stage> m_stages;
    double m_totalMs = 0.0;
};
