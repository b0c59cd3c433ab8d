#pragma once
// The common face of the model loaders: a ModelHolder picks one by file extension
// and only ever talks to it through this class.

#include <string>

class ofx3DBaseLoader {
public:
    ofx3DBaseLoader() = default;
    ofx3DBaseLoader(const ofx3DBaseLoader&) = default;
    ofx3DBaseLoader& operator=(const ofx3DBaseLoader&) = default;

    // The virtual operations keep this order: loaders are driven through the base.
    virtual void loadModel(std::string name);
    virtual void loadModel(std::string name, float scale);
    virtual ~ofx3DBaseLoader();
    virtual void draw();

    bool hasTexture = false;   // a texture map chunk was met while loading
};
