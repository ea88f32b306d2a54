#include "platform/Interruption.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t g_signal = 0;

}  // namespace

void NoteInterruption(int signal)
{
    if (g_signal == 0)
        g_signal = signal;
}

int NotedInterruption()
{
    return g_signal;
}
