#include "StageCheck.h"

#include "StageGeometryCheck.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

StageCheck::StageCheck(const StageCheckOptions& options) : options(options) {}

bool StageCheck::check(const std::string& file)
{
    std::printf("%s\n", file.c_str());
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::printf("%s: error: cannot open the file\n", file.c_str());
        return false;
    }
    std::ostringstream contents;
    contents << in.rdbuf();

    std::vector<Finding> findings;
    const CheckedStage stage = checkStageFormat(contents.str(), findings);
    if (stage.complete) {
        checkStageGeometry(stage, GeometryRules{}, findings);
    }
    checkStageTextures(stage, file, findings);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    for (const Finding& finding : findings) {
        std::printf("%s\n", formatFinding(file, finding).c_str());
    }
    const bool pass = !hasErrors(findings) && (!options.strict || findings.empty());
    std::printf("%s: %s\n", file.c_str(), pass ? "pass" : "FAIL");
    return pass;
}
