#include "level/DisplayList.h"

DisplayList::~DisplayList()
{
    clear();
}

bool DisplayList::begin()
{
    if (name == 0) {
        name = glGenLists(1);
    }
    if (name == 0) {
        return false;
    }
    glNewList(name, GL_COMPILE);
    return true;
}

bool DisplayList::call() const
{
    if (name == 0) {
        return false;
    }
    glCallList(name);
    return true;
}

void DisplayList::clear()
{
    if (name != 0) {
        glDeleteLists(name, 1);
        name = 0;
    }
}
