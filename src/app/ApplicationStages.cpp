// The stage select, practice, the command line's stages and the records of a win.
#include "app/Application.h"

#include "gui/ScreenStyle.h"
#include "gui/StageSelectScreen.h"
#include "level/StageFile.h"
#include "media/ofUtils.h"

#include <algorithm>
#include <ctime>
#include <fstream>
#include <unistd.h>

namespace {

// Stages are numbered from 1 without gaps: the first number without a file ends them.
int countStages()
{
    int count = 0;
    while (count < RECORDS_MAX_STAGE && ::access(Level::stageFileName(count + 1).c_str(), R_OK) == 0) {
        ++count;
    }
    return count;
}

std::string seconds(int steps)
{
    return stepsAsSeconds(steps) + " s";
}

} // namespace

void Application::setupProgress()
{
    const int stages = countStages();
    records.load(RECORDS_FILE_PATH, stages);
    provenTimes.load(PROVEN_TIMES_PATH);
    worlds.load(WORLDS_FILE_PATH);
    stageSelect.setStageCount(stages);
}

void Application::applyLaunch()
{
    switch (launch.mode) {
    case LaunchOptions::Mode::Menu: break;
    case LaunchOptions::Mode::Stage:
        if (!playFromSelect(launch.stage, false)) {
            ofLog(OF_LOG_WARNING, "--stage %d: %s; here is the menu", launch.stage, notice.c_str());
        }
        fromStageSelect = false;
        launch.mode = LaunchOptions::Mode::Menu;
        break;
    case LaunchOptions::Mode::Play: startPlayFile(); break;
    case LaunchOptions::Mode::Replay: {
        ReplayData data;
        std::string problem;
        if (!readReplayFile(launch.file, data, problem)) {
            ofLog(OF_LOG_ERROR, "%s; nothing to play", problem.c_str());
            std::exit(1);
        }
        if (!watchReplay(data, launch.file)) {
            ofLog(OF_LOG_ERROR, "replay: [%s] %s", launch.file.c_str(), notice.c_str());
            std::exit(1);
        }
        break;
    }
    }
}

void Application::startPlayFile()
{
    std::ifstream probe(launch.file);
    if (!probe.is_open()) {
        ofLog(OF_LOG_ERROR, "--play: [%s] cannot be opened; here is the menu", launch.file.c_str());
        launch.mode = LaunchOptions::Mode::Menu;
        return;
    }
    // A stage of one's own: played again and again, read afresh each time so that edits
    // show; neither the save nor the records hear of it.
    startStage();
}

bool Application::playFromSelect(int pick, bool race)
{
    if (pick < 1 || pick > stageSelect.stageCount()) {
        notice = "there is no stage " + std::to_string(pick);
        return false;
    }
    if (StageSelect::locked(pick, stage)) {
        notice = "stage " + std::to_string(pick) + " is locked: win stage " + std::to_string(stage) + " first";
        return false;
    }
    ReplayData best;
    if (race) {
        std::string problem;
        if (!readReplayFile(replayPath(pick, "best"), best, problem)) {
            notice = "no best run of stage " + std::to_string(pick) + " to race yet";
            return false;
        }
    }
    // The stage reached plays as Continue does; one below it is practice.
    practice = pick < stage;
    if (practice) {
        reachedStage = stage;
        practiceTotal = gui.totalScore;
        stage = pick;
    }
    fromStageSelect = true;
    showStageSelect = false;
    notice.clear();
    startStage();
    if (race) {
        racing = buildGhost(best);
    }
    return true;
}

void Application::stageSelectKey(int key)
{
    const int before = stageSelect.stage();
    switch (key) {
    case KEY_LEFT: stageSelect.left(); break;
    case KEY_RIGHT: stageSelect.right(); break;
    case KEY_UP: stageSelect.up(); break;
    case KEY_DOWN: stageSelect.down(); break;
    case KEY_ENTER: playFromSelect(stageSelect.stage(), false); return;
    case KEY_SPACE: playFromSelect(stageSelect.stage(), true); return;
    case 'w': watchBest(stageSelect.stage()); return;
    case KEY_BACKSPACE: showStageSelect = false; return;
    default: return;
    }
    if (stageSelect.stage() != before) {
        notice.clear();
    }
}

// The stage behind the stage select is the one highlighted (update calls it while it shows).
void Application::showSelectedStage()
{
    const int shown = stageSelect.stage();
    if (shown == backgroundStage || shown < 1) {
        return;
    }
    int number = shown;
    int score = gui.totalScore;
    level.clear();
    level.load(number, score);
    player.reset(level.startPosition);
    backgroundStage = shown;
}

void Application::stageLost()
{
    recorder.abandon();
    racing = false;
    ghost.clear();
    if (watching) {
        stopWatching();
        return;
    }
    if (practice) {
        stage = reachedStage;
        practice = false;
    }
    if (launch.mode == LaunchOptions::Mode::Play) {
        startStage();
        return;
    }
    showStageSelect = fromStageSelect;
    fromStageSelect = false;
}

// Back to the menu from the pause panel: as a time-out does, without its sound.
void Application::leaveStage()
{
    paused = false;
    player.reset(level.startPosition);
    playing = false;
    stageLost();
}

