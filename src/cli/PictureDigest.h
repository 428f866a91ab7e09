#pragma once
// A name for a picture's content: the SHA-256 of its pixels and palette as decoded, so that two
// pictures that look the same get the same name however their files stored them (bottom-up or
// top-down rows, a short or a full colour table, colours at 24 or 32 bits).

#include <string>

namespace trovelin {
class DibImage;
}

namespace trovelin::cli {

// The digest in lowercase hexadecimal. What is hashed is what the picture's PNG file holds:
// width and height (32 bits each, little-endian), then for a 1-, 4- or 8-bit picture its depth,
// its palette as 2^depth red-green-blue triples (missing entries black) and its rows of indices
// (bits past the last pixel cleared); for any other depth 24, and its rows of blue-green-red
// triples. A null image (an empty picture) hashes as width and height 0 alone.
std::string pictureDigest(const DibImage* image);

}  // namespace trovelin::cli
