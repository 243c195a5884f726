// Blobs compiled into the executable, published by name for the "incbin" protocol.
#pragma once

#include <string>

namespace tonvella {

// 1 when added, 0 when the name is taken already (the first blob stays in use).
int RegisterEmbeddedResource(const std::u16string& name, const void* data, int size);
// Names match exactly (letter case included). None / 0 when absent.
const void* EmbeddedResourcePointer(const std::u16string& name);
int EmbeddedResourceSize(const std::u16string& name);

// The game's two blobs: "tt.zip" (the asset archive) and "../Translator/translation.ini".
void RegisterGameBlobs();

} // namespace tonvella
