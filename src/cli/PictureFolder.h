#pragma once
// The folder a harvest or an extract writes its pictures into. It is checked before anything is
// decoded, and says what belongs to it: pictures.json (or manifest.jsonl) lists the run whose
// NNN.png files it holds, so that a later run into the same folder removes the numbered files of
// the earlier run it does not write again, and touches nothing else.

#include <set>
#include <string>
#include <vector>

#include "panelfile/PictureManifest.h"

namespace trovelin::cli {

// Creates an output folder if needed and checks that files can be made in it. Empty, or why not:
// "Cannot create DIR: <reason>" or "Cannot write DIR: <reason>".
std::string prepareOutputFolder(const std::string& folder);

// The PNG files an extract manifest (manifest.jsonl) names, relative to its folder, read before a
// rerun replaces it. Only names that this program gives its pictures are taken, and none that
// leaves the folder ("..", an absolute path) or is not a numbered PNG: a manifest is a file
// anyone may have edited.
std::set<std::string> picturesNamedByManifest(const std::string& manifestPath);

// Opens a new, empty manifest for writing in place of the earlier one: a descriptor, or -1 with
// errno set.
int createManifest(const std::string& path);

// Removes the hidden files that pictures were being written as in `folder` when a run was killed
// outright or the power failed: no later run would ever take their random names again.
void removeLeftTemporaryPictures(const std::string& folder);

// Removes the regular files `earlier` names below `folder` that `kept` does not, without following
// a symbolic link on the way; a missing one is passed over. The failures, as error events.
std::vector<LoadEvent> removeEarlierPictures(const std::string& folder, const std::set<std::string>& earlier,
                                             const std::set<std::string>& kept);

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
