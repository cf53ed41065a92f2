// Every seed of the fuzzer's corpus and every input it ever found a fault with, replayed.
#include "message_harness.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::filesystem::path> Inputs() {
    std::vector<std::filesystem::path> inputs;
    for (const char* folder : {"corpus", "regressions"}) {
        const std::filesystem::path dir = std::filesystem::path(TAVRIMO_FUZZ_DIR) / folder;
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
                inputs.push_back(entry.path());
            }
        }
    }
    return inputs;
}

TEST(FuzzInputs, EveryStoredInputKeepsTheInvariants) {
    const std::vector<std::filesystem::path> inputs = Inputs();
    ASSERT_GE(inputs.size(), 4u);
    for (const std::filesystem::path& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        EXPECT_EQ(RunMessageSequence(bytes.data(), bytes.size()), "") << path;
    }
}

} // namespace
