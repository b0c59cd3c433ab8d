// Feeds arbitrary bytes to the 3DS model reader, as a file next to a few real texture
// maps (24-bit, 32-bit, greyscale and junk pictures), and draws what was read when a
// display is there. Besides the sanitizers it checks what drawing relies on: every index
// names an existing vertex, every vertex has a normal, vertices and normals are finite
// numbers, and every console line the reader prints is a single "[3DS] " or log line.
#include "models/model3DS.h"

#include "../tests/models/Pictures.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <link.h>
#include <string>

namespace {

std::string folder;        // temporary folder holding the texture maps
bool haveGl = false;       // a GL context is current: maps are uploaded and models drawn

void require(bool condition)
{
    if (!condition) {
        __builtin_trap();
    }
}

void removeFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

void writeFile(const std::string& name, const std::string& bytes)
{
    std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
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
    char pattern[] = "/tmp/model3ds-fuzz-XXXXXX";
    require(mkdtemp(pattern) != nullptr);
    folder = pattern;
    std::atexit(removeFolder);

    // Without a display no picture is offered, so no texture upload is attempted.
    if (std::getenv("DISPLAY") == nullptr) {
        return;
    }
    int argc = 1;
    char program[] = "model3ds-fuzz";
    char* argv[] = {program, nullptr};
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(32, 32);
    glutCreateWindow("model3ds-fuzz");
    glutHideWindow();
    pinGlDriver();
    haveGl = true;

    std::vector<uint8_t> rgba;
    for (int i = 0; i < 8 * 8; ++i) {
        rgba.insert(rgba.end(), {uint8_t(i * 4), 90, 200, uint8_t(255 - i)});
    }
    writeFile("t24.tga", pictures::halves(8, {255, 0, 0}, {0, 255, 0}));
    writeFile("t32.tga", pictures::tga(8, 8, 32, rgba));
    writeFile("odd.tga", pictures::tga(3, 5, 24, std::vector<uint8_t>(3 * 5 * 3, 77)));
    writeFile("grey.tga", pictures::tga(2, 2, 8, {0, 80, 160, 240}));
    writeFile("junk.png", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR not really a picture");
}

// Runs `read` with standard output going to memory; returns what was printed.
template <typename Read>
std::string captureStdout(Read read)
{
    char* buffer = nullptr;
    size_t size = 0;
    FILE* memory = open_memstream(&buffer, &size);
    require(memory != nullptr);
    std::fflush(stdout);
    FILE* saved = stdout;
    stdout = memory;
    read();
    std::fflush(stdout);
    stdout = saved;
    std::fclose(memory);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

void checkConsole(const std::string& text)
{
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        require(end != std::string::npos);   // every line is finished
        const std::string line = text.substr(start, end - start);
        require(line.rfind("[3DS] ", 0) == 0 || line.rfind("OF_", 0) == 0);
        for (char c : line) {
            require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f);
        }
        start = end + 1;
    }
}

void checkModel(const model3DS& model)
{
    for (const ModelMesh& mesh : model.meshes) {
        const size_t vertices = mesh.vertexCount();
        require(mesh.vertices.size() == 3 * vertices);
        require(mesh.normals.size() == mesh.vertices.size());
        for (float value : mesh.vertices) {
            require(std::isfinite(value));
        }
        for (float value : mesh.normals) {
            require(std::isfinite(value));
        }
        require(mesh.triangles.size() % 3 == 0);
        for (uint16_t index : mesh.triangles) {
            require(index < vertices);
        }
        for (const auto& [material, indices] : mesh.materialGroups) {
            require(indices.size() % 3 == 0);
            for (uint16_t index : indices) {
                require(index < vertices);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setUp();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (folder.empty()) {
        setUp();   // the replay program does not call the initializer
    }
    model3DS model;
    const std::string text = captureStdout([&] { model.loadFromMemory(folder + "/fuzz.3ds", data, size, 0.5f); });
    checkConsole(text);
    checkModel(model);

    if (haveGl) {
        glViewport(0, 0, 32, 32);
        glEnable(GL_LIGHTING);
        model.draw();
        glDisable(GL_LIGHTING);
        model.draw();
        for (auto& [name, material] : model.materials) {
            if (material.textured) {
                glDeleteTextures(1, &material.texture);
            }
            if (material.bumped) {
                glDeleteTextures(1, &material.bumpTexture);
            }
        }
    }
    return 0;
}
