// contentgen <folder>: writes the models, textures and intro picture into <folder>
// (the repository keeps its output in data/).
#include "tools/contentgen/ContentGenerator.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: contentgen <folder>\n";
        return 2;
    }
    std::string error;
    const std::vector<std::string> files = GenerateContent(argv[1], error);
    if (files.empty()) {
        std::cerr << "contentgen: " << error << "\n";
        return 1;
    }
    std::cout << "contentgen: wrote " << files.size() << " files into " << argv[1] << "\n";
    return 0;
}
