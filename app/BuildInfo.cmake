# Writes the build's version and date header; run at every build, it touches the header only when
# its text changes (on a new day or a new version), so nothing else is rebuilt.
string(TIMESTAMP SULKAN_BUILD_DATE "%Y.%m.%d")
file(CONFIGURE OUTPUT "${OUT}" CONTENT "// Generated at build time: the version and date of this build.
#pragma once

namespace sulkan::build {
constexpr int kVersionMajor = ${VERSION_MAJOR};
constexpr const char* kVersionMinor = \"${VERSION_MINOR}\";
constexpr const char* kBuildDate = \"${SULKAN_BUILD_DATE}\";
}  // namespace sulkan::build
")
