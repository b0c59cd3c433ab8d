#pragma once
// Log, data paths, number formatting, clocks and sleeping.

#include <string>

enum ofLogLevel {
    OF_LOG_VERBOSE = 0,
    OF_LOG_NOTICE = 1,
    OF_LOG_WARNING = 2,
    OF_LOG_ERROR = 3,
    OF_LOG_FATAL_ERROR = 4,
};

// Prints "<PREFIX>: message\n" to standard output when level is at least the
// current log level (2 unless changed).
void ofLog(int level, const char* format, ...) __attribute__((format(printf, 2, 3)));
void ofSetLogLevel(int level);
int ofGetLogLevel();

// Puts "data/" in front of relative names that do not already start with it.
// With makeAbsolute the working directory is put in front; separators stay "/".
std::string ofToDataPath(std::string path, bool makeAbsolute = false);

// Fixed-point text with exactly `precision` digits after the point.
std::string ofToString(double value, int precision);

// Elapsed-time clocks, in milliseconds of a steady clock since the last reset.
void ofResetElapsedTimeCounter();
int ofGetElapsedTimeMillis();
float ofGetElapsedTimef();
// The same clock to the microsecond, in seconds: for measuring frames.
double ofGetElapsedTimeSecondsPrecise();
unsigned int ofGetSystemTimeMillis();   // milliseconds of the steady clock (since boot), 32 bits

void ofSleepMillis(int ms);
// Seeds the standard random generator from the clock.
void ofSeedRandom();
