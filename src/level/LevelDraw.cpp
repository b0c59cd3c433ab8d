#include "level/DullMaterial.h"
#include "level/Level.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <cmath>
#include <unordered_set>

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

// What the faces' display list was compiled from: every cube's centre and face colours.
// The collision pass marks faces touched as the ball rolls; that changes no picture.
std::vector<float> facesSource(const std::vector<Cube>& cubes)
{
    std::vector<float> source;
    source.reserve(cubes.size() * (3 + 3 * Cube::FACE_COUNT));
    for (const Cube& cube : cubes) {
        source.insert(source.end(), {cube.position.x, cube.position.y, cube.position.z});
        for (const CubeFace& face : cube.faces) {
            source.insert(source.end(), {face.colour.x, face.colour.y, face.colour.z});
        }
    }
    return source;
}

// Whether `cubes` still hold what facesSource gave `source`; compared in place, since it is
// asked every frame.
bool sameSource(const std::vector<Cube>& cubes, const std::vector<float>& source)
{
    if (source.size() != cubes.size() * (3 + 3 * Cube::FACE_COUNT)) {
        return false;
    }
    const float* s = source.data();
    for (const Cube& cube : cubes) {
        if (s[0] != cube.position.x || s[1] != cube.position.y || s[2] != cube.position.z) {
            return false;
        }
        s += 3;
        for (const CubeFace& face : cube.faces) {
            if (s[0] != face.colour.x || s[1] != face.colour.y || s[2] != face.colour.z) {
                return false;
            }
            s += 3;
        }
    }
    return true;
}

// Cube centres to 1/1024 of a unit, packed into one key.
struct CentreKey {
    long long x, y, z;
    bool operator==(const CentreKey&) const = default;
};
struct CentreHash {
    size_t operator()(const CentreKey& k) const
    {
        return std::hash<long long>()(k.x * 73856093LL ^ k.y * 19349663LL ^ k.z * 83492791LL);
    }
};
CentreKey keyOf(float x, float y, float z)
{
    return {std::llround(x * 1024.0), std::llround(y * 1024.0), std::llround(z * 1024.0)};
}

// Sends every face that no neighbouring cube covers, as one batch of quads in world
// coordinates, with the colours, normals and texture coordinates CubeFace::draw gives it.
void sendVisibleFaces(const std::vector<Cube>& cubes)
{
    std::unordered_set<CentreKey, CentreHash> centres;
    centres.reserve(cubes.size());
    for (const Cube& cube : cubes) {
        centres.insert(keyOf(cube.position.x, cube.position.y, cube.position.z));
    }
    static const float texCoords[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    glBegin(GL_QUADS);
    for (const Cube& cube : cubes) {
        const Vec3& p = cube.position;
        for (const CubeFace& face : cube.faces) {
            // A face against a neighbour's face lies inside the solid the two make.
            const Vec3& n = face.normal;
            if (centres.count(keyOf(p.x + 2 * n.x, p.y + 2 * n.y, p.z + 2 * n.z)) != 0) {
                continue;
            }
            glColor4f(face.colour.x, face.colour.y, face.colour.z, 1.0f);
            glNormal3f(n.x, n.y, n.z);
            for (int i = 0; i < 4; ++i) {
                glTexCoord2f(texCoords[i][0], texCoords[i][1]);
                glVertex3f(p.x + face.corners[i].x, p.y + face.corners[i].y, p.z + face.corners[i].z);
            }
        }
    }
    glEnd();
}

} // namespace

void Level::compileFaces()
{
    cubeFacesFrom = facesSource(cubes);
    if (!cubeFaces.compile([this] { sendVisibleFaces(cubes); })) {
        cubeFacesFrom.clear();
    }
}

void Level::drawCubes()
{
    if (compiledDrawing) {
        // Whoever changed the cubes since the list was built gets a new one.
        if (cubeFaces.empty() || !sameSource(cubes, cubeFacesFrom)) {
            compileFaces();
        }
        if (cubeFaces.call()) {
            return;
        }
    }
    for (const Cube& cube : cubes) {
        cube.draw();
    }
}

void Level::draw()
{
    const float angle = static_cast<float>(collectibleAngle);

    setDullMaterial();
    faceTexture.bind();
    drawCubes();
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
        // The sphere is the same every frame: tessellated once, then replayed.
        if (compiledDrawing && skySphere.empty()) {
            skySphere.compile([this] { drawSky(SKY_RADIUS); });
        }
        if (!compiledDrawing || !skySphere.call()) {
            drawSky(SKY_RADIUS);
        }
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
