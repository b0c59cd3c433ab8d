#include "FontTestSupport.h"

#include <GL/gl.h>
#include <algorithm>

namespace fonttest {

std::string dejavuSans() { return "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"; }
std::string dejavuSerif() { return "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"; }

bool Frame::ink(int x, int y, int threshold) const
{
    const unsigned char* p = pixel(x, y);
    return p[0] > threshold || p[1] > threshold || p[2] > threshold;
}

InkBox Frame::inkBox(int threshold) const
{
    InkBox box;
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            if (!ink(x, y, threshold)) {
                continue;
            }
            if (box.empty) {
                box = {false, x, y, x + 1, y + 1};
            } else {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
    }
    return box;
}

int Frame::inkCount(int threshold) const
{
    int count = 0;
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            count += ink(x, y, threshold) ? 1 : 0;
        }
    }
    return count;
}

Frame render(const std::function<void()>& draw)
{
    glViewport(0, 0, Frame::WIDTH, Frame::HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, Frame::WIDTH, Frame::HEIGHT, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDrawBuffer(GL_BACK);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    draw();
    glFinish();

    Frame frame;
    frame.rgba.resize(static_cast<size_t>(Frame::WIDTH) * Frame::HEIGHT * 4);
    std::vector<unsigned char> bottomUp(frame.rgba.size());
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, Frame::WIDTH, Frame::HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    size_t rowBytes = static_cast<size_t>(Frame::WIDTH) * 4;
    for (int y = 0; y < Frame::HEIGHT; ++y) {
        std::copy_n(&bottomUp[(Frame::HEIGHT - 1 - y) * rowBytes], rowBytes, &frame.rgba[y * rowBytes]);
    }
    return frame;
}

int textureWidth(unsigned int name)
{
    GLint w = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    return w;
}

int textureHeight(unsigned int name)
{
    GLint h = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    return h;
}

std::vector<unsigned char> textureAlpha(unsigned int name)
{
    int w = textureWidth(name);
    int h = textureHeight(name);
    std::vector<unsigned char> texels(static_cast<size_t>(w) * h * 2);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, texels.data());
    std::vector<unsigned char> alpha(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < alpha.size(); ++i) {
        alpha[i] = texels[i * 2 + 1];
    }
    return alpha;
}

} // namespace fonttest
