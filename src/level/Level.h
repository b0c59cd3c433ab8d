#pragma once

#include "level/Cube.h"
#include "level/DisplayList.h"
#include "level/MipmapTexture.h"
#include "level/StageFile.h"
#include "media/ofImage.h"
#include "models/ModelHolder.h"
#include "player/Vec3.h"

#include <list>
#include <string>
#include <vector>

// The stage in memory: cubes to roll on, dice and coins still to collect, the finish, the
// start, the limits, the message, two textures and the three collectible models. One
// Level lives as long as the game; every stage is loaded into it. A GL context must be
// current while it is built and destroyed (it owns two texture names). The values the
// stage file sets (limits, positions, dice, coins, cubes, message) come from StageValues.
class Level : public StageValues {
public:
    static constexpr float SKY_RADIUS = 110.0f;   // world units, centred on the origin

    // The stage pictures are only uploaded as mipmapped textures; they get no texture of
    // their own, which would be a second, unused copy in GL memory built at every load.
    Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    // "data/levels/level<stage>.txt", relative to the working directory: the stage files
    // are numbered from 1 without gaps, so the first number without a file ends the game.
    static std::string stageFileName(int stage);

    // Loads the die, coin and finish models once, then the stage `stage` (see load).
    void setup(int& stage, int& totalScore);
    // Empties cubes, dice and coins; everything else stays until the next load.
    void clear();
    // Reads "data/levels/level<stage>.txt" and uploads its two textures. A stage without
    // a file falls back to stage 1 and sets totalScore to 0, through the references.
    // Expects cubes, dice and coins empty. A file that ends early or holds a bad value
    // keeps what was read before it; a missing stage 1 leaves the stage empty. Either
    // way one error line says what went wrong.
    void load(int& stage, int& totalScore);
    // The same from any stage file, with no fall-back: a stage author's own file.
    void loadFile(const std::string& fileName);
    // A sphere holding every cube (world units): the middle of their bounding box and half
    // its diagonal. The origin and 0 for a stage without cubes.
    void bounds(Vec3& centre, float& radius) const;

    // Advances the common spin of the collectibles by one degree (once per frame).
    void update();
    int remainingDice() const;
    int remainingCoins() const;

    // Draws cubes, dice, coins, the finish (only once no die is left) and the sky. On
    // return the matrices are as on entry, depth test, lighting and culling are on, 2D
    // texturing is off, colour material is on and the current colour is white.
    void draw();
    // A textured sphere of `radius` around the current origin, with whatever texture is bound.
    void drawSky(float radius);
    // The cubes alone, as draw() draws them, with whatever texture is bound.
    void drawCubes();
    // Builds the display list of the stage's faces now rather than at the next draw (a
    // loaded stage does it, so that its first frame costs no more than the others).
    void compileFaces();

    ofImage faceImage;
    ofImage skyImage;
    MipmapTexture faceTexture;
    MipmapTexture skyTexture;
    ModelHolder dieModel;
    ModelHolder coinModel;
    ModelHolder targetModel;
    int collectibleAngle = 0;            // degrees, 0 to 359; never reset by a load
    int diceTotal = 0;                   // dice when the stage was read
    int coinsTotal = 0;                  // coins when the stage was read
    // draw() replays the faces of the cubes from a display list (without the faces that lie
    // against a neighbouring cube, which can never be seen) and the sky from a sphere built
    // once. False: every face of every cube is sent, and the sky tessellated, every frame;
    // the same picture, kept to compare with.
    bool compiledDrawing = true;

private:
    DisplayList cubeFaces;               // the faces of cubeFacesFrom that can be seen
    std::vector<float> cubeFacesFrom;    // each cube's centre and face colours when compiled
    DisplayList skySphere;               // drawSky(SKY_RADIUS), compiled
};
