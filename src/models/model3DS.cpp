#include "models/model3DS.h"

#include "media/ofUtils.h"
#include "models/ConsoleName.h"
#include "models/model3DSSpan.h"

#include <GL/gl.h>
#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

using namespace chunk3ds;

namespace {

// What a chunk holds after its header.
enum class Holds : uint8_t {
    Data,        // its own data only
    SubChunks,   // (after its own data, if any) sub-chunks, read within its length
    Through,     // sub-chunks that are read as if they stood at the chunk's own level
};

// Where a chunk is taken; anywhere else it is skipped by its length.
enum class Needs : uint8_t { Anywhere, InObject, InMaterial };

} // namespace

// One row of the chunk table.
struct model3DS::ChunkRule {
    uint16_t id;
    Holds holds;
    Needs needs;
    void (model3DS::*open)(Span& chunk);   // reads the chunk's own data; none when null
    void (model3DS::*close)();             // runs after the last sub-chunk; none when null
};

// A chunk (or the file) whose sub-chunks are being read until `end`.
struct model3DS::Frame {
    const ChunkRule* rule;   // null for the file itself
    std::size_t end;
};

// Every chunk the reader understands; the colour, percentage and map chunks that hold
// sub-chunks are read outside a material too, and then change nothing.
const model3DS::ChunkRule* model3DS::ruleFor(uint16_t id)
{
    using M = model3DS;
    static const ChunkRule rules[] = {
        {MAIN, Holds::Through, Needs::Anywhere, nullptr, nullptr},
        {EDITOR, Holds::Through, Needs::Anywhere, nullptr, nullptr},
        {OBJECT, Holds::SubChunks, Needs::Anywhere, &M::openObject, &M::closeObject},
        {TRIANGLE_MESH, Holds::Through, Needs::Anywhere, nullptr, nullptr},
        {VERTEX_LIST, Holds::Data, Needs::InObject, &M::readVertices, nullptr},
        {FACE_LIST, Holds::SubChunks, Needs::InObject, &M::readFaces, nullptr},
        {MATERIAL_GROUP, Holds::Data, Needs::InObject, &M::readMaterialGroup, nullptr},
        {TEXTURE_COORDS, Holds::Data, Needs::InObject, &M::readTexCoords, nullptr},
        {MATERIAL, Holds::SubChunks, Needs::Anywhere, &M::openMaterial, &M::closeMaterial},
        {MATERIAL_NAME, Holds::Data, Needs::InMaterial, &M::readMaterialName, nullptr},
        {AMBIENT, Holds::SubChunks, Needs::Anywhere, nullptr, &M::closeAmbient},
        {DIFFUSE, Holds::SubChunks, Needs::Anywhere, nullptr, &M::closeDiffuse},
        {SPECULAR, Holds::SubChunks, Needs::Anywhere, nullptr, &M::closeSpecular},
        {SHININESS, Holds::SubChunks, Needs::Anywhere, nullptr, &M::closeShininess},
        {SHININESS_STRENGTH, Holds::SubChunks, Needs::Anywhere, nullptr, &M::closeShininessStrength},
        {TWO_SIDED, Holds::Data, Needs::InMaterial, &M::setTwoSided, nullptr},
        {TEXTURE_MAP, Holds::SubChunks, Needs::Anywhere, &M::openMap, &M::closeTextureMap},
        {BUMP_MAP, Holds::SubChunks, Needs::Anywhere, &M::openMap, &M::closeBumpMap},
        {MAP_FILE_NAME, Holds::Data, Needs::Anywhere, &M::readMapFileName, nullptr},
        {COLOUR_FLOAT, Holds::Data, Needs::Anywhere, &M::readColour, nullptr},
        {COLOUR_BYTES, Holds::Data, Needs::Anywhere, &M::readColour, nullptr},
        {COLOUR_BYTES_GAMMA, Holds::Data, Needs::Anywhere, &M::readColour, nullptr},
        {COLOUR_FLOAT_GAMMA, Holds::Data, Needs::Anywhere, &M::readColour, nullptr},
        {PERCENT_INT, Holds::Data, Needs::Anywhere, &M::readPercentage, nullptr},
        {PERCENT_FLOAT, Holds::Data, Needs::Anywhere, &M::readPercentage, nullptr},
    };
    for (const ChunkRule& rule : rules) {
        if (rule.id == id) {
            return &rule;
        }
    }
    return nullptr;
}

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
    mapNamed = false;
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
// being read.
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
    readingStopped = false;
    // The first chunk found reaching past the end of the file (id, offset, length), when
    // the file is cut short; none while cutLength is 0.
    uint16_t cutId = 0;
    std::size_t cutOffset = 0;
    std::size_t cutLength = 0;

    while (pos < size) {
        if (frames.empty()) {
            // Whatever follows the main chunk is read the same way, a main chunk's length at a time.
            if (size - pos < HEADER_BYTES) {
                break;
            }
            frames.push_back({nullptr, std::min(size, pos + mainLength)});
        }
        // A copy: opening a chunk below may grow the vector.
        const Frame frame = frames.back();
        if (pos >= frame.end) {
            closeFrame(frame);
            frames.pop_back();
            continue;
        }

        const std::size_t room = frame.end - pos;
        if (room < HEADER_BYTES) {
            warn("chunk at offset %zu is cut off (header needs %zu bytes, %zu left); stopped reading", pos, HEADER_BYTES,
                 room);
            readingStopped = true;
            break;
        }
        Span chunk{data, pos, pos, pos + HEADER_BYTES, 0};
        const uint16_t id = chunk.u16();
        std::size_t length = uint32_t(chunk.u16()) | (uint32_t(chunk.u16()) << 16);
        const ChunkRule* rule = ruleFor(id);
        // In a file cut short the main and editor chunks reach past its end; what they
        // enclose is read up to the first chunk that does not fit, so every object and
        // material lying wholly before it is kept.
        if (length > room && frame.rule == nullptr && frame.end == size && rule != nullptr
            && rule->holds == Holds::Through) {
            if (cutLength == 0) {
                cutId = id;
                cutOffset = pos;
                cutLength = length;
            }
            length = room;
        }
        if (length < HEADER_BYTES || length > room) {
            warn("chunk 0x%04X at offset %zu has length %zu (%zu bytes left in %s); stopped reading", id, pos, length,
                 room, frame.rule == nullptr ? "the file" : "its parent");
            readingStopped = true;
            break;
        }
        chunk.end = pos + length;
        chunk.id = id;

        const bool taken = rule != nullptr
            && (rule->needs == Needs::Anywhere || (rule->needs == Needs::InObject && !openObjects.empty())
                || (rule->needs == Needs::InMaterial && !openMaterials.empty()));
        if (!taken) {
            pos = chunk.end;
            continue;
        }
        if (rule->holds == Holds::Through) {
            pos += HEADER_BYTES;
            continue;
        }
        if (rule->holds == Holds::SubChunks && frames.size() >= MAX_NESTING) {
            warn("chunk 0x%04X at offset %zu is nested deeper than %zu chunks; stopped reading", id, pos, MAX_NESTING);
            readingStopped = true;
            break;
        }
        if (rule->open != nullptr) {
            (this->*rule->open)(chunk);
        }
        if (rule->holds == Holds::SubChunks) {
            frames.push_back({rule, chunk.end});
            pos = chunk.pos;
        } else {
            pos = chunk.end;
        }
    }

    // Chunks still open when the reading ends or stops keep what was read into them.
    while (!frames.empty()) {
        const Frame frame = frames.back();
        frames.pop_back();
        closeFrame(frame);
    }
    // A file cut between two chunks stops nothing, but it is still short of what it claims.
    if (cutLength != 0 && !readingStopped) {
        warn("chunk 0x%04X at offset %zu has length %zu (%zu bytes left in the file); the file is cut short, kept "
             "what was there",
             cutId, cutOffset, cutLength, size - cutOffset);
    }
}

