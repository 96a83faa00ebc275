// Importing template files.

#include "model/pool.h"
#include "template_file/file_handle.h"
#include "template_file/parallel_detail.h"
#include "template_file/stream_blocks.h"
#include "template_file/template_file.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <fcntl.h>
#include <istream>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace permora {

namespace parallel_detail {
int threads = 0;
std::size_t blockBytes = std::size_t{256} << 10;
std::size_t encodeTargets = 4096;

int Threads() {
    if (threads > 0) {
        return threads;
    }
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp<unsigned>(cores, 1, static_cast<unsigned>(kMostThreads)));
}
} // namespace parallel_detail

namespace {

// A block of decoded lines and, once read, what reading each came to.
// A block also ends after this many lines, so that what a block keeps of each line (its
// messages above all) stays bounded however short the lines are: endless input of failing
// one-letter lines is read in as little memory as a template.
constexpr std::size_t kBlockLines = 2048;

struct LineBlock {
    struct Line {
        std::size_t offset = 0;
        std::size_t size = 0;
        std::int64_t number = 0;
        std::vector<std::string> warnings; // the decoder's about the line, then the reader's
        std::vector<std::pair<std::string, std::string>> messages; // each with its detail
        std::unique_ptr<TargetObject> target;                      // when the line read
        bool failed = false;
    };
    std::string text; // the lines one after the other
    std::vector<Line> lines;
    std::size_t readLines = 0; // a failing line ends the reading unless it is to go on
    std::exception_ptr error;  // what the reading threw
    bool done = false;         // the reading is over; under the pipeline's lock
};

std::unique_ptr<TargetObject> NewTarget() {
    // The reader replaces the whole descriptor, so the target starts with an empty one rather
    // than the default entry it would throw away at once.
    auto target =
        std::make_unique<TargetObject>(std::string(), std::make_unique<SecurityDescriptor>());
    target->SecurityLevel = kLevelFileDirectory;
    return target;
}

// Reads the lines of a block into targets, keeping what the reader says of each for the
// import to tell in file order. Touches nothing but the block.
void ReadBlock(LineBlock& block, const ImportReport& report) noexcept {
    try {
        LineBlock::Line* current = nullptr;
        DetailSink detailed;
        MessageSink sink;
        WarningSink warn;
        if (report.detailed) {
            detailed = [&current](const std::string& message, const std::string& detail) {
                current->messages.emplace_back(message, detail);
            };
        } else if (report.message) {
            sink = [&current](const std::string& message) {
                current->messages.emplace_back(message, std::string());
            };
        }
        if (report.warning) {
            warn = [&current](const std::string& warning) { current->warnings.push_back(warning); };
        }
        std::string text;
        for (LineBlock::Line& line : block.lines) {
            current = &line;
            text.assign(block.text, line.offset, line.size);
            auto target = NewTarget();
            const ReadStatus result = detailed
                                          ? ReadTargetLineDetailed(text, *target, detailed, warn)
                                          : ReadTargetLine(text, *target, sink, warn);
            ++block.readLines;
            if (result == ReadStatus::Failed) {
                line.failed = true;
                if (!report.keepGoing) {
                    break;
                }
                continue;
            }
            line.target = std::move(target);
        }
    } catch (...) {
        block.error = std::current_exception();
    }
}

// One import: decoded lines read into new targets appended to the template (or handed to
// take), stopping at the first line that fails. The calling thread decodes the bytes into
// blocks of lines; a file of more than one block has its blocks read by several threads, the
// calling one among them, and takes what they read block by block in file order, so that the
// messages, the targets and the line an import stops at are those of reading line by line.
class Importer {
public:
    Importer(SecurityTemplate* into, const TargetSink& take, const ImportReport& report)
        : into_(into), take_(take), report_(report), threads_(parallel_detail::Threads()),
          decoder_(
              [this](const std::string& line, std::int64_t number) { return Take(line, number); }),
          block_(std::make_unique<LineBlock>()) {
        outcome_.opened = true;
        if (report_.warning) {
            // What the decoding changes belongs to the line it happens on (or, after the
            // last line, to the file) and is told with the reader's warnings of that line.
            decoder_.OnWarning([this](std::int64_t line, const std::string& warning) {
                warningsLine_ = line;
                decoderWarnings_.push_back(warning);
            });
        }
    }
    Importer(const Importer&) = delete;
    Importer& operator=(const Importer&) = delete;
    ~Importer() { StopThreads(); }

    bool Feed(const char* data, std::size_t size) {
        return !stopped_ && decoder_.Feed(data, size) && !stopped_;
    }

