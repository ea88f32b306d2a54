#!/usr/bin/env python3
"""Authors the churchyard's floor plan and writes world/LevelContent.cpp.

The layout is described here as cells (four corners each) and the pairs of cells that open into
each other; the side lists (walls and openings, reciprocal by construction) are derived from the
shared stretches of collinear sides. Draw lists come from tools/levelgen/drawlists.txt, which the
drawlists tool derives from the compiled map and the models in data/; the five rows below that the
program's behaviour is known by keep their given lists (what is seen from them but not drawn is
printed). After a change of the layout, tools/levelgen.sh runs this and everything that follows
from it, in order.

Run from anywhere: python3 tools/levelgen/levelgen.py [folder]
It writes LevelContent.cpp and LevelContent.h into folder (default: the source tree's world/).
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
DRAWLISTS = os.path.join(HERE, "drawlists.txt")

CELL_COUNT = 62
POINT_COUNT = 165

# Points on slanted sides that neighbours share.
def on_line(a, b, x=None, z=None):
    (ax, az), (bx, bz) = a, b
    if x is not None:
        return (x, az + (x - ax) * (bz - az) / (bx - ax))
    return (ax + (z - az) * (bx - ax) / (bz - az), z)

FORE_TL, FORE_TR = (-86.0, 53.0), (32.0, 46.0)
P18L = on_line(FORE_TL, FORE_TR, x=-30.0)
P18R = on_line(FORE_TL, FORE_TR, x=-6.0)
P15L = on_line(FORE_TL, FORE_TR, x=20.0)
C20_TL, C20_BL = (-15.0, 238.0), (-30.0, 143.0)
C20_TR, C20_BR = (7.0, 238.0), (-6.0, 143.0)
L208 = on_line(C20_TL, C20_BL, z=208.0)
L183 = on_line(C20_TL, C20_BL, z=183.0)
R209 = on_line(C20_TR, C20_BR, z=209.0)
R181 = on_line(C20_TR, C20_BR, z=181.0)
GATE460 = on_line((-120.0, 400.0), (-110.0, 470.0), z=460.0)

def rect(x0, z0, x1, z1):
    return ((x0, z1), (x1, z1), (x0, z0), (x1, z0))

# name: (fixed number or None, wall model letter, corners TL, TR, BL, BR)
CELLS = [
    # The church, its forecourt and the walks around it.
    ("nave", 0, "A", rect(-45, -45, 44, -3)),
    ("door", 19, "A", rect(-7.5, -3, 8.25, 3)),
    ("forecourt", 1, "B", (FORE_TL, FORE_TR, (-99.0, 3.0), (32.0, 3.0))),
    ("westWalk", 2, "B", rect(-99, -97, -52.5, 3)),
    ("garden", None, "B", ((-52.5, -50.0), (52.0, -50.0), (-52.5, -97.0), (52.0, -90.0))),
    ("eastWalk", None, "B", rect(52, -97, 95, 3)),
    ("porch", 16, "B", rect(32, 3, 95, 30)),
    # Between the forecourt and the crossroads.
    ("northPath", 18, "B", ((-30.0, 143.0), (-6.0, 143.0), P18L, P18R)),
    ("midPlot", None, "B", ((-6.0, 138.0), (20.0, 138.0), P18R, P15L)),
    ("sidePath", 15, "B", ((20.0, 143.0), (32.0, 143.0), P15L, FORE_TR)),
    ("eastPlotS", None, "B", rect(36, 30, 95, 86)),
    ("eastPlotN", None, "B", rect(32, 86, 90, 143)),
    ("westPlot", None, "B", ((-99.0, 143.0), (-30.0, 143.0), FORE_TL, P18L)),
    # The crossroads and the six ways off it, paved like the precinct.
    ("crossroads", 20, "B", (C20_TL, C20_TR, C20_BL, C20_BR)),
    ("graveSW", 24, "B", ((-99.0, 183.0), L183, (-99.0, 143.0), C20_BL)),
    ("westLane", 25, "B", ((-160.0, 208.0), L208, (-160.0, 183.0), L183)),
    ("tombPlot", 26, "B", ((-130.0, 238.0), C20_TL, (-130.0, 208.0), L208)),
    ("graveSE", 21, "B", (R181, (95.0, 181.0), C20_BR, (95.0, 143.0))),
    ("eastLane", 22, "B", (R209, (130.0, 209.0), R181, (130.0, 181.0))),
    ("graveNE", 23, "B", (C20_TR, (95.0, 238.0), R209, (95.0, 209.0))),
    # The walled alley north, the squares and the gate.
    ("alley", 50, "D", rect(-15, 238, 7, 330)),
    ("crossPlotW", None, "D", rect(-130, 238, -20, 325)),
    ("crossPlotE", None, "D", rect(12, 238, 95, 330)),
    ("northSquare", 46, "D", rect(-130, 330, 95, 400)),
    ("gateWalk", None, "D", ((-110.0, 470.0), (-80.0, 470.0), (-120.0, 400.0), (-70.0, 400.0))),
    ("crossPlotNE", None, "D", rect(30, 400, 95, 470)),
    ("northLaneW", None, "D", rect(-300, 400, -210, 455)),
    ("northLaneE", None, "D", ((-210.0, 460.0), GATE460, (-210.0, 400.0), (-120.0, 400.0))),
    # The west quarter.
    ("farWestLane", None, "C", rect(-300, 183, -160, 208)),
    ("crossPlotSW", None, "C", rect(-295, 120, -200, 183)),
    ("westGraves", None, "C", rect(-200, 120, -104, 183)),
    ("southWestA", None, "C", rect(-300, 50, -200, 120)),
    ("southWestB", None, "C", rect(-200, 50, -99, 115)),
    ("westGardenA", None, "C", rect(-300, 208, -215, 300)),
    ("westGardenB", None, "C", rect(-215, 213, -130, 300)),
    ("westOrchardA", None, "C", rect(-300, 305, -215, 395)),
    ("westOrchardB", None, "C", rect(-215, 300, -130, 395)),
    # The walk inside the west wall, under the arch.
    ("westWallS", None, "G", rect(-353, 60, -300, 120)),
    ("westWallA", None, "G", rect(-353, 120, -300, 183)),
    ("westWallB", None, "G", rect(-353, 183, -300, 208)),
    ("archWalk", None, "G", rect(-353, 208, -300, 300)),
    ("westWallC", None, "G", rect(-353, 300, -300, 400)),
    ("westWallN", None, "G", rect(-353, 400, -300, 490)),
    # The east quarter: the crypt and the tower.
    ("eastLaneA", None, "E", rect(130, 181, 215, 209)),
    ("eastLaneB", None, "E", rect(215, 184, 300, 209)),
    ("cryptWest", None, "F", rect(95, 209, 145, 330)),
    ("cryptNorth", None, "F", rect(145, 250, 185, 330)),
    ("cryptEast", None, "F", rect(185, 209, 300, 330)),
    ("cryptDoor", None, "F", rect(160, 245, 170, 250)),
    ("cryptHall", None, "F", rect(150, 214, 180, 245)),
    ("eastMeadowA", None, "E", rect(95, 100, 200, 181)),
    ("eastMeadowB", None, "E", rect(200, 100, 300, 176)),
    ("eastFieldA", None, "E", rect(95, 35, 200, 100)),
    ("eastFieldB", None, "E", rect(200, 30, 300, 100)),
    ("towerWestA", None, "F", rect(95, 330, 160, 470)),
    ("towerWestB", None, "F", rect(160, 330, 225, 470)),
    ("towerNorth", None, "F", rect(225, 408, 300, 470)),
    ("towerSouth", None, "F", rect(225, 330, 295, 372)),
    ("towerEast", None, "F", rect(261, 372, 295, 408)),
    # The walk inside the east wall.
    ("eastWallS", None, "G", rect(300, 40, 326, 181)),
    ("eastWallM", None, "G", rect(300, 181, 326, 330)),
    ("eastWallN", None, "G", rect(300, 330, 326, 465)),
]

# Pairs of cells open to each other: over their whole shared stretch, or over (lo, hi) of it
# (a doorway; lo and hi along the shared side's axis).
OPEN = [
    ("forecourt", "westWalk"), ("forecourt", "door"), ("door", "nave"), ("forecourt", "porch"),
    ("forecourt", "northPath"), ("forecourt", "sidePath"),
    ("westWalk", "garden"), ("garden", "eastWalk"), ("eastWalk", "porch"),
    ("porch", "eastPlotS"), ("eastPlotS", "eastPlotN"),
    ("northPath", "westPlot", 90, 105), ("northPath", "midPlot", 100, 112),
    ("sidePath", "midPlot", 70, 82), ("sidePath", "eastPlotN", 110, 125),
    ("northPath", "crossroads"), ("sidePath", "graveSE"), ("eastPlotN", "graveSE", 60, 80),
    ("crossroads", "graveSW"), ("crossroads", "westLane"), ("crossroads", "tombPlot"),
    ("crossroads", "graveSE"), ("crossroads", "eastLane"), ("crossroads", "graveNE"),
    ("crossroads", "alley"),
    ("graveSW", "westLane"), ("westLane", "tombPlot"), ("graveSW", "westPlot", -75, -55),
    ("graveSE", "eastLane"), ("eastLane", "graveNE"),
    ("alley", "northSquare"), ("graveNE", "crossPlotE"),
    ("crossPlotE", "northSquare", 40, 60),
    ("northSquare", "gateWalk"), ("northSquare", "crossPlotNE"), ("northSquare", "westOrchardB", 350, 370),
    ("gateWalk", "northLaneE"), ("northLaneE", "northLaneW"), ("northLaneW", "westWallN"),
    ("westLane", "farWestLane"), ("farWestLane", "westWallB"), ("farWestLane", "crossPlotSW", -270, -240),
    ("farWestLane", "westGardenA", -280, -250), ("westLane", "westGraves", -150, -120),
    ("crossPlotSW", "westGraves", 140, 160), ("crossPlotSW", "southWestA", -260, -240),
    ("southWestA", "southWestB"), ("southWestA", "westWallS", 75, 95),
    ("westGardenA", "westGardenB"), ("westGardenB", "crossPlotW", 255, 275),
    ("westGardenA", "archWalk", 240, 265), ("westOrchardA", "westOrchardB"),
    ("westOrchardA", "westWallC", 340, 360), ("westGardenB", "westOrchardB", -185, -160),
    ("westWallS", "westWallA"), ("westWallA", "westWallB"), ("westWallB", "archWalk"),
    ("archWalk", "westWallC"), ("westWallC", "westWallN"),
    ("eastLane", "eastLaneA"), ("eastLaneA", "eastLaneB"), ("eastLaneB", "eastWallM"),
    ("eastLaneA", "cryptWest"), ("eastLaneB", "cryptEast"), ("graveNE", "cryptWest", 215, 232),
    ("crossPlotE", "cryptWest", 270, 290), ("cryptWest", "cryptNorth"), ("cryptNorth", "cryptEast"),
    ("cryptNorth", "cryptDoor"), ("cryptDoor", "cryptHall"),
    ("eastLane", "eastMeadowA"), ("graveSE", "eastMeadowA", 150, 170), ("eastMeadowA", "eastMeadowB"),
    ("eastMeadowA", "eastFieldA", 130, 160), ("eastMeadowB", "eastFieldB", 230, 260),
    ("eastFieldA", "eastFieldB"), ("eastMeadowB", "eastWallS", 120, 160),
    ("eastFieldB", "eastWallS", 50, 80), ("eastWallS", "eastWallM"), ("eastWallM", "eastWallN"),
    ("cryptEast", "eastWallM", 260, 300), ("cryptEast", "towerSouth"),
    ("cryptWest", "towerWestA"), ("cryptNorth", "towerWestB", 160, 185),
    ("towerWestA", "towerWestB"), ("towerWestB", "towerNorth"), ("towerWestB", "towerSouth"),
    ("towerNorth", "towerEast"), ("towerSouth", "towerEast"), ("towerNorth", "eastWallN", 420, 450),
    ("crossPlotNE", "towerWestA", 420, 450),
]

# The cells whose rows are known: their draw lists are kept as given.
GIVEN_DRAW_LISTS = {
    19: [3, 4, 2, 0, 1],
    0: [3, 4, 2, 0, 1],
    1: [3, 4, 5, 2, 0],
    20: [0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 22, 18],
    50: [0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 14, 17, 19, 20, 21, 22],
}

WALL_MODEL = {"A": 3, "B": 4, "C": 5, "D": 6, "E": 7, "F": 8, "G": 9}
# Floors: the church, the precinct with the crossroads, and the outer walks carry theirs in their
# wall models.
FLOOR_MODEL = {"A": 3, "B": 4, "C": 10, "D": 11, "E": 12, "F": 13, "G": 9}

LEFT, TOP, RIGHT, BOTTOM = range(4)
SIDE_CORNERS = {LEFT: (0, 2), TOP: (0, 1), RIGHT: (1, 3), BOTTOM: (2, 3)}
OPPOSITE = {LEFT: RIGHT, RIGHT: LEFT, TOP: BOTTOM, BOTTOM: TOP}
EPS = 1e-3


def fail(message):
    sys.exit("levelgen: " + message)


def number_cells():
    fixed = {name: number for name, number, _, _ in CELLS if number is not None}
    free = iter(n for n in range(CELL_COUNT) if n not in fixed.values())
    numbers = {}
    for name, number, _, _ in CELLS:
        numbers[name] = number if number is not None else next(free)
    if len(CELLS) != CELL_COUNT or sorted(numbers.values()) != list(range(CELL_COUNT)):
        fail("need exactly %d cells, have %d" % (CELL_COUNT, len(CELLS)))
    return numbers


def axis(side):
    return 1 if side in (LEFT, RIGHT) else 0   # index into (x, z)


def side_ends(corners, side):
    a, b = SIDE_CORNERS[side]
    return corners[a], corners[b]


def point_line_distance(p, a, b):
    return abs((b[1] - a[1]) * (p[0] - a[0]) - (b[0] - a[0]) * (p[1] - a[1])) / math.hypot(b[0] - a[0], b[1] - a[1])


def shared_span(ca, sa, cb):
    """The stretch of side sa of cell ca that cell cb's opposite side also covers, or None."""
    a1, a2 = side_ends(ca, sa)
    b1, b2 = side_ends(cb, OPPOSITE[sa])
    if point_line_distance(b1, a1, a2) > EPS or point_line_distance(b2, a1, a2) > EPS:
        return None
    k = axis(sa)
    lo = max(min(a1[k], a2[k]), min(b1[k], b2[k]))
    hi = min(max(a1[k], a2[k]), max(b1[k], b2[k]))
    if hi - lo <= EPS:
        return None
    return lo, hi


