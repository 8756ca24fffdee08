#include "seam/Platform.h"

namespace seam {

namespace {
Platform* g_platform = nullptr;
}

Platform& Sys() { return *g_platform; }

void SetPlatform(Platform* platform) { g_platform = platform; }

}  // namespace seam
