#pragma once
// One material of a 3DS model, as the file describes it.

#include <GL/gl.h>
#include <string>

class ModelMaterial {
public:
    std::string name;
    // Colours are r, g, b from 0 to 1. A material the file never defines keeps zeros.
    float diffuse[3] = {0.0f, 0.0f, 0.0f};
    float ambient[3] = {0.0f, 0.0f, 0.0f};
    float specular[3] = {0.0f, 0.0f, 0.0f};
    float shininess = 0.0f;           // fraction 0 to 1; OpenGL gets it times 128
    float shininessStrength = 0.0f;   // fraction 0 to 1; scales the specular colour
    GLuint texture = 0;               // diffuse texture map
    bool textured = false;            // texture holds a name made for this material
    GLuint bumpTexture = 0;           // read for completeness, never drawn
    bool bumped = false;
    bool twoSided = false;            // light the back faces too
};
