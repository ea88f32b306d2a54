#pragma once

#include "tracking/PassRecord.h"

#include <string>

// The six GNU Octave scripts in the writable folder ("muestrasPosX.m" ... "muestrasGiroZ.m")
// that log every interpretation pass. Each defines one row vector, "movX =[0,3,-2,...]", and
// then turns it into a (sample number, value) table; the leading 0 belongs to the header.
//
// Every file is a complete script at every moment: appended values wait in memory, and a flush
// writes them, followed by "]\n" and the closing statement, over the closing statement written by
// the flush before. A run that is killed keeps everything up to its last flush. Files still open
// when the process calls exit() (a lost display ends the program that way) are completed then.
class SampleFiles {
public:
    // FlushIfDue writes when this long has passed since its last write; read the clock a few
    // times a second and no value waits longer than a second.
    static constexpr double kFlushIntervalMs = 750.0;

    SampleFiles() = default;
    // Completes files still open.
    ~SampleFiles();
    SampleFiles(const SampleFiles&) = delete;
    SampleFiles& operator=(const SampleFiles&) = delete;

    // Opens the six files (regular files only) before emptying any, so when one cannot be
    // opened the previous run's six stay as they were; a message says so. Then each becomes a
    // script of the empty vector. False when the files could not be opened or written.
    bool Open();
    bool IsOpen() const { return m_files[0].fd >= 0; }
    // Keeps ",value" for each file until the next flush; nothing when not open or after a
    // write error.
    void Append(const SampleValues& values);
    // Flushes when kFlushIntervalMs or more have passed since the last flush by this clock
    // (milliseconds since the program started).
    void FlushIfDue(double nowMs);
    // Writes the values kept so far. On a write error (a full disk) one message is shown, all
    // six files are put back as the previous flush left them, and nothing more is written.
    void Flush();
    // Flushes and closes the files; later calls do nothing.
    void Close();

private:
    static constexpr int kFileCount = 6;

    struct File {
        int fd = -1;
        // Where "]\n" and the closing statement start.
        long long valuesEnd = 0;
        std::string pending;
    };

    void RestoreEndings(int lastFile);
    // After a write error (errno `error`): one message, and no more writing.
    void StopWriting(int error, int failedFile);

    File m_files[kFileCount];
    double m_lastFlushMs = 0.0;
    bool m_writeFailed = false;
};
