// Tests of CMemFile against a byte vector model, and with a caller's buffer.
#include "corekit80/platform/CMemFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

namespace {

// Random reads, writes, seeks and length changes against a vector with a position.
TEST(CMemFile, BehavesLikeAByteVector)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> size(0, 3000);
    CMemFile file(64);
    std::vector<unsigned char> model, data;
    size_t pos = 0;
    for (int n = 0; n < 3000; ++n) {
        data.resize(size(rng));
        switch (rng() % 4) {
        case 0:
            for (auto& b : data)
                b = static_cast<unsigned char>(rng());
            file.Write(data.data(), unsigned(data.size()));
            if (!data.empty()) {
                model.resize(std::max(model.size(), pos + data.size()));
                std::copy(data.begin(), data.end(), model.begin() + pos);
                pos += data.size();
            }
            break;
        case 1: {
            size_t want = pos < model.size() ? std::min(data.size(), model.size() - pos) : 0;
            ASSERT_EQ(file.Read(data.data(), unsigned(data.size())), want);
            ASSERT_TRUE(std::equal(data.begin(), data.begin() + want, model.begin() + pos));
            pos += want;
            break;
        }
        case 2: {
            int64_t offset = int64_t(data.size()) - 1500;
            unsigned from = unsigned(rng() % 3);
            int64_t to = offset + int64_t(from == CFile::begin ? 0 : from == CFile::current ? pos : model.size());
            if (to < 0) {
                EXPECT_THROW(file.Seek(offset, from), CFileException);
            } else {
                pos = size_t(to);
                ASSERT_EQ(file.Seek(offset, from), pos);
            }
            break;
        }
        case 3:
            model.resize(data.size());
            file.SetLength(model.size());
            pos = std::min(pos, model.size());
            break;
        }
        ASSERT_EQ(file.GetLength(), model.size());
        ASSERT_EQ(file.GetPosition(), pos);
        ASSERT_TRUE(model.empty() || std::memcmp(file.GetData(), model.data(), model.size()) == 0);
    }
}

TEST(CMemFile, CallersBuffer)
{
    unsigned char fixed[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    {
        CMemFile file(fixed, sizeof fixed);
        file.Seek(3, CFile::begin);
        file.Write("xyz", 3);
        EXPECT_EQ(fixed[3], 'x');
        EXPECT_THROW(file.Write("abcd", 4), CFileException);  // a fixed buffer does not grow
    }  // and stays the caller's

    auto* owned = static_cast<unsigned char*>(std::malloc(4));
    std::memcpy(owned, "abcd", 4);
    CMemFile file(owned, 4, 16);
    file.SeekToEnd();
    file.Write("efgh", 4);
    unsigned char* taken = file.Detach();
    EXPECT_EQ(std::memcmp(taken, "abcdefgh", 8), 0);
    EXPECT_EQ(file.GetLength(), 0u);
    std::free(taken);
}

} // namespace
