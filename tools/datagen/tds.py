"""Writer for 3D Studio (.3ds) files: the main, editor, material and triangle-mesh chunks
with colours, percentages, texture maps, vertices, texture coordinates, faces and material
groups, and nothing else, so that small readers that know only these chunks read every
byte of the file.

Chunks are little-endian: id (u16), length (u32, header included), data, sub-chunks.
"""

import struct

MAIN = 0x4D4D
EDITOR = 0x3D3D
OBJECT = 0x4000
TRIANGLES = 0x4100
VERTICES = 0x4110
FACES = 0x4120
FACE_MATERIAL = 0x4130
TEXCOORDS = 0x4140
MATERIAL = 0xAFFF
MAT_NAME = 0xA000
MAT_AMBIENT = 0xA010
MAT_DIFFUSE = 0xA020
MAT_SPECULAR = 0xA030
MAT_SHININESS = 0xA040
MAT_SHIN_STRENGTH = 0xA041
MAT_TWO_SIDED = 0xA081
MAT_TEXTURE = 0xA200
MAP_NAME = 0xA300
COLOUR_BYTES = 0x0011
PERCENT_INT = 0x0030

NAME_LIMIT = 19         # readers take at most 20 bytes, the terminating zero included
INDEX_LIMIT = 0xFFFF    # vertex and face counts are 16-bit


def chunk(cid, data=b"", children=()):
    body = data + b"".join(children)
    return struct.pack("<HI", cid, 6 + len(body)) + body


def name_bytes(name):
    raw = name.encode("ascii")
    if not raw or len(raw) > NAME_LIMIT or b"\0" in raw:
        raise ValueError(f"3ds name must be 1 to {NAME_LIMIT} ASCII characters: {name!r}")
    return raw + b"\0"


def colour(cid, rgb):
    values = bytes(max(0, min(255, round(c * 255.0))) for c in rgb)
    return chunk(cid, children=[chunk(COLOUR_BYTES, values)])


def percent(cid, fraction):
    return chunk(cid, children=[chunk(PERCENT_INT, struct.pack("<H", round(fraction * 100.0)))])


class Material:
    def __init__(self, name, texture, ambient=(0.6, 0.6, 0.6), diffuse=(1.0, 1.0, 1.0),
                 specular=(0.0, 0.0, 0.0), shininess=0.0, strength=0.0, two_sided=False):
        lowered = texture.lower()
        if not lowered.endswith((".png", ".jpg", ".tga", ".bmp")):
            raise ValueError(f"texture map must be a png, jpg, tga or bmp file: {texture!r}")
        self.name = name
        self.texture = texture
        self.ambient, self.diffuse, self.specular = ambient, diffuse, specular
        self.shininess, self.strength, self.two_sided = shininess, strength, two_sided

    def encode(self):
        parts = [chunk(MAT_NAME, name_bytes(self.name)),
                 colour(MAT_AMBIENT, self.ambient),
                 colour(MAT_DIFFUSE, self.diffuse),
                 colour(MAT_SPECULAR, self.specular),
                 percent(MAT_SHININESS, self.shininess),
                 percent(MAT_SHIN_STRENGTH, self.strength)]
        if self.two_sided:
            parts.append(chunk(MAT_TWO_SIDED))
        parts.append(chunk(MAT_TEXTURE, children=[chunk(MAP_NAME, name_bytes(self.texture))]))
        return chunk(MATERIAL, children=parts)


def to_file_axes(point):
    """The game's readers turn a file vertex (x, y, z) into (x, z, -y); models are built
    in the game's axes (z up) and stored so that they come back the same way."""
    x, y, z = point
    return (x, -z, y)


def encode_object(name, vertices, texcoords, triangles, material):
    """vertices: (x, y, z) in game axes; texcoords: (u, v) per vertex, v up from the
    image's bottom row; triangles: vertex index triples, counter-clockwise seen from
    outside. Every face goes into the one material group."""
    if len(vertices) != len(texcoords):
        raise ValueError("one texture coordinate per vertex")
    if len(vertices) > INDEX_LIMIT or len(triangles) > INDEX_LIMIT:
        raise ValueError("too many vertices or faces for 16-bit indices")
    points = b"".join(struct.pack("<3f", *to_file_axes(v)) for v in vertices)
    uvs = b"".join(struct.pack("<2f", u, v) for u, v in texcoords)
    faces = b"".join(struct.pack("<4H", a, b, c, 0) for a, b, c in triangles)
    group = chunk(FACE_MATERIAL, name_bytes(material.name) + struct.pack("<H", len(triangles))
                  + b"".join(struct.pack("<H", i) for i in range(len(triangles))))
    mesh = chunk(TRIANGLES, children=[
        chunk(VERTICES, struct.pack("<H", len(vertices)) + points),
        chunk(TEXCOORDS, struct.pack("<H", len(texcoords)) + uvs),
        chunk(FACES, struct.pack("<H", len(triangles)) + faces, [group]),
    ])
    return chunk(OBJECT, name_bytes(name), [mesh])


def encode_file(objects, materials):
    """objects: list of (name, vertices, texcoords, triangles, material)."""
    editor = [m.encode() for m in materials] + [encode_object(*o) for o in objects]
    return chunk(MAIN, children=[chunk(EDITOR, children=editor)])
