#include "tools/contentgen/WallStyle.h"

const WallStyle& ChurchyardWallStyle()
{
    static const WallStyle style{Surface::MossyWall, 6.0f, 5.0f, true};
    return style;
}

const BuildingZone& ChurchZone()
{
    static const BuildingZone zone{{-53.0f, -50.5f}, {53.0f, 3.5f}, {Surface::Stone, 16.0f, kChurchStoneTile, false}};
    return zone;
}

const BuildingZone& CryptZone()
{
    static const BuildingZone zone{{146.0f, 210.0f}, {184.0f, 250.5f}, {Surface::Stone, 9.0f, 4.0f, false}};
    return zone;
}

const BuildingZone& SquareTowerZone()
{
    static const BuildingZone zone{{224.5f, 370.5f}, {261.5f, 409.5f}, {Surface::Stone, 30.0f, 4.0f, false}};
    return zone;
}

const BuildingZone& GateZone()
{
    static const BuildingZone zone{{-99.0f, 470.0f}, {-91.0f, 474.0f}, {Surface::Stone, 0.0f, 4.0f, false}};
    return zone;
}

const std::vector<BuildingZone>& BuildingZones()
{
    static const std::vector<BuildingZone> kZones = {ChurchZone(), CryptZone(), SquareTowerZone(), GateZone()};
    return kZones;
}
