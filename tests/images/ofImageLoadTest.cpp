#include "PictureFiles.h"

#include "media/ofImage.h"
#include "media/ofLibraries.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

using pictures::Rgba;
namespace fs = std::filesystem;

namespace {

class ImageLoad : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testsupport::ensureGlContext()); }

    // Every pixel of the image equals expected(x, y) in its first `channels` bytes.
    static void expectPixels(ofImage& image, int channels, const pictures::ColourAt& expected)
    {
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                Rgba got = pictures::pixelAt(image.getPixels(), image.width, image.bpp / 8, x, y);
                Rgba want = expected(x, y);
                for (int c = 0; c < channels; ++c) {
                    ASSERT_EQ(got[c], want[c]) << "pixel " << x << "," << y << " channel " << c;
                }
            }
        }
    }

    testsupport::ScratchDir dir;
};

// A well-formed PNG that claims w x h RGB pixels but carries only a token of image data:
// its header is all a reader sees before it allocates.
std::string pngClaiming(uint32_t w, uint32_t h)
{
    auto crc32 = [](const std::string& bytes) {
        uint32_t crc = 0xFFFFFFFFu;
        for (unsigned char byte : bytes) {
            crc ^= byte;
            for (int k = 0; k < 8; ++k) {
                crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
            }
        }
        return crc ^ 0xFFFFFFFFu;
    };
    auto be32 = [](uint32_t v) {
        return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 8), static_cast<char>(v)};
    };
    auto chunk = [&](const std::string& type, const std::string& body) {
        return be32(static_cast<uint32_t>(body.size())) + type + body + be32(crc32(type + body));
    };
    return std::string("\x89PNG\r\n\x1a\n", 8)
        + chunk("IHDR", be32(w) + be32(h) + std::string("\x08\x02\x00\x00\x00", 5))
        + chunk("IDAT", std::string("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9))
        + chunk("IEND", "");
}

// Pictures in the formats whose size FreeImage only learns by decoding them, each claiming
// far more pixels than it holds: a GIF with one frame of 65520 x 23539 (as a fuzzed file had;
// decoded and widened to 24 bits it asked for 4.6 GB), an SGI, a WBMP and a DDS.
std::string gifClaiming(uint16_t w, uint16_t h)
{
    auto le16 = [](uint16_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; };
    return std::string("GIF89a") + le16(16) + le16(12) + std::string("\x00\x00\x00", 3)
        + std::string("\x21\xf9\x04\x08\x0a\x00\x00\x00", 8)   // a graphic control extension before the frame
        + "\x2c" + le16(0) + le16(0) + le16(w) + le16(h) + std::string("\x00\x08\x02\x4c\x01\x00\x3b", 7);
}

std::string sgiClaiming(uint16_t w, uint16_t h)
{
    std::string bytes(512, '\0');
    bytes[0] = '\x01';
    bytes[1] = '\xda';
    bytes[3] = 1;
    bytes[5] = 2;
    bytes[6] = static_cast<char>(w >> 8);
    bytes[7] = static_cast<char>(w);
    bytes[8] = static_cast<char>(h >> 8);
    bytes[9] = static_cast<char>(h);
    bytes[11] = 1;
    return bytes + std::string(64, '\x7f');
}

std::string wbmpClaiming(uint32_t w, uint32_t h)
{
    auto multiByte = [](uint32_t v) {
        std::string out(1, static_cast<char>(v & 0x7F));
        for (v >>= 7; v != 0; v >>= 7) {
            out.insert(out.begin(), static_cast<char>(0x80 | (v & 0x7F)));
        }
        return out;
    };
    return std::string("\x00\x00", 2) + multiByte(w) + multiByte(h) + std::string(64, '\xff');
}

std::string ddsClaiming(uint32_t w, uint32_t h)
{
    auto le32 = [](uint32_t v) {
        return std::string{static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
    };
    std::string bytes = "DDS " + le32(124) + le32(0x100F) + le32(h) + le32(w) + le32(w * 4) + le32(0) + le32(1);
    bytes += std::string(44, '\0');
    bytes += le32(32) + le32(0x41) + le32(0) + le32(32) + le32(0x00FF0000) + le32(0x0000FF00) + le32(0x000000FF) + le32(0xFF000000);
    bytes += le32(0x1000) + std::string(16, '\0');
    return bytes + std::string(256, '\x55');
}

std::string iffClaiming(uint16_t w, uint16_t h)
{
    auto be16 = [](uint16_t v) { return std::string{static_cast<char>(v >> 8), static_cast<char>(v)}; };
    std::string bmhd = be16(w) + be16(h) + std::string(4, '\0') + std::string("\x18\x00\x00\x00", 4) + std::string(8, '\0');
    std::string body = "ILBM" + std::string("BMHD\x00\x00\x00\x14", 8) + bmhd + std::string("BODY\x00\x00\x00\x40", 8) + std::string(64, '\x11');
    return "FORM" + std::string("\x00\x00", 2) + be16(static_cast<uint16_t>(body.size())) + body;
}

std::string xbmClaiming(int w, int h)
{
    return "#define big_width " + std::to_string(w) + "\n#define big_height " + std::to_string(h)
        + "\nstatic char big_bits[] = {\n0x00, 0xff, 0x00, 0xff };\n";
}

} // namespace

TEST_F(ImageLoad, NewImageIsEmpty)
{
    ofImage image;
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_EQ(image.bpp, 0);
    EXPECT_EQ(image.type, OF_IMAGE_UNDEFINED);
    EXPECT_EQ(image.myPixels.ofImageType, OF_IMAGE_UNDEFINED);
    EXPECT_EQ(image.myPixels.glDataType, GL_LUMINANCE);
    EXPECT_FALSE(image.myPixels.bAllocated);
    EXPECT_EQ(image.getPixels(), nullptr);
    EXPECT_TRUE(image.bUseTexture);
}

TEST_F(ImageLoad, ColourPictureArrivesTopRowFirstInRedGreenBlueOrder)
{
    fs::path file = pictures::save(pictures::colour(5, 3, 24, pictures::pattern), FIF_PNG, dir.path() / "rgb.png");
    ofImage image;
    ASSERT_TRUE(image.loadImage(file.string()));
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
    EXPECT_EQ(image.bpp, 24);
    EXPECT_EQ(image.type, OF_IMAGE_COLOR);
    EXPECT_EQ(image.myPixels.glDataType, GL_RGB);
    EXPECT_FLOAT_EQ(image.getWidth(), 5.0f);
    EXPECT_FLOAT_EQ(image.getHeight(), 3.0f);
    expectPixels(image, 3, pictures::pattern);
}

TEST_F(ImageLoad, AlphaStaysTheFourthByte)
{
    fs::path file = pictures::save(pictures::colour(4, 4, 32, pictures::pattern), FIF_PNG, dir.path() / "rgba.png");
    ofImage image;
    ASSERT_TRUE(image.loadImage(file.string()));
    EXPECT_EQ(image.bpp, 32);
    EXPECT_EQ(image.type, OF_IMAGE_COLOR_ALPHA);
    EXPECT_EQ(image.myPixels.glDataType, GL_RGBA);
    expectPixels(image, 4, pictures::pattern);
}

TEST_F(ImageLoad, PalettePicturesOfAnyDepthBecomeColour)
{
    std::vector<Rgba> entries = {{250, 0, 0, 0}, {0, 240, 10, 0}, {5, 6, 230, 0}, {90, 80, 70, 0}};
    auto index1 = [](int x, int y) { return (x + y) % 2; };
    auto index4 = [](int x, int y) { return (x + 2 * y) % 4; };
    struct Case {
        const char* name;
        int bits;
        FREE_IMAGE_FORMAT format;
        std::function<int(int, int)> index;
    };
    for (const Case& c : {Case{"p8.png", 8, FIF_PNG, index4}, Case{"p4.png", 4, FIF_PNG, index4},
                          Case{"p4.bmp", 4, FIF_BMP, index4}, Case{"p1.bmp", 1, FIF_BMP, index1}}) {
        SCOPED_TRACE(c.name);
        fs::path file = pictures::save(pictures::palette(7, 3, c.bits, entries, c.index), c.format, dir.path() / c.name);
        ofImage image;
        ASSERT_TRUE(image.loadImage(file.string()));
        EXPECT_EQ(image.bpp, 24);
        EXPECT_EQ(image.type, OF_IMAGE_COLOR);
        expectPixels(image, 3, [&](int x, int y) { return entries[c.index(x, y)]; });
    }
}

TEST_F(ImageLoad, GreyPictureStaysGreyWithOneBytePerPixel)
{
    auto value = [](int x, int y) { return static_cast<unsigned char>(x * 30 + y * 3); };
    fs::path file = pictures::save(pictures::grey(6, 4, value), FIF_PNG, dir.path() / "grey.png");
    ofImage image;
    ASSERT_TRUE(image.loadImage(file.string()));
    EXPECT_EQ(image.bpp, 8);
    EXPECT_EQ(image.type, OF_IMAGE_GRAYSCALE);
    EXPECT_EQ(image.myPixels.bytesPerPixel, 1);
    EXPECT_EQ(image.myPixels.glDataType, GL_LUMINANCE);
    expectPixels(image, 1, [&](int x, int y) { return Rgba{value(x, y), 0, 0, 0}; });
}

TEST_F(ImageLoad, SixteenBitChannelsComeDownToEightBits)
{
    // 16-bit grey: the high byte of every sample.
    FIBITMAP* grey16 = FreeImage_AllocateT(FIT_UINT16, 4, 2, 16);
    for (unsigned line = 0; line < 2; ++line) {
        auto* samples = reinterpret_cast<unsigned short*>(FreeImage_GetScanLine(grey16, line));
        for (int x = 0; x < 4; ++x) {
            samples[x] = static_cast<unsigned short>((x * 60 + line * 5) << 8 | 0x7F);
        }
    }
    fs::path file = pictures::save(grey16, FIF_PNG, dir.path() / "grey16.png");
    ofImage image;
    ASSERT_TRUE(image.loadImage(file.string()));
    EXPECT_EQ(image.bpp, 8);
    // Line 1 of the bitmap is the top row.
    expectPixels(image, 1, [](int x, int y) { return Rgba{static_cast<unsigned char>(x * 60 + (1 - y) * 5), 0, 0, 0}; });

    // 16-bit colour with alpha keeps its alpha.
    FIBITMAP* rgba16 = FreeImage_AllocateT(FIT_RGBA16, 2, 2, 64);
    for (unsigned line = 0; line < 2; ++line) {
        auto* px = reinterpret_cast<FIRGBA16*>(FreeImage_GetScanLine(rgba16, line));
        for (int x = 0; x < 2; ++x) {
            px[x] = FIRGBA16{0xFF00, 0x8000, 0x1000, static_cast<WORD>(x == 0 ? 0xFFFF : 0x4000)};
        }
    }
    file = pictures::save(rgba16, FIF_PNG, dir.path() / "rgba16.png");
    ASSERT_TRUE(image.loadImage(file.string()));
    EXPECT_EQ(image.bpp, 32);
    expectPixels(image, 4, [](int x, int) { return Rgba{0xFF, 0x80, 0x10, static_cast<unsigned char>(x == 0 ? 0xFF : 0x40)}; });
}

TEST_F(ImageLoad, FileTypeComesFromContentBeforeName)
{
    fs::path file = pictures::save(pictures::colour(3, 2, 24, pictures::pattern), FIF_PNG, dir.path() / "really-a-png.bmp");
    ofImage image;
    ASSERT_TRUE(image.loadImage(file.string()));
    expectPixels(image, 3, pictures::pattern);

    // A TGA file has no signature; its name decides.
    file = pictures::save(pictures::colour(3, 2, 24, pictures::pattern), FIF_TARGA, dir.path() / "plain.tga");
    ofImage targa;
    ASSERT_TRUE(targa.loadImage(file.string()));
    expectPixels(targa, 3, pictures::pattern);
}

TEST_F(ImageLoad, BareNamesAreLookedUpUnderData)
{
    pictures::save(pictures::colour(2, 2, 24, pictures::pattern), FIF_PNG, dir.path() / "data" / "ball.png");
    testsupport::WorkingDir cwd(dir.path());
    ofImage image;
    EXPECT_TRUE(image.loadImage("ball.png"));
    EXPECT_EQ(image.width, 2);
}

TEST_F(ImageLoad, FailedLoadsChangeNothing)
{
    ofImage image;
    EXPECT_FALSE(image.loadImage((dir.path() / "missing.png").string()));
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_EQ(image.getPixels(), nullptr);
    EXPECT_EQ(image.type, OF_IMAGE_UNDEFINED);

    fs::path good = pictures::save(pictures::colour(3, 2, 24, pictures::pattern), FIF_PNG, dir.path() / "good.png");
    ASSERT_TRUE(image.loadImage(good.string()));
    unsigned char* buffer = image.getPixels();
    unsigned int texture = image.tex.texData.textureID;

    std::string pngBytes = pictures::readFile(good);
    const std::pair<const char*, std::string> bad[] = {
        {"junk.png", "this is not a picture at all"},
        {"empty.png", ""},
        {"truncated.png", pngBytes.substr(0, pngBytes.size() / 2)},
        {"header-only.png", pngBytes.substr(0, 33)},
        {"notes.txt", "plain text"},
        {"noextension", "\x01\x02\x03"},
    };
    testsupport::StdoutCapture capture;
    for (const auto& [name, bytes] : bad) {
        SCOPED_TRACE(name);
        pictures::writeFile(dir.path() / name, bytes);
        EXPECT_FALSE(image.loadImage((dir.path() / name).string()));
        EXPECT_EQ(image.getPixels(), buffer);
        EXPECT_EQ(image.width, 3);
        EXPECT_EQ(image.height, 2);
        EXPECT_EQ(image.bpp, 24);
        EXPECT_EQ(image.tex.texData.textureID, texture);
        expectPixels(image, 3, pictures::pattern);
    }
    EXPECT_FALSE(image.loadImage((dir.path() / "missing.png").string()));
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(capture.finish(), "");   // unreadable files are not reported by the loader
}

TEST_F(ImageLoad, TgaFilesEndingBeforeTheirPixelsOrWithBrokenHeadersAreRefusedWithOneLine)
{
    fs::path good = pictures::save(pictures::colour(3, 2, 24, pictures::pattern), FIF_TARGA, dir.path() / "good.tga");
    const std::string goodBytes = pictures::readFile(good);
    // A fuzzed file: RLE grey, 8565 x 44, its image id said to run 71 bytes past the header
    // of a 23-byte file. FreeImage's reader crashed on it.
    const std::string fuzzed("GO\x0b/Ba\xff+M.\x00Mu!,\x00\x08\xc8\x00MMMM", 23);
    // Another: a colour map flag of 0x77, for which FreeImage asked malloc for nearly 2^64 bytes.
    const std::string fuzzedMap("\x00\x77\x00\x50\xb0\x00\x00TRUEVISION-XFILE.\x00", 25);
    std::string badEntrySize = goodBytes;
    badEntrySize[1] = 1;
    badEntrySize[7] = 7;
    const char* broken = "header is not a TGA header";
    const char* cutShort = "cut short before its pixels";
    std::string idPastTheEnd = goodBytes.substr(0, 18);
    idPastTheEnd[0] = 71;
    struct Case {
        const char* name;
        std::string bytes;
        const char* problem;
    };
    // Fuzzed: run-length coded, 16 x 12 at 24 bits, two bytes of packets; FreeImage's
    // decoder read past its buffer.
    const std::string rleCut("\x00\x00\x0a\x00\x00\x00\x00\x00\x00\x00\x00\x00\x10\x00\x0c\x00\x18MMM\x00\xff\xff\xff\xff", 25);
    const Case cut[] = {
        {"rle-cut-short.tga", rleCut, "cut short in its run-length coded pixels"},
        // Fuzzed: two runs of 100 pixels for a picture of 16 x 12.
        {"rle-past-the-end.tga", rleCut.substr(0, 17) + std::string("\x6d\xe3\xe3\xe3\xe3\xe3\xe3\xe3\xe3MM\x00\xff\xff\xff\xff", 16),
            "has run-length packets that run past the picture's end"},
        {"fuzzed.tga", fuzzed, broken},   // its colour map flag is 0x4f
        {"header-only.tga", goodBytes.substr(0, 18), cutShort},
        {"id-past-the-end.tga", idPastTheEnd + std::string(20, '\x01'), cutShort},
        {"colour-map-flag.tga", fuzzedMap, broken},
        {"colour-map-entry-size.tga", badEntrySize, broken},
    };
    ofImage image;
    ASSERT_TRUE(image.loadImage(good.string()));
    for (const Case& c : cut) {
        SCOPED_TRACE(c.name);
        const fs::path file = dir.path() / c.name;
        pictures::writeFile(file, c.bytes);
        testsupport::StdoutCapture capture;
        EXPECT_FALSE(image.loadImage(file.string()));
        EXPECT_EQ(capture.finish(), "OF_ERROR: ofImage: [" + file.string() + "] TGA picture " + c.problem + "\n");
        EXPECT_EQ(image.width, 3);
        expectPixels(image, 3, pictures::pattern);
    }
    // Whole run-length coded pictures still load.
    FIBITMAP* rle = pictures::colour(7, 5, 24, pictures::pattern);
    const fs::path rleFile = dir.path() / "rle.tga";
    ASSERT_TRUE(FreeImage_Save(FIF_TARGA, rle, rleFile.string().c_str(), TARGA_SAVE_RLE));
    FreeImage_Unload(rle);
    ASSERT_EQ(pictures::readFile(rleFile)[2], '\x0a');
    ASSERT_TRUE(image.loadImage(rleFile.string()));
    EXPECT_EQ(image.width, 7);
    expectPixels(image, 3, pictures::pattern);
    ASSERT_TRUE(image.loadImage(good.string()));

    // One byte of pixels is enough to get past the check; the reader takes what is there.
    pictures::writeFile(dir.path() / "one-pixel-byte.tga", goodBytes.substr(0, 19));
    testsupport::StdoutCapture capture;
    image.loadImage((dir.path() / "one-pixel-byte.tga").string());
    EXPECT_EQ(capture.finish().find("cut short"), std::string::npos);
}

TEST_F(ImageLoad, AShortKoalaPictureIsRefusedRatherThanShownFromUnfilledMemory)
{
    // Fuzzed: seven bytes that FreeImage takes for a 320 x 200 Koala picture.
    const fs::path file = dir.path() / "short.koa";
    pictures::writeFile(file, std::string("\x00\x60\x60\x00\x00\x18\x00", 7));
    ofImage image;
    testsupport::StdoutCapture capture;
    EXPECT_FALSE(image.loadImage(file.string()));
    EXPECT_EQ(capture.finish(), "OF_ERROR: ofImage: [" + file.string() + "] Koala picture cut short\n");
    EXPECT_EQ(image.getPixels(), nullptr);
}

TEST_F(ImageLoad, SameSizeAndDepthReuseTheBuffer)
{
    auto first = [](int x, int y) { return Rgba{static_cast<unsigned char>(x), static_cast<unsigned char>(y), 1, 255}; };
    fs::path a = pictures::save(pictures::colour(4, 3, 24, first), FIF_PNG, dir.path() / "a.png");
    fs::path b = pictures::save(pictures::colour(4, 3, 24, pictures::pattern), FIF_PNG, dir.path() / "b.png");
    fs::path c = pictures::save(pictures::colour(6, 3, 24, pictures::pattern), FIF_PNG, dir.path() / "c.png");
    ofImage image;
    ASSERT_TRUE(image.loadImage(a.string()));
    unsigned char* buffer = image.getPixels();
    ASSERT_TRUE(image.loadImage(b.string()));
    EXPECT_EQ(image.getPixels(), buffer);
    expectPixels(image, 3, pictures::pattern);

    ASSERT_TRUE(image.loadImage(c.string()));
    EXPECT_EQ(image.width, 6);
    EXPECT_EQ(image.myPixels.width, 6);
    expectPixels(image, 3, pictures::pattern);
}

TEST_F(ImageLoad, OversizedPicturesAreRefusedWithOneLineNamingTheFile)
{
    fs::path good = pictures::save(pictures::colour(3, 2, 24, pictures::pattern), FIF_PNG, dir.path() / "good.png");
    fs::path wide = pictures::save(pictures::colour(OF_IMAGE_MAX_SIDE + 1, 1, 24, pictures::pattern), FIF_PNG, dir.path() / "wide.png");
    fs::path huge = dir.path() / "huge.png";
    pictures::writeFile(huge, pngClaiming(70000, 70000));
    fs::path overflow = dir.path() / "overflow.png";
    pictures::writeFile(overflow, pngClaiming(1000000, 1000000));

    ofImage image;
    ASSERT_TRUE(image.loadImage(good.string()));
    unsigned char* buffer = image.getPixels();
    for (const fs::path& file : {wide, huge, overflow}) {
        SCOPED_TRACE(file.filename().string());
        testsupport::StdoutCapture capture;
        EXPECT_FALSE(image.loadImage(file.string()));
        std::string out = capture.finish();
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_EQ(out.rfind("OF_ERROR: ", 0), 0u) << out;
        EXPECT_NE(out.find(file.string()), std::string::npos) << out;
        EXPECT_EQ(image.getPixels(), buffer);
        EXPECT_EQ(image.width, 3);
        expectPixels(image, 3, pictures::pattern);
    }

    // The largest side still allowed loads.
    fs::path widest = pictures::save(pictures::colour(OF_IMAGE_MAX_SIDE, 1, 24, pictures::pattern), FIF_PNG, dir.path() / "widest.png");
    ofImage plain;
    plain.setUseTexture(false);
    EXPECT_TRUE(plain.loadImage(widest.string()));
    EXPECT_EQ(plain.width, OF_IMAGE_MAX_SIDE);
}

TEST_F(ImageLoad, PicturesSizedOnlyByDecodingAreRefusedBeforeTheyTakeMemory)
{
    fs::path gif = dir.path() / "frame.gif";
    pictures::writeFile(gif, gifClaiming(65520, 23539));
    fs::path sgi = dir.path() / "big.sgi";
    pictures::writeFile(sgi, sgiClaiming(30000, 30000));
    fs::path wbmp = dir.path() / "big.wbmp";
    pictures::writeFile(wbmp, wbmpClaiming(20000, 20000));
    fs::path dds = dir.path() / "big.dds";
    pictures::writeFile(dds, ddsClaiming(40000, 40000));
    fs::path iff = dir.path() / "big.iff";
    pictures::writeFile(iff, iffClaiming(60000, 60000));
    fs::path xbm = dir.path() / "big.xbm";
    pictures::writeFile(xbm, xbmClaiming(50000, 50000));

    auto peakMegabytes = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss / 1024;
    };
    ofImage image;
    image.setUseTexture(false);
    const long peakBefore = peakMegabytes();
    for (const fs::path& file : {gif, sgi, wbmp, dds, iff, xbm}) {
        SCOPED_TRACE(file.filename().string());
        testsupport::StdoutCapture capture;
        EXPECT_FALSE(image.loadImage(file.string()));
        std::string out = capture.finish();
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_NE(out.find("OF_ERROR: ofImage: [" + file.string() + "] bad picture size"), std::string::npos) << out;
        EXPECT_EQ(image.getPixels(), nullptr);
    }
    // Decoded, the GIF's frame alone would take 1.5 GB, and 4.6 GB once widened to 24 bits.
    EXPECT_LT(peakMegabytes() - peakBefore, 100);
}

