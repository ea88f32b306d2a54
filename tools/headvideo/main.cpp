// brumaria-headvideo: makes a head-motion test video from a face photo.
#include "tools/headvideo/HeadVideoWriter.h"
#include "tools/headvideo/MotionScript.h"
#include "tracking/FaceDetector.h"

#include <opencv2/imgcodecs.hpp>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

void Usage()
{
    std::fprintf(stderr,
                 "usage: brumaria-headvideo PHOTO VIDEO.avi [--script MOVES] [--truth FILE] "
                 "[--face X,Y,W,H] [--codec FOURCC]\n"
                 "  MOVES: comma-separated still, left, right, up, down, nearer, farther,\n"
                 "         roll-cw, roll-ccw, each optionally NAME:AMOUNT (default \"%s\")\n"
                 "  FILE:  ground truth, one line per frame (default VIDEO with .csv)\n"
                 "  X,Y,W,H: the face in the photo (default: found by the face detector)\n"
                 "  FOURCC: the video codec, e.g. MJPG (default) or H264 (much smaller files)\n",
                 MotionScript::kStandard);
}

bool ParseFace(const char* text, cv::Rect& face)
{
    char end = 0;
    return std::sscanf(text, "%d,%d,%d,%d%c", &face.x, &face.y, &face.width, &face.height, &end) == 4 &&
        face.width > 0 && face.height > 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        Usage();
        return 2;
    }
    const std::string photoFile = argv[1];
    const std::string videoFile = argv[2];
    std::string scriptText = MotionScript::kStandard;
    std::string truthFile = videoFile.substr(0, videoFile.rfind('.')) + ".csv";
    cv::Rect face;
    HeadVideoSettings settings;
    for (int i = 3; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--script") == 0 && hasValue) {
            scriptText = argv[++i];
        } else if (std::strcmp(argv[i], "--truth") == 0 && hasValue) {
            truthFile = argv[++i];
        } else if (std::strcmp(argv[i], "--face") == 0 && hasValue) {
            if (!ParseFace(argv[++i], face)) {
                std::fprintf(stderr, "brumaria-headvideo: bad face rectangle \"%s\"\n", argv[i]);
                return 2;
            }
        } else if (std::strcmp(argv[i], "--codec") == 0 && hasValue) {
            settings.codec = argv[++i];
        } else {
            Usage();
            return 2;
        }
    }

    std::string error;
    const std::optional<MotionScript> script = MotionScript::Parse(scriptText, error);
    if (!script) {
        std::fprintf(stderr, "brumaria-headvideo: %s\n", error.c_str());
        return 2;
    }
    const cv::Mat photo = cv::imread(photoFile, cv::IMREAD_COLOR);
    if (photo.empty()) {
        std::fprintf(stderr, "brumaria-headvideo: cannot read %s\n", photoFile.c_str());
        return 1;
    }
    if (face.empty()) {
        FaceDetector detector;
        const std::vector<cv::Rect>& found = detector.Detect(photo, true);
        if (found.empty()) {
            std::fprintf(stderr, "brumaria-headvideo: no face found in %s; give --face\n", photoFile.c_str());
            return 1;
        }
        face = found[0];
    }
    if (!HeadVideoWriter(photo, face, settings).Write(*script, videoFile, truthFile, error)) {
        std::fprintf(stderr, "brumaria-headvideo: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s: %d frames; ground truth in %s\n", videoFile.c_str(), script->Frames(), truthFile.c_str());
    return 0;
}
