#include "media/ofTrueTypeFont.h"

#include "media/ofTexture.h"
#include "media/ofUtils.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

namespace {

const char* SOURCE_NAME = "ofTrueTypeFont.cpp";   // named in the "font not allocated" lines
const int GLYPH_P = 'p' - 33;                     // the space is as wide as this glyph's bitmap
// Texels per side of the largest glyph texture, below the driver's own limit: a glyph needs
// no more than a screen's height, and a font of huge glyphs then takes at most 2 MB a glyph.
// Larger glyphs are left blank.
const int MAX_GLYPH_TEXTURE = 1024;
const double LINE_HEIGHT_FACTOR = 1.4299999475479126;   // line height per point of font size

int clampToInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

// Coverage of every pixel of a glyph bitmap, 0 to 255, rows top-down and `width` bytes apart.
// Handles every pixel mode: embedded bitmaps come one-bit, 2/4-bit grey or colour whatever render
// mode was asked for. Empty when the bitmap is empty or cannot be read.
std::vector<unsigned char> bitmapCoverage(FT_Library library, const FT_Bitmap& bitmap)
{
    std::vector<unsigned char> coverage;
    unsigned int width = bitmap.width;
    unsigned int rows = bitmap.rows;
    if (width == 0 || rows == 0 || bitmap.buffer == nullptr) {
        return coverage;
    }
    FT_Bitmap converted;
    FT_Bitmap_Init(&converted);
    const FT_Bitmap* source = &bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
        if (FT_Bitmap_Convert(library, &bitmap, &converted, 1) != 0) {
            FT_Bitmap_Done(library, &converted);
            return coverage;
        }
        source = &converted;
    }
    unsigned int stride = static_cast<unsigned int>(std::abs(source->pitch));
    int levels = source->num_grays;
    bool readable = source->buffer != nullptr && source->width == width && source->rows == rows
        && stride >= width && levels >= 2;
    if (readable) {
        coverage.resize(static_cast<size_t>(width) * rows);
        for (unsigned int j = 0; j < rows; ++j) {
            // A negative pitch stores the bottom row first.
            unsigned int storedRow = source->pitch >= 0 ? j : rows - 1 - j;
            const unsigned char* row = source->buffer + static_cast<size_t>(storedRow) * stride;
            for (unsigned int k = 0; k < width; ++k) {
                int v = std::min<int>(row[k], levels - 1);
                coverage[static_cast<size_t>(j) * width + k] =
                    static_cast<unsigned char>(levels == 256 ? v : v * 255 / (levels - 1));
            }
        }
    }
    FT_Bitmap_Done(library, &converted);
    return coverage;
}

} // namespace

ofTrueTypeFont::~ofTrueTypeFont()
{
    unloadGlyphs();
}

void ofTrueTypeFont::unloadGlyphs()
{
    if (texNames != nullptr) {
        for (int i = 0; i < nCharacters; ++i) {
            glDeleteTextures(1, &texNames[i]);
        }
    }
    delete[] cps;
    delete[] texNames;
    cps = nullptr;
    texNames = nullptr;
    charOutlines.clear();
}

void ofTrueTypeFont::loadFont(std::string filename, int fontsize)
{
    loadFont(filename, fontsize, true, false, false);
}

