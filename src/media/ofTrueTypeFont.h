#pragma once
// TrueType text: the printable characters of a font file rasterised once at load time,
// one small GL texture per glyph, strings drawn as textured quads in the current colour.

#include "media/ofPoint.h"
#include "media/ofRectangle.h"

#include <string>
#include <vector>

#include <GL/gl.h>

// Metrics of one glyph, in pixels, and the window of its texture that is drawn.
struct charProps {
    int value;        // glyph index
    int height;       // rows above the baseline
    int width;        // bitmap width
    int setWidth;     // horizontal advance, whole pixels
    int topExtent;    // bitmap rows
    int leftExtent;   // left bearing
    float tTex;       // drawn texture window, fraction of the texture width
    float vTex;       // drawn texture window, fraction of the texture height
    float xOff;       // start of the drawn window, fraction of the texture width
    float yOff;       // start of the drawn window, fraction of the texture height
};

// One glyph as closed contours of points; only built when outlines are made.
struct ofTTFCharacter {
    std::vector<std::vector<ofPoint>> contours;
};

class ofTrueTypeFont {
public:
    ofTrueTypeFont() = default;
    virtual ~ofTrueTypeFont();
    ofTrueTypeFont(const ofTrueTypeFont&) = delete;
    ofTrueTypeFont& operator=(const ofTrueTypeFont&) = delete;

    // Anti-aliased, 95 glyphs, no outlines.
    void loadFont(std::string filename, int fontsize);
    // Needs a current GL context. Releases any glyphs loaded before; bLoadedOk tells success.
    // Outlines are not built: asking for them logs a warning and loads the glyphs only.
    // Glyph textures go up to the driver's largest size, at most 1024 texels a side; glyphs too
    // big for that (about size 600 and up) are left blank, with one warning.
    void loadFont(std::string filename, int fontsize, bool bAntiAliased, bool bFullCharacterSet,
                  bool makeContours);

    // First baseline at (x, y) in the current model-view coordinates, y growing downward.
    // Takes the current GL colour; restores blending and the matrix, leaves GL_TEXTURE_2D off.
    void drawString(std::string s, float x, float y);
    // Glyph i (character i + 33) with the pen at the current origin.
    void drawChar(int c);

    float getLineHeight();
    void setLineHeight(float height);

    // The area drawString(s, x, y) covers; (0, 0, 0, 0) when nothing would be drawn.
    ofRectangle getStringBoundingBox(std::string s, float x, float y);
    float stringWidth(std::string s);
    float stringHeight(std::string s);

    // Outline functions; this font never has outlines, so they log and give nothing.
    ofTTFCharacter getCharacterAsPoints(int character);
    void drawStringAsShapes(std::string s, float x, float y);

    bool bLoadedOk = false;
    bool bAntiAliased = false;
    bool bFullCharacterSet = false;
    int nCharacters = 0;
    std::vector<ofTTFCharacter> charOutlines;
    float lineHeight = 0.0f;
    charProps* cps = nullptr;
    GLuint* texNames = nullptr;
    int fontSize = 0;
    bool bMakeContours = false;
    int border = 3;
    int visibleBorder = 2;

private:
    void unloadGlyphs();
    // The quad drawChar draws for glyph c, relative to the pen: (x2, y2) top-left, (x1, y1) bottom-right.
    void glyphQuad(int c, float& x1, float& y1, float& x2, float& y2) const;
};
