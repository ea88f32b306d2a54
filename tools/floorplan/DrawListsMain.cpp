// drawlists [output] [content folder]: derives each cell's draw list from the compiled-in floor
// plan, the walls as the content generator builds them and the models as the game loads them
// (default content folder data), and writes the lists in the form tools/levelgen reads
// (default tools/levelgen/drawlists.txt). Run from the repository's root.
//
// A model is listed for a cell when some point of its surface can be seen from some place of
// the eye in the cell at the highest eye height, past the walls, within the fog's reach (see
// DrawListDeriver).
#include "tools/contentgen/LevelLayout.h"
#include "tools/floorplan/DrawListDeriver.h"
#include "tools/floorplan/ModelSetSurvey.h"
#include "tools/floorplan/SurfaceColumns.h"
#include "tools/floorplan/WallOccluders.h"
#include "world/CLevelMap.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Squares of the plan grid over which each model's highest point stands for it.
constexpr float kColumnSize = 1.0f;

}  // namespace

int main(int argc, char** argv)
{
    const std::string output = argc > 1 ? argv[1] : "tools/levelgen/drawlists.txt";
    const std::string content = argc > 2 ? argv[2] : "data";
    ModelSetSurvey models;
    std::string error;
    if (!models.Load(content, error)) {
        std::fprintf(stderr, "drawlists: %s\n", error.c_str());
        return 1;
    }
    const CLevelMap map;
    std::vector<std::vector<glm::vec3>> targets(models.ModelCount());
    for (int i = 0; i < models.ModelCount(); ++i)
        if (i != DrawListDeriver::kSkyModel)
            targets[i] = SurfaceColumns(models.Triangles(i), kColumnSize);
    const DrawListDeriver deriver(map, std::move(targets), WallOccluders(LevelLayout(map)), models.ViewReach(),
                                  kHighestEye);

    FILE* out = std::fopen(output.c_str(), "w");
    if (!out) {
        std::fprintf(stderr, "drawlists: cannot write %s\n", output.c_str());
        return 1;
    }
    std::fprintf(out,
                 "# Derived by tools/drawlists from the compiled floor plan and the content: cell: model indices.\n");
    int total = 0, shortest = 1000, longest = 0;
    for (int c = 0; c < CLevelMap::kCellCount; ++c) {
        const std::vector<int> list = deriver.DrawList(c);
        std::fprintf(out, "%d:", c);
        for (int m : list)
            std::fprintf(out, " %d", m);
        std::fprintf(out, "\n");
        total += static_cast<int>(list.size());
        shortest = std::min(shortest, static_cast<int>(list.size()));
        longest = std::max(longest, static_cast<int>(list.size()));
    }
    std::fclose(out);
    std::printf("drawlists: eye up to %.2f, reach %.1f; %d entries, %d to %d per cell\n", kHighestEye,
                models.ViewReach(), total, shortest, longest);
    return 0;
}
