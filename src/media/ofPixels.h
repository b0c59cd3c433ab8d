#pragma once
// The pixel buffer record inside every ofImage.

#include <GL/gl.h>

// Image types; the depth and the OpenGL upload format follow from the type.
enum {
    OF_IMAGE_GRAYSCALE = 0,     // 8 bits per pixel, GL_LUMINANCE
    OF_IMAGE_COLOR = 1,         // 24 bits, GL_RGB
    OF_IMAGE_COLOR_ALPHA = 2,   // 32 bits, GL_RGBA
    OF_IMAGE_UNDEFINED = 3,
};

// A plain record; the ofImage that holds it owns the buffer and keeps the fields consistent.
struct ofPixels {
    unsigned char* pixels = nullptr;   // width x height x bytesPerPixel bytes, rows top to bottom, R G B [A]
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;              // 8, 24 or 32 once allocated
    int bytesPerPixel = 0;
    int glDataType = GL_LUMINANCE;
    int ofImageType = OF_IMAGE_UNDEFINED;
    bool bAllocated = false;
};
