#include "player/Player.h"

#include "level/DullMaterial.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

const float SPIN_PER_FRAME = 7.0f;   // degrees the ball turns per drawn frame of a step
const int SPHERE_SLICES = 128;
const int SPHERE_STACKS = 64;

} // namespace

void Player::draw()
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    {
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glTranslatef(Position.x, Position.y, Position.z);

        // The ball only visibly rolls while it steps forward.
        if (moveForward) {
            spinAngle += SPIN_PER_FRAME;
            if (spinAngle > 360.0f) {
                spinAngle -= 360.0f;
            }
        }
        glRotatef(spinAngle, Left.x, Left.y, Left.z);
        setDullMaterial();

        // The picture is stored top row first; flip it so it is upright on the sphere.
        glMatrixMode(GL_TEXTURE);
        glLoadIdentity();
        glPushMatrix();
        {
            glTranslatef(0.0f, 1.0f, 0.0f);
            glScalef(1.0f, -1.0f, 1.0f);

            ballTexture.bind();
            GLUquadric* quadric = gluNewQuadric();
            if (quadric != nullptr) {
                gluQuadricNormals(quadric, GLU_SMOOTH);
                gluQuadricTexture(quadric, GL_TRUE);
                gluSphere(quadric, radius, SPHERE_SLICES, SPHERE_STACKS);
                gluDeleteQuadric(quadric);
            }
            ballTexture.unbind();
        }
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
    glPopMatrix();
}
