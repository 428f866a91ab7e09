#pragma once
// The folder a harvest writes its pictures into. It is checked before anything is decoded, and
// says what belongs to it: pictures.json lists the run whose NNN.png files it holds, so that a
// later run into the same folder removes the numbered files of the earlier run it does not
// write again, and touches nothing else.

#include <set>
#include <string>
#include <vector>

#include "panelfile/PictureManifest.h"

namespace trovelin::cli {

// Creates an output folder if needed and checks that files can be made in it. Empty, or why not:
// "Cannot create DIR: <reason>" or "Cannot write DIR: <reason>".
std::string prepareOutputFolder(const std::string& folder);

class PictureFolder {
public:
    explicit PictureFolder(std::string folder) : folder_(std::move(folder)) {}

    // Creates the folder if needed and reads what an earlier run left in it. Empty, or why the
    // folder cannot take files: "Cannot create DIR: <reason>" or "Cannot write DIR: <reason>".
    std::string prepare();

    // Removes the earlier run's pictures that `pictures` has no file for and writes the new
    // pictures.json. Returns the failure to write it, if any.
    std::vector<PictureFileFailure> finish(const PictureList& pictures, const std::vector<LoadEvent>& events);

private:
    std::string folder_;
    std::set<int> earlierPictures_;  // indices of the files the earlier pictures.json lists
};

}  // namespace trovelin::cli
