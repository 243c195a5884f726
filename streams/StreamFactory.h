// Protocol handlers. Constructing a factory puts it at the head of the process-wide registry, so
// the newest factory is asked first; factories are never removed.
#pragma once

#include "streams/Stream.h"

#include <string>

namespace tonvella {

class TStreamFactory {
public:
    TStreamFactory();
    virtual ~TStreamFactory() = default;
    TStreamFactory(const TStreamFactory&) = delete;
    TStreamFactory& operator=(const TStreamFactory&) = delete;

    // A stream, or none when this factory does not handle the request. `protocol` is already
    // lower-cased; `path` is everything after the first "::".
    virtual TStreamHandle CreateStream(const std::u16string& url, const std::u16string& protocol,
                                       const std::u16string& path, int readable, int writeable) = 0;

    TStreamFactory* _succ;
};

TStreamFactory* FirstStreamFactory();

// ASCII A-Z and the accented Latin-1 capitals to small letters; other characters unchanged. Not
// LowerAscii: protocol names fold the Latin-1 capitals too.
std::u16string LowerProtocol(std::u16string_view text);

} // namespace tonvella
