#include "level/DullMaterial.h"

#include <GL/gl.h>

void setDullMaterial()
{
    static const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_SPECULAR, black);
    glMaterialfv(GL_FRONT, GL_EMISSION, black);
    glMaterialf(GL_FRONT, GL_SHININESS, 1.0f);
    // The colour-material mode stays at OpenGL's default (ambient and diffuse).
    glEnable(GL_COLOR_MATERIAL);
}
