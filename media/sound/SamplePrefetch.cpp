#include "media/sound/SamplePrefetch.h"

#include "media/Platform.h"
#include "media/sound/SampleLoader.h"

#include <exception>
#include <map>
#include <thread>

namespace tonvella {

namespace {

std::thread worker;
// One sample for each time a url was named; written by the worker until it is joined.
std::map<std::u16string, std::vector<TAudioSampleHandle>> ready;

void Decode(const std::vector<std::u16string>& urls) {
    std::map<std::u16string, bool> failed;
    for (const std::u16string& url : urls) {
        std::vector<TAudioSampleHandle>& samples = ready[url];
        if (failed[url]) continue;
        // A sound named twice (a pair of the same sound) is decoded once; each load still gets
        // memory of its own.
        if (!samples.empty()) {
            samples.push_back(samples.front()->Copy());
            continue;
        }
        THeldDiagnostics held;
        TAudioSampleHandle sample;
        try {
            sample = LoadSampleFromUrl(url);
        } catch (const std::exception&) {
            sample = nullptr;
        }
        if (sample && held.Lines() == 0)
            samples.push_back(std::move(sample));
        else
            failed[url] = true;
    }
}

} // namespace

void PrefetchSamples(std::vector<std::u16string> urls) {
    AwaitPrefetch();
    worker = std::thread([urls = std::move(urls)] { Decode(urls); });
}

void AwaitPrefetch() {
    if (worker.joinable()) worker.join();
}

TAudioSampleHandle TakePrefetchedSample(const std::u16string& url) {
    if (worker.joinable() || ready.empty()) return nullptr;
    auto found = ready.find(url);
    if (found == ready.end() || found->second.empty()) return nullptr;
    TAudioSampleHandle sample = std::move(found->second.back());
    found->second.pop_back();
    return sample;
}

void DropPrefetchedSamples() {
    AwaitPrefetch();
    ready.clear();
}

} // namespace tonvella
