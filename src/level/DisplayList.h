#pragma once

#include <GL/gl.h>

// One OpenGL display list: drawing calls compiled once and replayed with one call. A GL
// context must be current while it is compiled, called and destroyed.
class DisplayList {
public:
    DisplayList() = default;
    ~DisplayList();
    DisplayList(const DisplayList&) = delete;
    DisplayList& operator=(const DisplayList&) = delete;

    // Compiles what `drawCalls` sends into the list, replacing what it held. Returns false
    // and leaves the list empty when GL gives no list name (no context, out of memory).
    template <class DrawCalls>
    bool compile(DrawCalls&& drawCalls)
    {
        if (!begin()) {
            return false;
        }
        drawCalls();
        glEndList();
        return true;
    }
    // Replays the list; false, drawing nothing, when it is empty.
    bool call() const;
    void clear();
    bool empty() const { return name == 0; }

private:
    bool begin();

    GLuint name = 0;
};