void model3DS::closeFrame(const Frame& frame)
{
    if (frame.rule != nullptr && frame.rule->close != nullptr) {
        (this->*frame.rule->close)();
    }
}

void model3DS::openObject(Span& chunk)
{
    openObjects.emplace_back();
    openObjects.back().mesh.name = readName(chunk);
}

void model3DS::closeObject()
{
    OpenObject object = std::move(openObjects.back());
    openObjects.pop_back();
    if (object.refused) {
        return;
    }
    const std::vector<float>& vertices = object.mesh.vertices;
    for (std::size_t i = 0; i + 2 < vertices.size(); i += 3) {
        minX = std::min(minX, vertices[i]);
        maxX = std::max(maxX, vertices[i]);
        minY = std::min(minY, vertices[i + 1]);
        maxY = std::max(maxY, vertices[i + 1]);
        minZ = std::min(minZ, vertices[i + 2]);
        maxZ = std::max(maxZ, vertices[i + 2]);
    }
    // Objects without triangles (lights, cameras) are dropped; their vertices still count.
    if (!object.mesh.triangles.empty()) {
        object.mesh.build(readingName);
        meshes.push_back(std::move(object.mesh));
    }
}

void model3DS::openMaterial(Span&)
{
    openMaterials.emplace_back();
}

void model3DS::closeMaterial()
{
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
}

// The properties of the innermost open material; outside a material they change nothing.
void model3DS::closeAmbient()
{
    if (!openMaterials.empty()) {
        std::copy(colour, colour + 3, openMaterials.back().ambient);
    }
}

void model3DS::closeDiffuse()
{
    if (!openMaterials.empty()) {
        std::copy(colour, colour + 3, openMaterials.back().diffuse);
    }
}

void model3DS::closeSpecular()
{
    if (!openMaterials.empty()) {
        std::copy(colour, colour + 3, openMaterials.back().specular);
    }
}

void model3DS::closeShininess()
{
    if (!openMaterials.empty()) {
        openMaterials.back().shininess = percentage;
    }
}

void model3DS::closeShininessStrength()
{
    if (!openMaterials.empty()) {
        openMaterials.back().shininessStrength = percentage;
    }
}

// A map names its file in a sub-chunk; a map chunk without one (cut short, or written so)
// loads nothing rather than the file an earlier material named.
void model3DS::openMap(Span&)
{
    mapFileName.clear();
    mapNamed = false;
}

void model3DS::closeTextureMap()
{
    closeMap(false);
}

void model3DS::closeBumpMap()
{
    closeMap(true);
}

void model3DS::closeMap(bool bump)
{
    if (openMaterials.empty()) {
        return;
    }
    if (mapNamed) {
        loadMap(bump);
    } else if (!readingStopped) {
        warn("%s map in material '%s' names no file; none loaded", bump ? "bump" : "texture",
             consoleName(openMaterials.back().name).c_str());
    }
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
