// Runs a harness over every file of the folders and files it is given, as a
// plain program: the corpus replay of the test suite, where no fuzzer is built.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int Replay(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    // A copy of its own, so that a read past the input's end is caught.
    const std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
    return LLVMFuzzerTestOneInput(input.data(), input.size());
}

} // namespace

int main(int argc, char** argv)
{
    std::size_t inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    Replay(entry.path());
                    ++inputs;
                }
            }
        } else {
            Replay(arg);
            ++inputs;
        }
    }
    std::printf("%zu inputs replayed\n", inputs);
    // An empty corpus would make the test pass without testing anything.
    return inputs > 0 ? 0 : 1;
}
