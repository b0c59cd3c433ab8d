#include "level/Level.h"
#include "level/StageFile.h"
#include "media/ofUtils.h"

#include <fstream>
#include <utility>

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
        in.clear();
        in.open(fileName);
    }

    // Values the file does not reach keep what they were; the message is the file's only.
    // Cubes are read straight into the Level's vector, so a reload reuses its storage.
    StageFile read;
    read.fallRadius = fallRadius;
    read.timeLimit = timeLimit;
    read.startPosition = startPosition;
    read.targetPosition = targetPosition;
    read.cubes.swap(cubes);
    if (in.is_open()) {
        readStageFile(in, fileName, read);
    } else {
        ofLog(OF_LOG_ERROR, "Stage file: [%s] cannot be opened; the stage is empty", fileName.c_str());
    }

    fallRadius = read.fallRadius;
    timeLimit = read.timeLimit;
    startPosition = read.startPosition;
    targetPosition = read.targetPosition;
    cubes.swap(read.cubes);
    dice.splice(dice.end(), read.dice);
    coins.splice(coins.end(), read.coins);
    message = std::move(read.message);
    diceTotal = remainingDice();
    coinsTotal = remainingCoins();

    // A texture the file never named is left as it was rather than reported twice.
    if (!read.faceTexture.empty()) {
        loadStageTexture(faceImage, faceTexture, read.faceTexture, GL_REPEAT);
    }
    if (!read.skyTexture.empty()) {
        loadStageTexture(skyImage, skyTexture, read.skyTexture, GL_CLAMP);
    }
}
