#pragma once
// One line of text for the ball after a game step: every value its next steps depend on, and
// those its drawing reads, floats as C hex floats so that two lines are equal only when the
// balls are equal to the last bit. The replay checker prints it with --trace; the game's tests
// print it for a run played in the window, so the two can be compared line for line.
//
//   step 0 pos <x y z> gravity <x y z> heading <h> front <x y z> left <x y z> velocity <x y z>
//     size <s> pivot <x y z> arm <x y z> orientation <re x y z> roll <re x y z> spin <s>
//     frames <action> <roll> flags[ running][ won][ ready]...
//
// (one line; the flags named are those set, in a fixed order).

#include <string>

class Player;

std::string ballTraceLine(int step, const Player& player);
