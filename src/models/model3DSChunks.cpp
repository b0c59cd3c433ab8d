// The readers of chunk data: each checks its counts against the bytes its chunk holds.
#include "models/model3DS.h"

#include "models/ConsoleName.h"
#include "models/model3DSSpan.h"
#include "models/texture3DS.h"

#include <GL/gl.h>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

using namespace chunk3ds;

void model3DS::readVertices(Span& chunk)
{
    if (chunk.left() < 2) {
        warn("vertex list at offset %zu has no count; skipped", chunk.start);
        return;
    }
    std::size_t count = chunk.u16();
    const std::size_t fit = chunk.left() / 12;
    if (count > fit) {
        warn("vertex list at offset %zu: %zu vertices need %zu bytes, %zu left; read %zu", chunk.start, count,
             count * 12, chunk.left(), fit);
        count = fit;
    }
    // Stored as (x, z, -y) so that the file's z-up becomes OpenGL's y-up. One vertex that is
    // not a finite number would move the model out of sight and spread into the normals, so
    // its object is refused whole; its vertices do not count for the bounding box.
    OpenObject& object = openObjects.back();
    std::vector<float>& vertices = object.mesh.vertices;
    const std::size_t first = vertices.size();
    vertices.resize(first + 3 * count);
    float* out = vertices.data() + first;
    for (std::size_t i = 0; i < count; ++i, out += 3) {
        const float x = chunk.f32();
        const float y = chunk.f32();
        const float z = chunk.f32();
        out[0] = x * scale;
        out[1] = z * scale;
        out[2] = -y * scale;
        if (!object.refused && !(std::isfinite(out[0]) && std::isfinite(out[1]) && std::isfinite(out[2]))) {
            warn("object '%s' has a vertex that is not a finite number (vertex %zu at offset %zu); object dropped",
                 consoleName(object.mesh.name).c_str(), first / 3 + i, chunk.start);
            object.refused = true;
        }
    }
}

// Leaves the span at what follows the faces: the face list's sub-chunks.
void model3DS::readFaces(Span& chunk)
{
    if (chunk.left() < 2) {
        warn("face list at offset %zu has no count; skipped", chunk.start);
        chunk.pos = chunk.end;
        return;
    }
    std::size_t count = chunk.u16();
    const std::size_t fit = chunk.left() / 8;
    if (count > fit) {
        warn("face list at offset %zu: %zu faces need %zu bytes, %zu left; read %zu", chunk.start, count, count * 8,
             chunk.left(), fit);
        count = fit;
    }
    std::vector<uint16_t>& triangles = openObjects.back().mesh.triangles;
    const std::size_t first = triangles.size();
    triangles.resize(first + 3 * count);
    uint16_t* out = triangles.data() + first;
    for (std::size_t i = 0; i < count; ++i, out += 3) {
        out[0] = chunk.u16();
        out[1] = chunk.u16();
        out[2] = chunk.u16();
        chunk.u16();   // edge visibility flags, not needed
    }
}

void model3DS::readMaterialGroup(Span& chunk)
{
    std::string material = readName(chunk);
    if (chunk.left() < 2) {
        warn("material group '%s' at offset %zu has no count; skipped", consoleName(material).c_str(), chunk.start);
        return;
    }
    std::size_t count = chunk.u16();
    const std::size_t fit = chunk.left() / 2;
    if (count > fit) {
        warn("material group '%s' at offset %zu: %zu faces need %zu bytes, %zu left; read %zu",
             consoleName(material).c_str(), chunk.start, count, count * 2, chunk.left(), fit);
        count = fit;
    }
    std::vector<uint16_t>& faces = openObjects.back().mesh.materialGroups[material];
    faces.reserve(faces.size() + count);
    for (std::size_t i = 0; i < count; ++i) {
        faces.push_back(chunk.u16());
    }
}

