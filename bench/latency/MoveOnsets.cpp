#include "bench/latency/MoveOnsets.h"

std::vector<MoveOnset> FindMoveOnsets(const std::vector<LoopPass>& passes, const std::vector<GrabTime>& grabs)
{
    std::vector<MoveOnset> onsets;
    int grabPass = -1;
    for (std::size_t p = 0; p < passes.size(); ++p) {
        const LoopPass& pass = passes[p];
        if (p == 0 ? pass.grabs > 0 : pass.grabs != passes[p - 1].grabs)
            grabPass = static_cast<int>(p);
        const bool wasStill = p == 0 || !passes[p - 1].cameraMoved;
        if (!pass.cameraMoved || !wasStill || pass.grabs == 0)
            continue;
        const GrabTime& grab = grabs[pass.grabs - 1];
        onsets.push_back({grab.frame, static_cast<int>(p) - grabPass, pass.moveMs - grab.inHandMs,
                          pass.drawnMs - grab.inHandMs, pass.shownMs - grab.inHandMs});
    }
    return onsets;
}
