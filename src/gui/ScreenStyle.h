#pragma once
// Colours and shapes every screen over the scene shares: a translucent black panel, yellow
// text, a fainter yellow for highlights, grey for what cannot be chosen.

#include <GL/gl.h>

namespace screenstyle {

inline void colourPanel() { glColor4f(0.0f, 0.0f, 0.0f, 0.5f); }
inline void colourText() { glColor4f(0.9f, 0.9f, 0.0f, 0.85f); }
inline void colourHighlight() { glColor4f(0.9f, 0.9f, 0.0f, 0.5f); }
inline void colourDim() { glColor4f(0.6f, 0.6f, 0.6f, 0.75f); }
inline void colourBar() { glColor4f(0.9f, 0.9f, 0.0f, 0.18f); }

// A filled rectangle in window pixels (origin top-left), in the current colour.
inline void box(float x0, float y0, float x1, float y1)
{
    glBegin(GL_QUADS);
    {
        glVertex2f(x0, y0);
        glVertex2f(x0, y1);
        glVertex2f(x1, y1);
        glVertex2f(x1, y0);
    }
    glEnd();
}

} // namespace screenstyle
