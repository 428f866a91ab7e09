#include "cli/PictureFiles.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "framework/PngWriter.h"
#include "panelfile/PictureList.h"
#include "platform/ReplacingFile.h"
#include "streaming/Errors.h"

namespace trovelin::cli {

namespace {

namespace fs = std::filesystem;

// An encoded picture, or why it could not be encoded.
struct Encoded {
    std::vector<std::uint8_t> bytes;
    std::string failure;
};

// Encoders run at most this many pictures ahead of the writer, which bounds the memory that
// finished files wait in.
constexpr std::size_t lookAheadPerEncoder = 2;

class OrderedEncoding {
public:
    OrderedEncoding(const PictureList& pictures, std::vector<int> indices)
        : pictures_(pictures), indices_(std::move(indices)), results_(indices_.size())
    {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const std::size_t encoders = std::min<std::size_t>(cores, indices_.size());
        window_ = encoders * lookAheadPerEncoder;
        for (std::size_t i = 0; i < encoders; ++i) encoders_.emplace_back([this] { encodeUntilDone(); });
    }
    ~OrderedEncoding()
    {
        {
            std::lock_guard lock(mutex_);
            taken_ = indices_.size();  // nothing more is started
        }
        changed_.notify_all();
        for (std::thread& encoder : encoders_) encoder.join();
    }

    // The next picture's result, in order; waits for its encoder.
    Encoded take(std::size_t job)
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return results_[job].has_value(); });
        Encoded result = std::move(*results_[job]);
        results_[job].reset();
        consumed_ = job + 1;
        changed_.notify_all();
        return result;
    }

private:
    void encodeUntilDone()
    {
        PngEncoder encoder;
        for (;;) {
            std::size_t job = 0;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return taken_ >= indices_.size() || taken_ < consumed_ + window_; });
                if (taken_ >= indices_.size()) return;
                job = taken_++;
            }
            Encoded result;
            try {
                result.bytes = encoder.encode(*pictures_.at(indices_[job]).image());
            } catch (const std::bad_alloc&) {
                result.failure = "Out of memory";
            }
            {
                std::lock_guard lock(mutex_);
                results_[job] = std::move(result);
            }
            changed_.notify_all();
        }
    }

    const PictureList& pictures_;
    const std::vector<int> indices_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<Encoded>> results_;
    std::size_t taken_ = 0;     // jobs handed to encoders
    std::size_t consumed_ = 0;  // jobs the writer has taken
    std::size_t window_ = 0;
    std::vector<std::thread> encoders_;
};

}  // namespace

std::string threeDigits(int index)
{
    std::string name = std::to_string(index);
    return std::string(name.size() < 3 ? 3 - name.size() : 0, '0') + name;
}

std::vector<PictureFileFailure> writePictureFiles(const PictureList& pictures, const std::string& folder,
                                                  const std::function<void(int done, int total)>& onWritten)
{
    std::vector<int> indices;
    for (int i = 0; i < pictures.count(); ++i)
        if (!pictures.at(i).empty()) indices.push_back(i);
    std::error_code ignored;  // a folder that cannot be made shows as each file failing
    fs::create_directories(folder, ignored);

    std::vector<PictureFileFailure> failures;
    OrderedEncoding encoding(pictures, indices);
    for (std::size_t job = 0; job < indices.size(); ++job) {
        const std::string path = (fs::path(folder) / (threeDigits(indices[job]) + ".png")).string();
        const Encoded encoded = encoding.take(job);
        try {
            if (!encoded.failure.empty()) throw Exception("Cannot write " + path + ": " + encoded.failure);
            writeFileReplacing(path, encoded.bytes);
        } catch (const Exception& error) {
            failures.push_back({path, error.message()});
        }
        onWritten(static_cast<int>(job + 1), static_cast<int>(indices.size()));
    }
    return failures;
}

}  // namespace trovelin::cli
