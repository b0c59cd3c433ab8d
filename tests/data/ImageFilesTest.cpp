#include "DataFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

using namespace datafiles;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> texturesStartingWith(const std::string& prefix)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dataDir() / "levels" / "levelTextures")) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0) {
            names.push_back("levels/levelTextures/" + name);
        }
    }
    return names;
}

bool powerOfTwo(int n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

// Spread of the luminance along one row.
double rowSpread(const Picture& p, int y)
{
    double sum = 0.0, squares = 0.0;
    for (int x = 0; x < p.width; ++x) {
        double l = p.luminance(x, y);
        sum += l;
        squares += l * l;
    }
    double mean = sum / p.width;
    return std::sqrt(std::max(0.0, squares / p.width - mean * mean));
}

} // namespace

TEST(ImageFiles, EveryPictureIsAPowerOfTwoColourImage)
{
    std::vector<std::string> pictures = texturesStartingWith("");
    pictures.insert(pictures.end(), {"soccer.png", "die/die.png", "coin/coin.png", "target/target.png"});
    ASSERT_GE(pictures.size(), 11u);
    for (const std::string& name : pictures) {
        Picture p;
        ASSERT_TRUE(loadPicture(dataDir() / name, p)) << name;
        EXPECT_TRUE(p.bitsPerPixel == 24 || p.bitsPerPixel == 32) << name << " has " << p.bitsPerPixel << " bits";
        // The mipmap builder would rescale other sizes and blur them.
        EXPECT_TRUE(powerOfTwo(p.width) && powerOfTwo(p.height)) << name << " is " << p.width << "x" << p.height;
    }
}

TEST(ImageFiles, FaceTexturesMeetTheirNeighboursWithoutASeam)
{
    std::vector<std::string> faces = texturesStartingWith("face_");
    ASSERT_GE(faces.size(), 4u);
    for (const std::string& name : faces) {
        Picture p;
        ASSERT_TRUE(loadPicture(dataDir() / name, p));
        // Cubes side by side put one face's right edge against the next one's left edge.
        EXPECT_LE(columnDifference(p, 0, p.width - 1), 2.0 * typicalColumnStep(p) + 1.0) << name;
        EXPECT_LE(rowDifference(p, 0, p.height - 1), 2.0 * typicalRowStep(p) + 1.0) << name;
    }
}

TEST(ImageFiles, FaceTexturesAreDistinctDesigns)
{
    std::vector<std::string> faces = texturesStartingWith("face_");
    std::vector<std::vector<double>> means;
    for (const std::string& name : faces) {
        Picture p;
        ASSERT_TRUE(loadPicture(dataDir() / name, p));
        std::vector<double> mean(3, 0.0);
        for (size_t i = 0; i < p.rgb.size(); ++i) {
            mean[i % 3] += p.rgb[i];
        }
        for (double& m : mean) {
            m /= double(p.width) * p.height;
        }
        means.push_back(mean);
    }
    // Told apart at a glance: every pair differs clearly in average colour.
    for (size_t a = 0; a < means.size(); ++a) {
        for (size_t b = a + 1; b < means.size(); ++b) {
            double d = std::abs(means[a][0] - means[b][0]) + std::abs(means[a][1] - means[b][1]) + std::abs(means[a][2] - means[b][2]);
            EXPECT_GT(d, 40.0) << faces[a] << " and " << faces[b] << " look alike";
        }
    }
}

TEST(ImageFiles, SkiesWrapRoundAndStayWholeAtThePoles)
{
    std::vector<std::string> skies = texturesStartingWith("sky_");
    ASSERT_GE(skies.size(), 3u);
    for (const std::string& name : skies) {
        Picture p;
        ASSERT_TRUE(loadPicture(dataDir() / name, p));
        EXPECT_EQ(p.width, 2 * p.height) << name << ": the sphere spans 360 by 180 degrees";
        EXPECT_LE(columnDifference(p, 0, p.width - 1), 2.0 * typicalColumnStep(p) + 1.0) << name;
        // Each of the outermost rows is squeezed into a point of the sphere: anything but a
        // flat row pinches into a star of streaks there.
        EXPECT_LT(rowSpread(p, 0), 3.0) << name;
        EXPECT_LT(rowSpread(p, p.height - 1), 3.0) << name;
    }
}

TEST(ImageFiles, BallIsAFootballWithPentagonsOnItsPoles)
{
    Picture p;
    ASSERT_TRUE(loadPicture(dataDir() / "soccer.png", p));
    EXPECT_LE(columnDifference(p, 0, p.width - 1), 2.0 * typicalColumnStep(p) + 1.0);
    // The texture is clamped at the poles; a black pentagon sits on each.
    for (int y : {0, p.height - 1}) {
        EXPECT_LT(rowSpread(p, y), 3.0);
        EXPECT_LT(p.luminance(0, y), 64.0);
    }
    // Twelve pentagons cover a quarter of the ball, twenty hexagons the rest; rows are
    // weighted by the area they cover on the sphere.
    double dark = 0.0, total = 0.0;
    for (int y = 0; y < p.height; ++y) {
        double weight = std::sin(M_PI * (y + 0.5) / p.height);
        for (int x = 0; x < p.width; ++x) {
            dark += weight * (p.luminance(x, y) < 60.0);
            total += weight;
        }
    }
    EXPECT_GT(dark / total, 0.2);
    EXPECT_LT(dark / total, 0.32);
}
