#include "panelfile/PictureFiles.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>

#include "framework/PngWriter.h"
#include "panelfile/PictureList.h"
#include "streaming/Errors.h"

namespace trovelin {

namespace fs = std::filesystem;

namespace {

struct Job {
    int index = 0;
    std::shared_ptr<const DibImage> image;
    bool done = false;
    std::vector<std::uint8_t> png;
    std::string failure;  // why it could not be encoded
};

// Encoders run at most this many pictures ahead of the writer, which bounds the memory that
// finished files wait in.
constexpr std::size_t lookAheadPerEncoder = 2;

}  // namespace

// Jobs in index order: encoders take them from the front of what is not yet started, the writer
// takes finished ones from the front of the queue.
class PictureFileWriter::Encoding {
public:
    Encoding()
    {
        const unsigned encoders = std::max(1u, std::thread::hardware_concurrency());
        window_ = encoders * lookAheadPerEncoder;
        for (unsigned i = 0; i < encoders; ++i) encoders_.emplace_back([this] { encodeUntilClosed(); });
    }
    ~Encoding()
    {
        {
            std::lock_guard lock(mutex_);
            closed_ = true;  // a picture being encoded is finished first: its job stays alive
        }
        changed_.notify_all();
        for (std::thread& encoder : encoders_) encoder.join();
    }

    void add(int index, std::shared_ptr<const DibImage> image)
    {
        Job job;
        job.index = index;
        job.image = std::move(image);
        {
            std::lock_guard lock(mutex_);
            jobs_.push_back(std::move(job));
        }
        changed_.notify_all();
    }

    std::size_t pending()
    {
        std::lock_guard lock(mutex_);
        return jobs_.size();
    }

    // The first job once it is done, if it is done or `wait` is set; false when none is queued.
    bool takeFirst(Job& job, bool wait)
    {
        std::unique_lock lock(mutex_);
        if (wait) changed_.wait(lock, [&] { return jobs_.empty() || jobs_.front().done; });
        if (jobs_.empty() || !jobs_.front().done) return false;
        job = std::move(jobs_.front());
        jobs_.pop_front();
        --started_;
        lock.unlock();
        changed_.notify_all();
        return true;
    }

private:
    void encodeUntilClosed()
    {
        PngEncoder encoder;
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [&] { return closed_ || (started_ < jobs_.size() && started_ < window_); });
            if (closed_) return;
            // Jobs before `started_` are never moved while encoding: only the writer pops them,
            // and only once they are done.
            Job& job = jobs_[started_++];
            const std::shared_ptr<const DibImage> image = job.image;
            lock.unlock();
            std::vector<std::uint8_t> png;
            std::string failure;
            try {
                png = encoder.encode(*image);
            } catch (const std::bad_alloc&) {
                failure = "Out of memory";
            }
            lock.lock();
            job.png = std::move(png);
            job.failure = std::move(failure);
            job.done = true;
            job.image.reset();
            changed_.notify_all();
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    std::size_t started_ = 0;  // jobs at the front that an encoder took
    std::size_t window_ = 0;
    bool closed_ = false;
    std::vector<std::thread> encoders_;
};

PictureFileWriter::PictureFileWriter(const std::string& folder)
    : encoding_(std::make_unique<Encoding>()), folder_(folder)
{
    std::error_code ignored;
    fs::create_directories(folder, ignored);
}

PictureFileWriter::~PictureFileWriter() = default;

void PictureFileWriter::addNewPictures(const PictureList& pictures)
{
    for (; queuedUpTo_ < pictures.count(); ++queuedUpTo_)
        if (!pictures.at(queuedUpTo_).empty()) encoding_->add(queuedUpTo_, pictures.at(queuedUpTo_).sharedImage());
    Job job;
    while (encoding_->takeFirst(job, false)) writeNext(job.index, job.png, job.failure);
}

void PictureFileWriter::writeNext(int index, const std::vector<std::uint8_t>& png, const std::string& encodingFailure)
{
    const std::string path = (fs::path(folder_) / (threeDigits(index) + ".png")).string();
    try {
        if (!encodingFailure.empty()) throw Exception("Cannot write " + path + ": " + encodingFailure);
        // The folder's own names: a link or a FIFO found there is replaced, not written through.
        batch_.writeOverName(path, png);
    } catch (const Exception& error) {
        failures_.push_back({path, error.message()});
    }
    ++written_;
}

std::vector<PictureFileFailure> PictureFileWriter::finish(const std::function<void(int done, int total)>& onWritten)
{
    const int total = written_ + static_cast<int>(encoding_->pending());
    Job job;
    while (encoding_->takeFirst(job, true)) {
        writeNext(job.index, job.png, job.failure);
        onWritten(written_, total);
    }
    // One sync for all of them; a failure is the picture's, in index order.
    for (FileBatchFailure& failure : batch_.commit()) failures_.push_back({failure.path, failure.text});
    std::sort(failures_.begin(), failures_.end(), [](const PictureFileFailure& a, const PictureFileFailure& b) {
        return a.path < b.path;
    });
    return std::move(failures_);
}

std::string threeDigits(int index)
{
    std::string name = std::to_string(index);
    return std::string(name.size() < 3 ? 3 - name.size() : 0, '0') + name;
}

}  // namespace trovelin
