// Feeds arbitrary bytes to ofImage::loadImage through a temporary file. Besides the
// sanitizers it checks what every caller relies on: a loaded picture has a sane size and one
// of the three depths with its matching type, and every byte of its buffer can be read; a
// failed load leaves the image empty. The file is named .tga, so bytes that no format claims
// by content still reach the one reader chosen by name.
#include "media/ofImage.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

// The name lives in a plain array: the removal at exit may run after static strings are gone.
char scratchName[] = "/tmp/tumbrix-image-fuzz-XXXXXX.tga";

const char* scratchFile()
{
    static const bool made = [] {
        int fd = ::mkstemps(scratchName, 4);
        require(fd >= 0);
        ::close(fd);
        std::atexit([] { std::remove(scratchName); });
        return true;
    }();
    (void)made;
    return scratchName;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = scratchFile();
    FILE* out = std::fopen(path.c_str(), "wb");
    require(out != nullptr);
    require(std::fwrite(data, 1, size, out) == size);
    std::fclose(out);

    ofImage image;
    image.setUseTexture(false);   // pixels only: no GL context needed, and fast
    if (!image.loadImage(path)) {
        require(image.getPixels() == nullptr && image.width == 0 && image.type == OF_IMAGE_UNDEFINED);
        return 0;
    }
    require(image.width > 0 && image.height > 0);
    require(image.width <= OF_IMAGE_MAX_SIDE && image.height <= OF_IMAGE_MAX_SIDE);
    int expectedType = image.bpp == 8 ? OF_IMAGE_GRAYSCALE : image.bpp == 24 ? OF_IMAGE_COLOR : OF_IMAGE_COLOR_ALPHA;
    require(image.bpp == 8 || image.bpp == 24 || image.bpp == 32);
    require(image.type == expectedType && image.myPixels.bytesPerPixel == image.bpp / 8);
    const unsigned char* pixels = image.getPixels();
    size_t bytes = static_cast<size_t>(image.width) * image.height * (image.bpp / 8);
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i) {
        sum += pixels[i];
    }
    volatile unsigned sink = sum;
    (void)sink;
    return 0;
}
