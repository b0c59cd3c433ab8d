#include "media/ofUtils.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <iomanip>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace {

int currentLogLevel = OF_LOG_WARNING;   // verbose and notice stay silent

using Clock = std::chrono::steady_clock;
unsigned int startMillis = 0;   // system millis at the last reset; unsigned so the difference survives wrap-around

const char* logPrefix(int level)
{
    switch (level) {
    case OF_LOG_VERBOSE: return "OF_VERBOSE: ";
    case OF_LOG_NOTICE: return "OF_NOTICE: ";
    case OF_LOG_WARNING: return "OF_WARNING: ";
    case OF_LOG_ERROR: return "OF_ERROR: ";
    case OF_LOG_FATAL_ERROR: return "OF_FATAL_ERROR: ";
    default: return "";
    }
}

} // namespace

void ofLog(int level, const char* format, ...)
{
    if (level < currentLogLevel) {
        return;
    }
    std::fputs(logPrefix(level), stdout);
    va_list args;
    va_start(args, format);
    std::vfprintf(stdout, format, args);
    va_end(args);
    std::fputs("\n", stdout);
    std::fflush(stdout);
}

void ofSetLogLevel(int level) { currentLogLevel = level; }
int ofGetLogLevel() { return currentLogLevel; }

std::string ofToDataPath(std::string path, bool makeAbsolute)
{
    bool relative = path.empty()
        || (path[0] != '/' && !(path.size() > 1 && path[1] == ':') && path.rfind("data/", 0) != 0);
    if (relative) {
        path = "data/" + path;
    }
    if (makeAbsolute && path[0] != '/') {
        char buffer[1024];
        if (::getcwd(buffer, sizeof buffer) != nullptr) {
            path = std::string(buffer) + "/" + path;
        }
    }
    return path;
}

std::string ofToString(double value, int precision)
{
    std::ostringstream out;
    out << std::fixed << std::setprecision(precision) << value;
    return out.str();
}

unsigned int ofGetSystemTimeMillis()
{
    // The steady clock counts from boot, like the tick counter it stands in for.
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch()).count();
    return static_cast<unsigned int>(ms);
}

void ofResetElapsedTimeCounter() { startMillis = ofGetSystemTimeMillis(); }

int ofGetElapsedTimeMillis() { return static_cast<int>(ofGetSystemTimeMillis() - startMillis); }

float ofGetElapsedTimef()
{
    return static_cast<float>(static_cast<int>(ofGetSystemTimeMillis() - startMillis) / 1000.0);
}

double ofGetElapsedTimeSecondsPrecise()
{
    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
    // The start is kept in whole milliseconds of the same clock; wrap-around as above.
    const unsigned int millis = static_cast<unsigned int>(us / 1000);
    return static_cast<int>(millis - startMillis) / 1000.0 + static_cast<double>(us % 1000) / 1e6;
}

void ofSleepMillis(int ms)
{
    if (ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

void ofSeedRandom()
{
    std::srand(ofGetSystemTimeMillis());
}
