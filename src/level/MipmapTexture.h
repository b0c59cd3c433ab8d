#pragma once

#include <GL/gl.h>

class ofImage;

// Owns one OpenGL texture name for its whole life and fills it from an ofImage with a
// full mipmap chain (trilinear minification). A GL context must be current when it is
// constructed and destroyed. Not copyable: the name has one owner.
class MipmapTexture {
public:
    MipmapTexture();
    ~MipmapTexture();
    MipmapTexture(const MipmapTexture&) = delete;
    MipmapTexture& operator=(const MipmapTexture&) = delete;

    // Uploads the image's pixels, rows and channels as the image holds them, under the
    // same name as before. 24 and 32 bits per pixel go up as RGB and RGBA, 8-bit grey is
    // widened to RGB; an image without pixels (a failed load) leaves the texture unchanged.
    void buildMipmappedTexture(ofImage& image, GLint wrapS, GLint wrapT);

    // Enables 2D texturing and binds the name.
    void bind() const;
    // Disables 2D texturing; the binding stays.
    void unbind() const;

    GLuint name = 0;
};
