#include "bench/comparison/GroundTruth.h"

#include <fstream>
#include <sstream>

std::optional<std::vector<TruthFrame>> ReadGroundTruth(const std::string& fileName, std::string& error)
{
    std::ifstream file(fileName);
    std::string line;
    if (!file || !std::getline(file, line) || line.rfind("frame,segment,centre_x,centre_y", 0) != 0) {
        error = "cannot read the ground truth " + fileName;
        return std::nullopt;
    }
    std::vector<TruthFrame> frames;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string frame, segment, x, y, width, roll;
        TruthFrame truth;
        try {
            if (!std::getline(fields, frame, ',') || std::stoi(frame) != static_cast<int>(frames.size()) ||
                !std::getline(fields, truth.segment, ',') || !std::getline(fields, x, ',') ||
                !std::getline(fields, y, ',') || !std::getline(fields, width, ',') || !std::getline(fields, roll))
                throw std::invalid_argument(line);
            truth.centre = {std::stod(x), std::stod(y)};
            truth.faceWidth = std::stod(width);
            truth.rollDegrees = std::stod(roll);
        } catch (const std::exception&) {
            error = fileName + ": bad line \"" + line + "\"";
            return std::nullopt;
        }
        frames.push_back(truth);
    }
    return frames;
}