def check_cell(name, c):
    tl, tr, bl, br = c
    if not (tl[0] < tr[0] and bl[0] < br[0] and tl[1] > bl[1] and tr[1] > br[1]):
        fail("%s: corners out of order" % name)
    ring = [tl, tr, br, bl]
    for i in range(4):
        p, q, r = ring[i], ring[(i + 1) % 4], ring[(i + 2) % 4]
        cross = (q[0] - p[0]) * (r[1] - q[1]) - (q[1] - p[1]) * (r[0] - q[0])
        if cross >= 0:
            fail("%s: not a convex quadrilateral" % name)
    for side in (LEFT, RIGHT):
        a, b = side_ends(c, side)
        if abs(a[0] - b[0]) >= abs(a[1] - b[1]) * 0.6:
            fail("%s: side %d too slanted" % (name, side))
    for side in (TOP, BOTTOM):
        a, b = side_ends(c, side)
        if abs(a[1] - b[1]) >= abs(a[0] - b[0]) * 0.6:
            fail("%s: side %d too slanted" % (name, side))


def build():
    numbers = number_cells()
    corners = {name: c for name, _, _, c in CELLS}
    for name, c in corners.items():
        check_cell(name, c)
    opens = {}
    for entry in OPEN:
        a, b = entry[0], entry[1]
        if a not in corners or b not in corners:
            fail("unknown cell in opening %r" % (entry,))
        span = entry[2:] if len(entry) == 4 else None
        opens[(a, b)] = span
        opens[(b, a)] = span
    used = set()
    sides = {}
    for name, c in corners.items():
        sides[name] = []
        for side in range(4):
            a1, a2 = side_ends(c, side)
            k = axis(side)
            lo, hi = sorted((a1[k], a2[k]))
            pieces = []
            for other, oc in corners.items():
                if other == name:
                    continue
                span = shared_span(c, side, oc)
                if span is None or (name, other) not in opens:
                    continue
                door = opens[(name, other)]
                if door is not None:
                    if not (span[0] - EPS <= door[0] < door[1] <= span[1] + EPS):
                        fail("doorway %s-%s %r outside shared stretch %r" % (name, other, door, span))
                    span = (float(door[0]), float(door[1]))
                pieces.append((span[0], span[1], numbers[other]))
                used.add((name, other))
            pieces.sort()
            segs = []
            at = lo
            for p_lo, p_hi, target in pieces:
                if p_lo < at - EPS:
                    fail("%s side %d: overlapping openings" % (name, side))
                if p_lo > at + EPS:
                    segs.append((at, p_lo, -1))
                segs.append((p_lo, p_hi, target))
                at = p_hi
            if at < hi - EPS:
                segs.append((at, hi, -1))
            if side in (LEFT, RIGHT):
                segs = [(s_hi, s_lo, t) for s_lo, s_hi, t in reversed(segs)]
            if len(segs) > 5:
                fail("%s side %d: %d segments" % (name, side, len(segs)))
            sides[name].append(segs)
    for entry in OPEN:
        if (entry[0], entry[1]) not in used:
            fail("opening %s-%s has no shared stretch" % (entry[0], entry[1]))
    return numbers, corners, sides


