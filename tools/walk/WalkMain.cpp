// walk [move...]: walks the churchyard from the command line. Each move is one step of the
// keyboard; after each step the eye's x and z and the current cell are printed. Moves come from
// the arguments or, without arguments, from standard input (whitespace separated, '#' starts a
// comment). A move may carry a repeat count, as in "f10".
//
//   f / b   walk forward / back 1.0        l / r   turn left / right 0.05
//   L / R   side-step left / right 0.1     u / d   look up / down 0.05
//   h / e   rise / descend 0.1             7 / 9   roll the view -0.1 / +0.1
//   0       back to the start (camera and current cell)
//
// Sound plays through OpenAL ("snd/andar.snd" and "snd/golpe.snd" from the working directory);
// when the device or the clips are missing the walk goes on silently.
#include "sound/SoundPlugin.h"
#include "world/CCamera.h"
#include "world/CLevelMap.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

namespace {

// One move on the camera; false for an unknown move.
bool Step(char move, CCamera& camera, CLevelMap& map)
{
    switch (move) {
    case 'f': camera.WalkForward(map, 1.0f); break;
    case 'b': camera.WalkBackward(map, 1.0f); break;
    case 'l': camera.TurnLeft(0.05f); break;
    case 'r': camera.TurnRight(0.05f); break;
    case 'L': camera.StrafeLeft(map, 0.1f); break;
    case 'R': camera.StrafeRight(map, 0.1f); break;
    case 'u': camera.LookUp(0.05f); break;
    case 'd': camera.LookDown(0.05f); break;
    case 'h': camera.Rise(0.1f); break;
    case 'e': camera.Descend(0.1f); break;
    case '7': camera.RotateZNegative(0.1f); break;
    case '9': camera.RotateZPositive(0.1f); break;
    case '0':
        camera.Reset();
        map.ResetCell();
        break;
    default: return false;
    }
    return true;
}

// Runs one word of moves ("f", "f10", "lll"); false on a word it cannot read.
bool RunWord(const std::string& word, CCamera& camera, CLevelMap& map)
{
    std::size_t i = 0;
    while (i < word.size()) {
        const char move = word[i++];
        int count = 1;
        if (i < word.size() && word[i] >= '1' && word[i] <= '9' && move != '7' && move != '9' && move != '0') {
            std::size_t used = 0;
            count = std::stoi(word.substr(i), &used);
            i += used;
        }
        for (int n = 0; n < count; ++n) {
            if (!Step(move, camera, map)) {
                std::fprintf(stderr, "walk: unknown move '%c'\n", move);
                return false;
            }
            std::printf("%.3f %.3f %d\n", camera.Eye().x, camera.Eye().z, map.GetCurrentCell());
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::unique_ptr<SoundPlugin> sound = std::make_unique<SoundPlugin>();
    if (!sound->Init(22050, 2, 6) || !sound->LoadClips()) {
        std::fprintf(stderr, "walk: no sound, walking on silently\n");
        sound.reset();
    }
    CLevelMap map;
    CCamera camera;
    std::printf("%.3f %.3f %d\n", camera.Eye().x, camera.Eye().z, map.GetCurrentCell());

    bool ok = true;
    if (argc > 1) {
        for (int i = 1; i < argc && ok; ++i)
            ok = RunWord(argv[i], camera, map);
    } else {
        std::string line;
        while (ok && std::getline(std::cin, line)) {
            line = line.substr(0, line.find('#'));
            std::size_t at = 0;
            while (ok && (at = line.find_first_not_of(" \t\r", at)) != std::string::npos) {
                const std::size_t end = line.find_first_of(" \t\r", at);
                ok = RunWord(line.substr(at, end - at), camera, map);
                at = end;
            }
            std::fflush(stdout);
        }
    }
    // Let the last clip finish.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (sound && (sound->IsPlaying(WalkClip) || sound->IsPlaying(HitClip)) &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ok ? 0 : 1;
}