    ImportOutcome Finish(bool readFailed) {
        if (!readFailed) {
            decoder_.Finish();
        }
        SendBlock(true);
        while (!stopped_ && !inFlight_.empty()) {
            TakeFront();
        }
        StopThreads();
        if (stopped_) {
            // The import ended at a line; whatever went wrong after it was never reached.
            readFailed = false;
        } else if (decoder_.TooLong()) {
            outcome_.tooLong = true;
            outcome_.tooLongLine = decoder_.LineNumber();
            readFailed = true;
        } else if (!lineFailed_ || report_.keepGoing) {
            // What the decoding changed after the last line concerns the file; a reading that
            // goes on past failing lines tells it too.
            for (const std::string& warning : decoderWarnings_) {
                report_.warning(warningsLine_, warning);
            }
        }
        decoderWarnings_.clear();
        outcome_.readFailed = readFailed;
        outcome_.complete = !lineFailed_ && !readFailed;
        return outcome_;
    }

private:
    bool Take(const std::string& line, std::int64_t number) {
        if (stopped_) {
            return false;
        }
        LineBlock::Line entry;
        entry.offset = block_->text.size();
        entry.size = line.size();
        entry.number = number;
        entry.warnings = std::move(decoderWarnings_);
        decoderWarnings_.clear();
        block_->text += line;
        block_->lines.push_back(std::move(entry));
        if (block_->text.size() >= parallel_detail::blockBytes ||
            block_->lines.size() >= kBlockLines) {
            SendBlock(false);
        }
        return !stopped_;
    }

    // Hands the block being filled on to be read. A file of one block, and any file when one
    // thread is to read it, is read here and now.
    void SendBlock(bool last) {
        if (block_->lines.empty()) {
            return;
        }
        std::unique_ptr<LineBlock> block = std::exchange(block_, std::make_unique<LineBlock>());
        if (threads_ <= 1 || (last && inFlight_.empty())) {
            ReadBlock(*block, report_);
            Tell(*block);
            return;
        }
        if (workers_.empty()) {
            StartThreads();
        }
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            waiting_.push_back(block.get());
        }
        inFlight_.push_back(std::move(block));
        blockWaiting_.notify_one();
        // What is read is taken at once; no more than a few blocks are on their way.
        while (!stopped_ && !inFlight_.empty() &&
               (inFlight_.size() > 2 * static_cast<std::size_t>(threads_) || FrontDone())) {
            TakeFront();
        }
    }

    bool FrontDone() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return inFlight_.front()->done;
    }

    // Waits for the oldest block on its way, reading waiting blocks meanwhile, and takes it.
    void TakeFront() {
        LineBlock& front = *inFlight_.front();
        {
            std::unique_lock<std::mutex> lock(mutex_);
            while (!front.done) {
                if (waiting_.empty()) {
                    blockRead_.wait(lock);
                    continue;
                }
                LineBlock* next = waiting_.front();
                waiting_.pop_front();
                lock.unlock();
                ReadBlock(*next, report_);
                lock.lock();
                next->done = true;
            }
        }
        const std::unique_ptr<LineBlock> block = std::move(inFlight_.front());
        inFlight_.pop_front();
        Tell(*block);
    }

    // What reading a block came to, line by line in file order, as reading line by line tells
    // it: the line's messages, then its warnings and its target, or that it failed.
    void Tell(LineBlock& block) {
        if (block.error) {
            std::rethrow_exception(block.error);
        }
        for (std::size_t i = 0; i < block.readLines && !stopped_; ++i) {
            LineBlock::Line& line = block.lines[i];
            for (const auto& [message, detail] : line.messages) {
                // A first line that is no target is most likely a header that is not ours.
                if (report_.detailed && line.number == 1 && message == "   Invalid File") {
                    report_.detailed(line.number, message,
                                     "a header line other than cb56f6f4 (" + detail + ")");
                } else if (report_.detailed) {
                    report_.detailed(line.number, message, detail);
                } else {
                    report_.message(line.number, message);
                }
            }
            if (line.failed) {
                lineFailed_ = true;
                if (report_.failed) {
                    report_.failed(line.number);
                }
                stopped_ = !report_.keepGoing;
                continue;
            }
            // What a save would change matters only for a line that is kept.
            for (const std::string& warning : line.warnings) {
                report_.warning(line.number, warning);
            }
            if (report_.read) {
                report_.read(line.number, *line.target);
            }
            if (into_ != nullptr) {
                into_->Append(std::move(line.target));
            } else if (!take_(std::move(line.target))) {
                lineFailed_ = true;
                stopped_ = true;
                continue;
            }
            ++outcome_.appended;
        }
    }

    void StartThreads() {
        try {
            for (int i = 1; i < threads_; ++i) {
                workers_.emplace_back([this] { Work(); });
            }
        } catch (const std::system_error&) {
            // Fewer threads, or only this one, read the blocks (TakeFront reads waiting ones).
        }
    }

    void Work() {
        std::unique_lock<std::mutex> lock(mutex_);
        while (true) {
            blockWaiting_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
            if (waiting_.empty()) {
                break;
            }
            LineBlock* block = waiting_.front();
            waiting_.pop_front();
            lock.unlock();
            ReadBlock(*block, report_);
            // The targets go to the calling thread; the names they hold must be theirs alone.
            parallel_detail::ForgetSharedNames();
            lock.lock();
            block->done = true;
            blockRead_.notify_all();
        }
        lock.unlock();
        BlockPool::ReleaseThreadBlocks();
    }

    // Ends the reading threads; blocks not yet read are dropped, and so are what the blocks
    // on their way hold, on this thread.
    void StopThreads() {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            waiting_.clear();
            closing_ = true;
        }
        blockWaiting_.notify_all();
        for (std::thread& worker : workers_) {
            worker.join();
        }
        workers_.clear();
        inFlight_.clear();
    }

    SecurityTemplate* into_;
    const TargetSink& take_;
    const ImportReport& report_;
    const int threads_;
    std::vector<std::string> decoderWarnings_; // not yet given to a line
    LineDecoder decoder_;
    std::unique_ptr<LineBlock> block_;                // being filled
    std::deque<std::unique_ptr<LineBlock>> inFlight_; // sent, in file order
    ImportOutcome outcome_;
    std::int64_t warningsLine_ = 0; // of decoder warnings that come after the last line
    bool lineFailed_ = false;
    bool stopped_ = false; // a line ended the import

    std::mutex mutex_;
    std::condition_variable blockWaiting_;
    std::condition_variable blockRead_;
    std::deque<LineBlock*> waiting_; // sent and not yet being read
    bool closing_ = false;
    std::vector<std::thread> workers_;
};

