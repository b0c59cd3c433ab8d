#pragma once
// The framework's drawing and image interfaces. ofImage and ofTexture implement them;
// code that only needs "something that draws" or "something with pixels" takes these.

class ofTexture;

// Anything that can be drawn as a rectangle in screen units.
class ofBaseDraws {
public:
    virtual ~ofBaseDraws() = default;
    virtual void draw(float x, float y, float w, float h) = 0;
    virtual void draw(float x, float y) = 0;   // at the object's own size
    virtual float getHeight() = 0;
    virtual float getWidth() = 0;
    // The anchor is the point of the object placed at (x, y): a fraction of the size, or units.
    virtual void setAnchorPercent(float xPct, float yPct) = 0;
    virtual void setAnchorPoint(float x, float y) = 0;
    virtual void resetAnchor() = 0;
};

// Anything that keeps an OpenGL copy of itself.
class ofBaseHasTexture {
public:
    virtual ~ofBaseHasTexture() = default;
    virtual ofTexture& getTextureReference() = 0;
    virtual void setUseTexture(bool useTexture) = 0;
};

// Anything that holds a pixel buffer in memory (rows top to bottom).
class ofBaseHasPixels {
public:
    virtual ~ofBaseHasPixels() = default;
    virtual unsigned char* getPixels() = 0;
};

class ofBaseImage : public ofBaseDraws, public ofBaseHasTexture, public ofBaseHasPixels {
};
