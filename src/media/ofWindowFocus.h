#pragma once
// Whether the game window holds the X keyboard focus. freeglut reports no focus changes, so
// the X server is asked, at most once every FOCUS_POLL_MS, and the answer kept in between.

inline constexpr int FOCUS_POLL_MS = 100;

// For the window of the GL context current on this thread (GLUT keeps its window's context
// current); false when there is none. The window counts as focused when the focus is on it,
// inside it or on a frame around it, or, when the focus follows the pointer, while the
// pointer is over it.
bool ofCurrentWindowHasFocus();
