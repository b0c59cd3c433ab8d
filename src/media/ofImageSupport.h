#pragma once
// Helpers shared by the in-memory half of ofImage (ofImage.cpp) and its FreeImage half
// (ofImageFile.cpp).

#include "media/ofPixels.h"

#include <cstddef>

namespace ofImageSupport {

// Starts FreeImage once; ofImageLibraryShutdown stops it again.
void startImageLibrary();
// 8, 24 or 32 for the image types; 0 for anything else.
int bitsForType(int type);
// Within OF_IMAGE_MAX_SIDE and OF_IMAGE_MAX_BYTES (counted at 4 bytes a pixel), and not empty.
bool sizeAcceptable(long long w, long long h);
void logBadSize(const char* what, long long w, long long h);
// Makes pix a w x h buffer of the given depth (8, 24 or 32 bits); the buffer is reused when
// size and depth match. Sizes must have passed sizeAcceptable.
void allocatePixels(ofPixels& pix, int w, int h, int bitsPerPixel);
void swapRedBlue(unsigned char* pixels, size_t count, int bytesPerPixel);

} // namespace ofImageSupport
