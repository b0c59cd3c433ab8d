#pragma once
// The reader's view of one chunk, shared by the chunk walk (model3DS.cpp) and the readers
// of chunk data (model3DSChunks.cpp).

#include "models/model3DS.h"

#include <cstring>

// Little-endian reading within one chunk's bytes. Callers check left() first.
struct model3DS::Span {
    const unsigned char* base;   // first byte of the file
    std::size_t start;           // offset of the chunk header, for messages
    std::size_t pos;             // next byte to read
    std::size_t end;             // one past the chunk's last byte
    uint16_t id;                 // the chunk's id

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

// Chunk ids the reader understands; every other chunk is skipped by its length.
namespace chunk3ds {
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
} // namespace chunk3ds