void Application::stageScored()
{
    const int score = gui.timeBonus + gui.objectBonus;
    tallyRecord.shown = true;
    tallyRecord.steps = finishStep;
    if (racing) {
        tallyRecord.ghostRaced = true;
        tallyRecord.ghostSteps = ghost.finishStep();
    }
    if (practice) {
        // Practice keeps its records and its medal, never the run's total.
        gui.totalScore = practiceTotal;
    }
    if (watching || launch.mode == LaunchOptions::Mode::Play) {
        return;
    }
    const RecordWin win = records.recordWin(stage, finishStep, score, static_cast<long long>(std::time(nullptr)));
    records.save(RECORDS_FILE_PATH);
    const StageRecord* best = records.find(stage);
    tallyRecord.bestSteps = best != nullptr ? best->bestSteps : finishStep;
    tallyRecord.newBest = win.newBestTime && !win.firstWin;
    tallyRecord.medal = medalName(provenTimes.medalFor(stage, tallyRecord.bestSteps));
    saveReplays(score, win.newBestTime);
}

void Application::tallyEnter()
{
    racing = false;
    ghost.clear();
    if (watching) {
        player.stageWon = false;
        stopWatching();
        return;
    }
    if (launch.mode == LaunchOptions::Mode::Play) {
        player.stageWon = false;
        startStage();
        return;
    }
    const bool backToSelect = fromStageSelect;
    fromStageSelect = false;
    if (practice) {
        // Back to the stage select with the practised stage still highlighted.
        player.stageWon = false;
        stage = reachedStage;
        practice = false;
    } else {
        nextStage();
        stageSelect.select(std::min(stage, stageSelect.stageCount()));
    }
    showStageSelect = backToSelect;
}

std::string Application::stageName(int number)
{
    auto found = stageNames.find(number);
    if (found != stageNames.end()) {
        return found->second;
    }
    std::string name;
    std::ifstream in(Level::stageFileName(number));
    StageFile file;
    if (in.is_open()) {
        readStageFile(in, Level::stageFileName(number), file);
        // The message's lines, one after another.
        for (char c : file.message) {
            const char shown = c == '\n' || c == '\r' || c == '\t' ? ' ' : c;
            if (shown != ' ' || (!name.empty() && name.back() != ' ')) {
                name += shown;
            }
        }
        while (!name.empty() && name.back() == ' ') {
            name.pop_back();
        }
    }
    if (name.empty()) {
        name = "stage " + std::to_string(number);
    }
    stageNames[number] = name;
    return name;
}

void Application::drawStageSelect()
{
    StageSelectView view;
    view.world = stageSelect.world();
    view.worlds = stageSelect.worldCount();
    view.worldName = worlds.name(view.world);
    const WorldMedals medals = stageSelect.medals(view.world, records, provenTimes);
    view.golds = medals.gold;
    view.silvers = medals.silver;
    view.bronzes = medals.bronze;
    view.notice = notice;
    for (int number = stageSelect.firstStage(); number <= stageSelect.lastStage(); ++number) {
        StageSelectRow row;
        row.stage = number;
        row.locked = StageSelect::locked(number, stage);
        row.name = stageName(number);
        if (const StageRecord* record = records.find(number)) {
            row.bestTime = seconds(record->bestSteps);
            row.bestScore = std::to_string(record->bestScore);
            row.medal = medalName(provenTimes.medalFor(number, record->bestSteps));
        }
        if (provenTimes.steps(number) > 0) {
            row.targets = seconds(provenTimes.goldTarget(number)) + " / " + seconds(provenTimes.silverTarget(number));
        }
        view.rows.push_back(row);
    }
    view.cursor = stageSelect.stage() - stageSelect.firstStage();
    ::drawStageSelect(gui, view);
}

void Application::drawTallyRecord()
{
    if (!tallyRecord.shown || allCleared) {
        return;
    }
    using namespace screenstyle;
    const float cx = gui.width * 0.5f;
    const float cy = gui.height * 0.5f;
    const float top = cy + 250.0f;
    const int lines = (tallyRecord.ghostRaced ? 1 : 0) + (practice || watching ? 1 : 0) + 1;
    colourPanel();
    box(cx - 250.0f, top, cx + 250.0f, top + 12.0f + 30.0f * static_cast<float>(lines));
    colourText();
    float y = top + 30.0f;
    std::string line = "time " + seconds(tallyRecord.steps);
    if (tallyRecord.bestSteps > 0) {
        line += "   best " + seconds(tallyRecord.bestSteps);
    }
    if (tallyRecord.newBest) {
        line += "   new best";
    }
    if (!tallyRecord.medal.empty() && tallyRecord.medal != std::string("none")) {
        line += "   " + tallyRecord.medal;
    }
    gui.italicFont.drawString(line, cx - 230.0f, y);
    if (tallyRecord.ghostRaced) {
        y += 30.0f;
        const int ahead = tallyRecord.ghostSteps - tallyRecord.steps;
        gui.italicFont.drawString("ghost " + seconds(tallyRecord.ghostSteps) + ": you were " +
                                      seconds(ahead >= 0 ? ahead : -ahead) + (ahead >= 0 ? " ahead" : " behind"),
                                  cx - 230.0f, y);
    }
    if (practice || watching) {
        y += 30.0f;
        colourDim();
        gui.italicFont.drawString(watching ? "a recorded run: any key goes back"
                                           : "practice: the save and the total stay as they were",
                                  cx - 230.0f, y);
    }
}
