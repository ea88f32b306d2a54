#pragma once

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

// The six sample files of a run and the variable each defines, in the tracker's file order.
inline const char* const kSampleFileNames[6][2] = {{"muestrasPosX.m", "movX"},   {"muestrasPosY.m", "movY"},
                                                   {"muestrasPosZ.m", "movZ"},   {"muestrasGiroX.m", "giroX"},
                                                   {"muestrasGiroY.m", "giroY"}, {"muestrasGiroZ.m", "giroZ"}};

// A strict reader of a completed sample file, the only form GNU Octave is given:
//   <name> =[0,<int>,<int>,...]
//   <name> = [(1:columns(<name>)); <name>]'
// (no line end after the second line). Gives the samples after the header's leading 0, or an
// explanation of the first deviation.
struct OctaveSampleFile {
    std::vector<long long> samples;
    std::string error;

    static OctaveSampleFile Parse(const std::string& text, const std::string& name)
    {
        OctaveSampleFile file;
        const std::string header = name + " =[0";
        if (text.compare(0, header.size(), header) != 0) {
            file.error = "header missing";
            return file;
        }
        std::size_t at = header.size();
        while (at < text.size() && text[at] == ',') {
            const std::size_t start = ++at;
            if (at < text.size() && text[at] == '-')
                ++at;
            const std::size_t digits = at;
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
                ++at;
            // Digits without a leading 0, or a lone unsigned 0.
            if (at == digits || (text[digits] == '0' && (at - digits > 1 || digits != start))) {
                file.error = "malformed number at " + std::to_string(start);
                return file;
            }
            file.samples.push_back(std::strtoll(text.c_str() + start, nullptr, 10));
        }
        if (text.compare(at, std::string::npos, "]\n" + name + " = [(1:columns(" + name + ")); " + name + "]'") != 0)
            file.error = "bad end after " + std::to_string(file.samples.size()) + " samples";
        return file;
    }
};
