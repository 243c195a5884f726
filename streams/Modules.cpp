#include "streams/Modules.h"

#include "streams/BufferedStream.h"
#include "streams/RamStream.h"
#include "streams/TextStream.h"
#include "streams/ZipStream.h"

namespace tonvella {

void InitStreamProtocols() {
    // Each construction becomes the new registry head, so the text decoders are asked first and
    // "buf" last. The factories live for the rest of the process.
    static const bool done = [] {
        static TBufferedStreamFactory buffered;
        static TZipStreamFactory zip;
        static TRamStreamFactory incbin;
        static TTextStreamFactory text;
        return true;
    }();
    (void)done;
}

} // namespace tonvella
