#include "media/ofImage.h"

#include "media/ofImageHeaderChecks.h"
#include "media/ofImageSupport.h"
#include "media/ofLibraries.h"
#include "media/ofUtils.h"

#include <FreeImage.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace ofImageSupport;

namespace {

bool imageLibraryStarted = false;   // FreeImage_Initialise ran and no shut-down since

FREE_IMAGE_FORMAT formatOf(const std::string& path)
{
    FREE_IMAGE_FORMAT fif = FreeImage_GetFileType(path.c_str(), 0);
    if (fif == FIF_UNKNOWN) {
        fif = FreeImage_GetFIFFromFilename(path.c_str());
    }
    return fif;
}

// Replaces bmp by an 8-bit greyscale, 24-bit or 32-bit standard bitmap: palettes and other
// depths become 24 bits; 16-bit-per-channel and floating-point pictures are brought down to
// 8 bits per channel. Frees what it replaces; null when FreeImage cannot convert.
FIBITMAP* toGameDepth(FIBITMAP* bmp)
{
    FIBITMAP* standard = nullptr;
    switch (FreeImage_GetImageType(bmp)) {
    case FIT_BITMAP: standard = bmp; break;
    case FIT_UINT16: standard = FreeImage_ConvertTo8Bits(bmp); break;
    case FIT_RGB16: standard = FreeImage_ConvertTo24Bits(bmp); break;
    case FIT_RGBA16: standard = FreeImage_ConvertTo32Bits(bmp); break;
    case FIT_RGBF:
    case FIT_RGBAF: standard = FreeImage_ToneMapping(bmp, FITMO_DRAGO03, 0, 0); break;
    default: standard = FreeImage_ConvertToStandardType(bmp, TRUE); break;
    }
    if (standard != bmp) {
        FreeImage_Unload(bmp);
        if (standard == nullptr) {
            return nullptr;
        }
        bmp = standard;
    }
    unsigned bits = FreeImage_GetBPP(bmp);
    // Only a plain black-to-white ramp stays grey; any other palette holds colours.
    bool grey = bits == 8 && FreeImage_GetColorType(bmp) == FIC_MINISBLACK;
    if (!grey && bits != 24 && bits != 32) {
        FIBITMAP* colour = FreeImage_ConvertTo24Bits(bmp);
        FreeImage_Unload(bmp);
        bmp = colour;
    }
    return bmp;
}

// Copies a bitmap of game depth into pix, top row first, as R, G, B[, A]. Refuses (with one
// line naming `what`) and leaves pix untouched when the size is out of bounds.
bool bitmapToPixels(FIBITMAP* bmp, ofPixels& pix, const char* what)
{
    long long w = FreeImage_GetWidth(bmp);
    long long h = FreeImage_GetHeight(bmp);
    int bits = static_cast<int>(FreeImage_GetBPP(bmp));
    if (!sizeAcceptable(w, h)) {
        logBadSize(what, w, h);
        return false;
    }
    allocatePixels(pix, static_cast<int>(w), static_cast<int>(h), bits);
    FreeImage_ConvertToRawBits(pix.pixels, bmp, pix.width * pix.bytesPerPixel, bits,
                               FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, TRUE);
    // FreeImage keeps blue first in memory.
    if (pix.bytesPerPixel > 1) {
        swapRedBlue(pix.pixels, static_cast<size_t>(pix.width) * pix.height, pix.bytesPerPixel);
    }
    return true;
}

// A FreeImage bitmap holding a copy of pix (which must be allocated); null on failure.
FIBITMAP* pixelsToBitmap(const ofPixels& pix)
{
    FIBITMAP* bmp = FreeImage_ConvertFromRawBits(pix.pixels, pix.width, pix.height,
                                                 pix.width * pix.bytesPerPixel, pix.bitsPerPixel,
                                                 FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, TRUE);
    if (bmp == nullptr) {
        return nullptr;
    }
    if (pix.bytesPerPixel == 1) {
        RGBQUAD* palette = FreeImage_GetPalette(bmp);
        for (int i = 0; palette != nullptr && i < 256; ++i) {
            palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
        }
    } else {
        for (int row = 0; row < pix.height; ++row) {
            swapRedBlue(FreeImage_GetScanLine(bmp, row), static_cast<size_t>(pix.width), pix.bytesPerPixel);
        }
    }
    return bmp;
}

// Opens a picture file as a bitmap of game depth. Null, silently, when the file is missing or
// not a picture FreeImage reads; null with one error line when the picture is too large.
FIBITMAP* readBitmap(const std::string& path)
{
    FREE_IMAGE_FORMAT fif = formatOf(path);
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif)) {
        return nullptr;
    }
    if (refuseBeforeDecoding(fif, path)) {
        return nullptr;
    }
    FIBITMAP* bmp = FreeImage_Load(fif, path.c_str(), 0);
    if (bmp == nullptr) {
        return nullptr;
    }
    if (!FreeImage_HasPixels(bmp)) {
        FreeImage_Unload(bmp);
        return nullptr;
    }
    // Whatever the header said, the decoded size decides before a conversion to 24 or 32
    // bits multiplies the memory a picture takes.
    const long long w = FreeImage_GetWidth(bmp);
    const long long h = FreeImage_GetHeight(bmp);
    if (!sizeAcceptable(w, h)) {
        logBadSize(path.c_str(), w, h);
        FreeImage_Unload(bmp);
        return nullptr;
    }
    bmp = toGameDepth(bmp);
    if (bmp == nullptr) {
        ofLog(OF_LOG_ERROR, "ofImage: [%s] pixel format cannot be converted to 8, 24 or 32 bits", path.c_str());
    }
    return bmp;
}

} // namespace

