#include "PictureFiles.h"

#include "media/ofImage.h"
#include "media/ofTexture.h"
#include "support/TestSupport.h"

#include <GL/glext.h>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class Texture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::ensureGlContext());
        ofEnableArbTex();
    }
    void TearDown() override
    {
        ofEnableArbTex();
        ofDisableNormalizedTexCoords();
    }

    static bool rectanglesOffered()
    {
        const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
        return list != nullptr && std::strstr(list, "GL_ARB_texture_rectangle") != nullptr;
    }

    // Texels of level 0 as RGB bytes, rows as OpenGL stores them (first uploaded row first).
    static std::vector<unsigned char> texels(ofTexture& texture)
    {
        const ofTextureData& d = texture.texData;
        std::vector<unsigned char> out(static_cast<size_t>(d.tex_w) * static_cast<size_t>(d.tex_h) * 3);
        GLint bound = 0;
        GLenum query = d.textureTarget == GL_TEXTURE_2D ? GL_TEXTURE_BINDING_2D : GL_TEXTURE_BINDING_RECTANGLE_ARB;
        glGetIntegerv(query, &bound);
        glBindTexture(d.textureTarget, d.textureID);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(d.textureTarget, 0, GL_RGB, GL_UNSIGNED_BYTE, out.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        glBindTexture(d.textureTarget, bound);
        return out;
    }

    static GLint levelSize(ofTexture& texture, GLenum which)
    {
        GLint value = 0;
        glBindTexture(texture.texData.textureTarget, texture.texData.textureID);
        glGetTexLevelParameteriv(texture.texData.textureTarget, 0, which, &value);
        glBindTexture(texture.texData.textureTarget, 0);
        return value;
    }
};

} // namespace

TEST(ofNextPow2, SmallestPowerOfTwoNotBelow)
{
    EXPECT_EQ(ofNextPow2(-5), 1);
    EXPECT_EQ(ofNextPow2(0), 1);
    EXPECT_EQ(ofNextPow2(1), 1);
    EXPECT_EQ(ofNextPow2(2), 2);
    EXPECT_EQ(ofNextPow2(3), 4);
    EXPECT_EQ(ofNextPow2(200), 256);
    EXPECT_EQ(ofNextPow2(300), 512);
    EXPECT_EQ(ofNextPow2(1024), 1024);
    EXPECT_EQ(ofNextPow2(0x7FFFFFFF), 1 << 30);   // no overflow
}

TEST_F(Texture, NewTextureHasNothingAllocated)
{
    ofTexture texture;
    EXPECT_EQ(texture.texData.textureTarget, GL_TEXTURE_2D);
    EXPECT_EQ(texture.texData.pixelType, GL_UNSIGNED_BYTE);
    EXPECT_EQ(texture.texData.textureID, 0u);
    EXPECT_FALSE(texture.bAllocated());
    EXPECT_EQ(texture.getWidth(), 0.0f);
    testsupport::StdoutCapture capture;
    ofTextureData data = texture.getTextureData();
    EXPECT_EQ(capture.finish(), "OF_ERROR: getTextureData() - texture has not been allocated\n");
    EXPECT_FALSE(data.bAllocated);
}

TEST_F(Texture, PowerOfTwoTextureIsPaddedAndUsesTheFilledFraction)
{
    std::vector<unsigned char> rgb(300 * 200 * 3, 77);
    ofTexture texture;
    texture.allocate(300, 200, GL_RGB, false);
    EXPECT_EQ(texture.texData.textureTarget, GL_TEXTURE_2D);
    EXPECT_FLOAT_EQ(texture.texData.tex_w, 512.0f);
    EXPECT_FLOAT_EQ(texture.texData.tex_h, 256.0f);
    EXPECT_EQ(levelSize(texture, GL_TEXTURE_WIDTH), 512);
    EXPECT_EQ(levelSize(texture, GL_TEXTURE_HEIGHT), 256);

    texture.loadData(rgb.data(), 300, 200, GL_RGB);
    ofTextureData data = texture.getTextureData();
    EXPECT_FLOAT_EQ(data.tex_t, 0.5859375f);
    EXPECT_FLOAT_EQ(data.tex_u, 0.78125f);
    EXPECT_FLOAT_EQ(data.width, 300.0f);
    EXPECT_FLOAT_EQ(data.height, 200.0f);
    EXPECT_EQ(data.glType, GL_RGB);
    EXPECT_TRUE(data.bAllocated);
}

TEST_F(Texture, RectangleTextureHasExactSizeAndPixelCoordinates)
{
    if (!rectanglesOffered()) {
        GTEST_SKIP() << "the driver offers no rectangle textures";
    }
    std::vector<unsigned char> rgb(300 * 200 * 3, 77);
    ofTexture texture;
    texture.allocate(300, 200, GL_RGB);
    EXPECT_EQ(texture.texData.textureTarget, GL_TEXTURE_RECTANGLE_ARB);
    EXPECT_EQ(levelSize(texture, GL_TEXTURE_WIDTH), 300);
    texture.loadData(rgb.data(), 300, 200, GL_RGB);
    EXPECT_FLOAT_EQ(texture.texData.tex_w, 300.0f);
    EXPECT_FLOAT_EQ(texture.texData.tex_t, 300.0f);
    EXPECT_FLOAT_EQ(texture.texData.tex_u, 200.0f);

    // Switching the preference off gives padded textures by default.
    ofDisableArbTex();
    EXPECT_FALSE(ofGetUsingArbTex());
    ofTexture padded;
    padded.allocate(300, 200, GL_RGB);
    EXPECT_EQ(padded.texData.textureTarget, GL_TEXTURE_2D);
    EXPECT_FLOAT_EQ(padded.texData.tex_w, 512.0f);
}

