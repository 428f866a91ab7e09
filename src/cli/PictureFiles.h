#pragma once
// The picture list as numbered PNG files, NNN.png after each picture's index. Pictures are
// encoded on every core, and files are written in index order as their turn comes.

#include <functional>
#include <string>
#include <vector>

namespace trovelin {
class PictureList;
}

namespace trovelin::cli {

struct PictureFileFailure {
    std::string path;
    std::string text;  // "Cannot write %s: <reason>"
};

// Writes every non-empty picture into `folder`, creating it if needed; `onWritten(done, total)`
// follows each picture whose turn has come, written or not. Returns the failures in index order.
std::vector<PictureFileFailure> writePictureFiles(const PictureList& pictures, const std::string& folder,
                                                  const std::function<void(int done, int total)>& onWritten);

// "000", "001", ... "999", "1000".
std::string threeDigits(int index);

}  // namespace trovelin::cli
