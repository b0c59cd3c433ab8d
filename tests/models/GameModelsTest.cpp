// The game's own models, as shipped in data/, read without a complaint and with their
// texture maps uploaded.
#include "models/ModelHolder.h"
#include "models/model3DS.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <GL/gl.h>

TEST(GameModels, DieCoinAndTargetLoadCleanlyWithTheirTextures)
{
    ASSERT_TRUE(testsupport::ensureGlContext());
    testsupport::WorkingDir cwd(testsupport::sourceDir());
    for (const char* name : {"die/die.3ds", "coin/coin.3ds", "target/target.3ds"}) {
        SCOPED_TRACE(name);
        ModelHolder holder;
        testsupport::StdoutCapture capture;
        holder.loadModel(name, 1.0f);
        EXPECT_EQ(capture.finish(), std::string("[3DS] Model 'data/") + name + "' loaded\n");

        auto* model = dynamic_cast<model3DS*>(holder.loader.get());
        ASSERT_NE(model, nullptr);
        EXPECT_FALSE(model->meshes.empty());
        EXPECT_TRUE(model->hasTexture);
        for (const ModelMesh& mesh : model->meshes) {
            for (const auto& [material, indices] : mesh.materialGroups) {
                EXPECT_EQ(model->materials.count(material), 1u) << material;
                EXPECT_FALSE(indices.empty()) << material;
            }
        }
        for (auto& [materialName, material] : model->materials) {
            if (material.textured) {
                glBindTexture(GL_TEXTURE_2D, material.texture);
                GLint width = 0;
                glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
                EXPECT_GT(width, 0) << materialName;
                glDeleteTextures(1, &material.texture);
            }
        }
    }
}
