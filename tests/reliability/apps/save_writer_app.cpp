// Writes the save file, the records file and the highscore file over and over, through the
// game's own code, in its working directory, until it is killed: the victim of the kill test.
// Round n writes the save "n n*10", then the records of round n (KillRounds.h), then ranks a
// total of n*10 under the name "kill" into the table of rounds n-1, n-2 and n-3 and writes it,
// so each round's texts depend on n alone. It reads the records file as the game does (a
// damaged one would be kept aside and reported), continues from the round the save file
// names, and prints "writing" once before its first write, so that the killer knows the
// start-up is over.
#include "KillRounds.h"
#include "gui/Gui.h"
#include "gui/SaveFile.h"

#include <cstdio>

int main()
{
    SaveState save;
    readSaveFile(SAVE_FILE_PATH, save);
    Records read;
    read.load(RECORDS_FILE_PATH, KILL_RECORD_STAGES);
    Gui gui;
    gui.playerName = "kill";
    std::printf("writing\n");
    std::fflush(stdout);
    for (int round = save.stage + 1;; ++round) {
        writeSaveFile(SAVE_FILE_PATH, SaveState{round, round * 10});
        recordsOfRound(round).save(RECORDS_FILE_PATH);
        for (int rank = 0; rank < 3; ++rank) {
            gui.highscores[rank] = {"kill", (round - 1 - rank) * 10};
        }
        gui.totalScore = round * 10;
        gui.writeHighscores();
    }
}
