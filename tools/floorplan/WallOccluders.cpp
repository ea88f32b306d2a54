#include "tools/floorplan/WallOccluders.h"

#include "tools/contentgen/LevelLayout.h"
#include "tools/contentgen/WallPieces.h"

std::vector<Occluder> WallOccluders(const LevelLayout& layout)
{
    std::vector<Occluder> occluders;
    for (const WallRun& run : layout.Walls()) {
        for (const WallPiece& piece : WallPieces(run)) {
            if (piece.style.height <= 0.0f)
                continue;
            const auto& fp = piece.footprint;
            occluders.push_back({(fp[0] + fp[3]) * 0.5f, (fp[1] + fp[2]) * 0.5f, piece.style.height});
        }
    }
    return occluders;
}
