#include "tools/contentgen/ModelSetEntry.h"

#include "world/ModelSet.h"

const std::vector<ModelSetEntry>& ModelSet()
{
    static const std::vector<ModelSetEntry> kModels = [] {
        std::vector<ModelSetEntry> entries;
        for (const ModelPlacement& placement : kModelSet) {
            const std::string path = placement.file;
            entries.push_back({path.substr(path.find_last_of('\\') + 1), placement.scale, placement.translation});
        }
        return entries;
    }();
    return kModels;
}
