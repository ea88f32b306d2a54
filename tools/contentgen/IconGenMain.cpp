// icongen <folder>: writes the program's icon as <folder>/hicolor/<N>x<N>/apps/brumaria.png for
// every size of IconPicture (the repository keeps its output in packaging/icons).
#include "tools/contentgen/ContentGenerator.h"
#include "tools/contentgen/IconPicture.h"
#include "tools/contentgen/LevelLayout.h"
#include "world/CLevelMap.h"

#include <filesystem>
#include <iostream>
#include <opencv2/imgcodecs.hpp>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: icongen <folder>\n";
        return 2;
    }
    const CLevelMap map;
    const IconPicture icon(PlaceModels(BuildModels(LevelLayout(map))));
    for (const int size : IconPicture::Sizes()) {
        const std::string side = std::to_string(size);
        const std::filesystem::path folder = std::filesystem::path(argv[1]) / "hicolor" / (side + "x" + side) / "apps";
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error || !cv::imwrite((folder / "brumaria.png").string(), icon.Picture(size))) {
            std::cerr << "icongen: cannot write " << (folder / "brumaria.png").string() << "\n";
            return 1;
        }
    }
    std::cout << "icongen: wrote " << IconPicture::Sizes().size() << " icons into " << argv[1] << "\n";
    return 0;
}
