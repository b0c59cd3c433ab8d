#include "GuiFixture.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <fstream>
#include <iterator>

namespace guitest {

namespace fs = std::filesystem;

GuiWorld::GuiWorld()
{
    testsupport::ensureGlContext();
    fs::create_directories(dataDir());
    for (const char* font : {"comic_reg.ttf", "comic_italic.ttf"}) {
        fs::copy_file(testsupport::sourceDir() / "data" / font, dataDir() / font);
    }
    workingDir = std::make_unique<testsupport::WorkingDir>(scratch.path());
    gui.setup();
    gui.setSize(WINDOW_W, WINDOW_H);
}

GuiWorld::~GuiWorld() = default;

void GuiWorld::writeHighscoreFile(const std::string& text) const
{
    scratch.write("data/hs.txt", text);
}

std::string GuiWorld::highscoreFileText() const
{
    std::ifstream in(dataDir() / "hs.txt", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void GuiWorld::beginScreen() const
{
    glViewport(0, 0, WINDOW_W, WINDOW_H);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, WINDOW_W, 0, WINDOW_H);
    glScalef(1, -1, 1);
    glTranslatef(0, -WINDOW_H, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

Rgb GuiWorld::pixel(int x, int y) const
{
    float rgb[3] = {-1, -1, -1};
    glFinish();
    glReadPixels(x, WINDOW_H - 1 - y, 1, 1, GL_RGB, GL_FLOAT, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

std::vector<float> GuiWorld::region(int x, int y, int w, int h) const
{
    std::vector<float> out;
    for (int row = 0; row < h; ++row) {
        std::vector<float> line(static_cast<size_t>(w) * 3);
        glReadPixels(x, WINDOW_H - 1 - (y + row), w, 1, GL_RGB, GL_FLOAT, line.data());
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

bool GuiWorld::hasYellow(int x, int y, int w, int h) const
{
    const std::vector<float> pixels = region(x, y, w, h);
    for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
        if (isYellow({pixels[i], pixels[i + 1], pixels[i + 2]})) {
            return true;
        }
    }
    return false;
}

bool isPanelOverBlue(const Rgb& c)
{
    return c.r < 0.02f && c.g < 0.02f && c.b > 0.45f && c.b < 0.55f;
}

bool isBlue(const Rgb& c)
{
    return c.r < 0.02f && c.g < 0.02f && c.b > 0.98f;
}

bool isYellow(const Rgb& c)
{
    return c.r > 0.2f && c.g > 0.2f && c.b < c.r;
}

} // namespace guitest
