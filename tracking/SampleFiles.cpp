#include "tracking/SampleFiles.h"

#include "platform/ContentPath.h"

namespace {

// In table order: position excesses first, then the turns.
struct SampleFileText {
    const char* name;
    const char* header;
    const char* closing;
};

constexpr SampleFileText kFileTexts[] = {
    {"muestrasPosX.m", "movX =[0", "movX = [(1:columns(movX)); movX]'"},
    {"muestrasPosY.m", "movY =[0", "movY = [(1:columns(movY)); movY]'"},
    {"muestrasPosZ.m", "movZ =[0", "movZ = [(1:columns(movZ)); movZ]'"},
    {"muestrasGiroX.m", "giroX =[0", "giroX = [(1:columns(giroX)); giroX]'"},
    {"muestrasGiroY.m", "giroY =[0", "giroY = [(1:columns(giroY)); giroY]'"},
    {"muestrasGiroZ.m", "giroZ =[0", "giroZ = [(1:columns(giroZ)); giroZ]'"},
};

enum FileIndex { PosX, PosY, PosZ, GiroX, GiroY, GiroZ };

}

SampleFiles::~SampleFiles()
{
    Close();
}

bool SampleFiles::Open()
{
    Close();
    std::FILE* files[kFileCount] = {};
    for (int i = 0; i < kFileCount; ++i) {
        files[i] = std::fopen(WritablePath(kFileTexts[i].name).c_str(), "w+");
        if (files[i] == nullptr) {
            for (int j = 0; j < i; ++j)
                std::fclose(files[j]);
            return false;
        }
    }
    for (int i = 0; i < kFileCount; ++i) {
        m_files[i] = files[i];
        std::fputs(kFileTexts[i].header, m_files[i]);
    }
    return true;
}

void SampleFiles::Append(const SampleValues& values)
{
    if (!IsOpen())
        return;
    // Turns first, then positions: the order the values are logged in.
    std::fprintf(m_files[GiroX], ",%d", static_cast<int>(values.giroX));
    std::fprintf(m_files[GiroY], ",%d", static_cast<int>(values.giroY));
    std::fprintf(m_files[GiroZ], ",%d", static_cast<int>(values.giroZ));
    std::fprintf(m_files[PosX], ",%d", static_cast<int>(values.movX));
    std::fprintf(m_files[PosY], ",%d", static_cast<int>(values.movY));
    std::fprintf(m_files[PosZ], ",%d", static_cast<int>(values.movZ));
}

void SampleFiles::Close()
{
    if (!IsOpen())
        return;
    for (int i = 0; i < kFileCount; ++i) {
        std::fputs("]\n", m_files[i]);
        std::fputs(kFileTexts[i].closing, m_files[i]);
    }
    for (std::FILE*& file : m_files) {
        std::fclose(file);
        file = nullptr;
    }
}
