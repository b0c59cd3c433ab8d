#include "media/ofGraphics.h"

#include "media/ofAppRunner.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cmath>

namespace {

ofStyle currentStyle;
float bgColor[4] = {0.0f, 0.0f, 0.0f, 0.0f};   // r, g, b, a in 0 to 1
bool bgAutoClear = true;
int rectMode = OF_RECTMODE_CORNER;
bool smoothingHinted = false;
float lineVertices[4];   // x1, y1, x2, y2: GL reads it during glDrawArrays only

} // namespace

void ofSetupGraphicDefaults()
{
    glEnableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    ofDisableSmoothing();
    ofEnableAlphaBlending();
    ofBackground(200, 200, 200);
    ofSetColor(255, 255, 255, 255);
}

void ofBackground(int r, int g, int b)
{
    bgColor[0] = r / 255.0f;
    bgColor[1] = g / 255.0f;
    bgColor[2] = b / 255.0f;
    bgColor[3] = 1.0f;
    if (!bgAutoClear) {
        glClearColor(bgColor[0], bgColor[1], bgColor[2], bgColor[3]);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
}

bool ofbClearBg() { return bgAutoClear; }
float* ofBgColorPtr() { return bgColor; }
void ofSetBackgroundAuto(bool autoClear) { bgAutoClear = autoClear; }

void ofSetColor(int r, int g, int b, int a)
{
    auto unit = [](int c) { return std::clamp(c / 255.0f, 0.0f, 1.0f); };
    float fr = unit(r);
    float fg = unit(g);
    float fb = unit(b);
    float fa = unit(a);
    currentStyle.color = ofColor(fr * 255.0f, fg * 255.0f, fb * 255.0f, fa * 255.0f);
    glColor4f(fr, fg, fb, fa);
}

void ofEnableAlphaBlending()
{
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    currentStyle.blending = true;
}

void ofDisableAlphaBlending()
{
    glDisable(GL_BLEND);
    currentStyle.blending = false;
}

void ofEnableSmoothing()
{
    smoothingHinted = true;
    currentStyle.smoothing = true;
}

void ofDisableSmoothing()
{
    smoothingHinted = false;
    currentStyle.smoothing = false;
}

void ofSetRectMode(int mode)
{
    if (mode == OF_RECTMODE_CORNER || mode == OF_RECTMODE_CENTER) {
        rectMode = mode;
        currentStyle.rectMode = mode;
    }
}

int ofGetRectMode() { return rectMode; }

void ofLine(float x1, float y1, float x2, float y2)
{
    if (smoothingHinted) {
        glPushAttrib(GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT);
        glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
        glEnable(GL_LINE_SMOOTH);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    lineVertices[0] = x1;
    lineVertices[1] = y1;
    lineVertices[2] = x2;
    lineVertices[3] = y2;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, lineVertices);
    glDrawArrays(GL_LINES, 0, 2);
    if (smoothingHinted) {
        glPopAttrib();
    }
}

void ofSetupScreen()
{
    float w = static_cast<float>(ofGetWidth());
    float h = static_cast<float>(ofGetHeight());
    if (w <= 0.0f || h <= 0.0f) {
        // No window size yet: a zero aspect or distance would poison the matrices.
        return;
    }

    float eyeX = w / 2.0f;
    float eyeY = h / 2.0f;
    float halfFov = static_cast<float>(M_PI) * 60.0f / 360.0f;
    float dist = eyeY / std::tan(halfFov);
    float nearDist = dist / 10.0f;
    float farDist = dist * 10.0f;
    float aspect = w / h;

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, aspect, nearDist, farDist);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eyeX, eyeY, dist, eyeX, eyeY, 0.0, 0.0, 1.0, 0.0);
    glScalef(1.0f, -1.0f, 1.0f);
    glTranslatef(0.0f, -h, 0.0f);
}

const ofStyle& ofGetStyle() { return currentStyle; }
