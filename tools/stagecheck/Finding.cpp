#include "Finding.h"

#include <algorithm>

void addError(std::vector<Finding>& findings, int line, int token, const std::string& text)
{
    findings.push_back({true, line, token, text});
}

void addWarning(std::vector<Finding>& findings, int line, int token, const std::string& text)
{
    findings.push_back({false, line, token, text});
}

bool hasErrors(const std::vector<Finding>& findings)
{
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.error; });
}

std::string formatFinding(const std::string& fileName, const Finding& finding)
{
    std::string text = fileName;
    if (finding.line > 0) {
        text += ":" + std::to_string(finding.line);
    }
    text += ": ";
    if (finding.token > 0) {
        text += "token " + std::to_string(finding.token) + ": ";
    }
    text += finding.error ? "error: " : "warning: ";
    text += finding.text;
    return text;
}
