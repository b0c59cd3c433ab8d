#include "media/ofTexture.h"

#include "media/ofGraphics.h"
#include "media/ofUtils.h"

#include <GL/glext.h>
#include <cstring>
#include <utility>

namespace {

bool preferRectangle = true;   // use GL_TEXTURE_RECTANGLE_ARB where the driver has it
bool edgeOffset = true;        // draw insets GL_TEXTURE_2D coordinates by one texel
bool normalizedOnBind = false; // bind scales the texture matrix to 0..1 over the picture

// True when the current context lists the extension as a whole word.
bool hasExtension(const char* name)
{
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (list == nullptr) {
        return false;   // no context, or a context without the legacy list
    }
    size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        bool startsWord = at == list || at[-1] == ' ';
        bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
}

GLenum bindingQuery(GLenum target)
{
    return target == GL_TEXTURE_RECTANGLE_ARB ? GL_TEXTURE_BINDING_RECTANGLE_ARB : GL_TEXTURE_BINDING_2D;
}

// Binds a texture with its target enabled for the lifetime of the object, then puts back
// the enable state and the binding it found, so loading a picture disturbs no drawing state.
class ScopedTexture {
public:
    ScopedTexture(GLenum target, GLuint name) : target(target)
    {
        wasEnabled = glIsEnabled(target);
        GLint bound = 0;
        glGetIntegerv(bindingQuery(target), &bound);
        previous = static_cast<GLuint>(bound);
        glEnable(target);
        glBindTexture(target, name);
    }
    ~ScopedTexture()
    {
        glBindTexture(target, previous);
        if (!wasEnabled) {
            glDisable(target);
        }
    }
    ScopedTexture(const ScopedTexture&) = delete;
    ScopedTexture& operator=(const ScopedTexture&) = delete;

private:
    GLenum target;
    GLboolean wasEnabled = GL_FALSE;
    GLuint previous = 0;
};

} // namespace

int ofNextPow2(int a)
{
    const int largest = 1 << 30;
    int rval = 1;
    while (rval < a && rval < largest) {
        rval <<= 1;
    }
    return rval;
}

void ofEnableArbTex() { preferRectangle = true; }
void ofDisableArbTex() { preferRectangle = false; }
bool ofGetUsingArbTex() { return preferRectangle; }
void ofEnableTextureEdgeHack() { edgeOffset = true; }
void ofDisableTextureEdgeHack() { edgeOffset = false; }
bool ofGetUsingTextureEdgeHack() { return edgeOffset; }
void ofEnableNormalizedTexCoords() { normalizedOnBind = true; }
void ofDisableNormalizedTexCoords() { normalizedOnBind = false; }
bool ofGetUsingNormalizedTexCoords() { return normalizedOnBind; }

ofTexture::ofTexture(const ofTexture&) : ofBaseDraws()
{
    ofLog(OF_LOG_WARNING, "overloaded ofTexture copy constructor to do nothing. please use FBO or other means to copy textures");
}

ofTexture& ofTexture::operator=(const ofTexture&)
{
    ofLog(OF_LOG_WARNING, "overloaded ofTexture = operator to do nothing. please use FBO or other means to copy textures");
    return *this;
}

ofTexture::~ofTexture()
{
    clear();
}

void ofTexture::allocate(int w, int h, int internalGlDataType)
{
    allocate(w, h, internalGlDataType, preferRectangle);
}

