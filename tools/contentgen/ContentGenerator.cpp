#include "tools/contentgen/ContentGenerator.h"

#include "tools/contentgen/IntroPicture.h"
#include "tools/contentgen/LevelLayout.h"
#include "tools/contentgen/ModelBuilders.h"
#include "tools/contentgen/ModelSetEntry.h"
#include "tools/contentgen/PlanModels.h"
#include "tools/contentgen/SunShading.h"
#include "tools/contentgen/TextureLibrary.h"
#include "tools/contentgen/XFileWriter.h"
#include "world/CLevelMap.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <opencv2/imgcodecs.hpp>
#include <set>

namespace {

bool WriteBytes(const std::filesystem::path& path, const std::string& bytes, std::string& error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

bool WritePng(const std::filesystem::path& path, const cv::Mat& image, std::string& error)
{
    std::vector<uchar> buffer;
    if (!cv::imencode(".png", image, buffer)) {
        error = "cannot encode " + path.string();
        return false;
    }
    return WriteBytes(path, std::string(buffer.begin(), buffer.end()), error);
}

}  // namespace

std::vector<BuiltModel> BuildModels(const LevelLayout& layout)
{
    std::vector<BuiltModel> models;
    models.push_back({kSkyModel, BuildSkyDome().Result()});
    models.push_back({kBustModel, BuildBust().Result()});
    models.push_back({kChurchModel, BuildChurch(layout).Result()});
    for (int index = kFirstWallModel; index < kFirstFloorModel + kFloorModelCount; ++index)
        models.push_back({index, BuildPlanModel(layout, index).Result()});
    models.push_back({kTombModel, BuildTomb().Result()});
    models.push_back({kGateModel, BuildGate(layout).Result()});
    models.push_back({kFirstCrossModel, BuildCross().Result()});
    models.push_back({kSmallTowerModel, BuildSmallTower(layout).Result()});
    models.push_back({kBigTowerModel, BuildBigTower(layout).Result()});
    models.push_back({kArchModel, BuildArch(layout).Result()});
    models.push_back({kCryptModel, BuildCrypt(layout).Result()});
    return models;
}

std::vector<ContentMesh> PlaceModels(const std::vector<BuiltModel>& models)
{
    std::vector<ContentMesh> placed;
    for (int index = 0; index < kModelCount; ++index) {
        const ModelSetEntry& placement = ModelSet()[index];
        for (const BuiltModel& model : models) {
            const ModelSetEntry& built = ModelSet()[model.index];
            if (built.file != placement.file)
                continue;
            ContentMesh mesh = model.mesh;
            for (ContentVertex& vertex : mesh.vertices)
                vertex.position = placement.ToWorld(built.ToModel(vertex.position));
            placed.push_back(std::move(mesh));
            break;
        }
    }
    return placed;
}

std::vector<std::string> GenerateContent(const std::string& folder, std::string& error)
{
    namespace fs = std::filesystem;
    const fs::path root(folder);
    std::error_code ec;
    fs::create_directories(root / "modelos", ec);
    fs::create_directories(root / "texturas", ec);
    if (ec) {
        error = "cannot create " + folder + ": " + ec.message();
        return {};
    }
    std::vector<std::string> written;
    std::set<std::pair<Surface, int>> used;
    const CLevelMap map;
    const std::vector<BuiltModel> models = BuildModels(LevelLayout(map));
    for (const BuiltModel& model : models) {
        const ModelSetEntry& placement = ModelSet()[model.index];
        const std::string name = "modelos/" + placement.file;
        const std::string meshName = placement.file.substr(0, placement.file.find('.'));
        if (!WriteBytes(root / name, WriteXFile(model.mesh, placement, meshName), error))
            return {};
        written.push_back(name);
        for (const ContentMaterial& material : model.mesh.materials)
            used.insert({material.surface, material.shade});
    }
    std::map<Surface, cv::Mat> bases;
    for (const auto& [surface, level] : used) {
        if (!bases.count(surface))
            bases[surface] = MakeSurfaceTexture(surface);
        const std::string name = "texturas/" + ShadedTextureFile(surface, level);
        if (!WritePng(root / name, ShadeTexture(bases[surface], level), error))
            return {};
        written.push_back(name);
    }
    const cv::Mat intro = MakeIntroPicture(PlaceModels(models), kTitleFontFile);
    if (intro.empty()) {
        error = std::string("cannot read the title font ") + kTitleFontFile;
        return {};
    }
    if (!WritePng(root / "intro", intro, error))
        return {};
    written.push_back("intro");
    std::sort(written.begin(), written.end());
    return written;
}
