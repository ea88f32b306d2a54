#pragma once

#include "tracking/PassRecord.h"

#include <cstdio>

// The six GNU Octave scripts in the writable folder ("muestrasPosX.m" ... "muestrasGiroZ.m")
// that log every interpretation pass. Each defines one row vector, "movX =[0,3,-2,...]", and
// then turns it into a (sample number, value) table; the leading 0 belongs to the header.
class SampleFiles {
public:
    SampleFiles() = default;
    // Completes files still open.
    ~SampleFiles();
    SampleFiles(const SampleFiles&) = delete;
    SampleFiles& operator=(const SampleFiles&) = delete;

    // Creates (or empties) the six files and writes their headers; if one cannot be created,
    // none stays open, so no half-written script is left behind.
    bool Open();
    bool IsOpen() const { return m_files[0] != nullptr; }
    // Appends ",value" to each file; nothing when not open.
    void Append(const SampleValues& values);
    // Writes "]\n" and each file's closing statement, then closes them; later calls do nothing.
    void Close();

private:
    static constexpr int kFileCount = 6;
    std::FILE* m_files[kFileCount] = {};
};
