// The real game with slow drawing: every frame sleeps the milliseconds given as the first
// argument after it is drawn, as a slow machine would take them. Key repeat is ignored, so
// a held up arrow chains steps the same way on every run. When a stage is won it writes the
// clock to standard output: "won: <seconds left> left of <limit> after <steps> steps", and
// "paused" whenever a pause begins. The game's own options may follow the milliseconds
// (--replay FILE).
#include "app/Application.h"
#include "app/LaunchOptions.h"
#include "media/ofAppGlutWindow.h"
#include "media/ofAppRunner.h"
#include "media/ofUtils.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

class SlowGame : public Application {
public:
    SlowGame(int drawMillis, const LaunchOptions& launch) : Application(launch), drawMillis(drawMillis) {}

    void setup() override
    {
        Application::setup();
        glutIgnoreKeyRepeat(1);
    }

    void update() override
    {
        Application::update();
        if (player.stageWon && !reported) {
            std::printf("won: %.3f left of %.3f after %d steps\n", timeLeft, timeLimit, finishStep);
            std::fflush(stdout);
        }
        reported = player.stageWon;
        if (paused && !pauseReported) {
            std::printf("paused\n");
            std::fflush(stdout);
        }
        pauseReported = paused;
    }

    void draw() override
    {
        Application::draw();
        ofSleepMillis(drawMillis);
    }

private:
    int drawMillis;
    bool reported = false;
    bool pauseReported = false;
};

} // namespace

int main(int argc, char** argv)
{
    const int drawMillis = argc > 1 ? std::atoi(argv[1]) : 0;
    std::vector<const char*> gameArgs{argv[0]};
    for (int i = 2; i < argc; ++i) {
        gameArgs.push_back(argv[i]);
    }
    LaunchOptions launch;
    const int status = readLaunchOptions(static_cast<int>(gameArgs.size()), gameArgs.data(), launch);
    if (status >= 0) {
        return status;
    }
    ofAppGlutWindow window;
    ofSetupOpenGL(&window, 800, 600, 1);
    ofRunApp(new SlowGame(drawMillis, launch));
    return 0;
}
