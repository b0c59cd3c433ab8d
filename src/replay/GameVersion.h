#pragma once
// The game's version as the package carries it (TUMBRIX_VERSION in cmake/Install.cmake; a
// test keeps the two the same). Files the game writes name it, so a file can tell which
// build made it.

inline constexpr const char* GAME_VERSION = "1.0.0";
