#include "tools/contentgen/ModelBuilders.h"

#include "tools/contentgen/Archway.h"
#include "tools/contentgen/LevelLayout.h"
#include "tools/contentgen/PortableMath.h"
#include "tools/contentgen/WallStyle.h"

#include <algorithm>
#include <cmath>

// The church around the nave (cell 0) and its doorway (cell 19). The floor plan's walls give
// its shell up to the cornice; this model adds what stands above them and what dresses them:
// roof and gables, the bell tower at the west corner of the front, the arch over the door, its
// leaves, a rose window, windows, buttresses and, inside, the ceiling, pews, altar and
// altarpiece.
namespace {

constexpr int kNave = 0;
constexpr int kDoor = 19;

// Faces of the shell, from the plan's walls (inner faces 1.25 beyond the cells' sides).
struct Shell {
    float insideWest, insideEast, insideSouth, insideNorth;  // nave faces
    float outsideWest, outsideEast, outsideSouth, outsideNorth;
    float doorWest, doorEast;  // the doorway's sides
    float eave;
};

Shell MeasureShell(const LevelLayout& layout)
{
    const LayoutCell& nave = layout.Cell(kNave);
    const LayoutCell& door = layout.Cell(kDoor);
    const float inner = LevelLayout::kInnerOffset;
    Shell shell{};
    shell.insideWest = nave.corners[0].x - inner;
    shell.insideEast = nave.corners[1].x + inner;
    shell.insideNorth = nave.corners[0].y + inner;
    shell.insideSouth = nave.corners[3].y - inner;
    shell.doorWest = door.corners[0].x;
    shell.doorEast = door.corners[1].x;
    // Outside, the walls of the cells round the church face it; they meet the nave's walls
    // half way, so the outer faces lie at the far side of the gap less the inner offset.
    shell.outsideWest = shell.insideWest - 5.0f;
    shell.outsideEast = shell.insideEast + 5.5f;
    shell.outsideSouth = shell.insideSouth - 2.5f;
    shell.outsideNorth = door.corners[0].y - inner;
    const float naveMiddleZ = 0.5f * (shell.insideNorth + shell.insideSouth);
    const float naveMiddleX = 0.5f * (shell.insideWest + shell.insideEast);
    for (const WallRun& run : layout.Walls()) {
        const float face = run.inner;
        const bool besideNave =
            std::min(run.from.y, run.to.y) < naveMiddleZ && std::max(run.from.y, run.to.y) > naveMiddleZ;
        const bool behindNave =
            std::min(run.from.x, run.to.x) < naveMiddleX && std::max(run.from.x, run.to.x) > naveMiddleX;
        if (besideNave && run.outward.x > 0.9f && run.from.x < shell.insideWest &&
            run.from.x > shell.insideWest - 10.0f)
            shell.outsideWest = run.from.x + face;
        if (besideNave && run.outward.x < -0.9f && run.from.x > shell.insideEast &&
            run.from.x < shell.insideEast + 10.0f)
            shell.outsideEast = run.from.x - face;
        if (behindNave && run.outward.y > 0.9f && run.from.y < shell.insideSouth &&
            run.from.y > shell.insideSouth - 10.0f)
            shell.outsideSouth = run.from.y + face;
    }
    shell.eave = ChurchZone().style.height;
    return shell;
}

void AddRoof(MeshBuilder& b, const Shell& s, float ridgeX, float ridgeY)
{
    const float overhang = 1.0f;
    const float west = s.outsideWest - overhang;
    const float east = s.outsideEast + overhang;
    const float south = s.outsideSouth - overhang;
    const float north = s.outsideNorth - 1.0f;
    const float eave = s.eave + 0.6f;
    const float thick = 0.6f;
    // Each slope a slab; the ridge and eaves close it.
    for (const float side : {-1.0f, 1.0f}) {
        const float edge = side < 0.0f ? west : east;
        const glm::vec3 facing(side * (ridgeY - eave), std::fabs(ridgeX - edge), 0.0f);
        b.AddFace(Surface::RoofTiles,
                  {{edge, eave + thick, south},
                   {ridgeX, ridgeY + thick, south},
                   {ridgeX, ridgeY + thick, north},
                   {edge, eave + thick, north}},
                  facing, 5.0f);
        b.AddFace(Surface::Wood,
                  {{edge, eave, south}, {ridgeX, ridgeY, south}, {ridgeX, ridgeY, north}, {edge, eave, north}}, -facing,
                  4.0f);
        b.AddFace(Surface::Wood,
                  {{edge, eave, south}, {edge, eave + thick, south}, {edge, eave + thick, north}, {edge, eave, north}},
                  glm::vec3(side, 0.0f, 0.0f), 4.0f);
        for (const float end : {south, north}) {
            b.AddFace(
                Surface::Wood,
                {{edge, eave, end}, {ridgeX, ridgeY, end}, {ridgeX, ridgeY + thick, end}, {edge, eave + thick, end}},
                glm::vec3(0.0f, 0.0f, end == south ? -1.0f : 1.0f), 4.0f);
        }
    }
}

// A triangular gable wall from the eave up to `apex`, between z0 and z1.
void AddGable(MeshBuilder& b, float west, float east, float apexX, float base, float apex, float z0, float z1)
{
    b.AddLoft(Surface::Stone, {{west, z0}, {east, z0}, {east, z1}, {west, z1}}, base,
              {{apexX, z0}, {apexX, z0}, {apexX, z1}, {apexX, z1}}, apex, kChurchStoneTile, false);
}

void AddTower(MeshBuilder& b, float west, float south, float north, float base)
{
    const float half = 7.0f;
    const float east = west + 2.0f * half;
    const float cx = west + half;
    const float shaftTop = 46.0f;
    const float belfryTop = 57.0f;
    b.AddBox(Surface::Stone, {west, base, south}, {east, shaftTop, north}, kChurchStoneTile, 1);
    b.AddBox(Surface::Stone, {west - 0.35f, 30.0f, south - 0.35f}, {east + 0.35f, 31.0f, north + 0.35f},
             kChurchStoneTile);
    b.AddBox(Surface::Stone, {west - 0.5f, shaftTop - 0.8f, south - 0.5f}, {east + 0.5f, shaftTop, north + 0.5f},
             kChurchStoneTile);
    // Belfry: an arched opening in each face.
    const float cz = 0.5f * (south + north);
    const float depthX = 0.5f * (north - south);
    const float pier = 3.0f;
    AddArchway(b, Surface::Stone,
               {{cx, shaftTop, north - pier * 0.5f},
                {1, 0, 0},
                {0, 0, 1},
                half - pier,
                4.0f,
                belfryTop - shaftTop,
                pier * 0.5f,
                pier},
               8, kChurchStoneTile);
    AddArchway(b, Surface::Stone,
               {{cx, shaftTop, south + pier * 0.5f},
                {1, 0, 0},
                {0, 0, 1},
                half - pier,
                4.0f,
                belfryTop - shaftTop,
                pier * 0.5f,
                pier},
               8, kChurchStoneTile);
    AddArchway(b, Surface::Stone,
               {{west + pier * 0.5f, shaftTop, cz},
                {0, 0, 1},
                {1, 0, 0},
                depthX - pier,
                4.0f,
                belfryTop - shaftTop,
                pier * 0.5f,
                0.0f},
               8, kChurchStoneTile);
    AddArchway(b, Surface::Stone,
               {{east - pier * 0.5f, shaftTop, cz},
                {0, 0, 1},
                {1, 0, 0},
                depthX - pier,
                4.0f,
                belfryTop - shaftTop,
                pier * 0.5f,
                0.0f},
               8, kChurchStoneTile);
    b.AddBox(Surface::Stone, {west - 0.6f, belfryTop, south - 0.6f}, {east + 0.6f, belfryTop + 1.0f, north + 0.6f},
             kChurchStoneTile);
    // Two bells.
    for (const float bx : {cx - 2.6f, cx + 2.6f}) {
        b.AddCylinder(Surface::Bronze, {bx, 49.5f, cz}, 1.7f, 0.9f, 2.6f, 10, 2.0f);
        b.AddBox(Surface::Wood, {bx - 0.2f, 52.1f, south + 1.5f}, {bx + 0.2f, 52.6f, north - 1.5f}, 2.0f);
    }
    // Spire and its cross.
    b.AddPyramid(Surface::RoofTiles, {west - 0.6f, south - 0.6f}, {east + 0.6f, north + 0.6f}, belfryTop + 1.0f, 15.0f,
                 5.0f);
    const float top = belfryTop + 16.0f;
    b.AddBox(Surface::Iron, {cx - 0.2f, top - 1.0f, cz - 0.2f}, {cx + 0.2f, top + 4.0f, cz + 0.2f}, 2.0f);
    b.AddBox(Surface::Iron, {cx - 1.3f, top + 2.2f, cz - 0.2f}, {cx + 1.3f, top + 2.7f, cz + 0.2f}, 2.0f);
}

void AddWindow(MeshBuilder& b, float x, float z, float facing)
{
    const glm::vec3 across(0.0f, 0.0f, 1.0f);
    const glm::vec3 out(facing, 0.0f, 0.0f);
    b.AddFace(Surface::Stone, RoundHeadedOutline({x + facing * 0.04f, 5.4f, z}, across, 2.2f, 11.0f, 8), out, 4.0f);
    b.AddFace(Surface::StainedGlass, RoundHeadedOutline({x + facing * 0.08f, 6.0f, z}, across, 1.6f, 11.0f, 8), out,
              3.0f);
}

// A pew facing south, to the altar: seat, back rest and two ends.
void AddPew(MeshBuilder& b, float west, float east, float z)
{
    b.AddBox(Surface::Wood, {west, 0.55f, z - 0.7f}, {east, 0.7f, z + 0.3f}, 3.0f);
    b.AddBox(Surface::Wood, {west, 0.7f, z + 0.3f}, {east, 1.45f, z + 0.45f}, 3.0f);
    for (const float x : {west, east - 0.2f})
        b.AddBox(Surface::Wood, {x, 0.0f, z - 0.7f}, {x + 0.2f, 1.5f, z + 0.45f}, 3.0f, 1);
}

}  // namespace

