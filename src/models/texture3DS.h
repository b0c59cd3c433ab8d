#pragma once
// Uploads one texture map of a 3DS model into a given OpenGL texture name, with a
// full mipmap chain. Constructing it does the work; the texture stays bound.

#include <GL/gl.h>
#include <string>

class texture3DS {
public:
    // Only uncompressed 24- or 32-bit pictures are uploaded; anything else is logged at
    // error level and leaves the texture name without an image.
    texture3DS(const std::string& fileName, GLuint textureName);
};
