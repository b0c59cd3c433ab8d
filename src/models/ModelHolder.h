#pragma once
// Owns one loaded model, picks its loader by file extension and draws it.

#include "models/ofx3DBaseLoader.h"

#include <memory>
#include <string>

class ModelHolder {
public:
    // Replaces the model held by the file `name` (below the data folder) scaled by `scale`.
    // Only ".3ds" and ".3DS" files have a loader; any other name leaves the holder empty.
    void loadModel(std::string name, float scale);
    // Draws the model with smooth shading, texturing on when it has texture maps; the
    // caller places it. Draws nothing while no model is held.
    void draw();

    std::unique_ptr<ofx3DBaseLoader> loader;
};
