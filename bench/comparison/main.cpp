// tracker_comparison: our head tracking against OpenCV's KCF and MOSSE trackers, following the
// same face through the same decoded frames of a brumaria-headvideo AVI, all started from the
// same first detection. Prints, as Markdown tables, the time per frame and the face-centre
// error against the video's ground truth.
#include "bench/comparison/GroundTruth.h"
#include "bench/comparison/HeadTrackerFollower.h"
#include "bench/comparison/OpenCvFollowers.h"
#include "bench/comparison/TrackedFaceFollower.h"
#include "tests/support/TemporaryFolder.h"
#include "tracking/FaceDetector.h"

#include <opencv2/videoio.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <time.h>

namespace {

using FollowerFactory = std::function<std::unique_ptr<FaceFollower>()>;

// One pass of a follower over the video.
struct Run {
    cv::Point2d start;  // the centre it started from, in frame 0
    double wallMs = 0.0;  // per frame
    double cpuMs = 0.0;  // per frame, all threads of the process
    std::vector<std::optional<cv::Point2d>> centres;  // frame 1 onwards
};

double NowMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

std::string LoadAverage()
{
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

double Quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return NAN;
    const std::size_t k = static_cast<std::size_t>(std::lround(q * (values.size() - 1)));
    std::nth_element(values.begin(), values.begin() + k, values.end());
    return values[k];
}

double Mean(const std::vector<double>& values)
{
    double sum = 0.0;
    for (double value : values)
        sum += value;
    return values.empty() ? NAN : sum / values.size();
}

bool ReadFrames(const std::string& fileName, std::vector<cv::Mat>& frames)
{
    cv::VideoCapture capture(fileName);
    if (!capture.isOpened())
        return false;
    cv::Mat frame;
    while (capture.read(frame))
        frames.push_back(frame.clone());
    return !frames.empty();
}

Run Follow(FaceFollower& follower, const std::vector<cv::Mat>& frames)
{
    Run run;
    run.centres.reserve(frames.size() - 1);
    const double wallStart = NowMs(CLOCK_MONOTONIC);
    const double cpuStart = NowMs(CLOCK_PROCESS_CPUTIME_ID);
    for (std::size_t i = 1; i < frames.size(); ++i)
        run.centres.push_back(follower.Follow(frames[i]));
    const double followed = static_cast<double>(frames.size() - 1);
    run.wallMs = (NowMs(CLOCK_MONOTONIC) - wallStart) / followed;
    run.cpuMs = (NowMs(CLOCK_PROCESS_CPUTIME_ID) - cpuStart) / followed;
    return run;
}

void Usage()
{
    std::fprintf(stderr,
                 "usage: tracker_comparison VIDEO.avi [TRUTH.csv] [--repetitions N]\n"
                 "  VIDEO and TRUTH as brumaria-headvideo writes them (TRUTH defaults to VIDEO\n"
                 "  with .csv). Each repetition runs every tracker over all frames; times are the\n"
                 "  median over the repetitions.\n");
}

}  // namespace

