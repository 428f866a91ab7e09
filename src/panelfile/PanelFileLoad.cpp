#include "panelfile/PanelFileLoad.h"

#include <exception>
#include <utility>

#include "panelfile/PictureList.h"
#include "streaming/Errors.h"

namespace trovelin {

PanelLoadResult loadPanelFile(const std::string& fileName, PictureList& pictures, const LoaderClassTable& classes,
                              PanelLoadOptions options)
{
    RecordingLoaderHost host;
    PanelLoader loader(host, pictures, classes);
    loader.setObserver(std::move(options.observer));
    PanelLoadResult result;
    const auto fail = [&](LoadFailure failure, std::string text) {
        result.outcome = LoadOutcome::Failed;
        result.failure = failure;
        result.events = {{LoaderEvent::Kind::Error, std::move(text)}};
        for (LoaderEvent& event : host.takeEvents()) result.events.push_back(std::move(event));
        result.header = loader.panelHeader();
        return result;
    };
    bool listHadRoom = true;
    try {
        listHadRoom = loader.LoadForm(fileName, options.clearFirst);
    } catch (const EFOpenError& error) {
        return fail(LoadFailure::CannotOpen, error.messageWithReason());
    } catch (const EOutOfMemory& error) {
        return fail(LoadFailure::OutOfMemory, error.messageWithReason());
    } catch (const EReadOutOfMemory& error) {
        return fail(LoadFailure::OutOfMemory, error.messageWithReason());
    } catch (const Exception& error) {
        return fail(LoadFailure::UnreadableRecord, error.messageWithReason());
    } catch (const std::exception& error) {
        return fail(LoadFailure::UnreadableRecord, error.what());
    }
    result.events = host.takeEvents();
    result.header = loader.panelHeader();
    if (!listHadRoom)
        result.outcome = LoadOutcome::ListFull;
    else if (!result.header)
        result.outcome = LoadOutcome::NotPanelFile;
    else if (!loader.reachedEnd()) {
        result.outcome = LoadOutcome::Failed;
        result.failure = LoadFailure::OutOfFormat;
    } else
        result.outcome = result.events.empty() ? LoadOutcome::Loaded : LoadOutcome::LoadedWithMessages;
    return result;
}

}  // namespace trovelin