void ofTrueTypeFont::loadFont(std::string filename, int fontsize, bool antiAliased, bool fullCharacterSet,
                              bool makeContours)
{
    // Outlines are never built, so the flag only records that they exist.
    bMakeContours = false;
    if (makeContours) {
        ofLog(OF_LOG_WARNING, "ofTrueTypeFont: [%s] outlines are not built; loading the glyph textures only",
              filename.c_str());
    }
    unloadGlyphs();
    bLoadedOk = false;

    filename = ofToDataPath(filename);
    bAntiAliased = antiAliased;
    bFullCharacterSet = fullCharacterSet;
    fontSize = fontsize;

    FT_Library library;
    if (FT_Init_FreeType(&library) != 0) {
        ofLog(OF_LOG_ERROR, " PROBLEM WITH FT lib");
        return;
    }
    // A missing or unreadable file leaves the font unloaded without a message.
    FT_Face face;
    if (FT_New_Face(library, filename.c_str(), 0, &face) != 0) {
        FT_Done_FreeType(library);
        return;
    }
    // 26.6 fixed point at 96 dpi; FreeType raises sizes below one point to one point.
    FT_F26Dot6 charSize = static_cast<FT_F26Dot6>(std::clamp(fontsize, 0, 1 << 16)) * 64;
    if (FT_Set_Char_Size(face, charSize, charSize, 96, 96) != 0) {
        ofLog(OF_LOG_ERROR, "ofTrueTypeFont: [%s] cannot be sized (got size %d)", filename.c_str(), fontsize);
        FT_Done_Face(face);
        FT_Done_FreeType(library);
        return;
    }
    lineHeight = static_cast<float>(fontsize * LINE_HEIGHT_FACTOR);

    nCharacters = bFullCharacterSet ? 256 : 95;
    cps = new charProps[nCharacters]();
    texNames = new GLuint[nCharacters]();
    glGenTextures(nCharacters, texNames);

    int maxTexture = MAX_GLYPH_TEXTURE;
    GLint driverMax = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &driverMax);
    if (driverMax > 0) {
        maxTexture = std::min(maxTexture, static_cast<int>(driverMax));
    }
    int maxBitmap = maxTexture - 2 * border;   // largest bitmap side that fits with its margin
    int blankGlyphs = 0;
    long long largestWidth = 0;
    long long largestRows = 0;

    for (int i = 0; i < nCharacters; ++i) {
        FT_UInt glyphIndex = FT_Get_Char_Index(face, static_cast<FT_ULong>((i + 33) % 256));
        if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_DEFAULT) != 0) {
            ofLog(OF_LOG_ERROR, "error with FT_Load_Glyph %i", i);
        }
        FT_GlyphSlot slot = face->glyph;

        // Judge the size from the metrics first so that FreeType never rasterises a giant glyph.
        long long outlineWidth = (slot->metrics.width >> 6) + 2;
        long long outlineRows = (slot->metrics.height >> 6) + 2;
        bool tooLarge = slot->format == FT_GLYPH_FORMAT_OUTLINE
            && (outlineWidth > maxBitmap || outlineRows > maxBitmap);
        if (!tooLarge) {
            FT_Render_Glyph(slot, bAntiAliased ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO);
            outlineWidth = slot->bitmap.width;
            outlineRows = slot->bitmap.rows;
            tooLarge = outlineWidth > maxBitmap || outlineRows > maxBitmap;
        }
        std::vector<unsigned char> coverage;
        if (tooLarge) {
            ++blankGlyphs;
            largestWidth = std::max(largestWidth, outlineWidth);
            largestRows = std::max(largestRows, outlineRows);
        } else {
            coverage = bitmapCoverage(library, slot->bitmap);
        }
        int bitmapWidth = coverage.empty() ? 0 : static_cast<int>(slot->bitmap.width);
        int bitmapRows = coverage.empty() ? 0 : static_cast<int>(slot->bitmap.rows);

        int w = ofNextPow2(bitmapWidth + 2 * border);
        int h = ofNextPow2(bitmapRows + 2 * border);
        w = std::max(w, 2);
        h = std::max(h, 2);

        charProps& props = cps[i];
        props.value = i;
        props.height = tooLarge ? 0 : slot->bitmap_top;
        props.width = bitmapWidth;
        props.setWidth = clampToInt(slot->advance.x >> 6);
        props.topExtent = bitmapRows;
        props.leftExtent = tooLarge ? 0 : slot->bitmap_left;
        props.tTex = static_cast<float>(bitmapWidth + 2 * visibleBorder) / static_cast<float>(w);
        props.vTex = static_cast<float>(bitmapRows + 2 * visibleBorder) / static_cast<float>(h);
        props.xOff = static_cast<float>(border - visibleBorder) / static_cast<float>(w);
        props.yOff = static_cast<float>(border - visibleBorder) / static_cast<float>(h);

        // White everywhere, coverage in alpha, the bitmap `border` texels in from the corner in
        // both render modes so that one-bit glyphs sit where their metrics say.
        std::vector<unsigned char> texels(static_cast<size_t>(w) * h * 2);
        for (size_t t = 0; t < texels.size(); t += 2) {
            texels[t] = 255;
            texels[t + 1] = 0;
        }
        for (int j = 0; j < bitmapRows; ++j) {
            for (int k = 0; k < bitmapWidth; ++k) {
                unsigned char a = coverage[static_cast<size_t>(j) * bitmapWidth + k];
                if (!bAntiAliased) {
                    a = a >= 128 ? 255 : 0;
                }
                texels[(static_cast<size_t>(j + border) * w + (k + border)) * 2 + 1] = a;
            }
        }

        glBindTexture(GL_TEXTURE_2D, texNames[i]);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
        GLint filter = bAntiAliased ? GL_LINEAR : GL_NEAREST;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE_ALPHA, w, h, 0, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE,
                     texels.data());
    }
    if (blankGlyphs > 0) {
        ofLog(OF_LOG_WARNING, "ofTrueTypeFont: [%s] %d glyphs too large for a texture, left blank (got %lldx%lld, limit %d)",
              filename.c_str(), blankGlyphs, largestWidth, largestRows, maxBitmap);
    }

    FT_Done_Face(face);
    FT_Done_FreeType(library);
    bLoadedOk = true;
}

void ofTrueTypeFont::glyphQuad(int c, float& x1, float& y1, float& x2, float& y2) const
{
    const charProps& props = cps[c];
    float h = static_cast<float>(props.height);
    float top = static_cast<float>(props.topExtent - props.height);
    float stretch = static_cast<float>(2 * visibleBorder);
    float corr = top - h;
    x1 = static_cast<float>(props.leftExtent + props.width) + stretch;
    y1 = h + corr + stretch;
    x2 = static_cast<float>(props.leftExtent);
    y2 = -top + corr;
}

