#include "media/ofImage.h"

#include "media/ofAppRunner.h"
#include "media/ofImageSupport.h"
#include "media/ofUtils.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace ofImageSupport {

int bitsForType(int type)
{
    switch (type) {
    case OF_IMAGE_GRAYSCALE: return 8;
    case OF_IMAGE_COLOR: return 24;
    case OF_IMAGE_COLOR_ALPHA: return 32;
    default: return 0;
    }
}

bool sizeAcceptable(long long w, long long h)
{
    return w > 0 && h > 0 && w <= OF_IMAGE_MAX_SIDE && h <= OF_IMAGE_MAX_SIDE
        && w * h * 4 <= OF_IMAGE_MAX_BYTES;
}

void logBadSize(const char* what, long long w, long long h)
{
    ofLog(OF_LOG_ERROR, "ofImage: [%s] bad picture size (got %lld x %lld, limit %d a side and %lld bytes)",
          what, w, h, OF_IMAGE_MAX_SIDE, OF_IMAGE_MAX_BYTES);
}

void allocatePixels(ofPixels& pix, int w, int h, int bitsPerPixel)
{
    if (pix.bAllocated && pix.width == w && pix.height == h && pix.bitsPerPixel == bitsPerPixel) {
        return;
    }
    delete[] pix.pixels;
    pix.pixels = nullptr;
    pix.width = w;
    pix.height = h;
    pix.bitsPerPixel = bitsPerPixel;
    pix.bytesPerPixel = bitsPerPixel / 8;
    switch (bitsPerPixel) {
    case 8:
        pix.glDataType = GL_LUMINANCE;
        pix.ofImageType = OF_IMAGE_GRAYSCALE;
        break;
    case 24:
        pix.glDataType = GL_RGB;
        pix.ofImageType = OF_IMAGE_COLOR;
        break;
    default:
        pix.glDataType = GL_RGBA;
        pix.ofImageType = OF_IMAGE_COLOR_ALPHA;
        break;
    }
    pix.pixels = new unsigned char[static_cast<size_t>(w) * h * pix.bytesPerPixel]();
    pix.bAllocated = true;
}

void swapRedBlue(unsigned char* pixels, size_t count, int bytesPerPixel)
{
    for (size_t i = 0; i < count; ++i, pixels += bytesPerPixel) {
        std::swap(pixels[0], pixels[2]);
    }
}

} // namespace ofImageSupport

using namespace ofImageSupport;

ofImage::ofImage()
{
    startImageLibrary();
}

ofImage::ofImage(const ofImage& other) : ofBaseImage()
{
    startImageLibrary();
    clone(other);
    update();
}

ofImage& ofImage::operator=(const ofImage& other)
{
    if (this != &other) {
        clone(other);
        update();
    }
    return *this;
}

ofImage::~ofImage()
{
    clear();
}

void ofImage::clone(const ofImage& other)
{
    if (other.myPixels.bAllocated) {
        const ofPixels& src = other.myPixels;
        allocatePixels(myPixels, src.width, src.height, src.bitsPerPixel);
        std::memcpy(myPixels.pixels, src.pixels, static_cast<size_t>(src.width) * src.height * src.bytesPerPixel);
    } else {
        resetPixels();
    }
    tex.clear();
    bUseTexture = other.bUseTexture;
    if (bUseTexture && myPixels.bAllocated) {
        tex.allocate(myPixels.width, myPixels.height, myPixels.glDataType);
    }
}

void ofImage::resetPixels()
{
    delete[] myPixels.pixels;
    myPixels = ofPixels();
}

void ofImage::allocate(int w, int h, int newType)
{
    int bits = bitsForType(newType);
    if (bits == 0) {
        ofLog(OF_LOG_ERROR, "error = bad imageType in ofImage::allocate");
        return;
    }
    if (!sizeAcceptable(w, h)) {
        logBadSize("allocate", w, h);
        return;
    }
    allocatePixels(myPixels, w, h, bits);
    if (myPixels.bAllocated && bUseTexture) {
        tex.allocate(myPixels.width, myPixels.height, myPixels.glDataType);
    }
    update();
}

