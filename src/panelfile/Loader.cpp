#include "panelfile/Loader.h"

#include <cstring>
#include <memory>
#include <new>

#include "framework/Image.h"
#include "panelfile/LoaderHost.h"
#include "panelfile/PictureList.h"
#include "panelfile/ReportedRecordError.h"
#include "streaming/Bitmap.h"
#include "streaming/Errors.h"
#include "streaming/TypeInfo.h"
#include "streaming/ValueTag.h"

namespace trovelin {

namespace {

// The class name is peeked at in a fixed window after the signature. Longer names, and a prefix
// byte in the length's place, match no class.
constexpr std::size_t classNamePeek = 1 + longestLoaderClassName;

// Files up to this size are read whole, so that pictures are copied straight out of memory;
// larger ones are read piece by piece, so that a huge file costs no huge buffer.
constexpr std::int64_t maxWholeFileBytes = std::int64_t{512} << 20;

// Creates `Control` owned by the main window and parented to the hidden host panel.
template <class Control> std::unique_ptr<Control> adopt(Control* control, LoaderHost& host)
{
    std::unique_ptr<Control> owned(control);
    owned->setParent(&host.hostPanel());
    return owned;
}

// Skips one whole record, so that a class the loader does not know costs no more than its bytes.
void skipRecord(Stream& stream, const ReaderEnvironment& environment)
{
    Reader reader(stream, environment);
    reader.readSignature();
    reader.skipComponent(true);
}

}  // namespace

PanelLoader::PanelLoader(LoaderHost& host, PictureList& pictures, LoaderClassTable classes, PanelFileOpener open)
    : host_(host), pictures_(pictures), classes_(std::move(classes)), open_(std::move(open))
{
}

bool PanelLoader::LoadForm(const std::string& fileName, bool clearFirst)
{
    try {
        return load(fileName, clearFirst);
    } catch (const std::bad_alloc&) {
        // Like any other failure of the load: what was harvested stays, the caller hears why.
        throw EOutOfMemory();
    }
}

bool PanelLoader::load(const std::string& fileName, bool clearFirst)
{
    reachedEnd_ = false;
    if (clearFirst && pictures_.count() != 0) pictures_.clear();
    if (pictures_.full()) return false;

    if (!fileName_ || *fileName_ != fileName) fileName_ = std::make_shared<const std::string>(fileName);
    // The file stays open, and so unshared, for the whole load.
    const std::unique_ptr<FileStream> file = open_(fileName);
    if (file->size() > maxWholeFileBytes) {
        loadPanel(*file);
        return true;
    }
    fileBytes_.resize(static_cast<std::size_t>(file->size()));
    fileBytes_.resize(file->read(fileBytes_.data(), fileBytes_.size()));
    ByteViewStream bytes(fileBytes_);
    loadPanel(bytes);
    return true;
}

void PanelLoader::loadPanel(Stream& stream)
{
    reachedEnd_ = false;
    std::optional<PanelHeader> header = readPanelHeader(stream);
    if (!header) {
        host_.setStatusText(notPanelFileText);
        return;
    }
    header_ = std::move(header);
    readBackground(stream);
    reachedEnd_ = readRecords(stream);
    host_.repaintPictureGrid();
}

void PanelLoader::readBackground(Stream& stream)
{
    auto background = adopt(new TImage(&host_.owner()), host_);
    readComponentRecord(stream, *background, readerEnvironment());
    if (observer_.controlRead) observer_.controlRead(*background);
    TPicture& picture = background->picture();
    // A background without any graphic gives no picture at all.
    if (picture.graphic() && !sameText(picture.graphicClassName(), "TIcon"))
        appendPicture(picture.bitmap(), *background, "Picture");
    letGo(std::move(background));
}

bool PanelLoader::readRecords(Stream& stream)
{
    const ReaderEnvironment environment = readerEnvironment();
    while (stream.position() < stream.size())
        if (!readRecord(stream, environment)) return false;
    return true;
}

bool PanelLoader::readRecord(Stream& stream, const ReaderEnvironment& environment)
{
    const std::int64_t start = stream.position();
    char signature[4] = {};
    if (stream.read(signature, sizeof signature) != sizeof signature ||
        std::memcmp(signature, recordSignature, sizeof signature) != 0) {
        host_.showMessage("Format ERROR!!!");
        return false;
    }
    std::uint8_t peek[classNamePeek] = {};
    const std::size_t peeked = stream.read(peek, sizeof peek);
    stream.setPosition(start);
    const std::size_t length = peek[0];
    const bool recognisable = length < classNamePeek && length < peeked;
    const std::string_view className(reinterpret_cast<const char*>(peek + 1), recognisable ? length : 0);
    const LoaderClass* entry = recognisable ? findLoaderClass(classes_, className) : nullptr;
    if (!entry) {
        passOver(stream, start, environment);
        return true;
    }
    auto control = adopt(entry->create(&host_.owner()), host_);
    TBitmap* glyph = entry->glyph ? entry->glyph(*control) : nullptr;
    if (glyph) glyph->assign(nullptr);  // only a glyph stored in the record counts
    try {
        entry->read(stream, *control, environment);
    } catch (const ReportedRecordError& report) {
        // The reader is back at the record's start: pass over the whole record, so that it is
        // never read again, and go on with the next. A record that cannot even be skipped runs
        // to the end of the file; the message said so already, so the load just stops there.
        host_.showMessage(report.message());
        stream.setPosition(start);
        try {
            passOver(stream, start, environment);
        } catch (const Exception&) {
            return false;
        }
        return true;
    }
    if (glyph && !glyph->empty()) appendPicture(*glyph, *control, "Glyph");
    if (observer_.controlRead) observer_.controlRead(*control);
    letGo(std::move(control));
    return true;
}

ReaderEnvironment PanelLoader::readerEnvironment() const
{
    ReaderEnvironment environment = host_.readerEnvironment();
    environment.pixelBudget = &pictures_.pixelBudget();
    return environment;
}

void PanelLoader::appendPicture(const TBitmap& picture, const TControl& control, const char* property)
{
    pictures_.append(picture, {fileName_, std::string(control.classInfo().name()), control.name(), property});
}

void PanelLoader::letGo(std::unique_ptr<TControl> control)
{
    if (!observer_.keepControl) return;
    control->leaveOwner();
    observer_.keepControl(std::move(control));
}

void PanelLoader::passOver(Stream& stream, std::int64_t start, const ReaderEnvironment& environment)
{
    skipRecord(stream, environment);
    if (observer_.recordSkipped) observer_.recordSkipped(stream, start, stream.position());
}

}  // namespace trovelin
