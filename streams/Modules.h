// Start-up of the stream layer.
#pragma once

namespace tonvella {

// Registers the protocol factories ("buf", "zip", "incbin", the text decoders) once; later calls
// do nothing.
void InitStreamProtocols();

} // namespace tonvella
