#include "models/model3DS.h"

#include "media/ofUtils.h"
#include "models/ConsoleName.h"
#include "models/texture3DS.h"

#include <GL/gl.h>
#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

namespace {

// Chunk ids the reader understands; every other chunk is skipped by its length.
enum : uint16_t {
    MAIN = 0x4D4D,
    EDITOR = 0x3D3D,
    OBJECT = 0x4000,
    TRIANGLE_MESH = 0x4100,
    VERTEX_LIST = 0x4110,
    FACE_LIST = 0x4120,
    MATERIAL_GROUP = 0x4130,
    TEXTURE_COORDS = 0x4140,
    MATERIAL = 0xAFFF,
    MATERIAL_NAME = 0xA000,
    AMBIENT = 0xA010,
    DIFFUSE = 0xA020,
    SPECULAR = 0xA030,
    SHININESS = 0xA040,
    SHININESS_STRENGTH = 0xA041,
    TWO_SIDED = 0xA081,
    TEXTURE_MAP = 0xA200,
    BUMP_MAP = 0xA230,
    MAP_FILE_NAME = 0xA300,
    COLOUR_FLOAT = 0x0010,
    COLOUR_BYTES = 0x0011,
    COLOUR_BYTES_GAMMA = 0x0012,
    COLOUR_FLOAT_GAMMA = 0x0013,
    PERCENT_INT = 0x0030,
    PERCENT_FLOAT = 0x0031,
};

constexpr std::size_t HEADER_BYTES = 6;   // u16 id, u32 length (header included)

// A chunk handler reads the sub-chunks of these chunks, then does the matching step.
enum class Scope : uint8_t {
    File, Object, FaceList, Material, Ambient, Diffuse, Specular, Shininess, ShininessStrength, TextureMap, BumpMap,
};

} // namespace

// A chunk (or the file) being read: sub-chunks follow until `end`.
struct model3DS::Frame {
    Scope scope;
    std::size_t end;
};

// Little-endian reading within one chunk's bytes. Callers check left() first.
struct model3DS::Span {
    const unsigned char* base;   // first byte of the file
    std::size_t start;           // offset of the chunk header, for messages
    std::size_t pos;             // next byte to read
    std::size_t end;             // one past the chunk's last byte

