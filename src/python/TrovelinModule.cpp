// trovelin._trovelin: the loader, the harvest and the extraction of the programs, for Python.
// Every call that reads files lets go of the interpreter's lock while it does, so that threads
// load side by side; nothing here reads a panel file but the loader the programs use.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <stop_token>
#include <thread>

#include <QGuiApplication>
#include <QThreadPool>

#include "cli/ByteSize.h"
#include "cli/Dump.h"
#include "cli/Extract.h"
#include "cli/FolderWalk.h"
#include "cli/Harvest.h"
#include "gallery/PanelRender.h"
#include "panelctl/PanelClasses.h"
#include "panelfile/Json.h"
#include "panelfile/PanelFileLoad.h"
#include "panelfile/PictureList.h"
#include "python/ClusterExtraction.h"
#include "python/PictureArrays.h"
#include "streaming/PrintableText.h"

namespace py = pybind11;

namespace trovelin {

namespace {

using Event = std::tuple<std::string, std::string, std::string>;  // file, kind, text

// A load that gave no panel: carried to Python as trovelin.PanelError.
struct PanelFailure : std::runtime_error {
    PanelFailure(const std::string& text, std::string path, std::string kind, std::vector<Event> events)
        : std::runtime_error(text), path(std::move(path)), kind(std::move(kind)), events(std::move(events))
    {
    }
    std::string path;
    std::string kind;
    std::vector<Event> events;
};

const char* failureName(const PanelLoadResult& load)
{
    if (load.outcome == LoadOutcome::NotPanelFile) return "not a panel file";
    switch (load.failure) {
    case LoadFailure::CannotOpen: return "cannot open";
    case LoadFailure::OutOfFormat: return "out of format";
    case LoadFailure::OutOfMemory: return "out of memory";
    case LoadFailure::UnreadableRecord:
    case LoadFailure::None: break;
    }
    return "unreadable record";
}

// File names are bytes, and texts quote them: those that are not UTF-8 reach Python as
// os.fsdecode gives them, and go back to the loader as the same bytes.
py::str pathString(const std::string& bytes)
{
    PyObject* text = PyUnicode_DecodeUTF8(bytes.data(), static_cast<Py_ssize_t>(bytes.size()), "surrogateescape");
    if (text == nullptr) throw py::error_already_set();
    return py::reinterpret_steal<py::str>(text);
}

std::string textBytes(const py::handle& text)
{
    if (py::isinstance<py::bytes>(text)) return text.cast<std::string>();
    PyObject* bytes = PyUnicode_AsEncodedString(text.ptr(), "utf-8", "surrogateescape");
    if (bytes == nullptr) throw py::error_already_set();
    return py::reinterpret_steal<py::bytes>(bytes).cast<std::string>();
}

// The system ends a path at its first NUL, so a name holding one would open another file.
std::string pathBytes(const py::handle& path)
{
    std::string bytes = textBytes(path);
    if (bytes.find('\0') != std::string::npos) throw py::value_error("embedded null byte");
    return bytes;
}

std::vector<std::string> pathsOf(const py::list& paths)
{
    std::vector<std::string> bytes;
    for (const py::handle path : paths) bytes.push_back(pathBytes(path));
    return bytes;
}

py::list eventList(const std::vector<Event>& events)
{
    py::list list;
    for (const auto& [file, kind, text] : events) list.append(py::make_tuple(pathString(file), kind, pathString(text)));
    return list;
}

// A count from Python that C++ cannot hold is as out of range as one it can.
std::optional<std::uint64_t> positiveCount(const py::object& value)
{
    if (!py::isinstance<py::int_>(value) || value.cast<py::int_>() <= py::int_(0) ||
        value.cast<py::int_>() > py::int_(std::numeric_limits<std::uint64_t>::max()))
        return std::nullopt;
    return value.cast<std::uint64_t>();
}

std::uint64_t pixelBudgetOf(const py::object& maxMemory)
{
    if (maxMemory.is_none()) return defaultPixelBudgetBytes();
    std::optional<std::uint64_t> bytes;
    if (py::isinstance<py::str>(maxMemory))
        bytes = cli::parseByteSize(maxMemory.cast<std::string>());
    else
        bytes = positiveCount(maxMemory);
    if (!bytes) throw py::value_error("max_memory: a number of bytes, or one with a K, M or G suffix, above 0");
    return *bytes;
}

// A new (height, width, 4) array that owns its memory.
py::array_t<std::uint8_t> newRgbaArray(int height, int width)
{
    return py::array_t<std::uint8_t>(std::vector<py::ssize_t>{height, width, 4});
}

// The pictures of a load, shared by the Picture objects that show them.
using SharedPictures = std::shared_ptr<const PictureList>;

class Picture {
public:
    Picture(SharedPictures list, int index) : list_(std::move(list)), index_(index) {}
    int index() const { return index_; }
    const TBitmap& bitmap() const { return list_->at(index_); }
    const PictureOrigin& origin() const { return list_->origin(index_); }
    int bitsPerPixel() const { return bitmap().empty() ? 0 : bitmap().image()->bitsPerPixel(); }

