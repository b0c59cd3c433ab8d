#include "level/DullMaterial.h"
#include "level/Level.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

const float DIE_SCALE = 0.024f;
const float COIN_SCALE = 0.08f;
const float TARGET_SCALE = 0.09f;
const int SKY_SLICES = 128;
const int SKY_STACKS = 64;

// Spins about world z through `centre` and tumbles about (1, 1, 0) by the same angle.
void drawSpinning(ModelHolder& model, const Vec3& centre, float angle, float scale)
{
    glPushMatrix();
    {
        glTranslatef(centre.x, centre.y, centre.z);
        glRotatef(angle, 0, 0, 1);
        glRotatef(angle, 1, 1, 0);
        glScalef(scale, scale, scale);
        model.draw();
    }
    glPopMatrix();
}

} // namespace

void Level::draw()
{
    const float angle = static_cast<float>(collectibleAngle);

    setDullMaterial();
    faceTexture.bind();
    for (const Cube& cube : cubes) {
        cube.draw();
    }
    faceTexture.unbind();

    for (const Vec3& p : dice) {
        drawSpinning(dieModel, p, angle, DIE_SCALE);
    }
    for (const Vec3& p : coins) {
        drawSpinning(coinModel, p, angle, COIN_SCALE);
    }

    // The finish turns about z only.
    if (remainingDice() == 0) {
        glPushMatrix();
        {
            glTranslatef(targetPosition.x, targetPosition.y, targetPosition.z);
            glRotatef(angle, 0, 0, 1);
            glScalef(TARGET_SCALE, TARGET_SCALE, TARGET_SCALE);
            targetModel.draw();
        }
        glPopMatrix();
    }

    // Seen from inside and unlit: the sky is a backdrop, not a body.
    glPushMatrix();
    {
        glColor4f(1, 1, 1, 1);
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        skyTexture.bind();
        drawSky(SKY_RADIUS);
        skyTexture.unbind();
        glEnable(GL_CULL_FACE);
        glEnable(GL_LIGHTING);
    }
    glPopMatrix();
}

void Level::drawSky(float radius)
{
    GLUquadric* quadric = gluNewQuadric();
    if (quadric == nullptr) {
        return;   // out of memory: no sky this frame
    }
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricTexture(quadric, GL_TRUE);
    gluSphere(quadric, radius, SKY_SLICES, SKY_STACKS);
    gluDeleteQuadric(quadric);
}
