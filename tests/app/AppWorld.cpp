#include "AppWorld.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace apptest {

namespace fs = std::filesystem;

namespace {

void writePoint(std::ostringstream& out, const Point& p)
{
    out << p.x << " " << p.y << " " << p.z << "\n";
}

void writePoints(std::ostringstream& out, const std::vector<Point>& points)
{
    out << points.size() << "\n";
    for (const Point& p : points) {
        writePoint(out, p);
    }
}

} // namespace

std::string Stage::text() const
{
    std::ostringstream out;
    out << "face.png\nface.png\n" << fallRadius << "\n" << timeLimit << "\n";
    writePoint(out, start);
    writePoint(out, target);
    writePoints(out, dice);
    writePoints(out, coins);
    writePoints(out, cubes);
    out << message << "\n";
    return out.str();
}

int shippedStageCount()
{
    const fs::path folder = testsupport::sourceDir() / "data" / "levels";
    int n = 0;
    while (fs::is_regular_file(folder / ("level" + std::to_string(n + 1) + ".txt"))) {
        ++n;
    }
    return n;
}

Stage rowStage()
{
    Stage stage;
    stage.cubes = {{0, 0, 0}, {0, 2, 0}, {0, 4, 0}};
    stage.coins = {{0, 1, 1.5f}};
    stage.dice = {{0, 2, 1.5f}};
    return stage;
}

AppWorld::AppWorld()
{
    testsupport::ensureGlContext();
    const fs::path from = testsupport::sourceDir() / "data";
    const fs::path to = scratch.path() / "data";
    testsupport::copyGameAssets(to);
    fs::copy_file(from / "levels" / "levelTextures" / "face_green_checker.png", to / "levels" / "levelTextures" / "face.png");
    workingDir = std::make_unique<testsupport::WorkingDir>(scratch.path());
}

AppWorld::~AppWorld()
{
    app.reset();
    workingDir.reset();
}

void AppWorld::writeStage(int number, const Stage& stage) const
{
    writeFile("data/levels/level" + std::to_string(number) + ".txt", stage.text());
}

void AppWorld::copyShippedStages(bool withPictures) const
{
    const fs::path from = testsupport::sourceDir() / "data" / "levels";
    const fs::path to = scratch.path() / "data" / "levels";
    if (withPictures) {
        fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        return;
    }
    for (const auto& entry : fs::directory_iterator(from)) {
        if (entry.is_regular_file()) {
            fs::copy_file(entry.path(), to / entry.path().filename(), fs::copy_options::overwrite_existing);
        }
    }
    fs::remove(scratch.path() / "data" / "soccer.png");
}

void AppWorld::writeFile(const std::string& relative, const std::string& text) const
{
    scratch.write(relative, text);
}

bool AppWorld::exists(const std::string& relative) const
{
    return fs::exists(scratch.path() / relative);
}

std::string AppWorld::read(const std::string& relative) const
{
    std::ifstream in(scratch.path() / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Application& AppWorld::start()
{
    app = std::make_unique<Application>();
    // Test programs share one X server and take turns at its focus: none of them is left.
    app->pauseWhenUnfocused = false;
    app->setup();
    app->update();
    return *app;
}

void AppWorld::frame()
{
    app->update();
    app->draw();
}

void AppWorld::frames(int n)
{
    for (int i = 0; i < n; ++i) {
        frame();
    }
}

void AppWorld::tap(int key)
{
    app->keyPressed(key);
    app->keyReleased(key);
}

void AppWorld::chooseContinue()
{
    frame();
    tap(Application::KEY_ENTER);
    frame();
}

bool AppWorld::winRowStage()
{
    for (int step = 0; step < 2 && !app->player.stageWon; ++step) {
        if (!framesUntil([&] { return app->player.enableMovement || app->player.stageWon; })) {
            return false;
        }
        if (!app->player.stageWon) {
            tap(Application::KEY_UP);
        }
    }
    return framesUntil([&] { return app->player.stageWon; });
}

bool AppWorld::winRowStageBeforeDraw()
{
    for (int i = 0; i < 400; ++i) {
        if (app->player.enableMovement) {
            tap(Application::KEY_UP);
        }
        app->update();
        if (app->player.stageWon) {
            return true;
        }
        app->draw();
    }
    return false;
}

} // namespace apptest