TEST_F(ImageLoad, SavedPicturesLoadBackUnchanged)
{
    struct Case {
        const char* name;
        int type;
        int bytes;
    };
    for (const Case& c : {Case{"grey.png", OF_IMAGE_GRAYSCALE, 1}, Case{"colour.png", OF_IMAGE_COLOR, 3},
                          Case{"alpha.png", OF_IMAGE_COLOR_ALPHA, 4}, Case{"colour.bmp", OF_IMAGE_COLOR, 3},
                          Case{"alpha.tga", OF_IMAGE_COLOR_ALPHA, 4}}) {
        SCOPED_TRACE(c.name);
        const int w = 5;
        const int h = 3;
        std::vector<unsigned char> data;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                Rgba p = pictures::pattern(x, y);
                data.insert(data.end(), p.begin(), p.begin() + c.bytes);
            }
        }
        ofImage source;
        source.setFromPixels(data.data(), w, h, c.type);
        fs::path file = dir.path() / c.name;
        source.saveImage(file.string());

        ofImage loaded;
        ASSERT_TRUE(loaded.loadImage(file.string()));
        EXPECT_EQ(loaded.type, c.type);
        expectPixels(loaded, c.bytes, pictures::pattern);
        // Saving leaves the source's own buffer in red-green-blue order.
        expectPixels(source, c.bytes, pictures::pattern);
    }
}

