// The GL context of this test program is closed before exit, so that the driver frees
// its frame buffers instead of leaving them to the leak checker.
#include "support/TestSupport.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

namespace {

class GlTeardown : public ::testing::Environment {
public:
    void TearDown() override
    {
        if (testsupport::ensureGlContext() && glutGetWindow() != 0) {
            glutDestroyWindow(glutGetWindow());
            glutMainLoopEvent();
        }
    }
};

const ::testing::Environment* const teardown = ::testing::AddGlobalTestEnvironment(new GlTeardown);

} // namespace