TEST_F(Texture, LoadedImageUploadsIntoItsTexture)
{
    testsupport::ScratchDir dir;
    ofDisableArbTex();
    std::filesystem::path file = pictures::save(pictures::colour(300, 200, 24, pictures::pattern), FIF_PNG, dir.path() / "p.png");
    ofImage image;
    ASSERT_TRUE(image.loadImage(file.string()));
    ofTexture& texture = image.getTextureReference();
    EXPECT_FLOAT_EQ(texture.texData.tex_w, 512.0f);
    EXPECT_FLOAT_EQ(texture.texData.tex_t, 0.5859375f);
    EXPECT_FLOAT_EQ(texture.texData.tex_u, 0.78125f);
    std::vector<unsigned char> stored = texels(texture);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{4, 0}, std::pair{2, 3}, std::pair{299, 199}}) {
        pictures::Rgba want = pictures::pattern(x, y);
        const unsigned char* got = stored.data() + (static_cast<size_t>(y) * 512 + x) * 3;
        EXPECT_EQ(got[0], want[0]);
        EXPECT_EQ(got[1], want[1]);
        EXPECT_EQ(got[2], want[2]);
    }
}

TEST_F(Texture, OddRowLengthsUploadWithoutSkewAndAlignmentIsRestored)
{
    // 3 x 2 RGB: 9-byte rows, which the default 4-byte alignment would skew.
    std::vector<unsigned char> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    ofTexture texture;
    texture.allocate(3, 2, GL_RGB, false);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    texture.loadData(rgb.data(), 3, 2, GL_RGB);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 8);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);

    std::vector<unsigned char> stored = texels(texture);   // 4 x 2 texels
    EXPECT_EQ(std::vector<unsigned char>(stored.begin(), stored.begin() + 9), std::vector<unsigned char>(rgb.begin(), rgb.begin() + 9));
    EXPECT_EQ(std::vector<unsigned char>(stored.begin() + 12, stored.begin() + 21), std::vector<unsigned char>(rgb.begin() + 9, rgb.end()));
}

TEST_F(Texture, TooBigUploadIsRefusedAndChangesNothing)
{
    std::vector<unsigned char> small(512 * 512 * 3, 40);
    std::vector<unsigned char> big(600 * 600 * 3, 200);
    ofTexture texture;
    texture.allocate(512, 512, GL_RGB, false);
    texture.loadData(small.data(), 500, 400, GL_RGB);
    ofTextureData before = texture.texData;

    testsupport::StdoutCapture capture;
    texture.loadData(big.data(), 600, 600, GL_RGB);
    EXPECT_EQ(capture.finish(), "OF_ERROR: image data too big for allocated texture. not uploading...\n");
    EXPECT_EQ(texture.texData.width, before.width);
    EXPECT_EQ(texture.texData.height, before.height);
    EXPECT_EQ(texture.texData.tex_t, before.tex_t);
    EXPECT_EQ(texture.texData.tex_u, before.tex_u);
    std::vector<unsigned char> stored = texels(texture);
    EXPECT_EQ(stored[0], 40);
    EXPECT_EQ(stored[(399 * 512 + 499) * 3], 40);
}

TEST_F(Texture, UploadsIntoNothingAreRefused)
{
    unsigned char rgb[3] = {1, 2, 3};
    ofTexture texture;
    testsupport::StdoutCapture capture;
    texture.loadData(rgb, 1, 1, GL_RGB);
    std::string out = capture.finish();
    EXPECT_EQ(out.rfind("OF_ERROR: ", 0), 0u) << out;
    EXPECT_FALSE(texture.bAllocated());
    EXPECT_EQ(texture.texData.width, 0.0f);
}

