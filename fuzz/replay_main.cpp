// Runs a fuzz target once per input without libFuzzer: each argument is a file, or a
// folder whose files are run in name order. A missing folder is passed over (a target
// without regression inputs has none); running nothing at all is a failure.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void Run(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

}  // namespace

int main(int argc, char** argv)
{
    std::size_t runs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        std::vector<std::filesystem::path> inputs;
        if (std::filesystem::is_directory(path)) {
            for (const auto& item : std::filesystem::directory_iterator(path))
                if (item.is_regular_file()) inputs.push_back(item.path());
            std::sort(inputs.begin(), inputs.end());
        } else if (std::filesystem::exists(path)) {
            inputs.push_back(path);
        }
        for (const auto& input : inputs) Run(input);
        runs += inputs.size();
    }
    std::printf("%zu inputs run\n", runs);
    return runs > 0 ? 0 : 1;
}
