// Any bytes handed to the font loader as a font file: loading, measuring and drawing must
// never crash, leak or touch memory outside their buffers, whatever FreeType makes of them.
// No GL context is made: the GL calls do nothing, while every glyph buffer is still built.
#include "media/ofTrueTypeFont.h"
#include "media/ofUtils.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string scratchPath;   // one temp file per fuzzing process, removed at exit

void removeScratch()
{
    std::remove(scratchPath.c_str());
}

bool prepare()
{
    char name[] = "/tmp/tumbrix-font-fuzz-XXXXXX";
    int fd = mkstemp(name);
    if (fd < 0) {
        return false;
    }
    close(fd);
    scratchPath = name;
    std::atexit(removeScratch);
    ofSetLogLevel(OF_LOG_FATAL_ERROR);   // a broken font logs a line per glyph
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool ready = prepare();
    if (!ready) {
        return 0;
    }
    FILE* file = std::fopen(scratchPath.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    // The game's form, then one-bit glyphs of the full set at another size on the same object.
    ofTrueTypeFont font;
    font.loadFont(scratchPath, 14);
    font.getStringBoundingBox("Stage 1 cleared\n !~", 10, 20);
    font.drawString("Stage 1 cleared\n !~\x7f", 10, 20);
    font.loadFont(scratchPath, 10, false, true, false);
    font.stringWidth("\xe9\xff p");
    font.drawString("\xe9\xff p\n", 0, 0);
    return 0;
}
