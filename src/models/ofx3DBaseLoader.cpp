#include "models/ofx3DBaseLoader.h"

void ofx3DBaseLoader::loadModel(std::string) {}

void ofx3DBaseLoader::loadModel(std::string, float) {}

ofx3DBaseLoader::~ofx3DBaseLoader() = default;

void ofx3DBaseLoader::draw() {}
