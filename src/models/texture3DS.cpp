#include "models/texture3DS.h"

#include "media/ofImage.h"
#include "media/ofUtils.h"
#include "models/ConsoleName.h"

#include <GL/glu.h>
#include <cstring>
#include <vector>

texture3DS::texture3DS(const std::string& fileName, GLuint textureName)
{
    const std::string shown = consoleName(fileName);
    // The pixels go to textureName below; the image needs no texture of its own.
    ofImage image;
    image.setUseTexture(false);
    if (!image.loadImage(fileName)) {
        ofLog(OF_LOG_ERROR, "texture3DS ERROR:  Could not open %s", shown.c_str());
    }

    const int width = int(image.getWidth());
    const int height = int(image.getHeight());
    const int bitsPerPixel = image.bpp;
    if (width <= 0 || height <= 0) {
        ofLog(OF_LOG_ERROR, "texture3DS ERROR: Something wrong with %s - dimensions less than 0", shown.c_str());
    }
    if (bitsPerPixel != 24 && bitsPerPixel != 32) {
        ofLog(OF_LOG_ERROR, "texture3DS ERROR: Invalid texture color depth %s  must be uncompressed 24/32bpp png, jpg, bmp, tga",
              shown.c_str());
        return;
    }
    if (width <= 0 || height <= 0 || image.getPixels() == nullptr) {
        return;   // nothing to upload
    }
    const GLenum format = bitsPerPixel == 24 ? GL_RGB : GL_RGBA;

    // The picture's last row goes first: texture coordinates count v from the bottom.
    const std::size_t rowBytes = std::size_t(width) * std::size_t(bitsPerPixel / 8);
    std::vector<unsigned char> flipped(rowBytes * std::size_t(height));
    const unsigned char* pixels = image.getPixels();
    for (int row = 0; row < height; ++row) {
        std::memcpy(&flipped[std::size_t(row) * rowBytes], pixels + std::size_t(height - 1 - row) * rowBytes, rowBytes);
    }

    glBindTexture(GL_TEXTURE_2D, textureName);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    // Rows are packed tightly; with the default alignment of 4 a 24-bit picture whose width
    // is not a multiple of 4 would be read skewed and past the buffer's end.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GLint(format), width, height, format, GL_UNSIGNED_BYTE, flipped.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);

    ofLog(OF_LOG_NOTICE, "texture3DS Texture %s loaded", shown.c_str());
}
