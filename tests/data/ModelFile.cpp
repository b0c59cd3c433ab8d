#include "ModelFile.h"

#include "DataFiles.h"

#include <cstdint>
#include <cstring>
#include <sstream>

namespace datafiles {

namespace {

// Chunks the game's reader handles; everything it would skip counts as a fault here.
enum : uint16_t {
    MAIN = 0x4D4D, EDITOR = 0x3D3D, OBJECT = 0x4000, TRIANGLES = 0x4100, VERTICES = 0x4110,
    FACES = 0x4120, FACE_MATERIAL = 0x4130, TEXCOORDS = 0x4140, MATERIAL = 0xAFFF,
    MAT_NAME = 0xA000, MAT_AMBIENT = 0xA010, MAT_DIFFUSE = 0xA020, MAT_SPECULAR = 0xA030,
    MAT_SHININESS = 0xA040, MAT_SHIN_STRENGTH = 0xA041, MAT_TWO_SIDED = 0xA081,
    MAT_TEXTURE = 0xA200, MAT_BUMP = 0xA230, MAP_NAME = 0xA300, COLOUR_FLOAT = 0x0010,
    COLOUR_BYTES = 0x0011, COLOUR_BYTES_GAMMA = 0x0012, COLOUR_FLOAT_GAMMA = 0x0013,
    PERCENT_INT = 0x0030, PERCENT_FLOAT = 0x0031,
};

constexpr size_t NAME_LIMIT = 20;   // bytes the reader takes at most, the zero included

class Reader {
public:
    Reader(const std::string& bytes, ModelFile& model) : bytes(bytes), model(model) {}

    void file()
    {
        if (bytes.size() < 6 || u16(0) != MAIN) {
            fault(0, "does not start with the main chunk");
            return;
        }
        chunks(0, bytes.size(), 0);
    }

private:
    uint16_t u16(size_t at) const
    {
        uint16_t v = 0;
        if (at + 2 <= bytes.size()) {
            std::memcpy(&v, bytes.data() + at, 2);
        }
        return v;
    }
    uint32_t u32(size_t at) const
    {
        uint32_t v = 0;
        if (at + 4 <= bytes.size()) {
            std::memcpy(&v, bytes.data() + at, 4);
        }
        return v;
    }
    float f32(size_t at) const
    {
        float v = 0.0f;
        if (at + 4 <= bytes.size()) {
            std::memcpy(&v, bytes.data() + at, 4);
        }
        return v;
    }

    void fault(size_t at, const std::string& what)
    {
        std::ostringstream line;
        line << "at byte " << at << ": " << what;
        model.problems.push_back(line.str());
    }

    // A zero-terminated name of at most NAME_LIMIT bytes starting at `at`, before `end`.
    std::string name(size_t at, size_t end, size_t& after)
    {
        size_t zero = bytes.find('\0', at);
        if (zero == std::string::npos || zero >= end || zero - at + 1 > NAME_LIMIT || zero == at) {
            fault(at, "name missing, unterminated or longer than 19 characters");
            after = end;
            return "";
        }
        after = zero + 1;
        return bytes.substr(at, zero - at);
    }

    // Chunks filling [from, to) exactly.
    void chunks(size_t from, size_t to, uint16_t parent)
    {
        size_t at = from;
        while (at < to) {
            if (to - at < 6) {
                fault(at, "stray bytes after the last chunk");
                return;
            }
            uint16_t id = u16(at);
            uint32_t length = u32(at + 2);
            if (length < 6 || length > to - at) {
                fault(at, "chunk length " + std::to_string(length) + " does not fit its parent");
                return;
            }
            chunk(id, at + 6, at + length, parent);
            at += length;
        }
    }

    void expectSize(size_t from, size_t to, size_t wanted, const char* what)
    {
        if (to - from != wanted) {
            fault(from, std::string(what) + " holds " + std::to_string(to - from) + " bytes, expected " + std::to_string(wanted));
        }
    }