constexpr std::size_t kReadBlockSize = std::size_t{1} << 20;

ImportOutcome ImportBytes(std::string_view bytes, SecurityTemplate* into, const TargetSink& take,
                          const ImportReport& report) {
    Importer importer(into, take, report);
    importer.Feed(bytes.data(), bytes.size());
    return importer.Finish(false);
}

ImportOutcome ImportDescriptor(int fd, SecurityTemplate* into, const TargetSink& take,
                               const ImportReport& report) {
    // Only regular files are read.
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ImportOutcome refused;
        refused.error = ::fstat(fd, &info) != 0 ? errno
                        : S_ISDIR(info.st_mode) ? EISDIR
                                                : kNotRegularFile;
        return refused;
    }
    const std::optional<FileIdentity> identity = IdentityOf(fd);

    Importer importer(into, take, report);
    std::vector<char> block(kReadBlockSize);
    bool going = true;
    bool readFailed = false;
    while (going) {
        const ssize_t count = ::read(fd, block.data(), block.size());
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            readFailed = true;
            break;
        }
        if (count == 0) {
            break;
        }
        going = importer.Feed(block.data(), static_cast<std::size_t>(count));
    }
    const int reason = readFailed ? errno : 0;
    ImportOutcome outcome = importer.Finish(readFailed);
    outcome.error = outcome.readFailed ? reason : 0;
    outcome.identity = identity;
    return outcome;
}

ImportOutcome ImportFile(const std::string& path, SecurityTemplate* into, const TargetSink& take,
                         const ImportReport& report) {
    // Opened without waiting, so that a pipe chosen by mistake cannot hang the import.
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!file.Valid()) {
        ImportOutcome refused;
        refused.error = errno;
        return refused;
    }
    return ImportDescriptor(file.Get(), into, take, report);
}

ImportOutcome ImportStream(std::istream& in, SecurityTemplate* into, const TargetSink& take,
                           const ImportReport& report) {
    Importer importer(into, take, report);
    FeedBlocks(
        in, [&importer](const char* data, std::size_t size) { return importer.Feed(data, size); });
    return importer.Finish(in.bad());
}

} // namespace

ImportOutcome ImportStream(std::istream& in, SecurityTemplate& into, const ImportReport& report) {
    return ImportStream(in, &into, {}, report);
}

ImportOutcome ImportTargetStream(std::istream& in, const TargetSink& take,
                                 const ImportReport& report) {
    return ImportStream(in, nullptr, take, report);
}

ImportOutcome ImportBytes(std::string_view bytes, SecurityTemplate& into,
                          const ImportReport& report) {
    return ImportBytes(bytes, &into, {}, report);
}

ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into,
                             const ImportReport& report) {
    return ImportFile(path, &into, {}, report);
}

ImportOutcome ImportOpenFile(int fd, SecurityTemplate& into, const ImportReport& report) {
    return ImportDescriptor(fd, &into, {}, report);
}

ImportOutcome ImportTargets(const std::string& path, const TargetSink& take,
                            const ImportReport& report) {
    return ImportFile(path, nullptr, take, report);
}

ImportOutcome ImportTargetBytes(std::string_view bytes, const TargetSink& take,
                                const ImportReport& report) {
    return ImportBytes(bytes, nullptr, take, report);
}

ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into,
                             const MessageSink& sink) {
    ImportReport report;
    if (sink) {
        report.message = [&sink](std::int64_t, const std::string& message) { sink(message); };
    }
    return ImportTemplate(path, into, report);
}

ImportOutcome ImportTemplate(const std::string& path, SecurityTemplate& into, std::nullptr_t) {
    return ImportTemplate(path, into, ImportReport{});
}

std::string ReasonText(int error) {
    if (error == kForeignLockFile) {
        return "its lock file belongs to an account that may not write it";
    }
    return error == kNotRegularFile ? "not a regular file" : std::strerror(error);
}

} // namespace permora
