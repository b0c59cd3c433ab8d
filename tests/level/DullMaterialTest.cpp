#include "level/DullMaterial.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

void expectColour(GLenum face, GLenum which, float r, float g, float b, float a)
{
    GLfloat v[4] = {-1, -1, -1, -1};
    glGetMaterialfv(face, which, v);
    EXPECT_FLOAT_EQ(v[0], r);
    EXPECT_FLOAT_EQ(v[1], g);
    EXPECT_FLOAT_EQ(v[2], b);
    EXPECT_FLOAT_EQ(v[3], a);
}

} // namespace

TEST(DullMaterial, RemovesHighlightsAndGlowFromFrontFacesAndTracksTheColour)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    const GLfloat shiny[4] = {0.9f, 0.8f, 0.7f, 0.5f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, shiny);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, shiny);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 100.0f);
    glDisable(GL_COLOR_MATERIAL);

    setDullMaterial();

    expectColour(GL_FRONT, GL_SPECULAR, 0, 0, 0, 1);
    expectColour(GL_FRONT, GL_EMISSION, 0, 0, 0, 1);
    GLfloat shininess = -1;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_FLOAT_EQ(shininess, 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    GLint tracked = 0;
    glGetIntegerv(GL_COLOR_MATERIAL_PARAMETER, &tracked);
    EXPECT_EQ(tracked, GL_AMBIENT_AND_DIFFUSE);
    // Back faces are never lit in the game; they keep whatever they had.
    expectColour(GL_BACK, GL_SPECULAR, 0.9f, 0.8f, 0.7f, 0.5f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
