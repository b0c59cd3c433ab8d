#include "models/ModelHolder.h"

#include "media/ofUtils.h"
#include "models/ConsoleName.h"
#include "models/model3DS.h"

#include <GL/gl.h>

void ModelHolder::loadModel(std::string name, float scale)
{
    loader.reset();
    const std::size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    if (extension == "3ds" || extension == "3DS") {
        loader = std::make_unique<model3DS>();
        loader->loadModel(name, scale);
    } else {
        ofLog(OF_LOG_WARNING, "ModelHolder: no loader for '%s' (extension '%s')", consoleName(name).c_str(),
              consoleName(extension).c_str());
    }
}

void ModelHolder::draw()
{
    if (!loader) {
        return;
    }
    glPushMatrix();
    {
        glShadeModel(GL_SMOOTH);
        if (loader->hasTexture) {
            glEnable(GL_TEXTURE_2D);
        }
        loader->draw();
        if (loader->hasTexture) {
            glDisable(GL_TEXTURE_2D);
        }
    }
    glPopMatrix();
}
