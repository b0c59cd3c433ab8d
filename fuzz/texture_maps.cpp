// Feeds arbitrary bytes, as a picture file, to the two texture paths the game's pictures take:
// a 3DS model's texture map (texture3DS) and a stage texture or the ball picture (ofImage
// into MipmapTexture). Both upload into a real GL context when a display is there. Besides the
// sanitizers it checks that no upload is handed sizes or formats that OpenGL refuses.
#include "level/MipmapTexture.h"
#include "media/ofImage.h"
#include "media/ofUtils.h"
#include "models/texture3DS.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <unistd.h>

namespace {

std::string scratchPath;   // the picture file, removed at exit
bool haveGl = false;       // a GL context is current: pictures are uploaded

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

void removeScratch()
{
    std::remove(scratchPath.c_str());
}

// Mesa unloads its driver at exit before the leak checker runs; keeping it mapped lets
// the driver entries of the leak suppressions match its allocations.
void pinGlDriver()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            const char* name = info->dlpi_name;
            if (name != nullptr && (std::strstr(name, "_dri.so") != nullptr || std::strstr(name, "libgallium") != nullptr)) {
                dlopen(name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
}

void setUp()
{
    // Named .png: FreeImage picks the reader by content first and by name only as a fallback.
    char name[] = "/tmp/tumbrix-map-fuzz-XXXXXX.png";
    const int fd = mkstemps(name, 4);
    require(fd >= 0);
    close(fd);
    scratchPath = name;
    std::atexit(removeScratch);
    ofSetLogLevel(OF_LOG_FATAL_ERROR);

    if (std::getenv("DISPLAY") == nullptr) {
        return;
    }
    int argc = 1;
    char program[] = "texture-maps-fuzz";
    char* argv[] = {program, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(32, 32);
    glutCreateWindow("texture-maps-fuzz");
    glutHideWindow();
    pinGlDriver();
    haveGl = true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (scratchPath.empty()) {
        setUp();   // the replay program does not call the initializer
    }
    FILE* file = std::fopen(scratchPath.c_str(), "wb");
    require(file != nullptr);
    require(std::fwrite(data, 1, size, file) == size);
    std::fclose(file);

    if (!haveGl) {
        ofImage image;
        image.setUseTexture(false);
        image.loadImage(scratchPath);
        return 0;
    }
    while (glGetError() != GL_NO_ERROR) {
    }

    GLuint name = 0;
    glGenTextures(1, &name);
    texture3DS map(scratchPath, name);
    require(glGetError() == GL_NO_ERROR);
    glDeleteTextures(1, &name);

    ofImage picture;
    picture.setUseTexture(false);   // the stage keeps its own mipmapped texture
    picture.loadImage(scratchPath);
    {
        MipmapTexture texture;
        texture.buildMipmappedTexture(picture, GL_REPEAT, GL_CLAMP);
        require(glGetError() == GL_NO_ERROR);
    }
    return 0;
}
