#pragma once
// The texts of the info screen. The credits are those of docs/credits.md, line for line.

inline constexpr const char* INFO_INSTRUCTIONS =
    "use <arrows> for moving\n"
    "use <enter-key> for jumping\n"
    "use <space> for looking around\n"
    "collect all dice to find the finish\n"
    "and the coins to get bonus points\n";

inline constexpr const char* INFO_AUTHOR_CREDITS =
    "Tumbrix Velquor: code, stages, pictures, models and sounds by its team\n"
    "Font: Comic Neue by Craig Rozynski and others (SIL OFL 1.1)";

inline constexpr const char* INFO_SOUND_CREDITS =
    "All six sounds were synthesised for this game in Python with numpy:\n"
    "oscillators, harmonics and seeded noise; no recordings, no sample libraries.\n"
    "techno.wav - a 30-second loop at 128 beats per minute over Am, F, C and G:\n"
    "   kick drum: a sine sweeping down from 146 Hz to 46 Hz, softly saturated;\n"
    "   hi-hats: high-passed white noise; clap: three noise bursts and a tail;\n"
    "   bass: a filtered sawtooth; chord stabs: two detuned sawtooths per note;\n"
    "   arpeggio: soft square-wave plucks with an echo; pad: mellow held chords.\n"
    "bounce.wav - a sine falling from 220 Hz to 70 Hz with a short noise knock.\n"
    "bonus.wav - the coin: two square-wave tones, B5 then E6.\n"
    "key.wav - a die: four FM-synthesised bells rising C6, E6, G6, C7.\n"
    "win.wav - a brass-like fanfare G4 C5 E5 G5 E5 G5 and a held C major chord.\n"
    "lose.wav - a muted-trombone fall G3, F#3, F3 and a long wavering E3.\n"
    "Brass and trombone: sawtooth harmonics under a moving low-pass filter.\n"
    "All mono, 16-bit, 22050 Hz; the effects are balanced for the game's volumes.\n"
    "Rebuild them byte for byte with scripts/generate-data.sh.";
