// Uploading model texture maps: row order, packing, depth checks and messages.
#include "media/ofUtils.h"
#include "models/texture3DS.h"
#include "support/TestSupport.h"
#include "Pictures.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

namespace {

class texture3DSUpload : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(testsupport::ensureGlContext());
        glGenTextures(1, &name);
    }
    void TearDown() override { glDeleteTextures(1, &name); }

    // Level `level` of the texture as tightly packed bytes in `format`.
    std::vector<uint8_t> readBack(GLenum format, int bytesPerPixel, int level = 0)
    {
        glBindTexture(GL_TEXTURE_2D, name);
        GLint width = 0;
        GLint height = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &height);
        std::vector<uint8_t> pixels(std::size_t(width * height * bytesPerPixel));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (!pixels.empty()) {
            glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, pixels.data());
        }
        return pixels;
    }

    GLuint name = 0;
    testsupport::ScratchDir dir;
};

} // namespace

TEST_F(texture3DSUpload, RowsArriveBottomFirstEvenWhenNotFourByteAligned)
{
    // 2 x 2 pixels of 24 bits: each row is 6 bytes, which the default unpack alignment of 4
    // would misread.
    const std::vector<uint8_t> top = {1, 2, 3, 4, 5, 6};
    const std::vector<uint8_t> bottom = {11, 12, 13, 14, 15, 16};
    std::vector<uint8_t> picture = top;
    picture.insert(picture.end(), bottom.begin(), bottom.end());
    const auto file = dir.write("odd.tga", pictures::tga(2, 2, 24, picture));

    testsupport::StdoutCapture capture;
    texture3DS upload(file.string(), name);
    EXPECT_EQ(capture.finish(), "");

    std::vector<uint8_t> expected = bottom;
    expected.insert(expected.end(), top.begin(), top.end());
    EXPECT_EQ(readBack(GL_RGB, 3), expected);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
}

TEST_F(texture3DSUpload, AlphaIsKeptAndMipmapsAreBuiltWithRepeatingWrap)
{
    std::vector<uint8_t> picture;
    for (int i = 0; i < 4 * 4; ++i) {
        picture.insert(picture.end(), {200, 100, 50, uint8_t(i * 10)});
    }
    const auto file = dir.write("alpha.tga", pictures::tga(4, 4, 32, picture));
    texture3DS upload(file.string(), name);

    const std::vector<uint8_t> level0 = readBack(GL_RGBA, 4);
    ASSERT_EQ(level0.size(), 64u);
    // Last picture row first: its first pixel has alpha 120.
    EXPECT_EQ(level0[0], 200);
    EXPECT_EQ(level0[3], 120);
    EXPECT_EQ(readBack(GL_RGBA, 4, 2).size(), 4u);   // the 1 x 1 level exists

    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_REPEAT);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR_MIPMAP_LINEAR);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(GLuint(value), name);
}

TEST_F(texture3DSUpload, GreyPicturesAreRefused)
{
    const auto file = dir.write("grey.tga", pictures::tga(2, 2, 8, {0, 64, 128, 255}));
    testsupport::StdoutCapture capture;
    texture3DS upload(file.string(), name);
    EXPECT_EQ(capture.finish(), "OF_ERROR: texture3DS ERROR: Invalid texture color depth " + file.string() +
                                    "  must be uncompressed 24/32bpp png, jpg, bmp, tga\n");
    EXPECT_TRUE(readBack(GL_RGB, 3).empty());
}

TEST_F(texture3DSUpload, MissingAndBrokenPicturesSayWhyAndUploadNothing)
{
    const std::string missing = (dir.path() / "missing.png").string();
    const auto broken = dir.write("broken.png", "\x89PNG\r\n\x1a\n truncated");
    testsupport::StdoutCapture capture;
    texture3DS first(missing, name);
    texture3DS second(broken.string(), name);
    const std::string text = capture.finish();
    const std::string lines = "OF_ERROR: texture3DS ERROR:  Could not open " + missing +
        "\nOF_ERROR: texture3DS ERROR: Something wrong with " + missing +
        " - dimensions less than 0\nOF_ERROR: texture3DS ERROR: Invalid texture color depth " + missing +
        "  must be uncompressed 24/32bpp png, jpg, bmp, tga\n";
    EXPECT_EQ(text.substr(0, lines.size()), lines);
    EXPECT_NE(text.find("Could not open " + broken.string()), std::string::npos);
    EXPECT_TRUE(readBack(GL_RGB, 3).empty());
}

TEST_F(texture3DSUpload, SuccessIsSilentAtTheDefaultLogLevel)
{
    const auto file = dir.write("ok.tga", pictures::halves(2, {1, 2, 3}, {4, 5, 6}));
    const int previous = ofGetLogLevel();
    ofSetLogLevel(OF_LOG_NOTICE);
    testsupport::StdoutCapture capture;
    texture3DS upload(file.string(), name);
    ofSetLogLevel(previous);
    EXPECT_EQ(capture.finish(), "OF_NOTICE: texture3DS Texture " + file.string() + " loaded\n");
}
