// floorplan [output.png] [content folder]: draws the compiled-in floor plan (default
// docs/floorplan.png): cells shaded with their numbers, walls black, openings green, and in red
// the ground boxes of the placed models (other than the sky, the walls and the floors) with
// their model indices, as the game loads them from the content folder (default data).
#include "tools/floorplan/DrawListDeriver.h"
#include "tools/floorplan/ModelSetSurvey.h"
#include "world/CLevelMap.h"
#include "world/CModel.h"
#include "world/LevelContent.h"
#include "world/LevelGeometry.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr float kScale = 2.0f;
constexpr float kMargin = 20.0f;
constexpr float kMinX = -353.0f, kMaxX = 326.0f, kMinZ = -97.0f, kMaxZ = 490.0f;

cv::Point ToImage(float x, float z)
{
    return {cvRound((x - kMinX) * kScale + kMargin), cvRound((kMaxZ - z) * kScale + kMargin)};
}

cv::Point ToImage(const MapPoint& p)
{
    return ToImage(p.x, p.z);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string output = argc > 1 ? argv[1] : "docs/floorplan.png";
    const std::string content = argc > 2 ? argv[2] : "data";
    ModelSetSurvey models;
    std::string error;
    if (!models.Load(content, error)) {
        std::fprintf(stderr, "floorplan: %s\n", error.c_str());
        return 1;
    }
    const CLevelMap map;
    const int width = cvRound((kMaxX - kMinX) * kScale + 2 * kMargin);
    const int height = cvRound((kMaxZ - kMinZ) * kScale + 2 * kMargin);
    cv::Mat image(height, width, CV_8UC3, cv::Scalar(225, 225, 225));

    for (int i = 0; i < CLevelMap::kCellCount; ++i) {
        const CCell& cell = map.Cell(i);
        const std::vector<cv::Point> ring{ToImage(*cell.corners[0]), ToImage(*cell.corners[1]),
                                          ToImage(*cell.corners[3]), ToImage(*cell.corners[2])};
        cv::fillConvexPoly(image, ring,
                           i == CLevelMap::kStartCell ? cv::Scalar(190, 240, 255) : cv::Scalar(250, 250, 250));
    }
    for (int i = 0; i < CLevelMap::kCellCount; ++i) {
        const CCell& cell = map.Cell(i);
        for (int side = 0; side < 4; ++side)
            for (const SideSegment& s : cell.sides[side].segments)
                if (s.target >= 0)
                    cv::line(image, ToImage(SidePoint(cell, side, s.from)), ToImage(SidePoint(cell, side, s.to)),
                             cv::Scalar(60, 190, 60), 3);
    }
    for (const WallSegment& wall : map.Walls())
        cv::line(image, ToImage(wall.a), ToImage(wall.b), cv::Scalar(0, 0, 0), 2);
    for (int i = 0; i < CLevelMap::kCellCount; ++i) {
        const CCell& cell = map.Cell(i);
        float x = 0, z = 0;
        for (const MapPoint* p : cell.corners) {
            x += p->x / 4;
            z += p->z / 4;
        }
        const std::string text = std::to_string(i);
        int baseline = 0;
        const cv::Size size = cv::getTextSize(text, cv::FONT_HERSHEY_SIMPLEX, 0.45, 1, &baseline);
        cv::putText(image, text, ToImage(x, z) + cv::Point(-size.width / 2, size.height / 2), cv::FONT_HERSHEY_SIMPLEX,
                    0.45, cv::Scalar(120, 60, 0), 1, cv::LINE_AA);
    }
    std::set<int> planModels{DrawListDeriver::kSkyModel};
    for (const LevelCellData& cell : kLevelCells) {
        planModels.insert(cell.wallModel);
        planModels.insert(cell.floorModel);
    }
    for (int i = 0; i < models.ModelCount(); ++i) {
        if (planModels.count(i))
            continue;
        const CModel& m = models.Model(i);
        cv::rectangle(image, ToImage(m.BoxMin().x, m.BoxMax().z), ToImage(m.BoxMax().x, m.BoxMin().z),
                      cv::Scalar(40, 40, 220), 2);
        cv::putText(image, std::to_string(i), ToImage(m.BoxMax().x, m.BoxMax().z) + cv::Point(3, 0),
                    cv::FONT_HERSHEY_SIMPLEX, 0.45, cv::Scalar(40, 40, 220), 1, cv::LINE_AA);
    }
    if (!cv::imwrite(output, image)) {
        std::fprintf(stderr, "floorplan: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
