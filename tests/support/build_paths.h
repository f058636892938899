#pragma once

// Where this build tree keeps the programs the tests run and the files they read. They are
// compiled into one small unit of the build's own rather than passed to every test unit,
// so that the test units read the same in every checkout and ccache serves them across
// checkouts.
namespace build_paths {

extern const char* const kCli;  // orvconv-cli
extern const char* const kOrvpack;  // orvpack
extern const char* const kThumbnailer;  // orvconv-thumbnailer
extern const char* const kBinDir;  // the folder of the programs
extern const char* const kSampleDir;  // the sample the build writes
extern const char* const kPackagingDir;  // packaging/ of the source tree

}  // namespace build_paths
