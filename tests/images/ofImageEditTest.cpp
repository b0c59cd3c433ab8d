#include "PictureFiles.h"

#include "media/ofImage.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using pictures::Rgba;

namespace {

class ImageEdit : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testsupport::ensureGlContext()); }
};

std::vector<unsigned char> patternBytes(int w, int h, int bytes)
{
    std::vector<unsigned char> data;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            Rgba p = pictures::pattern(x, y);
            data.insert(data.end(), p.begin(), p.begin() + bytes);
        }
    }
    return data;
}

} // namespace

TEST_F(ImageEdit, AllocateSetsDepthFormatAndTexture)
{
    ofImage image;
    image.allocate(30, 20, OF_IMAGE_COLOR_ALPHA);
    EXPECT_EQ(image.width, 30);
    EXPECT_EQ(image.height, 20);
    EXPECT_EQ(image.bpp, 32);
    EXPECT_EQ(image.type, OF_IMAGE_COLOR_ALPHA);
    EXPECT_EQ(image.myPixels.bytesPerPixel, 4);
    EXPECT_EQ(image.myPixels.glDataType, GL_RGBA);
    EXPECT_TRUE(image.tex.bAllocated());
    EXPECT_FLOAT_EQ(image.tex.getWidth(), 30.0f);
    EXPECT_EQ(image.tex.texData.glTypeInternal, GL_RGBA);

    testsupport::StdoutCapture capture;
    image.allocate(5, 5, 7);
    EXPECT_EQ(capture.finish(), "OF_ERROR: error = bad imageType in ofImage::allocate\n");
    EXPECT_EQ(image.width, 30);
    EXPECT_EQ(image.bpp, 32);
}

TEST_F(ImageEdit, NonsenseSizesAreRefused)
{
    ofImage image;
    for (auto [w, h] : {std::pair{-4, 4}, std::pair{4, 0}, std::pair{100000, 100000}}) {
        testsupport::StdoutCapture capture;
        image.allocate(w, h, OF_IMAGE_COLOR);
        std::string out = capture.finish();
        EXPECT_EQ(out.rfind("OF_ERROR: ", 0), 0u) << out;
        EXPECT_FALSE(image.myPixels.bAllocated);
    }
    unsigned char byte = 0;
    testsupport::StdoutCapture capture;
    image.setFromPixels(&byte, -1, 1, OF_IMAGE_GRAYSCALE);
    image.setFromPixels(nullptr, 1, 1, OF_IMAGE_GRAYSCALE);
    std::string out = capture.finish();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;
    EXPECT_FALSE(image.myPixels.bAllocated);
}

TEST_F(ImageEdit, SetFromPixelsCopiesAndSwapsBlueFirstData)
{
    std::vector<unsigned char> rgb = patternBytes(4, 3, 3);
    std::vector<unsigned char> bgr = rgb;
    for (size_t i = 0; i < bgr.size(); i += 3) {
        std::swap(bgr[i], bgr[i + 2]);
    }
    ofImage image;
    image.setFromPixels(bgr.data(), 4, 3, OF_IMAGE_COLOR, false);
    EXPECT_EQ(image.bpp, 24);
    EXPECT_EQ(std::vector<unsigned char>(image.getPixels(), image.getPixels() + rgb.size()), rgb);
    unsigned char* buffer = image.getPixels();

    // Same size and type: the buffer is reused.
    image.setFromPixels(rgb.data(), 4, 3, OF_IMAGE_COLOR);
    EXPECT_EQ(image.getPixels(), buffer);
    EXPECT_EQ(std::vector<unsigned char>(image.getPixels(), image.getPixels() + rgb.size()), rgb);

    // Grey data has no channels to swap.
    std::vector<unsigned char> grey = {1, 2, 3, 4, 5, 6};
    image.setFromPixels(grey.data(), 3, 2, OF_IMAGE_GRAYSCALE, false);
    EXPECT_EQ(image.type, OF_IMAGE_GRAYSCALE);
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(std::vector<unsigned char>(image.getPixels(), image.getPixels() + 6), grey);
}

TEST_F(ImageEdit, SetFromPixelsWithBadTypeLeavesTheImageAlone)
{
    std::vector<unsigned char> rgb = patternBytes(4, 3, 3);
    ofImage image;
    image.setFromPixels(rgb.data(), 4, 3, OF_IMAGE_COLOR);
    testsupport::StdoutCapture capture;
    image.setFromPixels(rgb.data(), 2, 2, 9);
    EXPECT_EQ(capture.finish(), "OF_ERROR: error = bad imageType in ofImage::setFromPixels\n");
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.type, OF_IMAGE_COLOR);
    EXPECT_EQ(std::vector<unsigned char>(image.getPixels(), image.getPixels() + rgb.size()), rgb);
}

TEST_F(ImageEdit, ClearReturnsToTheNewImageState)
{
    ofImage image;
    image.allocate(8, 8, OF_IMAGE_COLOR);
    GLuint texture = image.tex.texData.textureID;
    ASSERT_TRUE(glIsTexture(texture));
    image.setUseTexture(true);
    image.clear();
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.bpp, 0);
    EXPECT_EQ(image.type, OF_IMAGE_UNDEFINED);
    EXPECT_EQ(image.getPixels(), nullptr);
    EXPECT_FALSE(image.myPixels.bAllocated);
    EXPECT_EQ(image.myPixels.glDataType, GL_LUMINANCE);
    EXPECT_FALSE(image.tex.bAllocated());
    EXPECT_FALSE(glIsTexture(texture));

    image.setUseTexture(false);
    image.clear();
    EXPECT_TRUE(image.bUseTexture);
}

