#pragma once
// An independent reading of the 3DS files written for the game: it walks every chunk,
// insists that each one is one the game's reader handles and that its length matches its
// contents exactly, and keeps the geometry for the checks.

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace datafiles {

struct ModelFile {
    struct Mesh {
        std::string name;
        std::vector<std::array<float, 3>> vertices;     // in the game's axes: (x, z, -y) of the file
        std::vector<std::array<float, 2>> texcoords;
        std::vector<std::array<unsigned, 3>> triangles;
        std::map<std::string, std::vector<unsigned>> groups;   // material name -> face numbers
    };
    std::map<std::string, std::string> materialMaps;    // material name -> texture map file
    std::vector<Mesh> meshes;
    std::vector<std::string> problems;                  // one line per fault found

    // Smallest and largest coordinate of all vertices on each axis.
    std::array<float, 3> low() const;
    std::array<float, 3> high() const;
};

// Reads the file; every fault is recorded in `problems` (reading goes on where it can).
ModelFile readModelFile(const std::filesystem::path& file);

} // namespace datafiles