    void chunk(uint16_t id, size_t data, size_t end, uint16_t parent)
    {
        size_t after = data;
        switch (id) {
        case MAIN:
        case EDITOR:
        case TRIANGLES:
        case MATERIAL:
        case MAT_AMBIENT:
        case MAT_DIFFUSE:
        case MAT_SPECULAR:
        case MAT_SHININESS:
        case MAT_SHIN_STRENGTH:
        case MAT_TEXTURE:
        case MAT_BUMP:
            if (id == MATERIAL) {
                material = "";
            }
            chunks(data, end, id);
            return;
        case OBJECT: {
            model.meshes.emplace_back();
            model.meshes.back().name = name(data, end, after);
            chunks(after, end, id);
            return;
        }
        case VERTICES: {
            size_t n = u16(data);
            expectSize(data, end, 2 + 12 * n, "vertex list");
            for (size_t i = 0; i < n && data + 2 + 12 * (i + 1) <= end; ++i) {
                size_t p = data + 2 + 12 * i;
                mesh().vertices.push_back({f32(p), f32(p + 8), -f32(p + 4)});
            }
            return;
        }
        case TEXCOORDS: {
            size_t n = u16(data);
            expectSize(data, end, 2 + 8 * n, "texture coordinates");
            for (size_t i = 0; i < n && data + 2 + 8 * (i + 1) <= end; ++i) {
                size_t p = data + 2 + 8 * i;
                mesh().texcoords.push_back({f32(p), f32(p + 4)});
            }
            return;
        }
        case FACES: {
            size_t n = u16(data);
            size_t list = 2 + 8 * n;
            if (list > end - data) {
                fault(data, "face list longer than its chunk");
                return;
            }
            for (size_t i = 0; i < n; ++i) {
                size_t p = data + 2 + 8 * i;
                mesh().triangles.push_back({u16(p), u16(p + 2), u16(p + 4)});
            }
            chunks(data + list, end, id);
            return;
        }
        case FACE_MATERIAL: {
            std::string group = name(data, end, after);
            size_t n = u16(after);
            expectSize(after, end, 2 + 2 * n, "material group");
            auto& faces = mesh().groups[group];
            for (size_t i = 0; i < n && after + 2 + 2 * (i + 1) <= end; ++i) {
                faces.push_back(u16(after + 2 + 2 * i));
            }
            return;
        }
        case MAT_NAME:
            material = name(data, end, after);
            expectSize(after, end, 0, "material name");
            model.materialMaps[material];
            return;
        case MAP_NAME:
            if (parent != MAT_TEXTURE) {
                fault(data, "map name outside a texture map");
            }
            model.materialMaps[material] = name(data, end, after);
            expectSize(after, end, 0, "map name");
            return;
        case MAT_TWO_SIDED:
            expectSize(data, end, 0, "two-sided flag");
            return;
        case COLOUR_BYTES:
        case COLOUR_BYTES_GAMMA:
            expectSize(data, end, 3, "colour");
            return;
        case COLOUR_FLOAT:
        case COLOUR_FLOAT_GAMMA:
            expectSize(data, end, 12, "colour");
            return;
        case PERCENT_INT:
            expectSize(data, end, 2, "percentage");
            return;
        case PERCENT_FLOAT:
            expectSize(data, end, 4, "percentage");
            return;
        default: {
            std::ostringstream what;
            what << "chunk 0x" << std::hex << id << " is not one the game reads";
            fault(data - 6, what.str());
        }
        }
    }

    ModelFile::Mesh& mesh()
    {
        if (model.meshes.empty()) {
            fault(0, "mesh data outside an object");
            model.meshes.emplace_back();
        }
        return model.meshes.back();
    }

    const std::string& bytes;
    ModelFile& model;
    std::string material;
};

} // namespace

std::array<float, 3> ModelFile::low() const
{
    std::array<float, 3> lo = {3.4e38f, 3.4e38f, 3.4e38f};
    for (const Mesh& m : meshes) {
        for (const auto& v : m.vertices) {
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], v[k]);
            }
        }
    }
    return lo;
}

std::array<float, 3> ModelFile::high() const
{
    std::array<float, 3> hi = {-3.4e38f, -3.4e38f, -3.4e38f};
    for (const Mesh& m : meshes) {
        for (const auto& v : m.vertices) {
            for (int k = 0; k < 3; ++k) {
                hi[k] = std::max(hi[k], v[k]);
            }
        }
    }
    return hi;
}

ModelFile readModelFile(const std::filesystem::path& file)
{
    ModelFile model;
    std::string bytes = readBytes(file);
    Reader(bytes, model).file();
    return model;
}

} // namespace datafiles