void ofTrueTypeFont::drawChar(int c)
{
    if (!bLoadedOk) {
        ofLog(OF_LOG_ERROR, "Error : font not allocated -- line %d in %s", __LINE__, SOURCE_NAME);
        return;
    }
    if (c < 0 || c >= nCharacters) {
        return;
    }
    if (!glIsTexture(texNames[c])) {
        ofLog(OF_LOG_WARNING, " texture not bound for character -- line %d in %s", __LINE__, SOURCE_NAME);
        return;
    }
    float x1, y1, x2, y2;
    glyphQuad(c, x1, y1, x2, y2);
    float t2 = cps[c].xOff;
    float v2 = cps[c].yOff;
    float t1 = cps[c].tTex + t2;
    float v1 = cps[c].vTex + v2;
    GLfloat vertices[8] = {x2, y2, x2, y1, x1, y1, x1, y2};
    GLfloat texCoords[8] = {t2, v2, t2, v1, t1, v1, t1, v2};

    glBindTexture(GL_TEXTURE_2D, texNames[c]);
    glNormal3f(0.0f, 0.0f, 1.0f);
    // The vertex array is on by the framework's defaults; enabling it again keeps drawing
    // working for callers that never applied them.
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void ofTrueTypeFont::drawString(std::string s, float x, float y)
{
    if (!bLoadedOk) {
        ofLog(OF_LOG_ERROR, "Error : font not allocated -- line %d in %s", __LINE__, SOURCE_NAME);
        return;
    }
    glPushAttrib(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glPushMatrix();
    {
        glTranslatef(x, y, 0.0f);
        float penX = 0.0f;   // pixels from the start of the current line
        for (unsigned char c : s) {
            int g = static_cast<int>(c) - 33;
            if (c == '\n') {
                glTranslatef(-penX, lineHeight, 0.0f);
                penX = 0.0f;
            } else if (c == ' ') {
                float advance = static_cast<float>(cps[GLYPH_P].width);
                penX += advance;
                glTranslatef(advance, 0.0f, 0.0f);
            } else if (g >= 0 && g < nCharacters) {
                drawChar(g);
                float advance = static_cast<float>(cps[g].setWidth);
                penX += advance;
                glTranslatef(advance, 0.0f, 0.0f);
            }
        }
    }
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glPopAttrib();
}

float ofTrueTypeFont::getLineHeight()
{
    return lineHeight;
}

void ofTrueTypeFont::setLineHeight(float height)
{
    lineHeight = height;
}

ofRectangle ofTrueTypeFont::getStringBoundingBox(std::string s, float x, float y)
{
    if (!bLoadedOk) {
        return ofRectangle(0, 0, 0, 0);
    }
    bool any = false;
    float minX = 0.0f;
    float minY = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;
    float penX = 0.0f;
    float penY = 0.0f;
    for (unsigned char c : s) {
        int g = static_cast<int>(c) - 33;
        if (c == '\n') {
            penY += static_cast<float>(static_cast<int>(lineHeight));
            penX = 0.0f;
        } else if (c == ' ') {
            penX += static_cast<float>(cps[GLYPH_P].width);
        } else if (g >= 0 && g < nCharacters) {
            float x1, y1, x2, y2;
            glyphQuad(g, x1, y1, x2, y2);
            float left = x + penX + x2;
            float right = x + penX + x1;
            float top = y + penY + y2;
            float bottom = y + penY + y1;
            if (!any) {
                minX = left;
                maxX = right;
                minY = top;
                maxY = bottom;
                any = true;
            } else {
                minX = std::min(minX, left);
                maxX = std::max(maxX, right);
                minY = std::min(minY, top);
                maxY = std::max(maxY, bottom);
            }
            penX += static_cast<float>(cps[g].setWidth);
        }
    }
    if (!any) {
        return ofRectangle(0, 0, 0, 0);
    }
    return ofRectangle(minX, minY, maxX - minX, maxY - minY);
}

float ofTrueTypeFont::stringWidth(std::string s)
{
    return getStringBoundingBox(s, 0, 0).width;
}

float ofTrueTypeFont::stringHeight(std::string s)
{
    return getStringBoundingBox(s, 0, 0).height;
}

ofTTFCharacter ofTrueTypeFont::getCharacterAsPoints(int character)
{
    (void)character;
    ofLog(OF_LOG_ERROR, "getCharacterAsPoints: contours not created,  call loadFont with makeContours set to true");
    return ofTTFCharacter();
}

void ofTrueTypeFont::drawStringAsShapes(std::string s, float x, float y)
{
    (void)s;
    (void)x;
    (void)y;
    ofLog(OF_LOG_ERROR, "Error : contours not created for this font - call loadFont with makeContours set to true");
}
