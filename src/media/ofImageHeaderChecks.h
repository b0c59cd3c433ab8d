#pragma once
// Checks that keep a picture away from FreeImage's decoder when its header is broken, cut
// short or claims more than the game takes; FreeImage would otherwise crash, read past its
// buffers or allocate whatever the file claims before the size could be checked.

#include <FreeImage.h>

#include <string>

namespace ofImageSupport {

// True when the picture at path must not be decoded. Says why in one error line naming the
// file, except for a header FreeImage itself cannot read, which is refused as silently as a
// file that is no picture at all.
bool refuseBeforeDecoding(FREE_IMAGE_FORMAT fif, const std::string& path);

} // namespace ofImageSupport
