#include "StageMap.h"

#include "level/Level.h"

#include <EGL/egl.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <FreeImage.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <tuple>
#include <vector>

namespace {

constexpr int OVERSAMPLE = 2;          // drawn this many times larger, then averaged down
constexpr float MARGIN = 1.08f;        // the stage's extent times this fills the picture
constexpr float FACE_ALPHA = 0.16f;    // cubes are seen through: a die under a roof still shows
constexpr float EDGE_ALPHA = 0.45f;

struct GlFramebuffer {
    PFNGLGENFRAMEBUFFERSPROC genFramebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bindFramebuffer = nullptr;
    PFNGLGENRENDERBUFFERSPROC genRenderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bindRenderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbufferStorage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebufferRenderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC checkFramebufferStatus = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC deleteFramebuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC deleteRenderbuffers = nullptr;

    bool load()
    {
        auto get = [](const char* name) { return eglGetProcAddress(name); };
        genFramebuffers = reinterpret_cast<PFNGLGENFRAMEBUFFERSPROC>(get("glGenFramebuffers"));
        bindFramebuffer = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(get("glBindFramebuffer"));
        genRenderbuffers = reinterpret_cast<PFNGLGENRENDERBUFFERSPROC>(get("glGenRenderbuffers"));
        bindRenderbuffer = reinterpret_cast<PFNGLBINDRENDERBUFFERPROC>(get("glBindRenderbuffer"));
        renderbufferStorage = reinterpret_cast<PFNGLRENDERBUFFERSTORAGEPROC>(get("glRenderbufferStorage"));
        framebufferRenderbuffer = reinterpret_cast<PFNGLFRAMEBUFFERRENDERBUFFERPROC>(get("glFramebufferRenderbuffer"));
        checkFramebufferStatus = reinterpret_cast<PFNGLCHECKFRAMEBUFFERSTATUSPROC>(get("glCheckFramebufferStatus"));
        deleteFramebuffers = reinterpret_cast<PFNGLDELETEFRAMEBUFFERSPROC>(get("glDeleteFramebuffers"));
        deleteRenderbuffers = reinterpret_cast<PFNGLDELETERENDERBUFFERSPROC>(get("glDeleteRenderbuffers"));
        return genFramebuffers && bindFramebuffer && genRenderbuffers && bindRenderbuffer && renderbufferStorage &&
               framebufferRenderbuffer && checkFramebufferStatus && deleteFramebuffers && deleteRenderbuffers;
    }
};

// The view: looking at the stage from the front right and above, so tops, two sides and
// (through them) the undersides all show.
struct View {
    Vec3 right{0.8f, 0.6f, 0.0f};
    Vec3 up{-0.36f, 0.48f, 0.8f};
    Vec3 back{0.48f, -0.64f, 0.6f};   // towards the viewer
};

using Cell = std::tuple<long, long, long>;

Cell cellOf(const Vec3& centre)
{
    return {std::lround(centre.x / 2.0f), std::lround(centre.y / 2.0f), std::lround(centre.z / 2.0f)};
}

const std::array<Vec3, 6> NORMALS = {Vec3(0, 0, 1), Vec3(0, 0, -1), Vec3(-1, 0, 0),
                                     Vec3(1, 0, 0), Vec3(0, 1, 0),  Vec3(0, -1, 0)};
// Tints by the way a face looks: tops light, undersides dark, sides between.
const std::array<Vec3, 6> TINTS = {Vec3(0.95f, 0.85f, 0.55f), Vec3(0.35f, 0.3f, 0.55f), Vec3(0.6f, 0.7f, 0.9f),
                                   Vec3(0.55f, 0.8f, 0.75f),  Vec3(0.65f, 0.75f, 0.85f), Vec3(0.7f, 0.65f, 0.85f)};

// The four corners of a face of the cube at `c`, in order round the face.
std::array<Vec3, 4> faceCorners(const Vec3& c, const Vec3& n)
{
    Vec3 a = std::fabs(n.z) > 0.5f ? Vec3(1, 0, 0) : Vec3(0, 0, 1);
    Vec3 b = cross(n, a);
    return {c + n + a + b, c + n - a + b, c + n - a - b, c + n + a - b};
}

void vertex(const Vec3& p)
{
    glVertex3f(p.x, p.y, p.z);
}

void drawCubes(const Level& level)
{
    std::set<Cell> cells;
    for (const Cube& cube : level.cubes) {
        cells.insert(cellOf(cube.position));
    }
    auto covered = [&](const Vec3& centre, const Vec3& n) { return cells.count(cellOf(centre + n * 2.0f)) > 0; };

    glDepthMask(GL_FALSE);
    glBegin(GL_QUADS);
    for (const Cube& cube : level.cubes) {
        for (std::size_t f = 0; f < NORMALS.size(); ++f) {
            if (!covered(cube.position, NORMALS[f])) {
                glColor4f(TINTS[f].x, TINTS[f].y, TINTS[f].z, FACE_ALPHA);
                for (const Vec3& p : faceCorners(cube.position, NORMALS[f])) {
                    vertex(p);
                }
            }
        }
    }
    glEnd();
    glColor4f(0.85f, 0.9f, 1.0f, EDGE_ALPHA);
    glLineWidth(1.0f * OVERSAMPLE);
    for (const Cube& cube : level.cubes) {
        for (std::size_t f = 0; f < NORMALS.size(); ++f) {
            if (!covered(cube.position, NORMALS[f])) {
                glBegin(GL_LINE_LOOP);
                for (const Vec3& p : faceCorners(cube.position, NORMALS[f])) {
                    vertex(p);
                }
                glEnd();
            }
        }
    }
    glDepthMask(GL_TRUE);
}

void drawMark(const Vec3& at, float size, const Vec3& colour)
{
    glPointSize((size + 2.0f) * OVERSAMPLE);
    glColor4f(0.05f, 0.05f, 0.08f, 1.0f);
    glBegin(GL_POINTS);
    vertex(at);
    glEnd();
    glPointSize(size * OVERSAMPLE);
    glColor4f(colour.x, colour.y, colour.z, 1.0f);
    glBegin(GL_POINTS);
    vertex(at);
    glEnd();
}

void drawRoute(const RouteTrace& trace)
{
    if (trace.path.size() < 2) {
        return;
    }
    glLineWidth(2.0f * OVERSAMPLE);
    glBegin(GL_LINE_STRIP);
    for (std::size_t i = 0; i < trace.path.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(trace.path.size() - 1);
        glColor4f(0.1f + 0.9f * t, 0.95f - 0.75f * t, 1.0f, 0.95f);
        vertex(trace.path[i]);
    }
    glEnd();
}

// Fits an orthographic view round every cube and mark, keeping the picture's shape.
void setUpView(const Level& level, int width, int height)
{
    const View view;
    float lo[3] = {1e9f, 1e9f, 1e9f};
    float hi[3] = {-1e9f, -1e9f, -1e9f};
    auto take = [&](const Vec3& p) {
        const float d[3] = {dot(p, view.right), dot(p, view.up), dot(p, view.back)};
        for (int k = 0; k < 3; ++k) {
            lo[k] = std::min(lo[k], d[k]);
            hi[k] = std::max(hi[k], d[k]);
        }
    };
    for (const Cube& cube : level.cubes) {
        for (int corner = 0; corner < 8; ++corner) {
            take(cube.position + Vec3(corner & 1 ? 1.0f : -1.0f, corner & 2 ? 1.0f : -1.0f, corner & 4 ? 1.0f : -1.0f));
        }
    }
    take(level.targetPosition);
    take(level.startPosition);
    float halfW = 0.5f * (hi[0] - lo[0]) * MARGIN;
    float halfH = 0.5f * (hi[1] - lo[1]) * MARGIN;
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    if (halfW / halfH < aspect) {
        halfW = halfH * aspect;
    } else {
        halfH = halfW / aspect;
    }
    const float cx = 0.5f * (hi[0] + lo[0]);
    const float cy = 0.5f * (hi[1] + lo[1]);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(cx - halfW, cx + halfW, cy - halfH, cy + halfH, -hi[2] - 2.0f, -lo[2] + 2.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // Rows of the matrix are the view axes: world points go to (right, up, back).
    const float m[16] = {view.right.x, view.up.x, view.back.x, 0, view.right.y, view.up.y, view.back.y, 0,
                         view.right.z, view.up.z, view.back.z, 0, 0,          0,         0,           1};
    glLoadMatrixf(m);
}

bool writePng(const std::vector<unsigned char>& rgba, int bigW, int bigH, const std::string& path, std::string& why)
{
    const int w = bigW / OVERSAMPLE;
    const int h = bigH / OVERSAMPLE;
    FIBITMAP* picture = FreeImage_Allocate(w, h, 24);
    if (picture == nullptr) {
        why = "no memory for the picture";
        return false;
    }
    // GL rows run bottom up, as FreeImage's do.
    for (int y = 0; y < h; ++y) {
        BYTE* row = FreeImage_GetScanLine(picture, y);
        for (int x = 0; x < w; ++x) {
            int sum[3] = {0, 0, 0};
            for (int dy = 0; dy < OVERSAMPLE; ++dy) {
                for (int dx = 0; dx < OVERSAMPLE; ++dx) {
                    const std::size_t at = 4 * (static_cast<std::size_t>(y * OVERSAMPLE + dy) * bigW + x * OVERSAMPLE + dx);
                    for (int k = 0; k < 3; ++k) {
                        sum[k] += rgba[at + k];
                    }
                }
            }
            const int n = OVERSAMPLE * OVERSAMPLE;
            row[3 * x + FI_RGBA_RED] = static_cast<BYTE>(sum[0] / n);
            row[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>(sum[1] / n);
            row[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>(sum[2] / n);
        }
    }
    // A palette of 64 colours keeps a map a few kilobytes.
    FIBITMAP* small = FreeImage_ColorQuantizeEx(picture, FIQ_WUQUANT, 64, 0, nullptr);
    const bool saved = FreeImage_Save(FIF_PNG, small != nullptr ? small : picture, path.c_str(), PNG_Z_BEST_COMPRESSION);
    if (small != nullptr) {
        FreeImage_Unload(small);
    }
    FreeImage_Unload(picture);
    if (!saved) {
        why = "the PNG file cannot be written";
    }
    return saved;
}

} // namespace

bool drawStageMap(const Level& level, const RouteTrace& trace, const std::string& path, std::string& why, MapSize size)
{
    if (level.cubes.empty() || size.width < 16 || size.height < 16 || size.width > 4096 || size.height > 4096) {
        why = "nothing to draw at that size";
        return false;
    }
    GlFramebuffer fb;
    if (!fb.load()) {
        why = "the OpenGL context has no framebuffer objects";
        return false;
    }
    const int w = size.width * OVERSAMPLE;
    const int h = size.height * OVERSAMPLE;
    GLuint framebuffer = 0;
    GLuint buffers[2] = {0, 0};
    fb.genFramebuffers(1, &framebuffer);
    fb.bindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    fb.genRenderbuffers(2, buffers);
    fb.bindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
    fb.bindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    fb.renderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
    fb.framebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
    bool ok = fb.checkFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    std::vector<unsigned char> pixels;
    if (ok) {
        glPushAttrib(GL_ALL_ATTRIB_BITS);
        {
            glViewport(0, 0, w, h);
            glClearColor(0.07f, 0.08f, 0.13f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glDisable(GL_LIGHTING);
            glDisable(GL_TEXTURE_2D);
            glDisable(GL_CULL_FACE);
            glDisable(GL_DEPTH_TEST);
            glEnable(GL_BLEND);
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
            glEnable(GL_LINE_SMOOTH);
            glMatrixMode(GL_PROJECTION);
            glPushMatrix();
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
            {
                setUpView(level, w, h);
                drawCubes(level);
                drawRoute(trace);
                for (const Vec3& coin : level.coins) {
                    drawMark(coin, 5.0f, Vec3(1.0f, 0.85f, 0.1f));
                }
                for (const Vec3& die : level.dice) {
                    drawMark(die, 7.0f, Vec3(1.0f, 1.0f, 1.0f));
                }
                drawMark(level.startPosition, 6.0f, Vec3(0.2f, 0.95f, 1.0f));
                drawMark(level.targetPosition, 9.0f, Vec3(0.2f, 0.9f, 0.3f));
            }
            glMatrixMode(GL_PROJECTION);
            glPopMatrix();
            glMatrixMode(GL_MODELVIEW);
            glPopMatrix();
            pixels.resize(static_cast<std::size_t>(w) * h * 4);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        }
        glPopAttrib();
    } else {
        why = "the offscreen buffer is not complete";
    }
    fb.bindFramebuffer(GL_FRAMEBUFFER, 0);
    fb.deleteRenderbuffers(2, buffers);
    fb.deleteFramebuffers(1, &framebuffer);
    return ok && writePng(pixels, w, h, path, why);
}
