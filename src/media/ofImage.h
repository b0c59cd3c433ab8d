#pragma once
// A picture in memory (ofPixels) read and written through FreeImage, with an optional
// OpenGL copy (ofTexture) kept in step by update().

#include "media/ofBaseTypes.h"
#include "media/ofPixels.h"
#include "media/ofTexture.h"

#include <string>

// Pictures beyond these are refused: no game texture comes near them, and the product
// of the sizes stays far from overflowing. 8192 x 8192 is the largest square accepted.
constexpr int OF_IMAGE_MAX_SIDE = 16384;                          // pixels, either side
constexpr long long OF_IMAGE_MAX_BYTES = 256LL * 1024 * 1024;     // width x height x 4, whatever the depth

// True from the first ofImage until ofImageLibraryShutdown (the exit path) stops FreeImage.
bool ofImageLibraryIsStarted();

class ofImage : public ofBaseImage {
public:
    ofImage();
    ofImage(const ofImage& other);              // deep copy
    ofImage& operator=(const ofImage& other);   // deep copy
    ~ofImage() override;

    // Reads a picture (file type by content, then by name; a bare name is looked up below
    // data/). Returns false and leaves the image as it was when the file is missing, not a
    // picture, or refused as too large (which logs one error line naming the file).
    bool loadImage(std::string fileName);
    // Writes the picture in the format named by the file's extension; failures are logged.
    void saveImage(std::string fileName);

    void allocate(int w, int h, int type);
    void clear();
    // Copies w x h pixels of the given type; bOrderIsRGB false means the data is B, G, R[, A].
    void setFromPixels(const unsigned char* pixels, int w, int h, int type, bool bOrderIsRGB = true);
    // Uploads the buffer to the texture (when used) and publishes width, height, bpp, type.
    void update();

    unsigned char* getPixels() override;
    float getWidth() override;
    float getHeight() override;

    void setUseTexture(bool useTexture) override;
    ofTexture& getTextureReference() override;

    // Reads the w x h screen rectangle whose top-left corner is (x, y), in window pixels
    // with y down.
    void grabScreen(int x, int y, int w, int h);
    void resize(int w, int h);
    void setImageType(int type);

    void draw(float x, float y, float w, float h) override;
    void draw(float x, float y) override;
    void setAnchorPercent(float xPct, float yPct) override;
    void setAnchorPoint(float x, float y) override;
    void resetAnchor() override;

    int width = 0;    // published by update
    int height = 0;
    int bpp = 0;
    int type = OF_IMAGE_UNDEFINED;
    ofPixels myPixels;
    bool bUseTexture = true;
    ofTexture tex;

private:
    void clone(const ofImage& other);
    void resetPixels();
};