    std::size_t left() const { return end - pos; }
    uint16_t u16()
    {
        uint16_t value = uint16_t(base[pos] | (base[pos + 1] << 8));
        pos += 2;
        return value;
    }
    float f32()
    {
        uint32_t bits = uint32_t(base[pos]) | (uint32_t(base[pos + 1]) << 8) | (uint32_t(base[pos + 2]) << 16)
            | (uint32_t(base[pos + 3]) << 24);
        pos += 4;
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};

model3DS::model3DS()
{
    clear();
}

void model3DS::loadModel(std::string) {}

void model3DS::loadModel(std::string name, float newScale)
{
    clear();
    scale = newScale;
    readFile(ofToDataPath(name, false));
}

void model3DS::loadFromMemory(const std::string& name, const unsigned char* data, std::size_t size, float newScale)
{
    clear();
    scale = newScale;
    if (size == 0) {
        std::printf("[3DS] ERROR: Model '%s' is empty\n", consoleName(name).c_str());
        return;
    }
    readModel(name, data, size);
}

void model3DS::clear()
{
    fileName.clear();
    path.clear();
    meshes.clear();
    materials.clear();
    minX = minY = minZ = 3.4e38f;
    maxX = maxY = maxZ = -3.4e38f;
    centreX = centreY = centreZ = 0.0f;
    hasTexture = false;
    colour[0] = colour[1] = colour[2] = 0.0f;
    percentage = 0.0f;
    mapFileName.clear();
}

void model3DS::readFile(const std::string& name)
{
    // Only a regular file is read: a folder or a device has no meaningful size.
    FILE* file = std::fopen(name.c_str(), "rb");
    struct stat info {};
    if (file == nullptr || ::fstat(::fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) {
        if (file != nullptr) {
            std::fclose(file);
        }
        std::printf("[3DS] ERROR: Could not open '%s'\n", consoleName(name).c_str());
        return;
    }
    const std::size_t size = std::size_t(info.st_size);
    if (size == 0) {
        std::fclose(file);
        std::printf("[3DS] ERROR: Model '%s' is empty\n", consoleName(name).c_str());
        return;
    }
    if (size > MAX_FILE_BYTES) {
        std::fclose(file);
        std::printf("[3DS] ERROR: Model '%s' is too large (got %zu bytes, limit %zu)\n", consoleName(name).c_str(), size,
                    MAX_FILE_BYTES);
        return;
    }
    std::vector<unsigned char> bytes(size);
    bytes.resize(std::fread(bytes.data(), 1, size, file));
    std::fclose(file);
    readModel(name, bytes.data(), bytes.size());
}

void model3DS::readModel(const std::string& name, const unsigned char* data, std::size_t size)
{
    readingName = consoleName(name);

    // Path and file name split at the last separator of either kind.
    std::size_t separator = name.find_last_of("/\\");
    if (separator == std::string::npos) {
        path.clear();
        fileName = name;
    } else {
        path = name.substr(0, separator + 1);
        fileName = name.substr(separator + 1);
    }

    if (size < HEADER_BYTES || (data[0] | (data[1] << 8)) != MAIN) {
        std::printf("[3DS] ERROR: Model '%s' is not a valid 3DS file\n", readingName.c_str());
        return;
    }

    minX = minY = minZ = 3.4e38f;
    maxX = maxY = maxZ = -3.4e38f;
    readChunks(data, size);
    centreX = (minX + maxX) / 2.0f;
    centreY = (minY + maxY) / 2.0f;
    centreZ = (minZ + maxZ) / 2.0f;

    std::printf("[3DS] Model '%s' loaded\n", readingName.c_str());
}

// Reads the whole file without recursion: `frames` holds the chunks whose sub-chunks are
// being read. The main, editor and triangle-mesh chunks open no frame: their sub-chunks
// are read as if they stood at the level of the chunk itself.
void model3DS::readChunks(const unsigned char* data, std::size_t size)
{
    const std::size_t mainLength = uint32_t(data[2]) | (uint32_t(data[3]) << 8) | (uint32_t(data[4]) << 16)
        | (uint32_t(data[5]) << 24);
    // Each pass below reads at most a main chunk's length; a shorter one would never end.
    if (mainLength < HEADER_BYTES) {
        warn("chunk 0x%04X at offset 0 has length %zu (%zu bytes left in the file); stopped reading", MAIN,
             mainLength, size);
        return;
    }
    std::vector<Frame> frames;
    std::size_t pos = 0;

    while (pos < size) {
        if (frames.empty()) {
            // Whatever follows the main chunk is read the same way, a main chunk's length at a time.
            if (size - pos < HEADER_BYTES) {
                break;
            }
            frames.push_back({Scope::File, std::min(size, pos + mainLength)});
        }
        const Frame& frame = frames.back();
        if (pos >= frame.end) {
            closeFrame(frame);
            frames.pop_back();
            continue;
        }

        const std::size_t room = frame.end - pos;
        if (room < HEADER_BYTES) {
            warn("chunk at offset %zu is cut off (header needs %zu bytes, %zu left); stopped reading", pos, HEADER_BYTES,
                 room);
            break;
        }
        Span chunk{data, pos, pos, pos + HEADER_BYTES};
        const uint16_t id = chunk.u16();
        const std::size_t length = uint32_t(chunk.u16()) | (uint32_t(chunk.u16()) << 16);
        if (length < HEADER_BYTES || length > room) {
            warn("chunk 0x%04X at offset %zu has length %zu (%zu bytes left in %s); stopped reading", id, pos, length,
                 room, frame.scope == Scope::File ? "the file" : "its parent");
            break;
        }
        chunk.end = pos + length;

        if (id == MAIN || id == EDITOR || id == TRIANGLE_MESH) {
            pos += HEADER_BYTES;
            continue;
        }
        // The handler leaves chunk.pos where reading goes on: at the sub-chunks of a chunk
        // that opened a frame, else at the chunk's end.
        if (!openChunk(id, chunk, frames)) {
            break;
        }
        pos = chunk.pos;
    }

    // Chunks still open when the reading ends or stops keep what was read into them.
    while (!frames.empty()) {
        closeFrame(frames.back());
        frames.pop_back();
    }
}

bool model3DS::openChunk(uint16_t id, Span& chunk, std::vector<Frame>& frames)
{
    auto open = [&](Scope scope) {
        if (frames.size() >= MAX_NESTING) {
            warn("chunk 0x%04X at offset %zu is nested deeper than %zu chunks; stopped reading", id, chunk.start,
                 MAX_NESTING);
            return false;
        }
        frames.push_back({scope, chunk.end});
        return true;
    };

    switch (id) {
    case OBJECT:
        if (!open(Scope::Object)) {
            return false;
        }
        openMeshes.emplace_back();
        openMeshes.back().name = readName(chunk);
        return true;
    case FACE_LIST:
        if (openMeshes.empty()) {
            break;
        }
        chunk = readFaces(chunk);
        return open(Scope::FaceList);
    case MATERIAL:
        if (!open(Scope::Material)) {
            return false;
        }
        openMaterials.emplace_back();
        return true;
    case AMBIENT: return open(Scope::Ambient);
    case DIFFUSE: return open(Scope::Diffuse);
    case SPECULAR: return open(Scope::Specular);
    case SHININESS: return open(Scope::Shininess);
    case SHININESS_STRENGTH: return open(Scope::ShininessStrength);
    case TEXTURE_MAP: return open(Scope::TextureMap);
    case BUMP_MAP: return open(Scope::BumpMap);

    // Data of an object; outside an object block there is no mesh to hold it.
    case VERTEX_LIST:
        if (!openMeshes.empty()) {
            readVertices(chunk);
        }
        break;
    case MATERIAL_GROUP:
        if (!openMeshes.empty()) {
            readMaterialGroup(chunk);
        }
        break;
    case TEXTURE_COORDS:
        if (!openMeshes.empty()) {
            readTexCoords(chunk);
        }
        break;

    case MATERIAL_NAME:
        if (!openMaterials.empty()) {
            openMaterials.back().name = readName(chunk);
        }
        break;
    case TWO_SIDED:
        if (!openMaterials.empty()) {
            openMaterials.back().twoSided = true;
        }
        break;
    case MAP_FILE_NAME: mapFileName = readName(chunk); break;
    case COLOUR_FLOAT:
    case COLOUR_BYTES:
    case COLOUR_BYTES_GAMMA:
    case COLOUR_FLOAT_GAMMA: readColour(id, chunk); break;
    case PERCENT_INT:
    case PERCENT_FLOAT: readPercentage(id, chunk); break;
    default: break;
    }
    chunk.pos = chunk.end;
    return true;
}

void model3DS::closeFrame(const Frame& frame)
{
    ModelMaterial* material = openMaterials.empty() ? nullptr : &openMaterials.back();
    switch (frame.scope) {
    case Scope::File:
    case Scope::FaceList: break;
    case Scope::Object: {
        // Objects without triangles (lights, cameras) are dropped.
        ModelMesh mesh = std::move(openMeshes.back());
        openMeshes.pop_back();
        if (!mesh.triangles.empty()) {
            mesh.build(readingName);
            meshes.push_back(std::move(mesh));
        }
        break;
    }
    case Scope::Material: {
        ModelMaterial done = std::move(openMaterials.back());
        openMaterials.pop_back();
        // A material of the same name is replaced; its texture names would be orphans.
        auto old = materials.find(done.name);
        if (old != materials.end()) {
            if (old->second.textured && old->second.texture != done.texture) {
                glDeleteTextures(1, &old->second.texture);
            }
            if (old->second.bumped && old->second.bumpTexture != done.bumpTexture) {
                glDeleteTextures(1, &old->second.bumpTexture);
            }
        }
        materials[done.name] = std::move(done);
        break;
    }
    case Scope::Ambient:
    case Scope::Diffuse:
    case Scope::Specular:
        if (material != nullptr) {
            float* target = frame.scope == Scope::Ambient ? material->ambient
                : frame.scope == Scope::Diffuse           ? material->diffuse
                                                          : material->specular;
            std::copy(colour, colour + 3, target);
        }
        break;
    case Scope::Shininess:
        if (material != nullptr) {
            material->shininess = percentage;
        }
        break;
    case Scope::ShininessStrength:
        if (material != nullptr) {
            material->shininessStrength = percentage;
        }
        break;
    case Scope::TextureMap:
    case Scope::BumpMap:
        if (material != nullptr) {
            loadMap(frame.scope == Scope::BumpMap);
        }
        break;
    }
}

void model3DS::readVertices(Span chunk)
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
    // Stored as (x, z, -y) so that the file's z-up becomes OpenGL's y-up.
    std::vector<float>& vertices = openMeshes.back().vertices;
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
        minX = std::min(minX, out[0]);
        maxX = std::max(maxX, out[0]);
        minY = std::min(minY, out[1]);
        maxY = std::max(maxY, out[1]);
        minZ = std::min(minZ, out[2]);
        maxZ = std::max(maxZ, out[2]);
    }
}