TEST_F(Texture, FloatFormatsAndByteData)
{
    ofTexture texture;
    texture.allocate(2, 2, GL_RGBA32F_ARB, false);
    EXPECT_EQ(texture.texData.glType, GL_RGBA);
    EXPECT_EQ(texture.texData.pixelType, GL_FLOAT);
    ofTexture rgb;
    rgb.allocate(2, 2, GL_RGB32F_ARB, false);
    EXPECT_EQ(rgb.texData.glType, GL_RGB);
    EXPECT_EQ(rgb.texData.pixelType, GL_FLOAT);
    ofTexture grey;
    grey.allocate(2, 2, GL_LUMINANCE32F_ARB, false);
    EXPECT_EQ(grey.texData.glType, GL_LUMINANCE);
    ofTexture plain;
    plain.allocate(2, 2, GL_RGBA, false);
    EXPECT_EQ(plain.texData.glType, GL_LUMINANCE);
    EXPECT_EQ(plain.texData.pixelType, GL_UNSIGNED_BYTE);

    // Bytes handed to a float texture are read as bytes: 16 of them, not 64.
    unsigned char bytes[16] = {255, 0, 51, 255, 0, 255, 0, 255, 0, 0, 255, 255, 102, 102, 102, 255};
    texture.loadData(bytes, 2, 2, GL_RGBA);
    float stored[16] = {};
    glBindTexture(GL_TEXTURE_2D, texture.texData.textureID);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, stored);
    glBindTexture(GL_TEXTURE_2D, 0);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(stored[i], bytes[i] / 255.0f, 1e-3f) << i;
    }
    float values[16] = {0.25f, 0.5f, 0.75f, 1.0f};
    texture.loadData(values, 2, 2, GL_RGBA);
    glBindTexture(GL_TEXTURE_2D, texture.texData.textureID);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, stored);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_FLOAT_EQ(stored[1], 0.5f);
}

TEST_F(Texture, ParametersDefaultToLinearClampAndCanBeChanged)
{
    ofTexture texture;
    texture.allocate(16, 16, GL_RGB, false);
    auto parameter = [&](GLenum name) {
        GLint value = 0;
        glBindTexture(GL_TEXTURE_2D, texture.texData.textureID);
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        glBindTexture(GL_TEXTURE_2D, 0);
        return value;
    };
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    texture.setTextureWrap(GL_REPEAT, GL_MIRRORED_REPEAT);
    texture.setTextureMinMagFilter(GL_NEAREST, GL_NEAREST);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_WRAP_T), GL_MIRRORED_REPEAT);
    EXPECT_EQ(parameter(GL_TEXTURE_MIN_FILTER), GL_NEAREST);
    EXPECT_EQ(parameter(GL_TEXTURE_MAG_FILTER), GL_NEAREST);
}

TEST_F(Texture, AllocatingAndUploadingLeaveBindingAndEnablesAsFound)
{
    GLuint other = 0;
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    glEnable(GL_TEXTURE_2D);
    unsigned char rgb[4 * 4 * 3] = {};
    {
        ofTexture texture;
        texture.allocate(4, 4, GL_RGB, false);
        texture.loadData(rgb, 4, 4, GL_RGB);
        texture.setTextureWrap(GL_REPEAT, GL_REPEAT);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<GLuint>(bound), other);
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    }
    glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &other);

    ofTexture texture;
    texture.allocate(4, 4, GL_RGB, false);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(Texture, ClearAndDestructionDeleteTheName)
{
    GLuint name = 0;
    {
        ofTexture texture;
        texture.allocate(8, 8, GL_RGB, false);
        name = texture.texData.textureID;
        ASSERT_NE(name, 0u);
        EXPECT_TRUE(glIsTexture(name));
        texture.clear();
        EXPECT_FALSE(glIsTexture(name));
        EXPECT_EQ(texture.texData.textureID, 0u);
        EXPECT_FALSE(texture.bAllocated());
        texture.allocate(8, 8, GL_RGB, false);
        name = texture.texData.textureID;
        // Re-allocating replaces the old name instead of leaking it.
        texture.allocate(8, 8, GL_RGB, false);
        EXPECT_FALSE(glIsTexture(name));
        name = texture.texData.textureID;
    }
    EXPECT_FALSE(glIsTexture(name));
}

TEST_F(Texture, CopiesAreRefusedWithAWarning)
{
    ofTexture original;
    original.allocate(8, 8, GL_RGB, false);
    testsupport::StdoutCapture capture;
    ofTexture copy(original);
    ofTexture assigned;
    assigned = original;
    EXPECT_EQ(capture.finish(),
              "OF_WARNING: overloaded ofTexture copy constructor to do nothing. please use FBO or other means to copy textures\n"
              "OF_WARNING: overloaded ofTexture = operator to do nothing. please use FBO or other means to copy textures\n");
    EXPECT_EQ(copy.texData.textureID, 0u);
    EXPECT_FALSE(copy.bAllocated());
    EXPECT_EQ(assigned.texData.textureID, 0u);
    EXPECT_TRUE(glIsTexture(original.texData.textureID));
}

TEST_F(Texture, BindEnablesAndNormalisedCoordinatesScaleTheTextureMatrix)
{
    std::vector<unsigned char> rgb(300 * 200 * 3, 0);
    ofTexture texture;
    texture.allocate(300, 200, GL_RGB, false);
    texture.loadData(rgb.data(), 300, 200, GL_RGB);

    texture.bind();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture.texData.textureID);
    texture.unbind();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));

    ofEnableNormalizedTexCoords();
    GLint depthBefore = 0;
    glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &depthBefore);
    texture.bind();
    GLfloat m[16] = {};
    glGetFloatv(GL_TEXTURE_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 0.5859375f / 512.0f);
    EXPECT_FLOAT_EQ(m[5], 0.78125f / 256.0f);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    texture.unbind();
    GLint depthAfter = 0;
    glGetIntegerv(GL_TEXTURE_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
}