    py::array_t<std::uint8_t> toNumpy() const
    {
        const DibImage* image = bitmap().image();
        if (image == nullptr) return py::array_t<std::uint8_t>(std::vector<py::ssize_t>{0, 0, 4});
        py::array_t<std::uint8_t> array = newRgbaArray(image->height(), image->width());
        std::uint8_t* pixels = array.mutable_data();
        py::gil_scoped_release unlocked;
        fillRgba(*image, pixels);
        return array;
    }

    std::string repr() const
    {
        return "<Picture " + std::to_string(index_) + ": " + std::to_string(bitmap().width()) + " x " +
               std::to_string(bitmap().height()) + ", " + std::to_string(bitsPerPixel()) + " bpp, " +
               origin().recordName + "." + origin().property + " (" + origin().recordClass + ")>";
    }

private:
    SharedPictures list_;
    int index_;
};

std::vector<Picture> picturesOf(const SharedPictures& list)
{
    std::vector<Picture> pictures;
    for (int i = 0; i < list->count(); ++i) pictures.emplace_back(list, i);
    return pictures;
}

std::vector<Event> eventsOf(const std::string& path, const PanelLoadResult& load)
{
    std::vector<Event> events;
    for (const LoaderEvent& event : load.events) events.emplace_back(path, loaderEventKindName(event.kind), event.text);
    return events;
}

struct LoadedFile {
    SharedPictures pictures;
    std::vector<Event> events;
    std::string title;  // as JSON text: the title's bytes, UTF-8 where they are, else Latin-1
};

LoadedFile openPanel(const std::string& path, const py::object& maxMemory)
{
    const std::uint64_t budget = pixelBudgetOf(maxMemory);
    auto pictures = std::make_shared<PictureList>(budget);
    PanelLoadResult load;
    {
        py::gil_scoped_release unlocked;
        load = loadPanelFile(path, *pictures, panelLoaderClasses());
    }
    std::vector<Event> events = eventsOf(path, load);
    if (!load.readWhole()) {
        // The error that ended the load comes first; a stop the loader showed is its last message.
        const std::string text = load.events.empty() ? std::string(failureName(load))
                                 : load.endedInError() ? load.events.front().text
                                                       : load.events.back().text;
        throw PanelFailure(text, path, failureName(load), std::move(events));
    }
    return {std::move(pictures), std::move(events), jsonString(load.header->title)};
}

py::array_t<std::uint8_t> renderToArray(const std::string& path, const py::object& maxMemory)
{
    const std::uint64_t budget = pixelBudgetOf(maxMemory);
    RenderedPanel rendered;
    {
        py::gil_scoped_release unlocked;
        rendered = renderPanel(path, budget);
    }
    if (rendered.image.isNull()) {
        std::vector<Event> events;
        for (const LoaderEvent& event : rendered.problems) events.emplace_back(path, loaderEventKindName(event.kind), event.text);
        const std::string text = rendered.problems.empty() ? std::string("not a panel file") : rendered.problems.back().text;
        throw PanelFailure(text, path, "not a panel file", std::move(events));
    }
    py::array_t<std::uint8_t> array = newRgbaArray(rendered.image.height(), rendered.image.width());
    std::uint8_t* pixels = array.mutable_data();
    py::gil_scoped_release unlocked;
    fillRgba(rendered.image, pixels);
    return array;
}

std::string dumpJson(const std::string& path, const py::object& maxMemory)
{
    const std::uint64_t budget = pixelBudgetOf(maxMemory);
    std::ostringstream out, errors;
    py::gil_scoped_release unlocked;
    cli::dumpPanelFile(path, true, out, errors, budget);
    return std::move(out).str();
}

struct HarvestResult {
    SharedPictures pictures;
    std::vector<Event> events;
    bool failed = false;
};

// The harvest of the programs, without its table and its files: one list of at most 512
// pictures from the files in order, stopping where `trovelin-cli harvest` stops.
HarvestResult harvestFiles(const std::vector<std::string>& paths, bool keepGoing, const py::object& maxMemory)
{
    const std::uint64_t budget = pixelBudgetOf(maxMemory);
    auto pictures = std::make_shared<PictureList>(budget);
    HarvestResult result;
    py::gil_scoped_release unlocked;
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        std::string failure;
        const std::vector<std::string> found = cli::panelFilesOf(path, failure);
        if (!failure.empty()) {
            result.events.emplace_back(path, "error", failure);
            result.failed = true;
        }
        files.insert(files.end(), found.begin(), found.end());
    }
    const LoaderClassTable classes = panelLoaderClasses();
    bool errorSeen = false;  // a load ended by an error: the walk stops there unless it keeps going
    for (std::size_t i = 0; i < files.size(); ++i) {
        const PanelLoadResult load = loadPanelFile(files[i], *pictures, classes, {.clearFirst = i == 0});
        const bool listHadRoom = load.outcome != LoadOutcome::ListFull;
        for (const LoaderEvent& event : load.events)
            result.events.emplace_back(files[i], loaderEventKindName(event.kind), event.text);
        result.failed = result.failed || (listHadRoom && !load.readWhole());
        errorSeen = errorSeen || load.endedInError();
        if (const int refused = listHadRoom ? pictures->refused() : 0)
            result.events.emplace_back(files[i], "status", cli::picturesNotReadText(pictures->count(), refused, files[i]));
        const std::size_t unread = files.size() - i - (listHadRoom ? 1 : 0);
        if (!listHadRoom)
            result.events.emplace_back(files[i], "status", cli::pictureListFullText(pictures->count(), unread));
        else if (unread > 0 && errorSeen && !keepGoing)
            result.events.emplace_back(files[i], "status", cli::stoppedAtFirstErrorText(unread));
        if (!listHadRoom || (errorSeen && !keepGoing)) break;
    }
    result.failed = result.failed || errorSeen;
    result.pictures = std::move(pictures);
    return result;
}

struct ExtractResult {
    int status = 0;
    std::string manifest;  // its lines, as manifest.jsonl holds them
    std::string report;    // what the program would say on its error stream
};

ExtractResult extractFiles(const std::vector<std::string>& paths, const std::string& out, bool unique,
                           const py::object& jobs, const py::object& maxMemory)
{
    cli::ExtractOptions options;
    options.paths = paths;
    options.outputFolder = out;
    options.json = true;
    options.unique = unique;
    options.quiet = true;
    options.pixelBudgetBytes = pixelBudgetOf(maxMemory);
    if (jobs.is_none())
        options.jobs = std::max(1u, std::thread::hardware_concurrency());
    else if (const std::optional<std::uint64_t> count = positiveCount(jobs); count && *count <= 1024)
        options.jobs = static_cast<unsigned>(*count);
    else
        throw py::value_error("jobs: from 1 to 1024, or None for one per processor");
    std::ostringstream manifest, report;
    ExtractResult result;
    // Ctrl+C asks the run to stop as it asks the program: the files in flight are written whole.
    std::stop_source stop;
    options.stop = stop.get_token();
    bool interrupted = false;
    {
        py::gil_scoped_release unlocked;
        std::future<int> running = std::async(std::launch::async, [&] { return cli::extract(options, manifest, report); });
        while (running.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            const py::gil_scoped_acquire locked;
            if (!interrupted && PyErr_CheckSignals() != 0) {
                interrupted = true;
                stop.request_stop();
            }
        }
        result.status = running.get();
    }
    if (interrupted) throw py::error_already_set();
    result.manifest = std::move(manifest).str();
    result.report = std::move(report).str();
    return result;
}

// A line of what `extract` says on its error stream.
std::string reportLine(const std::string& file, const std::string& kind, const std::string& text)
{
    return printableText(file) + ": " + kind + ": " + printableText(text) + "\n";
}

// The walk of `extract`, for a client that spreads the files over a cluster.
py::tuple walk(const std::vector<std::string>& paths)
{
    cli::PanelFileWalk found;
    {
        py::gil_scoped_release unlocked;
        found = cli::walkPanelFiles(paths);
    }
    py::list files;
    for (const cli::FoundPanelFile& file : found.files)
        files.append(py::make_tuple(pathString(file.path), pathString(file.outputFolder)));
    std::vector<std::string> problemLines, reportLines;
    for (const LoadEvent& problem : found.problems) {
        problemLines.push_back(cli::manifestEventLine(problem));
        reportLines.push_back(reportLine(problem.file, problem.kind, problem.text));
    }
    return py::make_tuple(files, problemLines, reportLines);
}

py::list extractBatch(const py::list& batch, const std::string& outputRoot, const py::object& maxMemory)
{
    const std::uint64_t budget = pixelBudgetOf(maxMemory);
    std::vector<std::pair<std::string, std::string>> files;
    for (const py::handle file : batch) {
        const auto pair = file.cast<py::tuple>();
        files.emplace_back(pathBytes(pair[0]), pathBytes(pair[1]));
    }
    std::vector<ClusterFile> done;
    {
        py::gil_scoped_release unlocked;
        for (const auto& [path, folder] : files) done.push_back(extractForCluster(path, folder, outputRoot, budget));
    }
    py::list results;
    for (const ClusterFile& file : done) {
        py::list pictures;
        for (const ClusterPicture& picture : file.pictures) {
            const cli::ManifestPicture& p = picture.manifest;
            pictures.append(py::make_tuple(p.index, p.width, p.height, p.bitsPerPixel, p.record, p.recordClass,
                                           p.property, p.digest, pathString(p.png), picture.written));
        }
        std::vector<Event> events;
        for (const LoadEvent& event : file.events) events.emplace_back(event.file, event.kind, event.text);
        results.append(py::make_tuple(pictures, eventList(events), file.failed));
    }
    return results;
}

std::string pictureLine(const std::string& file, int index, int width, int height, int bitsPerPixel,
                        const std::string& record, const std::string& recordClass, const std::string& property,
                        const std::string& digest, const std::string& png)
{
    return cli::manifestPictureLine(file, {index, width, height, bitsPerPixel, record, recordClass, property, digest, png});
}

std::string eventLine(const std::string& file, const std::string& kind, const std::string& text)
{
    return cli::manifestEventLine({file, kind, text});
}

// Painting measures text, which wants an application object; none is shown on a screen. What
// Qt has to say about its setup is no concern of a Python program: failures reach it as
// exceptions. The platform is always the offscreen one, named as an argument rather than in the
// environment: a QT_QPA_PLATFORM meant for the user's desktop (xcb with no display, as under ssh
// or cron) would end the interpreter, and programs that Python starts keep the user's setting.
void startApplication()
{
    if (QCoreApplication::instance() != nullptr) return;
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static int argumentCount = 3;
    static char name[] = "trovelin";
    static char platformOption[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* arguments[] = {name, platformOption, offscreen, nullptr};
    new QGuiApplication(argumentCount, arguments);  // lives as long as the interpreter
}

// Painting hands large images to Qt's thread pool. A child forked while the pool keeps idle
// threads inherits the pool's note of them but not the threads, and its first such painting
// waits for ever; so the pool lets its threads go before every fork.
void beforeFork()
{
    QThreadPool::globalInstance()->waitForDone();
}

}  // namespace

}  // namespace trovelin

