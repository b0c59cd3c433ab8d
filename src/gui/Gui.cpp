#include "gui/Gui.h"

#include "gui/HighscoreFile.h"
#include "media/ofAppRunner.h"
#include "media/ofUtils.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

int saturatedSum(long long a, long long b, long long c)
{
    return static_cast<int>(std::clamp(a + b + c, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

} // namespace

Gui::Gui()
{
    for (int i = 0; i < HIGHSCORE_RANKS; ++i) {
        highscores[i].name = UNSET_NAME;
        highscores[i].score = 0;
    }
}

void Gui::setup()
{
    largeFont.loadFont("comic_reg.ttf", 38);
    mediumFont.loadFont("comic_reg.ttf", 24);
    italicFont.loadFont("comic_italic.ttf", 14);
    smallFont.loadFont("comic_reg.ttf", 10);
    width = ofGetWidth();
    height = ofGetHeight();
    menuCursor = 0;
}

void Gui::setSize(int w, int h)
{
    width = w;
    height = h;
}

void Gui::scoreStage()
{
    timeBonus = (minutes * 60 + seconds) * 10;
    objectBonus = coinsCollected * 100;
    totalScore = saturatedSum(totalScore, timeBonus, objectBonus);
    tallyPending = false;
}

void Gui::readHighscores()
{
    const int read = readHighscoreFile(HIGHSCORE_FILE_PATH, std::span<HighscoreEntry>(highscores, HIGHSCORE_RANKS));
    // The file is read in every frame of the screens that show it: say once what is wrong.
    if (read != lastHighscoreRead && read >= 0 && read < HIGHSCORE_VALUES) {
        ofLog(OF_LOG_ERROR, "highscores: [%s] holds %d of %d names and scores, keeping the others", HIGHSCORE_FILE_PATH,
              read, HIGHSCORE_VALUES);
    }
    lastHighscoreRead = read;
    if (totalScore > highscores[HIGHSCORE_RANKS - 1].score) {
        newHighscore = true;
    }
}

void Gui::writeHighscores()
{
    highscores[3].name = playerName;
    highscores[3].score = totalScore;
    // An equal score ranks below the one already in the table.
    for (int i = 3; i >= 1 && highscores[i].score > highscores[i - 1].score; --i) {
        std::swap(highscores[i], highscores[i - 1]);
    }
    writeHighscoreFile(HIGHSCORE_FILE_PATH, std::span<const HighscoreEntry>(highscores, HIGHSCORE_RANKS));
}

bool Gui::nameEntryKey(int key)
{
    constexpr int KEY_UP = 357;
    constexpr int KEY_DOWN = 359;
    constexpr int LETTERS = 26;
    if (key == KEY_UP) {
        offeredLetter = offeredLetter < 0 ? 0 : (offeredLetter + 1) % LETTERS;
    } else if (key == KEY_DOWN) {
        offeredLetter = offeredLetter < 0 ? LETTERS - 1 : (offeredLetter + LETTERS - 1) % LETTERS;
    }
    if (key == 8 && !playerName.empty()) {
        playerName.pop_back();
    }
    if (key >= 'a' && key <= 'z' && static_cast<int>(playerName.size()) < NAME_MAX_LETTERS) {
        playerName += static_cast<char>(key);
    }
    if (key == 13 && static_cast<int>(playerName.size()) >= NAME_MIN_LETTERS) {
        writeHighscores();
        return true;
    }
    return false;
}
