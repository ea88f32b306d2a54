#include "tools/contentgen/ModelSetEntry.h"

const std::vector<ModelSetEntry>& ModelSet()
{
    static const std::vector<ModelSetEntry> models = {
        {"cielo.x", 1.0f, {0.0f, -170.0f, 0.0f}},
        {"busto.x", 5.0f, {-20.0f, -2.5f, -62.0f}},
        {"iglesia.x", 0.03f, {19.0f, -2.5f, -8.0f}},
        {"paredesA.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"paredesB.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"paredesC.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"paredesD.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"paredesE.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"paredesF.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"paredesG.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"sueloC.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"sueloD.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"sueloE.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"sueloF.x", 0.5f, {-1.0f, -2.5f, 1.0f}},
        {"tumba1.x", 2.0f, {-95.0f, 12.0f, 225.0f}},
        {"puerta.x", 0.07f, {-95.0f, -3.0f, 470.0f}},
        {"cruz.x", 0.2f, {-114.0f, 0.0f, 299.0f}},
        {"cruz.x", 0.2f, {72.0f, 0.0f, 432.0f}},
        {"cruz.x", 0.2f, {-227.0f, 0.0f, 155.0f}},
        {"torre2.x", 0.1f, {243.0f, -2.0f, 390.0f}},
        {"torre.x", 13.0f, {-291.0f, -3.0f, 478.0f}},
        {"arco.x", 6.0f, {-323.0f, -3.0f, 252.0f}},
        {"cripta.x", 0.1f, {165.0f, -2.0f, 230.0f}},
    };
    return models;
}
