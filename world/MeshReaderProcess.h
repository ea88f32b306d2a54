#pragma once

#include "world/MeshData.h"

#include <string>

// What reading one model file away from the program gave.
struct ModelReading {
    enum Outcome {
        Read,  // `mesh` holds the model
        NotAModel,  // the reader refused the file
        Failed,  // the reader crashed or ran out of memory, or no reader could be started
        TimedOut,  // the reader took longer than its time
        Interrupted  // the user asked the program to end meanwhile
    };
    Outcome outcome = Failed;
    MeshData mesh;
    // Identical vertices joined and triangles in vertex-cache order; otherwise the mesh is as read.
    bool optimised = false;
};

// Reads .x models (XMeshImport) where a bad file cannot hurt the program: Assimp trusts the
// counts and indices of a file, so a broken one can crash it or make it ask for tens of
// gigabytes. On first use a helper process is started, a fresh copy of the running executable
// (so it brings no thread or window of the program along) that does nothing else; for each model
// it forks a reader with limits on memory and time, and hands the mesh back. Whatever happens to
// a reader costs the program that one model. The helper ends with the program.
//
// Every program that links this reads models this way: the helper is recognised by its
// environment before main() runs.
class MeshReaderProcess {
public:
    // Each reader's own: address space beyond what the helper maps already, and wall-clock time.
    static constexpr long long kMemoryLimitBytes = 1LL << 30;
    static constexpr int kTimeLimitMs = 30000;

    static ModelReading Read(const std::string& path, int timeLimitMs = kTimeLimitMs);
};
