#pragma once

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

// The six sample files of a run and the variable each defines, in the tracker's file order.
inline const char* const kSampleFileNames[6][2] = {{"muestrasPosX.m", "movX"},   {"muestrasPosY.m", "movY"},
                                                   {"muestrasPosZ.m", "movZ"},   {"muestrasGiroX.m", "giroX"},
                                                   {"muestrasGiroY.m", "giroY"}, {"muestrasGiroZ.m", "giroZ"}};

// A strict reader of a completed sample file, "<name> =[0,<int>,...]\n<name> = [(1:columns(<name>));
// <name>]'" and nothing more: the samples after the leading 0, or what deviates first.
struct OctaveSampleFile {
    std::vector<long long> samples;
    std::string error;

    static OctaveSampleFile Parse(const std::string& text, const std::string& name)
    {
        OctaveSampleFile file;
        const std::string header = name + " =[0";
        const std::string closing = "]\n" + name + " = [(1:columns(" + name + ")); " + name + "]'";
        const std::size_t end = text.size() - std::min(text.size(), closing.size());
        if (text.rfind(header, 0) != 0 || end < header.size() || text.compare(end, std::string::npos, closing) != 0)
            file.error = "header or closing statement missing";
        // ",<int>" for each sample, without leading zeros.
        static const std::regex sample(",(0|-?[1-9][0-9]*)");
        std::smatch match;
        for (std::size_t at = header.size(); file.error.empty() && at < end; at += match.length()) {
            if (std::regex_search(text.begin() + at, text.begin() + end, match, sample,
                                  std::regex_constants::match_continuous))
                file.samples.push_back(std::stoll(match[1]));
            else
                file.error = "malformed sample at " + std::to_string(at);
        }
        return file;
    }
};