PYBIND11_MODULE(_trovelin, module)
{
    using namespace trovelin;
    module.doc() = "The panel file loader of trovelin, compiled; use the package trovelin.";
    startApplication();

    static py::exception<PanelFailure> panelError(module, "PanelError", PyExc_Exception);
    panelError.attr("__doc__") = "A file that gave no panel: a missing or unreadable file, one that is no panel file, or "
                       "one whose load stopped. str(error) is the loader's message; error.path names the file, "
                       "error.kind says what went wrong, error.events lists what the loader reported.";
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const PanelFailure& failure) {
            py::object error = py::handle(panelError.ptr())(pathString(failure.what()));
            error.attr("path") = pathString(failure.path);
            error.attr("kind") = failure.kind;
            error.attr("events") = eventList(failure.events);
            PyErr_SetObject(panelError.ptr(), error.ptr());
        }
    });

    py::class_<Picture>(module, "Picture", "One picture of a panel file, as the loader harvested it.")
        .def_property_readonly("index", &Picture::index, "Its place in the picture list, from 0.")
        .def_property_readonly("width", [](const Picture& p) { return p.bitmap().width(); })
        .def_property_readonly("height", [](const Picture& p) { return p.bitmap().height(); })
        .def_property_readonly("bpp", &Picture::bitsPerPixel, "Bits per pixel as stored; 0 for an empty picture.")
        .def_property_readonly("record", [](const Picture& p) { return p.origin().recordName; },
                               "The name of the record it came from.")
        .def_property_readonly("cls", [](const Picture& p) { return p.origin().recordClass; },
                               "The class of that record.")
        .def_property_readonly("property", [](const Picture& p) { return std::string(p.origin().property); },
                               "'Picture' of the background, 'Glyph' of a button.")
        .def_property_readonly("file", [](const Picture& p) { return pathString(std::string(p.origin().fileName())); },
                               "The panel file it came from.")
        .def("to_numpy", &Picture::toNumpy,
             "The pixels as a new (height, width, 4) uint8 array of red, green, blue and alpha, top row first: "
             "the colours of the PNG file harvest writes, alpha 255.")
        .def("__repr__", &Picture::repr);

    module.def(
        "_open",
        [](const py::object& path, const py::object& maxMemory) {
            LoadedFile file = openPanel(pathBytes(path), maxMemory);
            return py::make_tuple(picturesOf(file.pictures), eventList(file.events), file.title);
        },
        py::arg("path"), py::arg("max_memory") = py::none());
    module.def(
        "_render", [](const py::object& path, const py::object& maxMemory) { return renderToArray(pathBytes(path), maxMemory); },
        py::arg("path"), py::arg("max_memory") = py::none());
    module.def(
        "_dump_json", [](const py::object& path, const py::object& maxMemory) { return dumpJson(pathBytes(path), maxMemory); },
        py::arg("path"), py::arg("max_memory") = py::none());
    module.def(
        "_harvest",
        [](const py::list& paths, bool keepGoing, const py::object& maxMemory) {
            HarvestResult result = harvestFiles(pathsOf(paths), keepGoing, maxMemory);
            return py::make_tuple(picturesOf(result.pictures), eventList(result.events), result.failed);
        },
        py::arg("paths"), py::arg("keep_going") = false, py::arg("max_memory") = py::none());
    module.def(
        "_extract",
        [](const py::list& paths, const py::object& out, bool unique, const py::object& jobs,
           const py::object& maxMemory) {
            ExtractResult result = extractFiles(pathsOf(paths), pathBytes(out), unique, jobs, maxMemory);
            return py::make_tuple(result.status, result.manifest, pathString(result.report));
        },
        py::arg("paths"), py::arg("out"), py::arg("unique") = false, py::arg("jobs") = py::none(),
        py::arg("max_memory") = py::none());
    module.def("_before_fork", &beforeFork);
    module.def("_walk", [](const py::list& paths) { return walk(pathsOf(paths)); }, py::arg("paths"));
    module.def(
        "_extract_batch",
        [](const py::list& files, const py::object& out, const py::object& maxMemory) {
            return extractBatch(files, pathBytes(out), maxMemory);
        },
        py::arg("files"), py::arg("out"), py::arg("max_memory") = py::none());
    module.def("_picture_line", [](const py::object& file, int index, int width, int height, int bitsPerPixel,
                                   const std::string& record, const std::string& recordClass,
                                   const std::string& property, const std::string& digest, const py::object& png) {
        return pictureLine(pathBytes(file), index, width, height, bitsPerPixel, record, recordClass, property, digest,
                           pathBytes(png));
    });
    module.def("_event_line", [](const py::object& file, const std::string& kind, const py::object& text) {
        return eventLine(textBytes(file), kind, textBytes(text));
    });
    module.def("_report_line", [](const py::object& file, const std::string& kind, const py::object& text) {
        return reportLine(textBytes(file), kind, textBytes(text));
    });
}
