#include "level/MipmapTexture.h"

#include "media/ofImage.h"
#include "media/ofUtils.h"

#include <GL/glu.h>

#include <cstddef>
#include <vector>

MipmapTexture::MipmapTexture()
{
    glGenTextures(1, &name);
}

MipmapTexture::~MipmapTexture()
{
    glDeleteTextures(1, &name);
}

void MipmapTexture::bind() const
{
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
}

void MipmapTexture::unbind() const
{
    glDisable(GL_TEXTURE_2D);
}

void MipmapTexture::buildMipmappedTexture(ofImage& image, GLint wrapS, GLint wrapT)
{
    const int width = static_cast<int>(image.getWidth());
    const int height = static_cast<int>(image.getHeight());
    const unsigned char* pixels = image.getPixels();
    // A failed load leaves no pixels; whoever loaded the image has said so already.
    if (pixels == nullptr || width <= 0 || height <= 0) {
        return;
    }

    // OpenGL reads width x height x channels bytes, so the format must match the buffer.
    GLenum format = 0;
    std::vector<unsigned char> widened;
    switch (image.bpp) {
    case 24:
        format = GL_RGB;
        break;
    case 32:
        format = GL_RGBA;
        break;
    case 8: {
        format = GL_RGB;
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        widened.resize(count * 3);
        for (std::size_t i = 0; i < count; ++i) {
            widened[3 * i] = widened[3 * i + 1] = widened[3 * i + 2] = pixels[i];
        }
        pixels = widened.data();
        break;
    }
    default:
        ofLog(OF_LOG_ERROR, "MipmapTexture: image of %d bits per pixel not uploaded (expected 8, 24 or 32)",
              image.bpp);
        return;
    }

    bind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, static_cast<GLint>(format), width, height, format, GL_UNSIGNED_BYTE,
                      pixels);
    unbind();
}
