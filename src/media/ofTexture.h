#pragma once
// An OpenGL texture that holds one picture and draws it as a rectangle.

#include "media/ofBaseTypes.h"
#include "media/ofPoint.h"

#include <GL/gl.h>

// Everything known about one texture; texture coordinates are normalised for GL_TEXTURE_2D
// and in texels for rectangle textures.
struct ofTextureData {
    bool bAllocated = false;
    int glType = 0;               // pixel format of the last upload
    int glTypeInternal = 0;       // internal format given to allocate
    int textureTarget = GL_TEXTURE_2D;
    int pixelType = GL_UNSIGNED_BYTE;
    float tex_t = 0.0f;           // texture coordinate of the picture's right edge
    float tex_u = 0.0f;           // texture coordinate of the picture's bottom edge
    float tex_w = 0.0f;           // allocated texture size, texels
    float tex_h = 0.0f;
    float width = 0.0f;           // size of the picture last uploaded, pixels
    float height = 0.0f;
    bool bFlipTexture = false;
    unsigned int textureID = 0;   // the OpenGL name; 0 when none
    int compression = 0;          // 0: plain uploads (the only mode)
};

class ofTexture : public ofBaseDraws {
public:
    ofTexture() = default;
    // Textures are not copied: both log a warning and leave the target untouched.
    ofTexture(const ofTexture& other);
    ofTexture& operator=(const ofTexture& other);
    ~ofTexture() override;

    // Creates the OpenGL texture, empty, for pictures up to w x h. Without rectangle textures
    // the size is padded to powers of two and only the top-left w x h part is used.
    void allocate(int w, int h, int internalGlDataType);
    void allocate(int w, int h, int internalGlDataType, bool useRectangle);
    // Replaces the top-left w x h texels; refused with a message when larger than allocated.
    void loadData(const unsigned char* data, int w, int h, int glDataType);
    void loadData(const float* data, int w, int h, int glDataType);
    void clear();

    // Leaves the texture enabled and bound (and the texture matrix pushed when normalised
    // coordinates are on) until unbind.
    void bind();
    void unbind();

    void draw(float x, float y, float w, float h) override;
    void draw(float x, float y) override;

    void setTextureWrap(int wrapS, int wrapT);
    void setTextureMinMagFilter(int minFilter, int magFilter);

    void setAnchorPercent(float xPct, float yPct) override;
    void setAnchorPoint(float x, float y) override;
    void resetAnchor() override;

    float getHeight() override;
    float getWidth() override;

    // A copy of the record; logs an error first when nothing is allocated.
    ofTextureData getTextureData();
    bool bAllocated() const { return texData.bAllocated; }

    ofTextureData texData;
    ofPoint anchor;
    bool bAnchorIsPct = false;

private:
    void uploadData(const void* data, int w, int h, int glDataType, int dataType);
};

// The smallest power of two not below a (1 for a <= 1); values above 2^30 give 2^30.
int ofNextPow2(int a);

// Process-wide texture switches.
void ofEnableArbTex();                  // prefer rectangle textures where the driver has them (default)
void ofDisableArbTex();                 // always use power-of-two GL_TEXTURE_2D textures
bool ofGetUsingArbTex();
void ofEnableTextureEdgeHack();         // draw insets GL_TEXTURE_2D coordinates by one texel (default)
void ofDisableTextureEdgeHack();
bool ofGetUsingTextureEdgeHack();
void ofEnableNormalizedTexCoords();     // bind scales the texture matrix so 0..1 spans the picture
void ofDisableNormalizedTexCoords();    // (default)
bool ofGetUsingNormalizedTexCoords();