void ofTexture::allocate(int w, int h, int internalGlDataType, bool useRectangle)
{
    // Size: exact for rectangle textures, padded to powers of two otherwise.
    if (!useRectangle || !hasExtension("GL_ARB_texture_rectangle")) {
        texData.tex_w = static_cast<float>(ofNextPow2(w));
        texData.tex_h = static_cast<float>(ofNextPow2(h));
        texData.tex_t = 1.0f;
        texData.tex_u = 1.0f;
        texData.textureTarget = GL_TEXTURE_2D;
    } else {
        texData.tex_w = static_cast<float>(w);
        texData.tex_h = static_cast<float>(h);
        texData.tex_t = static_cast<float>(w);
        texData.tex_u = static_cast<float>(h);
        texData.textureTarget = GL_TEXTURE_RECTANGLE_ARB;
    }

    // Formats of the empty initial image; loadData names the real upload format.
    texData.glTypeInternal = internalGlDataType;
    switch (internalGlDataType) {
    case GL_RGBA32F_ARB:
    case GL_RGBA16F_ARB:
        texData.glType = GL_RGBA;
        texData.pixelType = GL_FLOAT;
        break;
    case GL_RGB32F_ARB:
        texData.glType = GL_RGB;
        texData.pixelType = GL_FLOAT;
        break;
    case GL_LUMINANCE32F_ARB:
        texData.glType = GL_LUMINANCE;
        texData.pixelType = GL_FLOAT;
        break;
    default:
        texData.glType = GL_LUMINANCE;
        texData.pixelType = GL_UNSIGNED_BYTE;
        break;
    }

    clear();
    GLuint name = 0;
    glGenTextures(1, &name);
    texData.textureID = name;
    {
        ScopedTexture bound(texData.textureTarget, name);
        glTexImage2D(texData.textureTarget, 0, texData.glTypeInternal,
                     static_cast<GLsizei>(texData.tex_w), static_cast<GLsizei>(texData.tex_h), 0,
                     texData.glType, texData.pixelType, nullptr);
        glTexParameterf(texData.textureTarget, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameterf(texData.textureTarget, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameterf(texData.textureTarget, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameterf(texData.textureTarget, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    }

    texData.width = static_cast<float>(w);
    texData.height = static_cast<float>(h);
    texData.bFlipTexture = false;
    texData.bAllocated = true;
}

void ofTexture::loadData(const unsigned char* data, int w, int h, int glDataType)
{
    uploadData(data, w, h, glDataType, GL_UNSIGNED_BYTE);
}

void ofTexture::loadData(const float* data, int w, int h, int glDataType)
{
    uploadData(data, w, h, glDataType, GL_FLOAT);
}

// The element type comes from the caller's pointer, not from the allocation, so a byte
// buffer handed to a float texture is never read as four times its size.
void ofTexture::uploadData(const void* data, int w, int h, int glDataType, int dataType)
{
    if (!texData.bAllocated || data == nullptr || w < 0 || h < 0) {
        ofLog(OF_LOG_ERROR, "ofTexture::loadData - no texture allocated or no data given. not uploading...");
        return;
    }
    if (w > texData.tex_w || h > texData.tex_h) {
        ofLog(OF_LOG_ERROR, "image data too big for allocated texture. not uploading...");
        return;
    }

    texData.width = static_cast<float>(w);
    texData.height = static_cast<float>(h);
    texData.glType = glDataType;
    if (texData.textureTarget == GL_TEXTURE_2D) {
        texData.tex_t = static_cast<float>(w) / texData.tex_w;
        texData.tex_u = static_cast<float>(h) / texData.tex_h;
    } else {
        texData.tex_t = static_cast<float>(w);
        texData.tex_u = static_cast<float>(h);
    }

    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    {
        ScopedTexture bound(texData.textureTarget, texData.textureID);
        glTexSubImage2D(texData.textureTarget, 0, 0, 0, w, h, texData.glType, dataType, data);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    texData.bFlipTexture = false;
}

void ofTexture::clear()
{
    if (texData.textureID != 0) {
        GLuint name = texData.textureID;
        glDeleteTextures(1, &name);
    }
    texData.textureID = 0;
    texData.bAllocated = false;
}

void ofTexture::bind()
{
    glEnable(texData.textureTarget);
    glBindTexture(texData.textureTarget, texData.textureID);
    if (normalizedOnBind) {
        glMatrixMode(GL_TEXTURE);
        glPushMatrix();
        glLoadIdentity();
        if (texData.textureTarget == GL_TEXTURE_2D) {
            glScalef(texData.tex_t / texData.tex_w, texData.tex_u / texData.tex_h, 1.0f);
        } else {
            glScalef(texData.tex_t, texData.tex_u, 1.0f);
        }
        glMatrixMode(GL_MODELVIEW);
    }
}

void ofTexture::unbind()
{
    glDisable(texData.textureTarget);
    if (normalizedOnBind) {
        glMatrixMode(GL_TEXTURE);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }
}

void ofTexture::draw(float x, float y)
{
    draw(x, y, texData.width, texData.height);
}

void ofTexture::draw(float x, float y, float w, float h)
{
    ScopedTexture bound(texData.textureTarget, texData.textureID);

    // Corners of the quad, relative to (x, y).
    float px0 = 0.0f;
    float py0 = 0.0f;
    float px1 = w;
    float py1 = h;
    if (texData.bFlipTexture) {
        std::swap(py0, py1);
    }
    if (ofGetRectMode() == OF_RECTMODE_CENTER) {
        px0 = -w / 2.0f;
        py0 = -h / 2.0f;
        px1 = w / 2.0f;
        py1 = h / 2.0f;
    }
    float offsetX = bAnchorIsPct ? anchor.x * w : anchor.x;
    float offsetY = bAnchorIsPct ? anchor.y * h : anchor.y;
    px0 -= offsetX;
    px1 -= offsetX;
    py0 -= offsetY;
    py1 -= offsetY;

    // A padded texture is sampled one texel inside its used part so linear filtering
    // never blends in the unused padding.
    float dx = 0.0f;
    float dy = 0.0f;
    if (texData.textureTarget == GL_TEXTURE_2D && edgeOffset) {
        dx = 1.0f / texData.tex_w;
        dy = 1.0f / texData.tex_h;
    }
    float tx0 = dx;
    float ty0 = dy;
    float tx1 = texData.tex_t - dx;
    float ty1 = texData.tex_u - dy;

    // Top-left, top-right, bottom-right, bottom-left.
    const GLfloat texCoords[] = {tx0, ty0, tx1, ty0, tx1, ty1, tx0, ty1};
    const GLfloat vertices[] = {px0, py0, px1, py0, px1, py1, px0, py1};

    GLboolean vertexArrayWasOn = glIsEnabled(GL_VERTEX_ARRAY);
    glPushMatrix();
    {
        glTranslatef(x, y, 0.0f);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_VERTEX_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
        glVertexPointer(2, GL_FLOAT, 0, vertices);
        glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        if (!vertexArrayWasOn) {
            glDisableClientState(GL_VERTEX_ARRAY);
        }
    }
    glPopMatrix();
}

void ofTexture::setTextureWrap(int wrapS, int wrapT)
{
    ScopedTexture bound(texData.textureTarget, texData.textureID);
    glTexParameterf(texData.textureTarget, GL_TEXTURE_WRAP_S, static_cast<GLfloat>(wrapS));
    glTexParameterf(texData.textureTarget, GL_TEXTURE_WRAP_T, static_cast<GLfloat>(wrapT));
}

void ofTexture::setTextureMinMagFilter(int minFilter, int magFilter)
{
    ScopedTexture bound(texData.textureTarget, texData.textureID);
    glTexParameterf(texData.textureTarget, GL_TEXTURE_MIN_FILTER, static_cast<GLfloat>(minFilter));
    glTexParameterf(texData.textureTarget, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(magFilter));
}

void ofTexture::setAnchorPercent(float xPct, float yPct)
{
    anchor = ofPoint(xPct, yPct);
    bAnchorIsPct = true;
}

void ofTexture::setAnchorPoint(float x, float y)
{
    anchor = ofPoint(x, y);
    bAnchorIsPct = false;
}

void ofTexture::resetAnchor()
{
    anchor = ofPoint();
    bAnchorIsPct = false;
}

float ofTexture::getHeight() { return texData.height; }
float ofTexture::getWidth() { return texData.width; }

ofTextureData ofTexture::getTextureData()
{
    if (!texData.bAllocated) {
        ofLog(OF_LOG_ERROR, "getTextureData() - texture has not been allocated");
    }
    return texData;
}
