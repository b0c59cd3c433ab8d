#include "level/CubeFace.h"

#include <GL/gl.h>

void CubeFace::draw() const
{
    static const float texCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    glColor4f(colour.x, colour.y, colour.z, 1.0f);
    glNormal3f(normal.x, normal.y, normal.z);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(texCoords[i][0], texCoords[i][1]);
        glVertex3f(corners[i].x, corners[i].y, corners[i].z);
    }
    glEnd();
}
