// A main for the fuzz targets where libFuzzer is not there (GCC): replays
// every file of the corpus folders given, then feeds the target random
// mutations of them (a fixed seed, so a run can be repeated) until the time
// is up. Takes libFuzzer's way of being called:
//   fuzz_TARGET [-max_total_time=SECONDS] [-seed=N] FOLDER...
// A finding shows as a crash or a sanitizer report; the input is written to
// crash-input before each run, so the last one is what crashed.
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

using TInput = std::vector<std::uint8_t>;

void Run(const TInput& input)
{
    std::ofstream("crash-input", std::ios::binary)
        .write(reinterpret_cast<const char*>(input.data()), static_cast<std::streamsize>(input.size()));
    LLVMFuzzerTestOneInput(input.data(), input.size());
}

TInput Mutate(const std::vector<TInput>& corpus, std::mt19937_64& random)
{
    TInput input = corpus[random() % corpus.size()];
    const int changes = 1 + static_cast<int>(random() % 8);
    for (int k = 0; k < changes; ++k) {
        const std::size_t at = input.empty() ? 0 : random() % input.size();
        switch (random() % 6) {
            case 0:  // flip a bit
                if (!input.empty())
                    input[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
                break;
            case 1:  // set a byte
                if (!input.empty())
                    input[at] = static_cast<std::uint8_t>(random());
                break;
            case 2:  // insert a byte
                input.insert(input.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::uint8_t>(random()));
                break;
            case 3:  // drop a run
                if (!input.empty())
                    input.erase(
                        input.begin() + static_cast<std::ptrdiff_t>(at),
                        input.begin() + static_cast<std::ptrdiff_t>(std::min(input.size(), at + 1 + random() % 16)));
                break;
            case 4: {  // copy in a run of another input
                const TInput& other = corpus[random() % corpus.size()];
                if (!other.empty()) {
                    const std::size_t from = random() % other.size();
                    const std::size_t length = std::min<std::size_t>(other.size() - from, 1 + random() % 64);
                    input.insert(input.begin() + static_cast<std::ptrdiff_t>(at),
                                 other.begin() + static_cast<std::ptrdiff_t>(from),
                                 other.begin() + static_cast<std::ptrdiff_t>(from + length));
                }
                break;
            }
            default: {  // a digit or a JSON character
                static const char chars[] = "0123456789-.eE[]{}\",:nul\\";
                if (!input.empty())
                    input[at] = static_cast<std::uint8_t>(chars[random() % (sizeof chars - 1)]);
                break;
            }
        }
    }
    return input;
}

}  // namespace

int main(int argc, char** argv)
{
    double seconds = 10;
    std::uint64_t seed = 1;
    std::vector<TInput> corpus;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("-max_total_time=", 0) == 0) {
            seconds = std::stod(arg.substr(16));
        } else if (arg.rfind("-seed=", 0) == 0) {
            seed = std::stoull(arg.substr(6));
        } else if (arg.rfind("-", 0) == 0) {
            continue;  // other libFuzzer options
        } else if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg)) {
                std::ifstream in(entry.path(), std::ios::binary);
                corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            }
        } else {
            std::ifstream in(arg, std::ios::binary);
            corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    if (corpus.empty())
        corpus.emplace_back();
    for (const TInput& input : corpus)
        Run(input);
    std::mt19937_64 random(seed);
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long runs = static_cast<long>(corpus.size());
    while (std::chrono::steady_clock::now() < end) {
        Run(Mutate(corpus, random));
        ++runs;
    }
    std::filesystem::remove("crash-input");
    std::cout << argv[0] << ": " << runs << " inputs in " << seconds << " s, no finding\n";
    return 0;
}
