#pragma once
// Builds 3DS files byte by byte for the tests: a chunk is an id, its own data and its
// sub-chunks; its length is computed when it is written out.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace writer3ds {

class Chunk {
public:
    explicit Chunk(uint16_t id) : id(id) {}

    Chunk& u8(uint8_t value)
    {
        data.push_back(char(value));
        return *this;
    }
    Chunk& u16(uint16_t value)
    {
        data.push_back(char(value & 0xFF));
        data.push_back(char(value >> 8));
        return *this;
    }
    Chunk& u32(uint32_t value)
    {
        u16(uint16_t(value & 0xFFFF));
        return u16(uint16_t(value >> 16));
    }
    Chunk& f32(float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return u32(bits);
    }
    // A zero-terminated name.
    Chunk& name(const std::string& text)
    {
        data += text;
        data.push_back('\0');
        return *this;
    }
    Chunk& raw(const std::string& bytes)
    {
        data += bytes;
        return *this;
    }
    Chunk& add(Chunk child)
    {
        children.push_back(std::move(child));
        return *this;
    }

    std::string bytes() const
    {
        std::string body = data;
        for (const Chunk& child : children) {
            body += child.bytes();
        }
        Chunk header(0);
        header.u16(id).u32(uint32_t(body.size() + 6));
        return header.data + body;
    }

private:
    uint16_t id;
    std::string data;
    std::vector<Chunk> children;
};

using Vertex = std::array<float, 3>;
using Face = std::array<uint16_t, 3>;

inline Chunk vertexList(const std::vector<Vertex>& vertices)
{
    Chunk chunk(0x4110);
    chunk.u16(uint16_t(vertices.size()));
    for (const Vertex& v : vertices) {
        chunk.f32(v[0]).f32(v[1]).f32(v[2]);
    }
    return chunk;
}

inline Chunk materialGroup(const std::string& material, const std::vector<uint16_t>& faces)
{
    Chunk chunk(0x4130);
    chunk.name(material).u16(uint16_t(faces.size()));
    for (uint16_t f : faces) {
        chunk.u16(f);
    }
    return chunk;
}

// A face list with its material groups as sub-chunks.
inline Chunk faceList(const std::vector<Face>& faces, std::vector<Chunk> groups = {})
{
    Chunk chunk(0x4120);
    chunk.u16(uint16_t(faces.size()));
    for (const Face& f : faces) {
        chunk.u16(f[0]).u16(f[1]).u16(f[2]).u16(7);
    }
    for (Chunk& group : groups) {
        chunk.add(std::move(group));
    }
    return chunk;
}

inline Chunk texCoords(const std::vector<std::array<float, 2>>& coords)
{
    Chunk chunk(0x4140);
    chunk.u16(uint16_t(coords.size()));
    for (const auto& uv : coords) {
        chunk.f32(uv[0]).f32(uv[1]);
    }
    return chunk;
}

// An object block holding one triangle mesh made of the given sub-chunks.
inline Chunk object(const std::string& name, std::vector<Chunk> meshParts)
{
    Chunk mesh(0x4100);
    for (Chunk& part : meshParts) {
        mesh.add(std::move(part));
    }
    return Chunk(0x4000).name(name).add(std::move(mesh));
}

inline Chunk colourFloat(uint16_t which, float r, float g, float b)
{
    return Chunk(which).add(Chunk(0x0010).f32(r).f32(g).f32(b));
}

inline Chunk colourBytes(uint16_t which, uint8_t r, uint8_t g, uint8_t b)
{
    return Chunk(which).add(Chunk(0x0011).u8(r).u8(g).u8(b));
}

inline Chunk percentInt(uint16_t which, uint16_t percent)
{
    return Chunk(which).add(Chunk(0x0030).u16(percent));
}

inline Chunk map(uint16_t which, const std::string& fileName)
{
    return Chunk(which).add(Chunk(0xA300).name(fileName));
}

// A material block: its name chunk, then the given property chunks.
inline Chunk material(const std::string& name, std::vector<Chunk> properties = {})
{
    Chunk chunk(0xAFFF);
    chunk.add(Chunk(0xA000).name(name));
    for (Chunk& property : properties) {
        chunk.add(std::move(property));
    }
    return chunk;
}

// A whole file: the main chunk around an editor chunk holding `blocks`.
inline std::string file(std::vector<Chunk> blocks)
{
    Chunk editor(0x3D3D);
    for (Chunk& block : blocks) {
        editor.add(std::move(block));
    }
    return Chunk(0x4D4D).add(Chunk(0x0002).u32(3)).add(std::move(editor)).bytes();
}

// One triangle per material, each in its own group, as a small complete model.
inline std::string quadFile(const std::string& firstMaterial, const std::string& secondMaterial)
{
    return file({object("quad", {vertexList({{0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}}),
                                 faceList({{0, 1, 2}, {0, 2, 3}},
                                          {materialGroup(firstMaterial, {0}), materialGroup(secondMaterial, {1})})})});
}

} // namespace writer3ds