def check_overlaps(corners):
    names = list(corners)
    def inside(p, c):
        tl, tr, bl, br = c
        ring = [tl, tr, br, bl]
        for i in range(4):
            q, r = ring[i], ring[(i + 1) % 4]
            if (r[0] - q[0]) * (p[1] - q[1]) - (r[1] - q[1]) * (p[0] - q[0]) > -EPS:
                return False
        return True
    for a in names:
        ca = corners[a]
        cx = sum(p[0] for p in ca) / 4
        cz = sum(p[1] for p in ca) / 4
        probes = [(cx, cz)] + [((p[0] * 3 + cx) / 4, (p[1] * 3 + cz) / 4) for p in ca]
        for b in names:
            if a != b and any(inside(p, corners[b]) for p in probes):
                fail("cells %s and %s overlap" % (a, b))


def reachable(numbers, sides):
    by_number = {numbers[n]: n for n in numbers}
    seen = {19}
    todo = [19]
    while todo:
        cell = todo.pop()
        for segs in sides[by_number[cell]]:
            for _, _, t in segs:
                if t >= 0 and t not in seen:
                    seen.add(t)
                    todo.append(t)
    return seen


def read_draw_lists():
    lists = {}
    if os.path.exists(DRAWLISTS):
        with open(DRAWLISTS) as f:
            for line in f:
                line = line.split("#")[0].strip()
                if line:
                    cell, models = line.split(":")
                    lists[int(cell)] = [int(m) for m in models.split()]
    return lists