void ofImageSupport::startImageLibrary()
{
    if (!imageLibraryStarted) {
        FreeImage_Initialise(0);
        imageLibraryStarted = true;
    }
}

bool ofImageLibraryIsStarted()
{
    return imageLibraryStarted;
}

void ofImageLibraryShutdown()
{
    if (imageLibraryStarted) {
        FreeImage_DeInitialise();
        imageLibraryStarted = false;
    }
}

bool ofImage::loadImage(std::string fileName)
{
    startImageLibrary();
    std::string path = ofToDataPath(fileName);
    FIBITMAP* bmp = readBitmap(path);
    if (bmp == nullptr) {
        return false;
    }
    bool loaded = bitmapToPixels(bmp, myPixels, path.c_str());
    FreeImage_Unload(bmp);
    if (!loaded) {
        return false;
    }
    if (myPixels.bAllocated && bUseTexture) {
        tex.allocate(myPixels.width, myPixels.height, myPixels.glDataType);
    }
    update();
    return true;
}

void ofImage::saveImage(std::string fileName)
{
    if (!myPixels.bAllocated) {
        ofLog(OF_LOG_ERROR, "error saving image - pixels aren't allocated");
        return;
    }
    startImageLibrary();
    std::string path = ofToDataPath(fileName);
    FREE_IMAGE_FORMAT fif = formatOf(path);
    if (fif == FIF_UNKNOWN || !FreeImage_FIFSupportsReading(fif)) {
        ofLog(OF_LOG_ERROR, "ofImage: [%s] not saved (no picture format for this name)", path.c_str());
        return;
    }
    FIBITMAP* bmp = pixelsToBitmap(myPixels);
    bool saved = bmp != nullptr && FreeImage_Save(fif, bmp, path.c_str(), 0);
    if (bmp != nullptr) {
        FreeImage_Unload(bmp);
    }
    if (!saved) {
        ofLog(OF_LOG_ERROR, "ofImage: [%s] not saved (the format refused a %d-bit picture, or the file cannot be written)",
              path.c_str(), myPixels.bitsPerPixel);
    }
}

void ofImage::resize(int w, int h)
{
    if (!myPixels.bAllocated) {
        ofLog(OF_LOG_ERROR, "ofImage::resize - pixels aren't allocated");
        return;
    }
    if (!sizeAcceptable(w, h)) {
        logBadSize("resize", w, h);
        return;
    }
    startImageLibrary();
    FIBITMAP* bmp = pixelsToBitmap(myPixels);
    FIBITMAP* scaled = bmp != nullptr ? FreeImage_Rescale(bmp, w, h, FILTER_BICUBIC) : nullptr;
    if (bmp != nullptr) {
        FreeImage_Unload(bmp);
    }
    scaled = scaled != nullptr ? toGameDepth(scaled) : nullptr;
    if (scaled == nullptr) {
        ofLog(OF_LOG_ERROR, "ofImage::resize - could not rescale to %d x %d", w, h);
        return;
    }
    bitmapToPixels(scaled, myPixels, "resize");
    FreeImage_Unload(scaled);
    if (bUseTexture) {
        tex.clear();
        tex.allocate(myPixels.width, myPixels.height, myPixels.glDataType);
    }
    update();
}

void ofImage::setImageType(int newType)
{
    if (bitsForType(newType) == 0) {
        ofLog(OF_LOG_ERROR, "error = bad imageType in ofImage::setImageType");
        return;
    }
    if (!myPixels.bAllocated) {
        ofLog(OF_LOG_ERROR, "ofImage::setImageType - pixels aren't allocated");
        return;
    }
    startImageLibrary();
    int oldType = myPixels.ofImageType;
    FIBITMAP* bmp = pixelsToBitmap(myPixels);
    FIBITMAP* converted = nullptr;
    if (bmp != nullptr) {
        switch (newType) {
        case OF_IMAGE_GRAYSCALE: converted = FreeImage_ConvertToGreyscale(bmp); break;
        case OF_IMAGE_COLOR: converted = FreeImage_ConvertTo24Bits(bmp); break;
        default: converted = FreeImage_ConvertTo32Bits(bmp); break;
        }
        FreeImage_Unload(bmp);
    }
    if (converted == nullptr) {
        ofLog(OF_LOG_ERROR, "ofImage::setImageType - could not convert to type %d", newType);
        return;
    }
    bitmapToPixels(converted, myPixels, "setImageType");
    FreeImage_Unload(converted);
    if (bUseTexture && newType > oldType) {
        tex.clear();
        tex.allocate(myPixels.width, myPixels.height, newType == OF_IMAGE_COLOR ? GL_RGB : GL_RGBA);
    }
    update();
}

