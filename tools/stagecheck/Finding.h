#pragma once
// One remark of the stage checker about a stage file, tied to a place in the file when it
// has one. Errors make the stage fail; warnings point at something that is probably a
// mistake but leaves the stage playable.

#include <string>
#include <vector>

struct Finding {
    bool error = false;
    int line = 0;    // 1-based line of the file, 0 when the remark is about the whole stage
    int token = 0;   // 1-based number of the whitespace-separated token, 0 when none
    std::string text;
};

void addError(std::vector<Finding>& findings, int line, int token, const std::string& text);
void addWarning(std::vector<Finding>& findings, int line, int token, const std::string& text);
bool hasErrors(const std::vector<Finding>& findings);

// "file:line: token n: error: text", leaving out the parts that are 0.
std::string formatFinding(const std::string& fileName, const Finding& finding);