TEST_F(ImageLoad, SaveFailuresAreReported)
{
    ofImage empty;
    {
        testsupport::StdoutCapture capture;
        empty.saveImage((dir.path() / "empty.png").string());
        EXPECT_EQ(capture.finish(), "OF_ERROR: error saving image - pixels aren't allocated\n");
    }
    EXPECT_FALSE(fs::exists(dir.path() / "empty.png"));

    unsigned char rgba[4 * 4] = {};
    ofImage alpha;
    alpha.setFromPixels(rgba, 2, 2, OF_IMAGE_COLOR_ALPHA);
    for (const char* name : {"no-format.xyz123", "missing-folder/sub/x.png"}) {
        SCOPED_TRACE(name);
        testsupport::StdoutCapture capture;
        alpha.saveImage((dir.path() / name).string());
        std::string out = capture.finish();
        EXPECT_EQ(out.rfind("OF_ERROR: ", 0), 0u) << out;
        EXPECT_NE(out.find(name), std::string::npos) << out;
    }
}

TEST_F(ImageLoad, LibraryRestartsAfterShutdown)
{
    fs::path file = pictures::save(pictures::colour(3, 2, 24, pictures::pattern), FIF_PNG, dir.path() / "p.png");
    ofImage before;
    EXPECT_TRUE(ofImageLibraryIsStarted());
    ofImageLibraryShutdown();
    EXPECT_FALSE(ofImageLibraryIsStarted());
    ofImageLibraryShutdown();   // a second shut-down does nothing
    EXPECT_TRUE(before.loadImage(file.string()));
    ofImage after;
    EXPECT_TRUE(after.loadImage(file.string()));
    expectPixels(after, 3, pictures::pattern);
}
