#pragma once
// Stage folders for the level tests: a scratch working directory with its own data/,
// stage files, solid-colour pictures written through FreeImage, and small 3DS models.

#include "support/TestSupport.h"

#include <cstdint>
#include <string>

namespace levelfixtures {

struct Rgba {
    std::uint8_t r, g, b, a;
};

// Writes a w x h picture of one colour as PNG. bpp 8 gives a grey picture of r,
// 24 drops alpha, 32 keeps it.
void writePicture(const std::string& path, int w, int h, int bpp, Rgba colour);

// A 3DS file holding one flat square of edge 2 * halfEdge in the model's x/z plane (after
// the reader's axis change: the world x/y plane, facing +z and -z), in a red material.
std::string squareModel3ds(float halfEdge);

// A scratch working directory with data/ below it, entered for the object's lifetime.
class StageDir {
public:
    StageDir();
    // data/levels/level<n>.txt
    void stage(int n, const std::string& text) const;
    // data/levels/levelTextures/<name>
    void texture(const std::string& name, int w, int h, int bpp, Rgba colour) const;
    // data/<relative>
    void dataFile(const std::string& relative, const std::string& contents) const;
    // The three collectible models as squares of the given half edges (model units).
    void models(float dieHalfEdge, float coinHalfEdge, float targetHalfEdge) const;

private:
    testsupport::ScratchDir dir;
    testsupport::WorkingDir cwd;
};

// The example stage: face3.png sky3.png, three cubes along y, one die, four message words.
std::string exampleStage(const char* separator);

} // namespace levelfixtures