void ofImage::clear()
{
    resetPixels();
    if (bUseTexture) {
        tex.clear();
    }
    width = 0;
    height = 0;
    bpp = 0;
    type = OF_IMAGE_UNDEFINED;
    bUseTexture = true;
}

void ofImage::setFromPixels(const unsigned char* pixels, int w, int h, int newType, bool bOrderIsRGB)
{
    // Checked first so a bad call leaves the image exactly as it was.
    int bits = bitsForType(newType);
    if (bits == 0) {
        ofLog(OF_LOG_ERROR, "error = bad imageType in ofImage::setFromPixels");
        return;
    }
    if (pixels == nullptr) {
        ofLog(OF_LOG_ERROR, "ofImage::setFromPixels - no pixels given");
        return;
    }
    if (!sizeAcceptable(w, h)) {
        logBadSize("setFromPixels", w, h);
        return;
    }
    if (!myPixels.bAllocated) {
        allocate(w, h, newType);
    }
    if (w != width || h != height || newType != type) {
        bool useTexture = bUseTexture;
        clear();
        bUseTexture = useTexture;
        allocate(w, h, newType);
    }
    size_t count = static_cast<size_t>(w) * h;
    std::memcpy(myPixels.pixels, pixels, count * myPixels.bytesPerPixel);
    if (myPixels.bytesPerPixel > 1 && !bOrderIsRGB) {
        swapRedBlue(myPixels.pixels, count, myPixels.bytesPerPixel);
    }
    update();
}

void ofImage::update()
{
    if (myPixels.bAllocated && bUseTexture) {
        tex.loadData(myPixels.pixels, myPixels.width, myPixels.height, myPixels.glDataType);
    }
    width = myPixels.width;
    height = myPixels.height;
    bpp = myPixels.bitsPerPixel;
    type = myPixels.ofImageType;
}

unsigned char* ofImage::getPixels() { return myPixels.pixels; }
float ofImage::getWidth() { return static_cast<float>(width); }
float ofImage::getHeight() { return static_cast<float>(height); }

void ofImage::setUseTexture(bool useTexture)
{
    bUseTexture = useTexture;
}

ofTexture& ofImage::getTextureReference()
{
    if (!tex.bAllocated()) {
        ofLog(OF_LOG_WARNING, "ofImage - getTextureReference - texture is not allocated");
    }
    return tex;
}

void ofImage::grabScreen(int x, int y, int w, int h)
{
    if (!sizeAcceptable(w, h)) {
        logBadSize("grabScreen", w, h);
        return;
    }
    if (!myPixels.bAllocated) {
        allocate(w, h, OF_IMAGE_COLOR);
    } else if (w != myPixels.width || h != myPixels.height) {
        allocate(w, h, myPixels.ofImageType);
    }
    // The frame buffer counts rows from the bottom of the window.
    int bottom = ofGetHeight() - y - h;
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, bottom, w, h, myPixels.glDataType, GL_UNSIGNED_BYTE, myPixels.pixels);
    glPopClientAttrib();

    size_t rowBytes = static_cast<size_t>(w) * myPixels.bytesPerPixel;
    for (int top = 0, low = h - 1; top < low; ++top, --low) {
        std::swap_ranges(myPixels.pixels + top * rowBytes, myPixels.pixels + (top + 1) * rowBytes,
                         myPixels.pixels + low * rowBytes);
    }
    update();
}

void ofImage::draw(float x, float y, float w, float h)
{
    if (bUseTexture) {
        tex.draw(x, y, w, h);
    }
}

void ofImage::draw(float x, float y)
{
    draw(x, y, static_cast<float>(width), static_cast<float>(height));
}

void ofImage::setAnchorPercent(float xPct, float yPct)
{
    if (bUseTexture) {
        tex.setAnchorPercent(xPct, yPct);
    }
}

void ofImage::setAnchorPoint(float x, float y)
{
    if (bUseTexture) {
        tex.setAnchorPoint(x, y);
    }
}

void ofImage::resetAnchor()
{
    if (bUseTexture) {
        tex.resetAnchor();
    }
}
