#pragma once
// Loading one panel file into a picture list, with what happened as values: every program and
// the Python module load through here, so that they all judge a file alike, and none of them
// reads a message's text to tell what happened.

#include <optional>
#include <string>
#include <vector>

#include "panelfile/Loader.h"
#include "panelfile/LoaderClasses.h"
#include "panelfile/PanelHeader.h"
#include "panelfile/RecordingLoaderHost.h"

namespace trovelin {

class PictureList;

enum class LoadOutcome {
    Loaded,              // read to its end, nothing to say
    LoadedWithMessages,  // read to its end, passing over records the loader refused with a message
    NotPanelFile,        // the magic is not a panel file's; the list is as it was
    Failed,              // the load stopped before the end; what was harvested before stays
    ListFull,            // the list was full, so the file was not even opened
};

enum class LoadFailure {
    None,
    CannotOpen,       // missing, no access, or held by another program
    OutOfFormat,      // a record the loader could not make sense of or pass over ("Format ERROR!!!")
    UnreadableRecord, // the record reader refused a record
    OutOfMemory,      // memory, or the list's pixel budget, ran out
};

struct PanelLoadResult {
    LoadOutcome outcome = LoadOutcome::Loaded;
    LoadFailure failure = LoadFailure::None;
    // The failure that ended the load, if one did, then what the loader showed, oldest first: the
    // order harvest, extract and dump have always reported them in.
    std::vector<LoaderEvent> events;
    std::optional<PanelHeader> header;  // for a file that got past its magic

    // Read to its end: loaded, with or without messages.
    bool readWhole() const { return outcome == LoadOutcome::Loaded || outcome == LoadOutcome::LoadedWithMessages; }
    // Ended by an error (the last event), rather than stopped where the loader showed why: the
    // viewer would show an error box, and a walk stops here unless it keeps going.
    bool endedInError() const { return failure != LoadFailure::None && failure != LoadFailure::OutOfFormat; }
};

struct PanelLoadOptions {
    bool clearFirst = true;  // empty the list before the load, as a click on one file does
    LoadObserver observer = {};
};

// Loads `fileName` (this system's path) into `pictures`, with the control classes `classes`.
// Never throws for what the file holds or whether it can be opened.
PanelLoadResult loadPanelFile(const std::string& fileName, PictureList& pictures, const LoaderClassTable& classes,
                              PanelLoadOptions options = {});

}  // namespace trovelin
