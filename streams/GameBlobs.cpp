#include "streams/Embedded.h"

// Bounds of the blobs placed by GameBlobs.S.
extern "C" {
extern const unsigned char tonvella_blob_archive_begin[];
extern const unsigned char tonvella_blob_archive_end[];
extern const unsigned char tonvella_blob_translation_begin[];
extern const unsigned char tonvella_blob_translation_end[];
}

namespace tonvella {

void RegisterGameBlobs() {
    RegisterEmbeddedResource(u"../Translator/translation.ini", tonvella_blob_translation_begin,
                             int(tonvella_blob_translation_end - tonvella_blob_translation_begin));
    RegisterEmbeddedResource(u"tt.zip", tonvella_blob_archive_begin,
                             int(tonvella_blob_archive_end - tonvella_blob_archive_begin));
}

} // namespace tonvella
