#include "level/Level.h"
#include "media/ofUtils.h"

#include <fstream>

namespace {

const char* const TEXTURE_FOLDER = "levels/levelTextures/";   // below the data folder

// Loads one stage texture; a failed load is reported and the upload skipped by the
// texture itself, so the stage goes on with whatever the texture held.
void loadStageTexture(ofImage& image, MipmapTexture& texture, const std::string& name, GLint wrapT)
{
    if (!image.loadImage(TEXTURE_FOLDER + name)) {
        ofLog(OF_LOG_ERROR, "Failed to load image");
    }
    texture.buildMipmappedTexture(image, GL_REPEAT, wrapT);
}

} // namespace

std::string Level::stageFileName(int stage)
{
    return "data/levels/level" + std::to_string(stage) + ".txt";
}

void Level::setup(int& stage, int& totalScore)
{
    dieModel.loadModel("die/die.3ds", 1.0f);
    coinModel.loadModel("coin/coin.3ds", 1.0f);
    targetModel.loadModel("target/target.3ds", 1.0f);
    load(stage, totalScore);
}

void Level::load(int& stage, int& totalScore)
{
    std::string fileName = stageFileName(stage);
    std::ifstream in(fileName);
    if (!in.is_open()) {
        // A stage without a file starts the game afresh.
        stage = 1;
        totalScore = 0;
        fileName = stageFileName(stage);
    }
    in.close();
    loadFile(fileName);
}

void Level::loadFile(const std::string& fileName)
{
    std::ifstream in(fileName);
    // Read straight into the stage's fields: values the file does not reach keep what they
    // were, and the message is the file's only.
    message.clear();
    std::string faceName;
    std::string skyName;
    if (in.is_open()) {
        readStageValues(in, fileName, *this, faceName, skyName);
    } else {
        ofLog(OF_LOG_ERROR, "Stage file: [%s] cannot be opened; the stage is empty", fileName.c_str());
    }
    diceTotal = remainingDice();
    coinsTotal = remainingCoins();

    // A texture the file never named is left as it was rather than reported twice.
    if (!faceName.empty()) {
        loadStageTexture(faceImage, faceTexture, faceName, GL_REPEAT);
    }
    if (!skyName.empty()) {
        loadStageTexture(skyImage, skyTexture, skyName, GL_CLAMP);
    }
    if (compiledDrawing) {
        compileFaces();
    }
}
