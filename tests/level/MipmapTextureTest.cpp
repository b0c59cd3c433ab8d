#include "StageFixtures.h"
#include "level/MipmapTexture.h"
#include "media/ofImage.h"
#include "support/TestSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

using levelfixtures::Rgba;

namespace {

GLint levelParameter(GLint mip, GLenum which)
{
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, mip, which, &value);
    return value;
}

GLint parameter(GLenum which)
{
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, which, &value);
    return value;
}

// Level `mip` of the texture bound to GL_TEXTURE_2D as RGBA bytes.
std::vector<unsigned char> readLevel(GLint mip)
{
    const GLint w = levelParameter(mip, GL_TEXTURE_WIDTH);
    const GLint h = levelParameter(mip, GL_TEXTURE_HEIGHT);
    std::vector<unsigned char> pixels(static_cast<size_t>(w * h * 4));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, mip, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

class MipmapTextureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::ensureGlContext());
        while (glGetError() != GL_NO_ERROR) {
        }
        dir = std::make_unique<levelfixtures::StageDir>();
    }

    // A picture written under data/ and loaded into an ofImage.
    void picture(ofImage& image, const char* name, int w, int h, int bpp, Rgba colour)
    {
        dir->dataFile(name, "");
        levelfixtures::writePicture(std::string("data/") + name, w, h, bpp, colour);
        ASSERT_TRUE(image.loadImage(name));
        ASSERT_EQ(image.bpp, bpp);
    }

    std::unique_ptr<levelfixtures::StageDir> dir;
};

} // namespace

TEST_F(MipmapTextureTest, UploadsAFullMipmapChainWithTheGivenWrapModes)
{
    ofImage image;
    picture(image, "red.png", 16, 4, 24, Rgba{200, 10, 20, 255});
    MipmapTexture texture;
    texture.buildMipmappedTexture(image, GL_REPEAT, GL_CLAMP);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    glBindTexture(GL_TEXTURE_2D, texture.name);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 16);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_HEIGHT), 4);
    // 16 x 4 halves down to 1 x 1 at level 4.
    EXPECT_EQ(levelParameter(4, GL_TEXTURE_WIDTH), 1);
    EXPECT_EQ(levelParameter(4, GL_TEXTURE_HEIGHT), 1);
    const std::vector<unsigned char> top = readLevel(0);
    const std::vector<unsigned char> last = readLevel(4);
    EXPECT_EQ(std::vector<unsigned char>(top.begin(), top.begin() + 4), std::vector<unsigned char>({200, 10, 20, 255}));
    EXPECT_EQ(std::vector<unsigned char>(last.begin(), last.begin() + 3), std::vector<unsigned char>({200, 10, 20}));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(MipmapTextureTest, KeepsAlphaOfThirtyTwoBitPicturesAndWidensGrey)
{
    ofImage rgba;
    picture(rgba, "rgba.png", 8, 8, 32, Rgba{10, 20, 30, 40});
    MipmapTexture a;
    a.buildMipmappedTexture(rgba, GL_REPEAT, GL_REPEAT);
    glBindTexture(GL_TEXTURE_2D, a.name);
    EXPECT_EQ(readLevel(0)[3], 40);

    ofImage grey;
    picture(grey, "grey.png", 8, 8, 8, Rgba{90, 0, 0, 255});
    MipmapTexture g;
    g.buildMipmappedTexture(grey, GL_REPEAT, GL_REPEAT);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glBindTexture(GL_TEXTURE_2D, g.name);
    const std::vector<unsigned char> pixels = readLevel(0);
    EXPECT_EQ(std::vector<unsigned char>(pixels.begin(), pixels.begin() + 4), std::vector<unsigned char>({90, 90, 90, 255}));
    EXPECT_EQ(levelParameter(3, GL_TEXTURE_WIDTH), 1);
}

TEST_F(MipmapTextureTest, ReloadingKeepsTheNameAndAFailedImageChangesNothing)
{
    ofImage first;
    picture(first, "first.png", 4, 4, 24, Rgba{1, 2, 3, 255});
    MipmapTexture texture;
    const GLuint name = texture.name;
    texture.buildMipmappedTexture(first, GL_REPEAT, GL_REPEAT);

    ofImage second;
    picture(second, "second.png", 8, 2, 24, Rgba{4, 5, 6, 255});
    texture.buildMipmappedTexture(second, GL_REPEAT, GL_REPEAT);
    EXPECT_EQ(texture.name, name);
    glBindTexture(GL_TEXTURE_2D, name);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 8);

    ofImage missing;
    testsupport::StdoutCapture capture;
    EXPECT_FALSE(missing.loadImage("nowhere.png"));
    texture.buildMipmappedTexture(missing, GL_REPEAT, GL_CLAMP);
    EXPECT_EQ(capture.finish(), "");
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glBindTexture(GL_TEXTURE_2D, name);
    EXPECT_EQ(levelParameter(0, GL_TEXTURE_WIDTH), 8);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(readLevel(0)[0], 4);
}

TEST_F(MipmapTextureTest, BindEnablesTexturingUnbindOnlyDisablesIt)
{
    MipmapTexture texture;
    texture.bind();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.name);
    texture.unbind();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.name);
}

TEST_F(MipmapTextureTest, DestructionReleasesTheName)
{
    GLuint name = 0;
    {
        MipmapTexture texture;
        name = texture.name;
        texture.bind();
        texture.unbind();
        EXPECT_TRUE(glIsTexture(name));
    }
    EXPECT_FALSE(glIsTexture(name));
}