int main(int argc, char** argv)
{
    std::string videoFile, truthFile;
    int repetitions = 5;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--repetitions") == 0 && i + 1 < argc) {
            repetitions = std::atoi(argv[++i]);
        } else if (argv[i][0] != '-' && videoFile.empty()) {
            videoFile = argv[i];
        } else if (argv[i][0] != '-' && truthFile.empty()) {
            truthFile = argv[i];
        } else {
            Usage();
            return 2;
        }
    }
    if (videoFile.empty() || repetitions < 1) {
        Usage();
        return 2;
    }
    if (truthFile.empty())
        truthFile = videoFile.substr(0, videoFile.rfind('.')) + ".csv";

    std::string error;
    const std::optional<std::vector<TruthFrame>> truth = ReadGroundTruth(truthFile, error);
    if (!truth) {
        std::fprintf(stderr, "tracker_comparison: %s\n", error.c_str());
        return 1;
    }
    std::vector<cv::Mat> frames;
    if (!ReadFrames(videoFile, frames) || frames.size() != truth->size() || frames.size() < 2) {
        std::fprintf(stderr, "tracker_comparison: %s does not have the %zu frames of %s\n", videoFile.c_str(),
                     truth->size(), truthFile.c_str());
        return 1;
    }

    // The first detection, as the tracker makes it: normal mode, the face it is surest of.
    FaceDetector detector;
    const std::vector<cv::Rect>& faces = detector.Detect(frames[0], false);
    if (faces.empty()) {
        std::fprintf(stderr, "tracker_comparison: no face in the first frame\n");
        return 1;
    }
    const cv::Rect found = faces[0];
    const int scale = FaceDetector::Scale(false);

    // The tracker reads and writes its files in the working directory.
    TemporaryFolder folder;
    const std::vector<FollowerFactory> contenders{
        [] { return std::make_unique<HeadTrackerFollower>(); },
        [] { return std::make_unique<TrackedFaceFollower>(); },
        [] { return std::make_unique<KcfFollower>(); },
        [] { return std::make_unique<MosseFollower>(); },
    };
    const std::size_t count = contenders.size();
    std::vector<std::string> names;
    for (const FollowerFactory& make : contenders)
        names.push_back(make()->Name());

    const std::string loadBefore = LoadAverage();
    std::vector<std::vector<Run>> runs(count);
    for (int repetition = 0; repetition < repetitions; ++repetition) {
        // Each repetition starts with another contender, so that a change of machine load
        // does not always fall on the same one.
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t c = (k + repetition) % count;
            std::unique_ptr<FaceFollower> follower = contenders[c]();
            const std::optional<cv::Point2d> start = follower->Start(frames[0], found, scale);
            if (!start) {
                std::fprintf(stderr, "tracker_comparison: %s cannot start on the first detection\n", names[c].c_str());
                return 1;
            }
            runs[c].push_back(Follow(*follower, frames));
            runs[c].back().start = *start;
        }
    }
    const std::string loadAfter = LoadAverage();

    const cv::Rect box(found.x * scale, found.y * scale, found.width * scale, found.height * scale);
    const cv::Point2d boxCentre(box.x + box.width / 2.0, box.y + box.height / 2.0);
    std::printf("Video %s: %zu frames of %dx%d; %d repetitions; load average %s before, %s after.\n", videoFile.c_str(),
                frames.size(), frames[0].cols, frames[0].rows, repetitions, loadBefore.c_str(), loadAfter.c_str());
    std::printf("First detection (normal mode) in frame 0: x %d, y %d, %d x %d; its centre is %.1f px from the "
                "true face centre.\n",
                box.x, box.y, box.width, box.height, cv::norm(boxCentre - (*truth)[0].centre));
    std::printf("Times per frame over frames 1 to %zu: median of the repetitions' means (wall clock; CPU of all "
                "threads). Errors: distance of the face centre from the ground truth, over the frames each "
                "tracker reports as followed; motion error: distance of the centre's way from frame 0 from the "
                "true way, which leaves out where the detection put the face.\n\n",
                frames.size() - 1);

    std::vector<double> medianWall(count), medianCpu(count);
    std::vector<std::vector<double>> errors(count), motionErrors(count);
    std::vector<std::map<std::string, std::vector<double>>> segmentErrors(count);
    std::vector<std::string> segments;
    for (std::size_t c = 0; c < count; ++c) {
        std::vector<double> wall, cpu;
        for (const Run& run : runs[c]) {
            wall.push_back(run.wallMs);
            cpu.push_back(run.cpuMs);
            if (run.centres != runs[c][0].centres)
                std::printf("Note: %s followed differently in another repetition; errors are from the first.\n",
                            names[c].c_str());
        }
        medianWall[c] = Quantile(wall, 0.5);
        medianCpu[c] = Quantile(cpu, 0.5);
        const std::vector<std::optional<cv::Point2d>>& centres = runs[c][0].centres;
        for (std::size_t i = 0; i < centres.size(); ++i) {
            const TruthFrame& expected = (*truth)[i + 1];
            if (std::find(segments.begin(), segments.end(), expected.segment) == segments.end())
                segments.push_back(expected.segment);
            if (!centres[i])
                continue;
            const double distance = cv::norm(*centres[i] - expected.centre);
            errors[c].push_back(distance);
            motionErrors[c].push_back(
                cv::norm((*centres[i] - runs[c][0].start) - (expected.centre - (*truth)[0].centre)));
            segmentErrors[c][expected.segment].push_back(distance);
        }
    }

    std::printf("| Tracker | ms per frame | CPU ms per frame | time ÷ our step | followed frames | mean error px | "
                "median | 95th percentile | max | mean motion error px | mean error ÷ ours |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|\n");
    const double ourMeanError = Mean(errors[0]);
    for (std::size_t c = 0; c < count; ++c) {
        std::printf("| %s | %.3f | %.3f | %.2f | %zu / %zu | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f |\n",
                    names[c].c_str(), medianWall[c], medianCpu[c], medianWall[c] / medianWall[0], errors[c].size(),
                    frames.size() - 1, Mean(errors[c]), Quantile(errors[c], 0.5), Quantile(errors[c], 0.95),
                    errors[c].empty() ? NAN : *std::max_element(errors[c].begin(), errors[c].end()),
                    Mean(motionErrors[c]), Mean(errors[c]) / ourMeanError);
    }

    std::printf("\nMean face-centre error (px) by movement of the script:\n\n| Movement |");
    for (const std::string& name : names)
        std::printf(" %s |", name.c_str());
    std::printf("\n|---|");
    for (std::size_t c = 0; c < count; ++c)
        std::printf("---|");
    std::printf("\n");
    for (const std::string& segment : segments) {
        std::printf("| %s |", segment.c_str());
        for (std::size_t c = 0; c < count; ++c)
            std::printf(" %.2f |", Mean(segmentErrors[c][segment]));
        std::printf("\n");
    }
    std::printf("\nWall-clock ms per frame of each repetition:\n");
    for (std::size_t c = 0; c < count; ++c) {
        std::printf("  %-22s", names[c].c_str());
        for (const Run& run : runs[c])
            std::printf(" %.3f", run.wallMs);
        std::printf("\n");
    }
    return 0;
}