void model3DS::readTexCoords(Span& chunk)
{
    if (chunk.left() < 2) {
        warn("texture coordinates at offset %zu have no count; skipped", chunk.start);
        return;
    }
    std::size_t count = chunk.u16();
    const std::size_t fit = chunk.left() / 8;
    if (count > fit) {
        warn("texture coordinates at offset %zu: %zu pairs need %zu bytes, %zu left; read %zu", chunk.start, count,
             count * 8, chunk.left(), fit);
        count = fit;
    }
    std::vector<float>& texCoords = openObjects.back().mesh.texCoords;
    const std::size_t first = texCoords.size();
    texCoords.resize(first + 2 * count);
    float* out = texCoords.data() + first;
    for (std::size_t i = 0; i < 2 * count; ++i) {
        out[i] = chunk.f32();
    }
}

void model3DS::readMaterialName(Span& chunk)
{
    openMaterials.back().name = readName(chunk);
}

void model3DS::setTwoSided(Span&)
{
    openMaterials.back().twoSided = true;
}

void model3DS::readMapFileName(Span& chunk)
{
    mapFileName = readName(chunk);
    mapNamed = true;
}

void model3DS::readColour(Span& chunk)
{
    const bool bytes = chunk.id == COLOUR_BYTES || chunk.id == COLOUR_BYTES_GAMMA;
    const std::size_t need = bytes ? 3 : 12;
    if (chunk.left() < need) {
        warn("colour chunk 0x%04X at offset %zu holds %zu bytes, needs %zu; skipped", chunk.id, chunk.start,
             chunk.left(), need);
        return;
    }
    for (float& component : colour) {
        component = bytes ? float(chunk.base[chunk.pos++] / 255.0) : chunk.f32();
    }
}

void model3DS::readPercentage(Span& chunk)
{
    const std::size_t need = chunk.id == PERCENT_INT ? 2 : 4;
    if (chunk.left() < need) {
        warn("percentage chunk 0x%04X at offset %zu holds %zu bytes, needs %zu; skipped", chunk.id, chunk.start,
             chunk.left(), need);
        return;
    }
    percentage = chunk.id == PERCENT_INT ? float(chunk.u16() / 100.0) : float(chunk.f32() / 100.0);
}

// A zero-terminated name, never read past the chunk's end; the span moves past the zero.
std::string model3DS::readName(Span& chunk)
{
    const unsigned char* begin = chunk.base + chunk.pos;
    const void* zero = std::memchr(begin, 0, chunk.left());
    if (zero == nullptr) {
        warn("name in chunk at offset %zu has no terminating zero; read to the chunk's end", chunk.start);
        std::string name(reinterpret_cast<const char*>(begin), chunk.left());
        chunk.pos = chunk.end;
        return name;
    }
    const unsigned char* stop = static_cast<const unsigned char*>(zero);
    chunk.pos += std::size_t(stop - begin) + 1;
    return std::string(reinterpret_cast<const char*>(begin), std::size_t(stop - begin));
}

// Loads the map named by the last map file name chunk into the innermost open material.
void model3DS::loadMap(bool bump)
{
    ModelMaterial& material = openMaterials.back();
    const std::string file = path + mapFileName;
    std::string lower = file;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    const bool known = lower.find(".jpg") != std::string::npos || lower.find(".png") != std::string::npos
        || lower.find(".tga") != std::string::npos || lower.find(".bmp") != std::string::npos;
    if (!known) {
        std::printf("[3DS] WARNING: Could not load map '%s'\n[3DS] WARNING: (texture must be TGA, PNG, JPG or BMP)\n",
                    consoleName(file).c_str());
    } else {
        GLuint name = 0;
        glGenTextures(1, &name);
        texture3DS upload(file, name);
        GLuint& slot = bump ? material.bumpTexture : material.texture;
        bool& flag = bump ? material.bumped : material.textured;
        // A second map for the same slot replaces the first, whose name nothing else holds.
        if (flag) {
            glDeleteTextures(1, &slot);
        }
        slot = name;
        flag = true;
    }
    hasTexture = true;
}

void model3DS::warn(const char* format, ...) const
{
    std::printf("[3DS] WARNING: Model '%s': ", readingName.c_str());
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fputs("\n", stdout);
}
