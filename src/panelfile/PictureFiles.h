#pragma once
// The picture list as numbered PNG files, NNN.png after each picture's index. Pictures are
// encoded on every core while a harvest goes on loading, and files are written in index order
// as their turn comes, under temporary names until the last is written: all of them then reach
// the disk with one sync and take their names.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileBatch.h"

namespace trovelin {

class PictureList;

struct PictureFileFailure {
    std::string path;
    std::string text;  // "Cannot write %s: <reason>"
};

class PictureFileWriter {
public:
    // Creates `folder` if needed; a folder that cannot be made shows as each file failing.
    explicit PictureFileWriter(const std::string& folder);
    ~PictureFileWriter();
    PictureFileWriter(const PictureFileWriter&) = delete;
    PictureFileWriter& operator=(const PictureFileWriter&) = delete;

    // Queues the non-empty pictures appended to `pictures` since the last call, and writes the
    // files whose turn has come without waiting for the others.
    void addNewPictures(const PictureList& pictures);

    // Writes the rest, calling `onWritten(done, total)` after each picture whose turn has come,
    // written or not, then makes them all durable under their names at once. Returns the
    // failures in index order.
    std::vector<PictureFileFailure> finish(const std::function<void(int done, int total)>& onWritten);

private:
    class Encoding;
    void writeNext(int index, const std::vector<std::uint8_t>& png, const std::string& encodingFailure);

    std::unique_ptr<Encoding> encoding_;
    std::string folder_;
    FileBatch batch_;
    int queuedUpTo_ = 0;  // pictures before this index are queued
    int written_ = 0;     // files whose turn has come
    std::vector<PictureFileFailure> failures_;
};

// "000", "001", ... "999", "1000".
std::string threeDigits(int index);

}  // namespace trovelin