MeshBuilder BuildChurch(const LevelLayout& layout)
{
    const Shell s = MeasureShell(layout);
    MeshBuilder b;
    const float ridgeX = 0.5f * (s.outsideWest + s.outsideEast);
    const float ridgeY = s.eave + 0.6f + 0.4f * (ridgeX - s.outsideWest + 1.0f);

    AddRoof(b, s, ridgeX, ridgeY);
    AddGable(b, s.outsideWest, s.outsideEast, ridgeX, s.eave, ridgeY, s.outsideSouth, s.insideSouth);
    const float facadeWest = s.outsideWest - 1.25f;
    const float facadeEast = s.outsideEast + 1.25f;
    AddGable(b, facadeWest, facadeEast, ridgeX, s.eave, ridgeY + 2.5f, s.insideNorth, s.outsideNorth);

    // Arch over the door with mouldings round it outside and in, the open leaves folded back
    // inside, and a rose window above in the gable.
    const float doorCentre = 0.5f * (s.doorWest + s.doorEast);
    const float doorHalf = 0.5f * (s.doorEast - s.doorWest);
    const float depth = 0.5f * (s.outsideNorth - s.insideNorth);
    const float wallMiddle = 0.5f * (s.outsideNorth + s.insideNorth);
    const float springing = 7.0f;
    AddArchway(b, Surface::Stone,
               {{doorCentre, 0.0f, wallMiddle}, {1, 0, 0}, {0, 0, 1}, doorHalf, springing, s.eave, depth, 0.0f}, 12,
               kChurchStoneTile);
    for (const float face : {s.outsideNorth + 0.3f, s.insideNorth - 0.3f}) {
        const Archway moulding{{doorCentre, 0.0f, face}, {1, 0, 0}, {0, 0, 1}, doorHalf, springing, 0.0f, 0.3f, 0.0f};
        AddArchRing(b, Surface::Stone, moulding, doorHalf, doorHalf + 0.9f, 12, 3.0f);
    }
    const Archway outerRing{
        {doorCentre, 0.0f, s.outsideNorth + 0.15f}, {1, 0, 0}, {0, 0, 1}, doorHalf, springing, 0.0f, 0.15f, 0.0f};
    AddArchRing(b, Surface::Marble, outerRing, doorHalf + 0.9f, doorHalf + 1.5f, 12, 3.0f);
    for (const float side : {-1.0f, 1.0f}) {
        const float hinge = side < 0.0f ? s.doorWest : s.doorEast;
        const float tip = hinge + side * doorHalf;
        b.AddBox(Surface::Wood, {std::min(hinge, tip), 0.0f, s.insideNorth - 0.35f},
                 {std::max(hinge, tip), springing + 0.5f, s.insideNorth - 0.05f}, 3.0f, 1);
    }
    const float roseHeight = s.eave + 7.0f;
    std::vector<glm::vec3> frontRose;
    std::vector<glm::vec3> frontRoseFrame;
    for (const glm::vec2& p : RegularPolygon(doorCentre, roseHeight, 4.2f, 16, 0.0))
        frontRose.emplace_back(p.x, p.y, s.outsideNorth + 0.08f);
    for (const glm::vec2& p : RegularPolygon(doorCentre, roseHeight, 5.2f, 16, 0.0))
        frontRoseFrame.emplace_back(p.x, p.y, s.outsideNorth + 0.04f);
    b.AddFace(Surface::Marble, frontRoseFrame, {0, 0, 1}, 3.0f);
    b.AddFace(Surface::StainedGlass, frontRose, {0, 0, 1}, 3.0f);

    // The bell tower rises from the west corner of the front.
    AddTower(b, facadeWest, s.insideNorth - 10.0f, s.outsideNorth + 0.25f, s.eave);

    // Windows, pilasters inside and buttresses outside, between them.
    const float naveSouth = layout.Cell(kNave).corners[3].y;
    const float naveNorth = layout.Cell(kNave).corners[0].y;
    const int bays = 4;
    const float bay = (naveNorth - naveSouth) / bays;
    for (int i = 0; i < bays; ++i) {
        const float z = naveSouth + bay * (i + 0.5f);
        AddWindow(b, s.insideWest, z, 1.0f);
        AddWindow(b, s.insideEast, z, -1.0f);
        AddWindow(b, s.outsideWest, z, -1.0f);
        AddWindow(b, s.outsideEast, z, 1.0f);
    }
    for (int i = 1; i < bays; ++i) {
        const float z = naveSouth + bay * i;
        b.AddBox(Surface::Stone, {s.insideWest, 0.0f, z - 0.8f}, {s.insideWest + 0.6f, s.eave - 0.6f, z + 0.8f},
                 kChurchStoneTile, 1);
        b.AddBox(Surface::Stone, {s.insideEast - 0.6f, 0.0f, z - 0.8f}, {s.insideEast, s.eave - 0.6f, z + 0.8f},
                 kChurchStoneTile, 1);
        for (const float side : {-1.0f, 1.0f}) {
            const float face = side < 0.0f ? s.outsideWest : s.outsideEast;
            const float out = face + side * 1.0f;
            const std::vector<glm::vec2> foot = {{std::min(face, out), z - 1.2f},
                                                 {std::max(face, out), z - 1.2f},
                                                 {std::max(face, out), z + 1.2f},
                                                 {std::min(face, out), z + 1.2f}};
            std::vector<glm::vec2> head = foot;
            for (glm::vec2& p : head) {
                if (std::fabs(p.x - out) < 0.01f)
                    p.x = face + side * 0.1f;
            }
            b.AddPrism(Surface::Stone, foot, 0.0f, 11.0f, kChurchStoneTile);
            b.AddLoft(Surface::Stone, foot, 11.0f, head, 13.5f, kChurchStoneTile);
        }
    }
    // A rose window in the back gable.
    std::vector<glm::vec3> rose;
    std::vector<glm::vec3> roseFrame;
    for (const glm::vec2& p : RegularPolygon(ridgeX, s.eave + 7.0f, 3.6f, 16, 0.0))
        rose.emplace_back(p.x, p.y, s.outsideSouth - 0.08f);
    for (const glm::vec2& p : RegularPolygon(ridgeX, s.eave + 7.0f, 4.4f, 16, 0.0))
        roseFrame.emplace_back(p.x, p.y, s.outsideSouth - 0.04f);
    b.AddFace(Surface::Stone, roseFrame, {0, 0, -1}, kChurchStoneTile);
    b.AddFace(Surface::StainedGlass, rose, {0, 0, -1}, 3.0f);

    // Inside: a boarded ceiling on beams, the altar and its altarpiece, pews either side of
    // the aisle facing the altar.
    const float ceiling = s.eave - 0.6f;
    b.AddFace(Surface::Wood,
              {{s.insideWest, ceiling, s.insideSouth},
               {s.insideEast, ceiling, s.insideSouth},
               {s.insideEast, ceiling, s.insideNorth},
               {s.insideWest, ceiling, s.insideNorth}},
              {0, -1, 0}, 4.0f);
    for (int i = 1; i < 7; ++i) {
        const float z = s.insideSouth + (s.insideNorth - s.insideSouth) * i / 7.0f;
        b.AddBox(Surface::Wood, {s.insideWest, ceiling - 0.8f, z - 0.4f}, {s.insideEast, ceiling, z + 0.4f}, 3.0f, 2);
    }
    const float back = s.insideSouth;
    b.AddBox(Surface::Stone, {doorCentre - 8.0f, 0.0f, back}, {doorCentre + 8.0f, 0.3f, back + 1.2f}, 3.0f, 1);
    b.AddBox(Surface::Marble, {doorCentre - 4.5f, 0.3f, back}, {doorCentre + 4.5f, 1.5f, back + 1.1f}, 3.0f, 1);
    b.AddBox(Surface::Marble, {doorCentre - 4.8f, 1.5f, back}, {doorCentre + 4.8f, 1.65f, back + 1.15f}, 3.0f, 1);
    b.AddBox(Surface::Wood, {doorCentre - 11.0f, 1.65f, back}, {doorCentre + 11.0f, 13.5f, back + 0.35f}, 3.0f, 1);
    b.AddBox(Surface::Bronze, {doorCentre - 11.5f, 13.5f, back}, {doorCentre + 11.5f, 14.2f, back + 0.6f}, 2.0f, 1);
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 2; ++row) {
            const float x0 = doorCentre - 9.6f + column * 6.6f;
            const float y0 = 3.2f + row * 5.0f;
            b.AddBox(Surface::Bronze, {x0, y0, back + 0.35f}, {x0 + 5.8f, y0 + 4.2f, back + 0.45f}, 2.0f, 1);
            b.AddFace(Surface::Marble,
                      {{x0 + 0.5f, y0 + 0.5f, back + 0.47f},
                       {x0 + 5.3f, y0 + 0.5f, back + 0.47f},
                       {x0 + 5.3f, y0 + 3.7f, back + 0.47f},
                       {x0 + 0.5f, y0 + 3.7f, back + 0.47f}},
                      {0, 0, 1}, 2.0f);
        }
    }
    b.AddBox(Surface::Bronze, {doorCentre - 0.3f, 14.2f, back + 0.2f}, {doorCentre + 0.3f, 15.0f, back + 0.5f}, 1.0f);
    for (int row = 0; row < 9; ++row) {
        const float z = back + 9.0f + row * 3.0f;
        AddPew(b, doorCentre - 30.0f, doorCentre - 4.0f, z);
        AddPew(b, doorCentre + 4.0f, doorCentre + 30.0f, z);
    }
    return b;
}
