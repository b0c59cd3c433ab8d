#pragma once
// Words and numbers of one line of the small text files in data/ (records, proven times,
// world names): words separated by blanks or tabs, numbers in decimal and checked for range.

#include <string>
#include <vector>

std::vector<std::string> splitWords(const std::string& line);

// The lines of a file's text, line 1 first: each without its '\n' and a '\r' before it. A
// text that ends in a line break has no empty line after it.
std::vector<std::string> splitLines(const std::string& text);

// True with `value` set when `word` is a whole decimal number (an optional '-', digits,
// nothing else) from `min` to `max`.
bool readWholeNumber(const std::string& word, long long min, long long max, long long& value);

// "bad number 'x'" or "number 7 out of range 1 to 5", for a word readWholeNumber refused.
std::string numberProblem(const std::string& what, const std::string& word, long long min, long long max);
