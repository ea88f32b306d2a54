#pragma once

#include "platform/MessageBox.h"
#include "tests/support/TemporaryFolder.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

// Set-up shared by the fuzzers: a private working folder, messages that go nowhere, and a
// check that stops the run with a message the fuzzer prints beside the crashing input.
namespace fuzz {

// Makes a fresh temporary folder the working directory for the rest of the run.
inline void EnterTemporaryFolder()
{
    static const TemporaryFolder folder;
}

// Message boxes of failed loads would flood the fuzzer's output.
inline void SilenceMessages()
{
    SetMessagePresenter([](const ShownMessage&) {});
}

inline void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

inline void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzz
