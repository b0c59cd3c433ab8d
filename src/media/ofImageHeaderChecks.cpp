#include "media/ofImageHeaderChecks.h"

#include "media/ofImageSupport.h"
#include "media/ofUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Reads the picture size from the header of the formats whose header FreeImage cannot read
// alone (it decodes the whole picture before its size can be asked): GIF (the logical screen
// and the first frame, which is what FreeImage decodes), SGI, WBMP, DDS, IFF and XBM. False when the
// format is another or the header is cut short; the caller then has nothing to check.
bool claimedSize(FREE_IMAGE_FORMAT fif, const std::string& path, long long& w, long long& h)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    unsigned char head[1024];
    size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    auto le16 = [&](size_t at) { return static_cast<long long>(head[at] | head[at + 1] << 8); };
    auto be16 = [&](size_t at) { return static_cast<long long>(head[at] << 8 | head[at + 1]); };
    auto le32 = [&](size_t at) {
        return static_cast<long long>(head[at]) | static_cast<long long>(head[at + 1]) << 8
            | static_cast<long long>(head[at + 2]) << 16 | static_cast<long long>(head[at + 3]) << 24;
    };
    switch (fif) {
    case FIF_GIF: {
        if (got < 13) {
            return false;
        }
        w = le16(6);
        h = le16(8);
        // Skip the global colour table and any extension blocks up to the first frame.
        size_t at = 13;
        if (head[10] & 0x80) {
            at += 3u << ((head[10] & 7) + 1);
        }
        while (at < got && head[at] == 0x21) {
            at += 2;
            while (at < got && head[at] != 0) {
                at += head[at] + 1u;
            }
            ++at;
        }
        if (at + 9 <= got && head[at] == 0x2C) {
            w = std::max(w, le16(at + 1) + le16(at + 5));
            h = std::max(h, le16(at + 3) + le16(at + 7));
        }
        return true;
    }
    case FIF_SGI:
        if (got < 10) {
            return false;
        }
        w = be16(6);
        h = be16(8);
        return true;
    case FIF_WBMP: {
        // Type and fixed header, then width and height as 7-bit groups, highest first.
        size_t at = 2;
        long long sides[2] = {0, 0};
        for (long long& side : sides) {
            for (int groups = 0;; ++groups) {
                if (at >= got || groups == 5) {
                    return false;
                }
                side = side << 7 | (head[at] & 0x7F);
                if ((head[at++] & 0x80) == 0) {
                    break;
                }
            }
        }
        w = sides[0];
        h = sides[1];
        return true;
    }
    case FIF_DDS:
        if (got < 20) {
            return false;
        }
        h = le32(12);
        w = le32(16);
        return true;
    case FIF_IFF: {
        // "FORM", its length, the form type, then chunks; the size is in the BMHD chunk.
        size_t at = 12;
        while (at + 12 <= got) {
            long long length = be16(at + 4) << 16 | be16(at + 6);
            if (std::memcmp(head + at, "BMHD", 4) == 0) {
                w = be16(at + 8);
                h = be16(at + 10);
                return true;
            }
            at += 8 + static_cast<size_t>(length + (length & 1));
        }
        return false;
    }
    case FIF_XBM: {
        // C source: "#define name_width 16" and "#define name_height 16".
        std::string text(reinterpret_cast<const char*>(head), got);
        auto number = [&](const char* key, long long& out) {
            size_t at = text.find(key);
            if (at == std::string::npos) {
                return false;
            }
            out = std::atoll(text.c_str() + at + std::strlen(key));
            return true;
        };
        return number("_width", w) && number("_height", h);
    }
    default:
        return false;
    }
}

