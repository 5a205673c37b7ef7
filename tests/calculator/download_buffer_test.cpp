#include <gtest/gtest.h>

#include <malloc.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "calculator/download_buffer.h"

namespace vistrel {
namespace {

std::byte PatternByte(std::size_t position) { return static_cast<std::byte>(position * 7 % 251); }

// Hands out the scripted counts one per read, filling what it delivers with the pattern, and
// records the size of the block each read writes into, as the heap knows it.
struct ScriptedReader {
    DownloadBuffer& buffer;
    std::vector<std::uint32_t> deliveries;
    std::vector<std::size_t> blockSizes;
    std::size_t failAtRead = 0;  // 1-based; 0: no read fails

    bool operator()(std::byte* destination, std::uint32_t size, std::uint32_t& count) {
        const std::size_t read = blockSizes.size() + 1;
        blockSizes.push_back(_msize(const_cast<std::byte*>(buffer.Data())));
        EXPECT_EQ(size, ReadChunkSize);
        EXPECT_EQ(destination, buffer.Data() + buffer.Received());
        EXPECT_GE(buffer.Capacity() - buffer.Received(), ReadChunkSize);
        if (read == failAtRead) return false;
        if (read > deliveries.size()) {
            ADD_FAILURE() << "read again after the body was complete";
            return false;
        }
        count = deliveries[read - 1];
        for (std::uint32_t i = 0; i < count && i < size; ++i) {
            destination[i] = PatternByte(buffer.Received() + i);
        }
        return true;
    }
};

struct GrowthCase {
    std::string name;
    std::vector<std::uint32_t> deliveries;
    std::vector<std::size_t> blockSizes;
    std::uint32_t received;
};

class DownloadBufferGrowthTest : public ::testing::TestWithParam<GrowthCase> {};

TEST_P(DownloadBufferGrowthTest, LeavesOneChunkOfRoomBeforeEveryRead) {
    const GrowthCase& growth = GetParam();
    DownloadBuffer buffer;
    ScriptedReader reader{buffer, growth.deliveries, {}};

    ASSERT_TRUE(ReadBody(buffer, reader));

    EXPECT_EQ(reader.blockSizes, growth.blockSizes);
    EXPECT_EQ(buffer.Received(), growth.received);
    EXPECT_EQ(buffer.Capacity(), growth.blockSizes.back());
    for (std::size_t i = 0; i < buffer.Received(); ++i) {
        if (buffer.Data()[i] != PatternByte(i)) {
            ADD_FAILURE() << "byte " << i << " was not kept across the growth";
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, DownloadBufferGrowthTest,
    ::testing::Values(
        GrowthCase{"Empty", {0}, {50000}, 0}, GrowthCase{"OneByte", {1, 0}, {50000, 50001}, 1},
        GrowthCase{"ExactlyOneChunk", {50000, 0}, {50000, 100000}, 50000},
        GrowthCase{"ShortReadsGrowEveryTime", {3000, 47000, 0}, {50000, 53000, 100000}, 50000},
        GrowthCase{"Body120000", {50000, 50000, 20000, 0}, {50000, 100000, 150000, 170000}, 120000},
        // From 200000 bytes on, a quarter of what was received is more than a chunk: 250000 +
        // 62500, then at 300000 the 12500 bytes left are too few and it grows to 300000 + 75000.
        GrowthCase{"Body300000GrowsByAQuarter",
                   {50000, 50000, 50000, 50000, 50000, 50000, 0},
                   {50000, 100000, 150000, 200000, 250000, 312500, 375000},
                   300000},
        // At 260000 of 312500 a chunk's room is left and the buffer is kept; at 270000 it is not,
        // and it grows to 270000 + 67500.
        GrowthCase{"ShortReadGrowsALargeBufferOnlyWhenAChunkNoLongerFits",
                   {50000, 50000, 50000, 50000, 50000, 10000, 10000, 0},
                   {50000, 100000, 150000, 200000, 250000, 312500, 312500, 337500},
                   270000}),
    [](const auto& info) { return info.param.name; });

TEST(DownloadBufferTest, FailedReadEndsTheDownload) {
    DownloadBuffer buffer;
    ScriptedReader reader{buffer, {50000, 50000, 20000, 0}, {}, 3};

    EXPECT_FALSE(ReadBody(buffer, reader));
    EXPECT_EQ(reader.blockSizes.size(), 3u);
}

struct LimitCase {
    std::string name;
    std::vector<std::uint32_t> deliveries;
    bool taken;
};

class DownloadBufferLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(DownloadBufferLimitTest, TakesABodyUpToTheLargestAllowed) {
    DownloadBuffer buffer(120000);
    ScriptedReader reader{buffer, GetParam().deliveries, {}};

    EXPECT_EQ(ReadBody(buffer, reader), GetParam().taken);
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, DownloadBufferLimitTest,
    ::testing::Values(LimitCase{"OneByteShort", {50000, 50000, 19999, 0}, true},
                      LimitCase{"Exactly", {50000, 50000, 20000, 0}, true},
                      LimitCase{"OneByteOver", {50000, 50000, 20001}, false},
                      LimitCase{"OverInTheLastRead", {50000, 50000, 20000, 1}, false}),
    [](const auto& info) { return info.param.name; });

TEST(DownloadBufferTest, ReadDeliveringMoreThanAskedIsRefused) {
    DownloadBuffer buffer;
    ASSERT_TRUE(buffer.Start());

    EXPECT_FALSE(buffer.Commit(ReadChunkSize + 1));
    EXPECT_EQ(buffer.Received(), 0u);
    EXPECT_EQ(buffer.Capacity(), ReadChunkSize);
}

}  // namespace
}  // namespace vistrel
