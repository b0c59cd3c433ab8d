#include "player/Player.h"

#include "level/DullMaterial.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

const int SPHERE_SLICES = 128;
const int SPHERE_STACKS = 64;

} // namespace

void Player::draw()
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    {
        glColor4f(tint.x, tint.y, tint.z, alpha);
        glTranslatef(Position.x, Position.y, Position.z);
        // The spin advances with the game steps of a forward step (update).
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
            // The sphere is the same every frame while the radius is: tessellated once.
            if (compiledDrawing && (ballSphere.empty() || ballSphereRadius != radius)) {
                ballSphereRadius = radius;
                if (!ballSphere.compile([this] { sendSphere(radius); })) {
                    ballSphere.clear();
                }
            }
            if (!compiledDrawing || !ballSphere.call()) {
                sendSphere(radius);
            }
            ballTexture.unbind();
        }
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
    glPopMatrix();
}

void Player::sendSphere(float sphereRadius)
{
    GLUquadric* quadric = gluNewQuadric();
    if (quadric != nullptr) {
        gluQuadricNormals(quadric, GLU_SMOOTH);
        gluQuadricTexture(quadric, GL_TRUE);
        gluSphere(quadric, sphereRadius, SPHERE_SLICES, SPHERE_STACKS);
        gluDeleteQuadric(quadric);
    }
}