def fmt(v):
    text = repr(float(v))
    if "e" not in text and "." not in text:
        text += ".0"
    return text + "f"


def main():
    numbers, corners, sides = build()
    check_overlaps(corners)
    by_number = sorted(numbers, key=lambda n: numbers[n])
    if len(reachable(numbers, sides)) != CELL_COUNT:
        fail("not every cell is reachable from the start cell")
    points = []
    index = {}
    for name in by_number:
        for p in corners[name]:
            key = (round(p[0], 4), round(p[1], 4))
            if key not in index:
                index[key] = len(points)
                points.append(p)
    xs = [p[0] for p in points]
    zs = [p[1] for p in points]
    print("cells %d, points %d, x %.2f..%.2f, z %.2f..%.2f" % (len(by_number), len(points), min(xs), max(xs), min(zs), max(zs)))
    segments = [s for n in by_number for side in sides[n] for s in side]
    walls = sum(1 for s in segments if s[2] < 0)
    print("segments %d: walls %d, openings %d" % (len(segments), walls, len(segments) - walls))
    if len(points) != POINT_COUNT:
        print("WARNING: %d points instead of %d" % (len(points), POINT_COUNT))
    derived = read_draw_lists()
    lists = []
    for name in by_number:
        n = numbers[name]
        region = next(r for nm, _, r, _ in CELLS if nm == name)
        if n in GIVEN_DRAW_LISTS:
            lists.append(GIVEN_DRAW_LISTS[n])
            unlisted = sorted(set(derived.get(n, [])) - set(GIVEN_DRAW_LISTS[n]))
            if unlisted:
                print("cell %d keeps its given draw list; seen from it but not drawn: %s" % (
                    n, " ".join(map(str, unlisted))))
        elif n in derived:
            lists.append(derived[n])
        else:
            own = sorted({0, WALL_MODEL[region], FLOOR_MODEL[region]})
            lists.append(own)
    print("draw-list entries %d (%d..%d per cell)" % (sum(map(len, lists)), min(map(len, lists)), max(map(len, lists))))

    out = []
    w = out.append
    w("// The churchyard's floor plan: corner points, cells with their side lists, draw lists and the")
    w("// models that carry each cell's walls and floor. Generated by tools/levelgen/levelgen.py (the")
    w("// layout) and tools/drawlists (the draw lists); edit the generator, not this file.")
    w('#include "world/LevelContent.h"')
    w("")
    w("const MapPoint kLevelPoints[CLevelMap::kPointCount] = {")
    for i, p in enumerate(points):
        w("    {%s, %s},  // %d" % (fmt(p[0]), fmt(p[1]), i))
    w("};")
    w("")
    w("// Corners TL, TR, BL, BR; segment counts left, top, right, bottom; wall model; floor model.")
    w("const LevelCellData kLevelCells[CLevelMap::kCellCount] = {")
    for name in by_number:
        c = [index[(round(p[0], 4), round(p[1], 4))] for p in corners[name]]
        counts = [len(s) for s in sides[name]]
        region = next(r for nm, _, r, _ in CELLS if nm == name)
        w("    {{%d, %d, %d, %d}, {%d, %d, %d, %d}, %d, %d},  // %d %s" % (
            *c, *counts, WALL_MODEL[region], FLOOR_MODEL[region], numbers[name], name))
    w("};")
    w("")
    w("// Side segments cell by cell, side by side (left, top, right, bottom): from, to, target.")
    w("const SideSegment kLevelSegments[kLevelSegmentCount] = {")
    for name in by_number:
        row = []
        for segs in sides[name]:
            row.extend("{%s, %s, %d}" % (fmt(a), fmt(b), t) for a, b, t in segs)
        w("    // %d %s" % (numbers[name], name))
        for i in range(0, len(row), 3):
            w("    " + ", ".join(row[i:i + 3]) + ",")
    w("};")
    w("")
    w("const std::uint8_t kLevelDrawLists[kLevelDrawListLength] = {")
    for name, lst in zip(by_number, lists):
        w("    " + ", ".join(str(m) for m in lst) + ",  // %d" % numbers[name])
    w("};")
    w("")
    starts = [0]
    for lst in lists:
        starts.append(starts[-1] + len(lst))
    w("const std::uint16_t kLevelDrawListStart[CLevelMap::kCellCount + 1] = {")
    for i in range(0, len(starts), 12):
        w("    " + ", ".join(str(s) for s in starts[i:i + 12]) + ",")
    w("};")
    text = "\n".join(out) + "\n"
    with open(os.path.join(ROOT, "world", "LevelContent.h")) as f:
        htext = f.read()
    import re
    htext = re.sub(r"kLevelSegmentCount = \d+", "kLevelSegmentCount = %d" % len(segments), htext)
    htext = re.sub(r"kLevelDrawListLength = \d+", "kLevelDrawListLength = %d" % starts[-1], htext)
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "world")
    with open(os.path.join(folder, "LevelContent.h"), "w") as f:
        f.write(htext)
    with open(os.path.join(folder, "LevelContent.cpp"), "w") as f:
        f.write(text)


if __name__ == "__main__":
    main()
