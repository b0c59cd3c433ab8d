#pragma once
// Shut-downs of the libraries the framework starts on demand; the exit path runs them.
// Each does nothing when its library was never started.

void ofSoundShutdown();          // the audio engine (defined with the sound player)
void ofImageLibraryShutdown();   // the image library (defined with ofImage)