TEST_F(ImageEdit, WithoutTextureOnlyPixelsAreKept)
{
    std::vector<unsigned char> rgb = patternBytes(4, 3, 3);
    ofImage image;
    image.setUseTexture(false);
    image.setFromPixels(rgb.data(), 4, 3, OF_IMAGE_COLOR);
    EXPECT_EQ(image.width, 4);
    EXPECT_FALSE(image.tex.bAllocated());
    testsupport::StdoutCapture capture;
    ofTexture& texture = image.getTextureReference();
    EXPECT_EQ(capture.finish(), "OF_WARNING: ofImage - getTextureReference - texture is not allocated\n");
    EXPECT_EQ(&texture, &image.tex);
}

TEST_F(ImageEdit, CopiesAreDeepAndOwnTheirTexture)
{
    std::vector<unsigned char> rgba = patternBytes(5, 4, 4);
    ofImage original;
    original.setFromPixels(rgba.data(), 5, 4, OF_IMAGE_COLOR_ALPHA);

    testsupport::StdoutCapture capture;   // a texture copy would complain here
    ofImage copy(original);
    ofImage assigned;
    assigned.allocate(2, 2, OF_IMAGE_GRAYSCALE);
    assigned = original;
    assigned = assigned;
    EXPECT_EQ(capture.finish(), "");

    for (ofImage* image : {&copy, &assigned}) {
        EXPECT_NE(image->getPixels(), original.getPixels());
        EXPECT_EQ(image->width, 5);
        EXPECT_EQ(image->height, 4);
        EXPECT_EQ(image->bpp, 32);
        EXPECT_EQ(std::vector<unsigned char>(image->getPixels(), image->getPixels() + rgba.size()), rgba);
        EXPECT_TRUE(image->tex.bAllocated());
        EXPECT_NE(image->tex.texData.textureID, original.tex.texData.textureID);
    }
    copy.getPixels()[0] = 99;
    EXPECT_EQ(original.getPixels()[0], rgba[0]);

    ofImage empty;
    ofImage emptyCopy(empty);
    EXPECT_EQ(emptyCopy.getPixels(), nullptr);
    assigned = empty;
    EXPECT_EQ(assigned.getPixels(), nullptr);
    EXPECT_EQ(assigned.width, 0);
}

TEST_F(ImageEdit, ResizeRescalesPixelsAndTexture)
{
    std::vector<unsigned char> uniform;
    for (int i = 0; i < 6 * 4; ++i) {
        uniform.insert(uniform.end(), {200, 100, 50});
    }
    ofImage image;
    image.setFromPixels(uniform.data(), 6, 4, OF_IMAGE_COLOR);
    image.resize(12, 3);
    EXPECT_EQ(image.width, 12);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.bpp, 24);
    EXPECT_FLOAT_EQ(image.tex.getWidth(), 12.0f);
    EXPECT_FLOAT_EQ(image.tex.getHeight(), 3.0f);
    for (int i = 0; i < 12 * 3; ++i) {
        Rgba p = pictures::pixelAt(image.getPixels(), 12, 3, i % 12, i / 12);
        EXPECT_NEAR(p[0], 200, 1);
        EXPECT_NEAR(p[1], 100, 1);
        EXPECT_NEAR(p[2], 50, 1);
    }

    // A left-black, right-white picture keeps its sides when scaled.
    std::vector<unsigned char> halves = {0, 0, 255, 255, 0, 0, 255, 255};
    ofImage grey;
    grey.setFromPixels(halves.data(), 4, 2, OF_IMAGE_GRAYSCALE);
    grey.resize(8, 4);
    EXPECT_EQ(grey.bpp, 8);
    EXPECT_LT(grey.getPixels()[0], 20);
    EXPECT_GT(grey.getPixels()[7], 235);

    ofImage empty;
    testsupport::StdoutCapture capture;
    empty.resize(4, 4);
    EXPECT_EQ(capture.finish(), "OF_ERROR: ofImage::resize - pixels aren't allocated\n");
}

TEST_F(ImageEdit, SetImageTypeConvertsPixelsAndWidensTheTexture)
{
    std::vector<unsigned char> rgb = {255, 0, 0, 0, 255, 0, 0, 0, 255, 128, 128, 128};
    ofImage image;
    image.setFromPixels(rgb.data(), 2, 2, OF_IMAGE_COLOR);

    image.setImageType(OF_IMAGE_GRAYSCALE);
    EXPECT_EQ(image.bpp, 8);
    EXPECT_EQ(image.type, OF_IMAGE_GRAYSCALE);
    unsigned char* grey = image.getPixels();
    // Green weighs most, blue least; mid grey stays mid grey.
    EXPECT_GT(grey[1], grey[0]);
    EXPECT_GT(grey[0], grey[2]);
    EXPECT_NEAR(grey[3], 128, 1);

    image.setImageType(OF_IMAGE_COLOR_ALPHA);
    EXPECT_EQ(image.bpp, 32);
    EXPECT_EQ(image.tex.texData.glTypeInternal, GL_RGBA);
    Rgba p = pictures::pixelAt(image.getPixels(), 2, 4, 1, 1);
    EXPECT_NEAR(p[0], 128, 1);
    EXPECT_EQ(p[0], p[1]);
    EXPECT_EQ(p[1], p[2]);
    EXPECT_EQ(p[3], 255);

    testsupport::StdoutCapture capture;
    image.setImageType(5);
    EXPECT_EQ(capture.finish(), "OF_ERROR: error = bad imageType in ofImage::setImageType\n");
    EXPECT_EQ(image.bpp, 32);
}
