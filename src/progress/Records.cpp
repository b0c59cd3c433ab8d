#include "progress/Records.h"

#include "progress/AtomicFile.h"
#include "media/ofUtils.h"
#include "progress/TextLine.h"

#include <climits>

namespace {

constexpr long long MAX_UNIX_TIME = 253402300799LL;   // the last second of the year 9999

std::string recordLine(int stage, const StageRecord& r)
{
    return "stage " + std::to_string(stage) + " time " + std::to_string(r.bestSteps) + " " +
           std::to_string(r.bestStepsAt) + " score " + std::to_string(r.bestScore) + " " + std::to_string(r.bestScoreAt);
}

} // namespace

std::string Records::parseLine(const std::string& line)
{
    // stage N time STEPS WHEN score SCORE WHEN
    const std::vector<std::string> words = splitWords(line);
    if (words.size() != 8 || words[0] != "stage" || words[2] != "time" || words[5] != "score") {
        return "not a record (expected \"stage N time STEPS WHEN score SCORE WHEN\")";
    }
    long long stage = 0;
    long long steps = 0;
    long long stepsAt = 0;
    long long score = 0;
    long long scoreAt = 0;
    if (!readWholeNumber(words[1], 1, RECORDS_MAX_STAGE, stage)) {
        return numberProblem("stage", words[1], 1, RECORDS_MAX_STAGE);
    }
    if (!readWholeNumber(words[3], 1, INT_MAX, steps)) {
        return numberProblem("time", words[3], 1, INT_MAX);
    }
    if (!readWholeNumber(words[4], 0, MAX_UNIX_TIME, stepsAt)) {
        return numberProblem("moment", words[4], 0, MAX_UNIX_TIME);
    }
    if (!readWholeNumber(words[6], INT_MIN, INT_MAX, score)) {
        return numberProblem("score", words[6], INT_MIN, INT_MAX);
    }
    if (!readWholeNumber(words[7], 0, MAX_UNIX_TIME, scoreAt)) {
        return numberProblem("moment", words[7], 0, MAX_UNIX_TIME);
    }
    if (records.count(static_cast<int>(stage)) != 0) {
        return "a second record of stage " + words[1];
    }
    records[static_cast<int>(stage)] =
        StageRecord{static_cast<int>(steps), stepsAt, static_cast<int>(score), scoreAt};
    return "";
}

SideFileResult Records::load(const std::string& path, int stageCount)
{
    // Read into a fresh object, so the lines of an unreadable file never mix with what was held.
    Records read;
    read.stages = stageCount;
    const SideFileResult result =
        readSideFile("records", path, RECORDS_HEADER, [&read](const std::string& line, int) { return read.parseLine(line); });
    if (result.status == SideFileStatus::KeptAside) {
        read.records.clear();
        if (result.asidePath.empty()) {
            // Still at `path`: writing there would destroy it.
            read.mayWrite = false;
            read.keptPath = path;
        }
    }
    *this = std::move(read);
    if (result.status == SideFileStatus::Skipped) {
        save(path);
    }
    return result;
}

bool Records::save(const std::string& path) const
{
    if (!mayWrite && path == keptPath) {
        ofLog(OF_LOG_ERROR, "records: [%s] is left as it is, since it could not be read nor moved aside; new records are not saved",
              path.c_str());
        return false;
    }
    return replaceFileAtomically(path, recordsText());
}

RecordWin Records::recordWin(int stage, int steps, int score, long long unixTime)
{
    RecordWin win;
    if (stage < 1 || stage > RECORDS_MAX_STAGE || steps < 1) {
        return win;
    }
    const auto found = records.find(stage);
    if (found == records.end()) {
        records[stage] = StageRecord{steps, unixTime, score, unixTime};
        win.firstWin = win.newBestTime = win.newBestScore = true;
        return win;
    }
    StageRecord& r = found->second;
    win.previousBestSteps = r.bestSteps;
    win.previousBestScore = r.bestScore;
    // A tie keeps the moment it was first reached.
    if (steps < r.bestSteps) {
        r.bestSteps = steps;
        r.bestStepsAt = unixTime;
        win.newBestTime = true;
    }
    if (score > r.bestScore) {
        r.bestScore = score;
        r.bestScoreAt = unixTime;
        win.newBestScore = true;
    }
    return win;
}

const StageRecord* Records::find(int stage) const
{
    const auto found = records.find(stage);
    return found == records.end() ? nullptr : &found->second;
}

std::string Records::recordsText() const
{
    std::string text = std::string(RECORDS_HEADER) + "\n";
    for (const auto& [stage, record] : records) {
        text += recordLine(stage, record) + "\n";
    }
    return text;
}

bool Records::parseText(const std::string& text, int stageCount, int& skipped)
{
    records.clear();
    stages = stageCount;
    skipped = 0;
    bool headerSeen = false;
    for (const std::string& line : splitLines(text)) {
        if (!headerSeen) {
            if (line != RECORDS_HEADER) {
                return false;
            }
            headerSeen = true;
        } else if (line.find_first_not_of(" \t") != std::string::npos && !parseLine(line).empty()) {
            ++skipped;
        }
    }
    return headerSeen;
}

std::string stepsAsSeconds(int steps)
{
    // Rounded to the nearest hundredth; steps * 100 / 60 never ends in exactly one half.
    const long long hundredths = (static_cast<long long>(steps < 0 ? 0 : steps) * 100 + 30) / 60;
    const long long whole = hundredths / 100;
    const long long part = hundredths % 100;
    return std::to_string(whole) + "." + (part < 10 ? "0" : "") + std::to_string(part);
}
