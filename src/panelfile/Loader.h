#pragma once
// The panel loader: re-creates the controls of one panel file out of sight, lets each read its
// own record, and appends the pictures they carry (the background's, the buttons' glyphs) to the
// picture list.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "panelfile/LoaderClasses.h"
#include "panelfile/PanelHeader.h"
#include "platform/UnsharedFile.h"

namespace trovelin {

class LoaderHost;
class PictureList;
class Stream;
class TBitmap;
class TControl;

// The status text for a file whose magic is not a panel file's.
inline constexpr const char* notPanelFileText = "Not KVR Format !!!";

// What a caller may watch while a panel loads, to show the panel rather than only harvest it:
// each control (the background first) once its record is read, before the loader destroys it,
// and the byte range of each record skipped for its class. With `keepControl`, the loader hands
// each control over instead of destroying it, once its pictures are harvested: the control has
// left the main window, so that a later record may take its name as it may when each control is
// destroyed, and it still has the host panel as its parent.
struct LoadObserver {
    std::function<void(TControl& control)> controlRead;
    std::function<void(Stream& stream, std::int64_t start, std::int64_t end)> recordSkipped;
    std::function<void(std::unique_ptr<TControl> control)> keepControl = {};
};

// Opens a panel file for the whole of its load, unshared.
using PanelFileOpener = std::function<std::unique_ptr<FileStream>(const std::string& fileName)>;

class PanelLoader {
public:
    // By default file names are this system's paths; the viewer opens drive paths through its
    // file system, so that a letter names the volume the file list showed under it.
    PanelLoader(LoaderHost& host, PictureList& pictures, LoaderClassTable classes,
                PanelFileOpener open = [](const std::string& fileName) { return openUnshared(fileName); });

    // Loads one panel file, after clearing the list when `clearFirst`. False only when the list
    // is full, and then the file is not touched. A file that is not a panel file, or whose
    // records stop making sense, still gives true; failures of the record reader and of opening
    // the file are thrown with their messages, keeping what was harvested so far.
    bool LoadForm(const std::string& fileName, bool clearFirst);
    // The load itself, from an open panel file at its start: header, background and records.
    // Its pictures name the file of the last LoadForm, if any.
    void loadPanel(Stream& stream);

    // The steps of a load, for a caller that follows it record by record. The background record
    // at the stream's position, then each further record: false when the load stops there.
    // Messages go to the host, failures are thrown, as in a whole load.
    void readBackground(Stream& stream);
    bool readRecord(Stream& stream, const ReaderEnvironment& environment);
    // The host's, charging decoded pictures to the picture list's budget.
    ReaderEnvironment readerEnvironment() const;

    // The header of the last file that got past its magic.
    const std::optional<PanelHeader>& panelHeader() const { return header_; }
    // Whether the last load read its file to the end: false after a file that is no panel file,
    // a "Format ERROR!!!" or a record that could not be passed over, a thrown failure, or a full
    // list. Records refused with a message and passed over do not stop a load.
    bool reachedEnd() const { return reachedEnd_; }

    void setObserver(LoadObserver observer) { observer_ = std::move(observer); }

private:
    bool load(const std::string& fileName, bool clearFirst);
    // False when the load stopped before the end of the stream.
    bool readRecords(Stream& stream);
    // Skips the record at the stream's position, which began at `start`, and tells the observer.
    void passOver(Stream& stream, std::int64_t start, const ReaderEnvironment& environment);
    void appendPicture(const TBitmap& picture, const TControl& control, const char* property);
    // The end of a control the loader is done with: destroyed, or handed to the observer.
    void letGo(std::unique_ptr<TControl> control);

    LoaderHost& host_;
    PictureList& pictures_;
    LoaderClassTable classes_;
    PanelFileOpener open_;
    std::optional<PanelHeader> header_;
    bool reachedEnd_ = false;
    LoadObserver observer_;
    // The name of the file being loaded, shared by the pictures it gives.
    std::shared_ptr<const std::string> fileName_;
    // The file being loaded, read whole; kept for the next load so that its memory is reused.
    std::vector<std::uint8_t> fileBytes_;
};

}  // namespace trovelin