// Returns the span left after the faces: the face list's sub-chunks.
model3DS::Span model3DS::readFaces(Span chunk)
{
    if (chunk.left() < 2) {
        warn("face list at offset %zu has no count; skipped", chunk.start);
        chunk.pos = chunk.end;
        return chunk;
    }
    std::size_t count = chunk.u16();
    const std::size_t fit = chunk.left() / 8;
    if (count > fit) {
        warn("face list at offset %zu: %zu faces need %zu bytes, %zu left; read %zu", chunk.start, count, count * 8,
             chunk.left(), fit);
        count = fit;
    }
    std::vector<uint16_t>& triangles = openMeshes.back().triangles;
    const std::size_t first = triangles.size();
    triangles.resize(first + 3 * count);
    uint16_t* out = triangles.data() + first;
    for (std::size_t i = 0; i < count; ++i, out += 3) {
        out[0] = chunk.u16();
        out[1] = chunk.u16();
        out[2] = chunk.u16();
        chunk.u16();   // edge visibility flags, not needed
    }
    return chunk;
}

void model3DS::readMaterialGroup(Span chunk)
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
    std::vector<uint16_t>& faces = openMeshes.back().materialGroups[material];
    faces.reserve(faces.size() + count);
    for (std::size_t i = 0; i < count; ++i) {
        faces.push_back(chunk.u16());
    }
}

