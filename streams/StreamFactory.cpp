#include "streams/StreamFactory.h"

namespace tonvella {

namespace {
TStreamFactory* registry_head = nullptr;
}

TStreamFactory::TStreamFactory() : _succ(registry_head) {
    registry_head = this;
}

TStreamFactory* FirstStreamFactory() {
    return registry_head;
}

std::u16string LowerProtocol(std::u16string_view text) {
    std::u16string lower(text);
    for (auto& c : lower) {
        if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) c += 0x20;
    }
    return lower;
}

} // namespace tonvella
