#include "DataFiles.h"

#include "level/StageFile.h"
#include "support/TestSupport.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace datafiles {

namespace fs = std::filesystem;

fs::path dataDir()
{
    return testsupport::sourceDir() / "data";
}

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> stageFiles()
{
    std::vector<std::string> files;
    for (int n = 1;; ++n) {
        std::string name = "levels/level" + std::to_string(n) + ".txt";
        if (!fs::exists(dataDir() / name)) {
            break;
        }
        files.push_back(name);
    }
    return files;
}

std::vector<std::string> stageTextures(const std::string& stageFile)
{
    std::ifstream in(dataDir() / stageFile);
    StageFile stage;
    readStageFile(in, stageFile, stage);
    if (stage.faceTexture.empty() || stage.skyTexture.empty()) {
        return {};
    }
    return {"levels/levelTextures/" + stage.faceTexture, "levels/levelTextures/" + stage.skyTexture};
}

std::vector<std::string> filesTheGameOpens()
{
    std::vector<std::string> files = {
        "comic_reg.ttf", "comic_italic.ttf",
        "techno.wav", "bounce.wav", "bonus.wav", "key.wav", "win.wav", "lose.wav",
        "soccer.png", "die/die.3ds", "coin/coin.3ds", "target/target.3ds",
    };
    for (const std::string& stage : stageFiles()) {
        files.push_back(stage);
        for (const std::string& texture : stageTextures(stage)) {
            files.push_back(texture);
        }
    }
    return files;
}

double Picture::luminance(int x, int y) const
{
    const unsigned char* p = at(x, y);
    return 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2];
}

bool loadPicture(const fs::path& file, Picture& picture)
{
    static bool started = false;
    if (!started) {
        FreeImage_Initialise(FALSE);
        started = true;
    }
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(file.c_str(), 0);
    FIBITMAP* bitmap = format == FIF_UNKNOWN ? nullptr : FreeImage_Load(format, file.c_str(), 0);
    if (bitmap == nullptr) {
        ADD_FAILURE() << "FreeImage cannot read " << file;
        return false;
    }
    picture.width = static_cast<int>(FreeImage_GetWidth(bitmap));
    picture.height = static_cast<int>(FreeImage_GetHeight(bitmap));
    picture.bitsPerPixel = static_cast<int>(FreeImage_GetBPP(bitmap));
    FIBITMAP* rgb = FreeImage_ConvertTo24Bits(bitmap);
    picture.rgb.assign(static_cast<size_t>(picture.width) * picture.height * 3, 0);
    FreeImage_ConvertToRawBits(picture.rgb.data(), rgb, picture.width * 3, 24,
                               FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, TRUE);
    // FreeImage's raw bits are blue, green, red on this platform.
    for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
        std::swap(picture.rgb[i], picture.rgb[i + 2]);
    }
    FreeImage_Unload(rgb);
    FreeImage_Unload(bitmap);
    return true;
}

double columnDifference(const Picture& p, int a, int b)
{
    double sum = 0.0;
    for (int y = 0; y < p.height; ++y) {
        for (int c = 0; c < 3; ++c) {
            sum += std::abs(int(p.at(a, y)[c]) - int(p.at(b, y)[c]));
        }
    }
    return sum / (3.0 * p.height);
}

double rowDifference(const Picture& p, int a, int b)
{
    double sum = 0.0;
    for (int x = 0; x < p.width; ++x) {
        for (int c = 0; c < 3; ++c) {
            sum += std::abs(int(p.at(x, a)[c]) - int(p.at(x, b)[c]));
        }
    }
    return sum / (3.0 * p.width);
}

double typicalColumnStep(const Picture& p)
{
    double sum = 0.0;
    for (int x = 0; x + 1 < p.width; ++x) {
        sum += columnDifference(p, x, x + 1);
    }
    return sum / (p.width - 1);
}

double typicalRowStep(const Picture& p)
{
    double sum = 0.0;
    for (int y = 0; y + 1 < p.height; ++y) {
        sum += rowDifference(p, y, y + 1);
    }
    return sum / (p.height - 1);
}

} // namespace datafiles
