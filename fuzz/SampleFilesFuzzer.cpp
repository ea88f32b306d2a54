// The sample writer under any run of passes, clock readings, flushes and restarts: every time it
// has written, each of the six files is a complete script holding a first part of the passes, and
// all of them once a flush was due.
#include "FuzzInput.h"
#include "FuzzSupport.h"

#include "tests/support/tracking/OctaveSampleFile.h"
#include "tracking/SampleFiles.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::string Read(const char* name)
{
    std::ifstream file(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Each file holds a first part of its values, or all of them when `whole`.
void Check(const std::vector<long long> (&values)[6], bool whole)
{
    for (int i = 0; i < 6; ++i) {
        const OctaveSampleFile file = OctaveSampleFile::Parse(Read(kSampleFileNames[i][0]), kSampleFileNames[i][1]);
        fuzz::Require(file.error.empty(), "a complete script");
        fuzz::Require(file.samples.size() <= values[i].size() &&
                          std::equal(file.samples.begin(), file.samples.end(), values[i].begin()),
                      "the first of the passes, in order");
        fuzz::Require(!whole || file.samples.size() == values[i].size(), "every pass after a flush");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnterTemporaryFolder();
    fuzz::SilenceMessages();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    SampleFiles files;
    fuzz::Require(files.Open(), "the files open");
    std::vector<long long> values[6];
    double now = 0.0;
    double lastFlush = 0.0;
    while (!input.Empty()) {
        switch (input.Byte() % 4) {
        case 0: {
            // Several passes at a time, so the files also grow past what waits in memory.
            const int passes = input.Between(1, 3000);
            const SampleValues pass = {input.Raw<std::int32_t>(), input.Raw<std::int32_t>(), input.Raw<std::int32_t>(),
                                       input.Raw<std::int32_t>(), input.Raw<std::int32_t>(), input.Raw<std::int32_t>()};
            const std::int32_t inFileOrder[6] = {pass.movX, pass.movY, pass.movZ, pass.giroX, pass.giroY, pass.giroZ};
            for (int n = 0; n < passes; ++n) {
                files.Append(pass);
                for (int i = 0; i < 6; ++i)
                    values[i].push_back(inFileOrder[i]);
            }
            Check(values, false);
            break;
        }
        case 1: {
            now += input.Between(0, 2000);
            files.FlushIfDue(now);
            const bool due = now - lastFlush >= SampleFiles::kFlushIntervalMs;
            if (due)
                lastFlush = now;
            Check(values, due);
            break;
        }
        case 2:
            files.Flush();
            Check(values, true);
            break;
        default:
            files.Close();
            Check(values, true);
            fuzz::Require(files.Open(), "the files open again");
            for (std::vector<long long>& file : values)
                file.clear();
            Check(values, true);
            break;
        }
    }
    files.Close();
    Check(values, true);
    return 0;
}
