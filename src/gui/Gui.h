#pragma once
// Every two-dimensional screen of the game, drawn over the 3D scene between begin2d and
// end2d (window pixels, origin top-left, y down): the main menu, the in-game display, the
// stage tally, the end and new-highscore screens, the highscore table and the info screen.
// It also keeps the numbers those screens show: the clock display, the stage's counts, the
// score parts, the total score and the highscore table.

#include "gui/HighscoreEntry.h"
#include "media/ofTrueTypeFont.h"
#include "player/Vec3.h"

#include <string>

class Level;

class Gui {
public:
    static constexpr int MENU_ITEMS = 7;
    static constexpr int NAME_MIN_LETTERS = 2;
    static constexpr int NAME_MAX_LETTERS = 5;
    // Name shown (and written) for a rank no highscore file has filled yet; its score is 0.
    static constexpr const char* UNSET_NAME = "empty";

    Gui();
    Gui(const Gui&) = delete;
    Gui& operator=(const Gui&) = delete;

    // Loads the four fonts, takes the window size and puts the menu cursor on Continue.
    void setup();
    void setSize(int w, int h);

    // Once per frame of play: display values from the seconds left and the stage's counts.
    void updateHud(float timeLeft, Level& level);
    void drawHud(Level& level);

    // Adds the won stage's time and coin bonus to totalScore, once per stage.
    void scoreStage();
    // Reads data/hs.txt into ranks 1 to 3 and raises newHighscore when totalScore beats rank 3.
    void readHighscores();
    // Ranks (playerName, totalScore) into the table and writes ranks 1 to 3 to data/hs.txt.
    void writeHighscores();
    // One key (already lowercased) of the name entry. Returns true when Enter accepted the
    // name and the table has been written; the caller then moves on to the next stage. Up
    // and down offer a letter (offeredLetter), for a pad, whose A then types it.
    bool nameEntryKey(int key);

    // Screens over the scene, for the current width and height.
    void drawPanel();
    void drawMenu(int stage, bool allCleared);
    void drawTally(bool allCleared, int stage);
    void drawHighscores();
    void drawInfo();

    ofTrueTypeFont largeFont;     // comic_reg.ttf, 38
    ofTrueTypeFont mediumFont;    // comic_reg.ttf, 24
    ofTrueTypeFont italicFont;    // comic_italic.ttf, 14
    ofTrueTypeFont smallFont;     // comic_reg.ttf, 10
    Vec3 timeColour{0, 0, 0};     // red, green, blue of the in-game display, 0 to 1
    std::string timeText;         // "m:ss" as last drawn
    std::string diceText;         // "collected/total" as last drawn
    std::string message;          // the stage message
    int minutes = 0;              // whole minutes left
    int seconds = 0;              // whole seconds left beyond the minutes, 0 to 59
    int diceCollected = 0;
    int coinsCollected = 0;
    int timeBonus = 0;            // score parts of the last won stage
    int objectBonus = 0;
    int width = 0;                // window size, pixels
    int height = 0;
    HighscoreEntry highscores[4]; // ranks 1 to 3, then the slot a new entry is ranked from
    bool tallyPending = false;    // the running stage has not been scored yet
    int menuCursor = 0;           // highlighted menu item; wrapped into 0..6 by drawMenu
    int totalScore = 0;
    bool newHighscore = false;    // totalScore beats rank 3
    std::string playerName;       // typed on the new-highscore screen; kept for the run
    int offeredLetter = -1;       // name entry by up and down: 0 for 'a' to 25 for 'z', -1 none yet

private:
    static constexpr int HIGHSCORE_UNREAD = -2;
    int lastHighscoreRead = HIGHSCORE_UNREAD;   // what the last read found, so a bad file is reported once
};
