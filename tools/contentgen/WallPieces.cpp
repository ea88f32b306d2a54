#include "tools/contentgen/WallPieces.h"

#include "tools/contentgen/LevelLayout.h"

#include <algorithm>
#include <cmath>
#include <glm/geometric.hpp>

namespace {

glm::vec2 AtAlong(const glm::vec2& a, const glm::vec2& b, const glm::vec2& origin, const glm::vec2& d, float s)
{
    const float sa = glm::dot(a - origin, d);
    const float sb = glm::dot(b - origin, d);
    return a + (b - a) * ((s - sa) / (sb - sa));
}

}  // namespace

std::vector<WallPiece> WallPieces(const WallRun& run)
{
    const glm::vec2 d = glm::normalize(run.to - run.from);
    const auto& fp = run.footprint;
    const float start = std::min(glm::dot(fp[0] - run.from, d), glm::dot(fp[3] - run.from, d));
    const float end = std::max(glm::dot(fp[1] - run.from, d), glm::dot(fp[2] - run.from, d));
    const glm::vec2 middle = run.from + run.outward * (0.5f * (run.inner + run.outer));
    // A churchyard wall with another cell close behind it stands between two plots.
    WallStyle churchyard = ChurchyardWallStyle();
    if (run.clearance < LevelLayout::kClearanceCap)
        churchyard.height = kPartitionHeight;
    auto styleAt = [&](float s) {
        const glm::vec2 p = middle + d * s;
        for (const BuildingZone& zone : BuildingZones()) {
            if (zone.Contains(p))
                return zone.style;
        }
        return churchyard;
    };
    // Cut points: where the middle line crosses a zone's border.
    std::vector<float> cuts = {start, end};
    for (const BuildingZone& zone : BuildingZones()) {
        for (int axis = 0; axis < 2; ++axis) {
            for (const float bound : {zone.minimum[axis], zone.maximum[axis]}) {
                if (std::fabs(d[axis]) < 1e-6f)
                    continue;
                const float s = (bound - middle[axis]) / d[axis];
                if (s > start + 0.01f && s < end - 0.01f)
                    cuts.push_back(s);
            }
        }
    }
    std::sort(cuts.begin(), cuts.end());
    std::vector<WallPiece> pieces;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i) {
        const float s0 = cuts[i];
        const float s1 = cuts[i + 1];
        if (s1 - s0 < 0.01f)
            continue;
        const WallStyle style = styleAt(0.5f * (s0 + s1));
        WallPiece piece{};
        piece.style = style;
        // The mitred or lengthened ends of the run stay as they are.
        piece.footprint[0] = i == 0 ? fp[0] : AtAlong(fp[0], fp[1], run.from, d, s0);
        piece.footprint[3] = i == 0 ? fp[3] : AtAlong(fp[3], fp[2], run.from, d, s0);
        piece.footprint[1] = i + 2 == cuts.size() ? fp[1] : AtAlong(fp[0], fp[1], run.from, d, s1);
        piece.footprint[2] = i + 2 == cuts.size() ? fp[2] : AtAlong(fp[3], fp[2], run.from, d, s1);
        piece.startIsJamb = i == 0 && run.fromIsJamb;
        piece.endIsJamb = i + 2 == cuts.size() && run.toIsJamb;
        if (!pieces.empty() && pieces.back().style.surface == style.surface &&
            pieces.back().style.height == style.height) {
            pieces.back().footprint[1] = piece.footprint[1];
            pieces.back().footprint[2] = piece.footprint[2];
            pieces.back().endIsJamb = piece.endIsJamb;
        } else {
            pieces.push_back(piece);
        }
    }
    return pieces;
}
