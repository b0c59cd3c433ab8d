// The three collectible models as the game reads and draws them.

#include "DataFiles.h"

#include "level/DullMaterial.h"
#include "models/ModelHolder.h"
#include "models/model3DS.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

struct Collectible {
    const char* file;
    float scale;   // as the stage draws it
};
const Collectible DIE = {"die/die.3ds", 0.024f};
const Collectible COIN = {"coin/coin.3ds", 0.08f};
const Collectible FINISH = {"target/target.3ds", 0.09f};

// Mean colour of the pixels a model covers, drawn lit like the stage (dull material,
// white colour, colour material, one white light) in front of a black background, and
// the number of those pixels.
struct Coverage {
    std::array<double, 3> mean{};
    int pixels = 0;
};

constexpr int VIEW = 128;

Coverage drawAndMeasure(const Collectible& c)
{
    ModelHolder holder;
    {
        testsupport::StdoutCapture quiet;
        holder.loadModel(c.file, 1.0f);
    }
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glViewport(0, 0, VIEW, VIEW);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPerspective(60.0, 1.0, 1.0, 130.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDrawBuffer(GL_BACK);
    glReadBuffer(GL_BACK);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const float white[4] = {1, 1, 1, 1}, dim[4] = {0.1f, 0.1f, 0.1f, 1}, atEye[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_SPECULAR, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, dim);
    glLightfv(GL_LIGHT0, GL_POSITION, atEye);
    setDullMaterial();
    glColor4f(1, 1, 1, 1);
    // Seen from 2.2 units away, a little from above, as a ball nearby sees it.
    glTranslatef(0, 0, -2.2f);
    glRotatef(-70, 1, 0, 0);
    glRotatef(20, 0, 0, 1);
    glScalef(c.scale, c.scale, c.scale);
    holder.draw();

    std::vector<unsigned char> rgb(VIEW * VIEW * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, VIEW, VIEW, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();

    Coverage out;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        if (rgb[i] + rgb[i + 1] + rgb[i + 2] > 12) {
            ++out.pixels;
            for (int k = 0; k < 3; ++k) {
                out.mean[k] += rgb[i + k];
            }
        }
    }
    for (double& m : out.mean) {
        m /= std::max(out.pixels, 1);
    }
    return out;
}

} // namespace

TEST(GameModels, LoadWithTheirTextureMapsAndNoComplaint)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::WorkingDir cwd(testsupport::sourceDir());
    for (const Collectible& c : {DIE, COIN, FINISH}) {
        testsupport::StdoutCapture out;
        model3DS model;
        model.loadModel(c.file, 1.0f);
        std::string said = out.finish();
        EXPECT_EQ(said, "[3DS] Model 'data/" + std::string(c.file) + "' loaded\n");
        EXPECT_TRUE(model.hasTexture) << c.file;
        ASSERT_FALSE(model.meshes.empty()) << c.file;
        ASSERT_FALSE(model.materials.empty()) << c.file;
        for (const auto& [name, material] : model.materials) {
            EXPECT_TRUE(material.textured) << c.file << " " << name;
            EXPECT_TRUE(glIsTexture(material.texture)) << c.file << " " << name;
        }
        for (const ModelMesh& mesh : model.meshes) {
            EXPECT_EQ(mesh.texCoords.size(), 2 * mesh.vertexCount()) << c.file;
            size_t drawn = 0;
            for (const auto& [name, indices] : mesh.materialGroups) {
                drawn += indices.size();
            }
            EXPECT_EQ(drawn, mesh.triangles.size()) << c.file << ": every face drawn once";
        }
    }
}

TEST(GameModels, ShowTheColoursOfTheirMapsWhenDrawnLikeTheStage)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::WorkingDir cwd(testsupport::sourceDir());

    // An ivory die with dark pips: bright and nearly grey.
    Coverage die = drawAndMeasure(DIE);
    EXPECT_GT(die.pixels, VIEW * VIEW / 20);
    EXPECT_GT(die.mean[0], 110.0);
    EXPECT_LT(std::abs(die.mean[0] - die.mean[2]), 50.0);

    // A gold coin: red and green well above blue.
    Coverage coin = drawAndMeasure(COIN);
    EXPECT_GT(coin.pixels, VIEW * VIEW / 60);
    EXPECT_GT(coin.mean[0], coin.mean[2] + 60.0);
    EXPECT_GT(coin.mean[1], coin.mean[2] + 30.0);

    // The finish: a tall, thin gate, drawn at all.
    Coverage finish = drawAndMeasure(FINISH);
    EXPECT_GT(finish.pixels, VIEW * VIEW / 40);
}
