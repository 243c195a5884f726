// The graphics backend of the scene data over the OpenGL context of Graphics3D.
#pragma once

namespace tonvella {

void InstallGlGpu();

} // namespace tonvella
