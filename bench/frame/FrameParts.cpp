#include "FrameParts.h"

#include "app/Application.h"
#include "level/DisplayList.h"
#include "level/DullMaterial.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

double cpuMillis(clockid_t clock)
{
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The sky as the stage draws it (unlit, unculled, textured), with the given facets.
void drawSky(Level& level, int slices, int stacks)
{
    glPushMatrix();
    {
        glColor4f(1, 1, 1, 1);
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        level.skyTexture.bind();
        if (slices == 128 && stacks == 64) {
            level.drawSky(Level::SKY_RADIUS);
        } else {
            GLUquadric* quadric = gluNewQuadric();
            gluQuadricNormals(quadric, GLU_SMOOTH);
            gluQuadricTexture(quadric, GL_TRUE);
            gluSphere(quadric, Level::SKY_RADIUS, slices, stacks);
            gluDeleteQuadric(quadric);
        }
        level.skyTexture.unbind();
        glEnable(GL_CULL_FACE);
        glEnable(GL_LIGHTING);
    }
    glPopMatrix();
}

// Every cube as the stage draws it: face by face, or from the stage's display list.
void drawCubes(Level& level, bool compiled)
{
    level.compiledDrawing = compiled;
    setDullMaterial();
    level.faceTexture.bind();
    level.drawCubes();
    level.faceTexture.unbind();
    level.compiledDrawing = true;
}

// The sky's sphere from a display list of its own, as the stage replays it.
void drawCompiledSky(Level& level, DisplayList& list)
{
    if (list.empty()) {
        list.compile([&] { level.drawSky(Level::SKY_RADIUS); });
    }
    glPushMatrix();
    {
        glColor4f(1, 1, 1, 1);
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        level.skyTexture.bind();
        list.call();
        level.skyTexture.unbind();
        glEnable(GL_CULL_FACE);
        glEnable(GL_LIGHTING);
    }
    glPopMatrix();
}

// The ball, face by face or compiled.
void drawBall(Player& player, bool compiled)
{
    player.compiledDrawing = compiled;
    player.draw();
    player.compiledDrawing = true;
}

// The whole frame as the first version drew it, or as the game draws it now.
void drawFrame(Application& app, bool compiled)
{
    app.level.compiledDrawing = compiled;
    app.player.compiledDrawing = compiled;
    app.draw();
    app.level.compiledDrawing = true;
    app.player.compiledDrawing = true;
}

// Dice, coins and (when no die is left) the finish, turned and scaled as the stage does.
void drawCollectibles(Level& level)
{
    const float angle = static_cast<float>(level.collectibleAngle);
    auto spin = [&](ModelHolder& model, const Vec3& p, float scale, bool tumble) {
        glPushMatrix();
        glTranslatef(p.x, p.y, p.z);
        glRotatef(angle, 0, 0, 1);
        if (tumble) {
            glRotatef(angle, 1, 1, 0);
        }
        glScalef(scale, scale, scale);
        model.draw();
        glPopMatrix();
    };
    for (const Vec3& p : level.dice) {
        spin(level.dieModel, p, 0.024f, true);
    }
    for (const Vec3& p : level.coins) {
        spin(level.coinModel, p, 0.08f, true);
    }
    if (level.remainingDice() == 0) {
        spin(level.targetModel, level.targetPosition, 0.09f, false);
    }
}

} // namespace

std::vector<PartCost> measureParts(Application& app, int width, int height, int frames)
{
    struct Part {
        const char* name;
        std::function<void()> draw;
        bool appliesCamera = false;   // the part sets the view itself
    };
    Level& level = app.level;
    DisplayList skyList;
    const std::vector<Part> parts = {
        {"camera only (viewport, clear, projection)", [] {}},
        {"*first version:* sky tessellated by GLU every frame, 128 x 64 facets", [&] { drawSky(level, 128, 64); }},
        {"sky: the same sphere from a display list", [&] { drawCompiledSky(level, skyList); }},
        {"*first version:* cubes face by face, six faces each", [&] { drawCubes(level, false); }},
        {"cubes: one display list without faces against a neighbour", [&] { drawCubes(level, true); }},
        {"dice, coins and finish", [&] { drawCollectibles(level); }},
        {"*first version:* ball tessellated every frame, 128 x 64 facets", [&] { drawBall(app.player, false); }},
        {"ball: the same sphere from a display list", [&] { drawBall(app.player, true); }},
        {"*first version:* whole frame, `Application::draw` face by face", [&] { drawFrame(app, false); }, true},
        {"whole frame: `Application::draw`", [&] { drawFrame(app, true); }, true},
        {"*not drawn by the game:* sky of 32 x 16 facets", [&] { drawSky(level, 32, 16); }},
    };

    std::vector<PartCost> costs;
    for (const Part& part : parts) {
        std::vector<double> all, main, wall;
        for (int i = 0; i < frames + 5; ++i) {
            const double cpuAll = cpuMillis(CLOCK_PROCESS_CPUTIME_ID);
            const double cpuMain = cpuMillis(CLOCK_THREAD_CPUTIME_ID);
            const auto start = Clock::now();
            if (!part.appliesCamera) {
                app.camera.apply(width, height, app.player);
            }
            part.draw();
            glutSwapBuffers();
            if (i >= 5) {   // the first frames compile the part's shaders
                all.push_back(cpuMillis(CLOCK_PROCESS_CPUTIME_ID) - cpuAll);
                main.push_back(cpuMillis(CLOCK_THREAD_CPUTIME_ID) - cpuMain);
                wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
            }
        }
        costs.push_back({part.name, median(all), median(main), median(wall)});
    }
    return costs;
}