void model3DS::readTexCoords(Span chunk)
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
    std::vector<float>& texCoords = openMeshes.back().texCoords;
    const std::size_t first = texCoords.size();
    texCoords.resize(first + 2 * count);
    float* out = texCoords.data() + first;
    for (std::size_t i = 0; i < 2 * count; ++i) {
        out[i] = chunk.f32();
    }
}

void model3DS::readColour(uint16_t id, Span chunk)
{
    const bool bytes = id == COLOUR_BYTES || id == COLOUR_BYTES_GAMMA;
    const std::size_t need = bytes ? 3 : 12;
    if (chunk.left() < need) {
        warn("colour chunk 0x%04X at offset %zu holds %zu bytes, needs %zu; skipped", id, chunk.start, chunk.left(),
             need);
        return;
    }
    for (float& component : colour) {
        component = bytes ? float(chunk.base[chunk.pos++] / 255.0) : chunk.f32();
    }
}

void model3DS::readPercentage(uint16_t id, Span chunk)
{
    const std::size_t need = id == PERCENT_INT ? 2 : 4;
    if (chunk.left() < need) {
        warn("percentage chunk 0x%04X at offset %zu holds %zu bytes, needs %zu; skipped", id, chunk.start,
             chunk.left(), need);
        return;
    }
    percentage = id == PERCENT_INT ? float(chunk.u16() / 100.0) : float(chunk.f32() / 100.0);
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

void model3DS::draw()
{
    glPushMatrix();
    {
        glTranslatef(-centreX, -centreY, -centreZ);
        for (const ModelMesh& mesh : meshes) {
            mesh.draw(materials);
        }
    }
    glPopMatrix();
}
