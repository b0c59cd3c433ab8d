#pragma once
// A route kept beside the stages so that a check can play it instead of searching: the
// keys in the order pressed, one word an action ("Up", "Left", "Right", "Enter", "wait"),
// separated by any white space.

#include "RouteSearch.h"

#include <string>
#include <vector>

// The route file of `stageFile` in `dir`: the stage's file name with ".route" for ".txt".
std::string routeFile(const std::string& dir, const std::string& stageFile);

// True with the actions when `path` holds a route. False with `problem` empty when there
// is no such file, and with `problem` set (naming the file) when it cannot be read or
// holds a word that is no key.
bool readStoredRoute(const std::string& path, std::vector<BallAction>& actions, std::string& problem);

// Writes the actions, ten to a line; false with `problem` set when the file cannot be written.
bool writeStoredRoute(const std::string& path, const std::vector<BallAction>& actions, std::string& problem);
