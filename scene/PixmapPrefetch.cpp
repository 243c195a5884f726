#include "scene/PixmapPrefetch.h"

#include "media/Platform.h"
#include "streams/Stream.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace tonvella {

namespace {

struct TPrefetched {
    std::u16string url;
    TPixmapHandle pixmap;
    bool finished = false;
    bool taken = false;
};

std::thread worker;
std::mutex guard;
std::condition_variable progress;
// Fixed while the worker runs; pixmap and finished are written by it under the guard.
std::vector<TPrefetched> entries;

TPixmapHandle DecodeQuietly(const std::u16string& url) {
    THeldDiagnostics held;
    TPixmapHandle pixmap;
    try {
        if (TStreamHandle stream = OpenFileForReading(url)) {
            pixmap = LoadPixmap(*stream);
            CloseFileHandle(stream);
        }
    } catch (const std::exception&) {
        pixmap = nullptr;
    }
    return held.Lines() == 0 ? pixmap : nullptr;
}

void Decode(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        TPixmapHandle pixmap = DecodeQuietly(entries[i].url);
        std::lock_guard lock(guard);
        entries[i].pixmap = std::move(pixmap);
        entries[i].finished = true;
        progress.notify_all();
    }
}

} // namespace

void PrefetchPixmaps(std::vector<std::u16string> urls) {
    DropPrefetchedPixmaps();
    for (std::u16string& url : urls)
        entries.push_back({std::move(url), nullptr, false, false});
    worker = std::thread(Decode, entries.size());
}

TPixmapHandle TakePrefetchedPixmap(const std::u16string& url) {
    std::unique_lock lock(guard);
    for (TPrefetched& entry : entries) {
        if (entry.url != url || entry.taken) continue;
        progress.wait(lock, [&entry] { return entry.finished; });
        entry.taken = true;
        return std::move(entry.pixmap);
    }
    return nullptr;
}

void DropPrefetchedPixmaps() {
    if (worker.joinable()) worker.join();
    entries.clear();
}

} // namespace tonvella