// What is wrong with a TGA file that FreeImage's reader would mishandle, or null. A file that
// ends before its pixels begin (after the header, the image id and the colour map) makes it
// seek past the end and take the negative rest of the file for the size of its read buffer;
// a colour map flag or entry size that TGA does not have makes it ask for a buffer of a
// nonsense size.
const char* tgaProblem(const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return nullptr;
    }
    unsigned char head[18];
    size_t got = std::fread(head, 1, sizeof head, file);
    long size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    // A TGA 2.0 file ends in a 26-byte footer whose last 18 bytes are its signature; the
    // reader takes the pixels to end where the footer begins.
    static const char signature[] = "TRUEVISION-XFILE.";   // with its terminating zero: 18 bytes
    char tail[sizeof signature] = {};
    const bool hasFooter = size >= static_cast<long>(sizeof tail)
        && std::fseek(file, -static_cast<long>(sizeof tail), SEEK_END) == 0
        && std::fread(tail, 1, sizeof tail, file) == sizeof tail && std::memcmp(tail, signature, sizeof tail) == 0;
    std::fclose(file);
    if (got < sizeof head || size < 0) {
        return "cut short before its pixels";
    }
    const int colourMapType = head[1];
    const int imageType = head[2];
    const int entryBits = head[7];
    const bool knownType = imageType <= 3 || (imageType >= 9 && imageType <= 11) || imageType == 32 || imageType == 33;
    if (colourMapType > 1 || !knownType
        || (colourMapType == 1 && entryBits != 15 && entryBits != 16 && entryBits != 24 && entryBits != 32)) {
        return "header is not a TGA header";
    }
    long pixelsAt = 18 + head[0];
    if (colourMapType == 1) {
        long entries = head[5] | head[6] << 8;
        pixelsAt += entries * ((entryBits + 7) / 8);
    }
    // With a footer, a file too short to hold it as well as the header makes the reader take
    // a negative length for the pixels and ask for a buffer of that size.
    const long pixelsEnd = hasFooter ? size - 26 : size;
    if (pixelsEnd <= pixelsAt) {
        return "cut short before its pixels";
    }
    // Run-length coded pixels (types 9 to 11): FreeImage's decoder reads past its buffer when
    // the packets end before the picture does or run past its end, so they are walked here first.
    if (imageType >= 9 && imageType <= 11) {
        const long long pixels = static_cast<long long>(head[12] | head[13] << 8) * (head[14] | head[15] << 8);
        const long pixelBytes = (head[16] + 7) / 8;
        std::ifstream in(path, std::ios::binary);
        std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        data.resize(std::min(data.size(), static_cast<size_t>(pixelsEnd)));
        size_t at = static_cast<size_t>(pixelsAt);
        long long count = 0;
        while (count < pixels) {
            if (at >= data.size()) {
                return "cut short in its run-length coded pixels";
            }
            const unsigned char packet = data[at++];
            const long n = (packet & 0x7F) + 1;
            at += static_cast<size_t>((packet & 0x80) != 0 ? pixelBytes : n * pixelBytes);
            count += n;
        }
        if (at > data.size()) {
            return "cut short in its run-length coded pixels";
        }
        // A last packet that runs past the picture's end has the decoder read past its buffer too.
        if (count != pixels) {
            return "has run-length packets that run past the picture's end";
        }
    }
    return nullptr;
}

} // namespace

bool ofImageSupport::refuseBeforeDecoding(FREE_IMAGE_FORMAT fif, const std::string& path)
{
    // A C64 Koala picture is always 10003 bytes; FreeImage decodes a shorter one from memory
    // it never filled.
    if (fif == FIF_KOALA) {
        std::error_code error;
        const auto bytes = std::filesystem::file_size(path, error);
        if (error || bytes < 10003) {
            ofLog(OF_LOG_ERROR, "ofImage: [%s] Koala picture cut short", path.c_str());
            return true;
        }
    }
    if (fif == FIF_TARGA) {
        if (const char* problem = tgaProblem(path)) {
            ofLog(OF_LOG_ERROR, "ofImage: [%s] TGA picture %s", path.c_str(), problem);
            return true;
        }
    }
    // The size from the header alone where the format allows it, before FreeImage allocates
    // whatever the file claims.
    long long w = 0;
    long long h = 0;
    if (FreeImage_FIFSupportsNoPixels(fif)) {
        // A picture whose header FreeImage cannot read is not decoded either.
        FIBITMAP* header = FreeImage_Load(fif, path.c_str(), FIF_LOAD_NOPIXELS);
        if (header == nullptr) {
            return true;
        }
        w = FreeImage_GetWidth(header);
        h = FreeImage_GetHeight(header);
        FreeImage_Unload(header);
        if (!sizeAcceptable(w, h)) {
            logBadSize(path.c_str(), w, h);
            return true;
        }
    } else if (claimedSize(fif, path, w, h) && !sizeAcceptable(w, h)) {
        logBadSize(path.c_str(), w, h);
        return true;
    }
    return false;
}
