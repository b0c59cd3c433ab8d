#include "CheckerRun.h"

#include "support/ChildProcess.h"

#include <sstream>

namespace {

constexpr int CHECKER_TIMEOUT_MS = 300000;

std::string pointLine(const Vec3& p)
{
    std::ostringstream line;
    line << p.x << " " << p.y << " " << p.z << "\n";
    return line.str();
}

} // namespace

CheckerRun runChecker(const std::vector<std::string>& args, const std::filesystem::path& workDir)
{
    CheckerRun run;
    // A display that does not exist: the checker must not need one.
    testsupport::ChildProcess child(testsupport::binaryDir() / "stagecheck", args, workDir, {"DISPLAY=:9999"});
    if (!child.started()) {
        return run;
    }
    std::optional<int> status = child.wait(CHECKER_TIMEOUT_MS);
    run.status = status.value_or(-1);
    run.output = child.output();
    return run;
}

std::string StageText::text() const
{
    std::string t = face + "\n" + sky + "\n" + fallRadius + "\n" + timeLimit + "\n" + pointLine(start) + pointLine(target);
    for (const std::vector<Vec3>* list : {&dice, &coins, &cubes}) {
        t += std::to_string(list->size()) + "\n";
        for (const Vec3& p : *list) {
            t += pointLine(p);
        }
    }
    return t + message + "\n";
}

std::vector<Vec3> rowOfCubes(int length)
{
    std::vector<Vec3> cubes;
    for (int i = 0; i < length; ++i) {
        cubes.emplace_back(0.0f, 2.0f * static_cast<float>(i), 0.0f);
    }
    return cubes;
}

std::filesystem::path StageFolder::write(const std::string& name, const std::string& text) const
{
    // Real pictures, so that the game's Level loads this folder's stages without a complaint.
    const std::filesystem::path textures = testsupport::sourceDir() / "data" / "levels" / "levelTextures";
    const std::filesystem::path here = dir.path() / "data" / "levels" / "levelTextures";
    std::filesystem::create_directories(here);
    std::filesystem::copy_file(textures / "face_blue_tiles.png", here / "face.png",
                               std::filesystem::copy_options::skip_existing);
    std::filesystem::copy_file(textures / "sky_dusk.png", here / "sky.png", std::filesystem::copy_options::skip_existing);
    std::filesystem::copy_file(testsupport::sourceDir() / "data" / "soccer.png", dir.path() / "data" / "soccer.png",
                               std::filesystem::copy_options::skip_existing);
    return dir.write("data/levels/" + name, text);
}

std::vector<std::string> linesWith(const std::string& output, const std::string& part)
{
    std::vector<std::string> lines;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        if (line.find(part) != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}
