#include <gtest/gtest.h>

#include <cstring>
#include <iterator>

#include "common/data_file_packed.h"
#include "common/data_file_reader.h"
#include "support/expect_drav.h"
#include "support/temp_dir.h"

using namespace DRAVCommon;
using QuillmereTest::TempDir;

namespace {

// Builds archive bytes record by record, so tests can write any index they like.
class ArchiveBytes {
public:
    explicit ArchiveBytes(std::uint32_t count) { PutU32(count); }

    ArchiveBytes& Record(std::uint16_t kind, std::uint16_t subkind, const std::string& nameField,
                         std::uint32_t offset, std::uint32_t size) {
        PutU16(kind);
        PutU16(subkind);
        char name[64] = {};
        std::memcpy(name, nameField.data(), std::min<std::size_t>(nameField.size(), 64));
        m_bytes.insert(m_bytes.end(), name, name + 64);
        PutU32(offset);
        PutU32(size);
        return *this;
    }
    ArchiveBytes& Body(const std::string& text) {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(m_bytes.size()); }
    const ByteVector& Bytes() const { return m_bytes; }

private:
    void PutU16(std::uint32_t v) {
        m_bytes.push_back(static_cast<std::uint8_t>(v));
        m_bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    void PutU32(std::uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8) m_bytes.push_back(static_cast<std::uint8_t>(v >> shift));
    }
    ByteVector m_bytes;
};

constexpr std::uint32_t kIndex1 = 4 + 76;
constexpr std::uint32_t kIndex2 = 4 + 2 * 76;

std::shared_ptr<CDataFileFactoryPacked> Open(const TempDir& dir, const ArchiveBytes& archive) {
    return CDataFileFactoryPacked::FromPath(dir.WriteBytes("test.drav", archive.Bytes()));
}

std::string AsText(const ByteVector& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace

TEST(PackedSource, ServesEntriesByKindSubkindAndName) {
    TempDir dir;
    ArchiveBytes archive(2);
    archive.Record(DFK_CHAPTER, DFS_NONE, "world.drav", kIndex2, 5)
        .Record(DFK_ACTOR, DFS_FIG, "world.drav", kIndex2 + 5, 3)
        .Body("hello")
        .Body("fig");
    auto source = Open(dir, archive);
    EXPECT_EQ(AsText(*source->ReadAll(DFK_CHAPTER, DFS_NONE, "world.drav")), "hello");
    EXPECT_EQ(AsText(*source->ReadAll(DFK_ACTOR, DFS_FIG, "world.drav")), "fig");
    EXPECT_DRAV_CODE(source->ReadAll(DFK_ACTOR, DFS_NONE, "world.drav"), 1);
    EXPECT_DRAV_CODE(source->ReadAll(DFK_CHAPTER, DFS_NONE, "World.drav"), 1);
    std::string message = DRAV_MESSAGE(source->Open(DFK_ICON, DFS_NONE, "missing.png"));
    EXPECT_NE(message.find("test.drav"), std::string::npos) << message;
    EXPECT_NE(message.find("missing.png"), std::string::npos) << message;
}

TEST(PackedSource, ChapterConstructorNamesTheArchiveAfterTheChapter) {
    TempDir dir;
    ArchiveBytes archive(1);
    archive.Record(DFK_GLOBAL, DFS_NONE, "a", kIndex1, 1).Body("x");
    dir.WriteBytes("module3.drav", archive.Bytes());
    CDataFileFactoryPacked source(dir.Path().string(), 3);
    EXPECT_EQ(AsText(*source.ReadAll(DFK_GLOBAL, DFS_NONE, "a")), "x");
    EXPECT_DRAV_CODE(CDataFileFactoryPacked(dir.Path().string(), 4), 1);
}

TEST(PackedSource, OpenIsLimitedToTheEntry) {
    TempDir dir;
    ArchiveBytes archive(2);
    archive.Record(DFK_CHAPTER, DFS_NONE, "a.drav", kIndex2, 10)
        .Record(DFK_CHAPTER, DFS_NONE, "b.drav", kIndex2 + 10, 11)
        .Body("<a> 1 </a>")
        .Body(" next_entry");
    auto source = Open(dir, archive);
    auto stream = source->Open(DFK_CHAPTER, DFS_NONE, "a.drav");
    std::string all(std::istreambuf_iterator<char>(*stream), {});
    EXPECT_EQ(all, "<a> 1 </a>");

    CDataFileReader reader(*source, DFK_CHAPTER, DFS_NONE, "a.drav");
    reader.SkipBlock("a");
    EXPECT_TRUE(reader.AtEnd());  // the next entry's words are not seen
    EXPECT_DRAV_CODE(reader.ReadWord(), 1);

    // Each Open is its own stream.
    auto first = source->Open(DFK_CHAPTER, DFS_NONE, "b.drav");
    auto second = source->Open(DFK_CHAPTER, DFS_NONE, "b.drav");
    std::string word;
    *first >> word;
    EXPECT_EQ(word, "next_entry");
    *second >> word;
    EXPECT_EQ(word, "next_entry");
    second->seekg(1);
    *second >> word;
    EXPECT_EQ(word, "next_entry");
}

TEST(PackedSource, EmptyIndexOpensAndFindsNothing) {
    TempDir dir;
    auto source = Open(dir, ArchiveBytes(0));
    EXPECT_TRUE(source->GetIndex().empty());
    EXPECT_DRAV_CODE(source->ReadAll(DFK_CHAPTER, DFS_NONE, "world.drav"), 1);
}

TEST(PackedSource, CountLargerThanTheFileIsRefusedUpFront) {
    TempDir dir;
    for (std::uint32_t count : {2u, 1000u, 56512727u, 0xFFFFFFFFu}) {
        SCOPED_TRACE(count);
        ArchiveBytes archive(count);
        archive.Record(DFK_CHAPTER, DFS_NONE, "a", kIndex1, 0);
        std::string message = DRAV_MESSAGE(Open(dir, archive));
        EXPECT_NE(message.find("test.drav"), std::string::npos) << message;
        EXPECT_DRAV_CODE(Open(dir, archive), 1);
    }
}

TEST(PackedSource, TruncatedArchivesAreCode1) {
    TempDir dir;
    ArchiveBytes full(1);
    full.Record(DFK_CHAPTER, DFS_NONE, "a", kIndex1, 0);
    for (std::uint32_t keep : {0u, 3u, 4u + 75u}) {
        SCOPED_TRACE(keep);
        ByteVector cut(full.Bytes().begin(), full.Bytes().begin() + keep);
        std::string path = dir.WriteBytes("cut.drav", cut);
        EXPECT_DRAV_CODE(CDataFileFactoryPacked::FromPath(path), 1);
    }
    EXPECT_DRAV_CODE(CDataFileFactoryPacked::FromPath(dir / "absent.drav"), 1);
}

TEST(PackedSource, EntriesBeyondTheEnd) {
    TempDir dir;
    ArchiveBytes archive(4);
    std::uint32_t end = kIndex1 + 3 * 76 + 4;
    archive.Record(DFK_CHAPTER, DFS_NONE, "empty_at_end", end, 0)
        .Record(DFK_CHAPTER, DFS_NONE, "past_end", end - 2, 3)
        .Record(DFK_CHAPTER, DFS_NONE, "wraps", 0xFFFFFFF0u, 0x20)
        .Record(DFK_CHAPTER, DFS_NONE, "offset_past_end", end + 1, 0)
        .Body("body");
    ASSERT_EQ(archive.Size(), end);
    auto source = Open(dir, archive);
    EXPECT_TRUE(source->ReadAll(DFK_CHAPTER, DFS_NONE, "empty_at_end")->empty());
    EXPECT_DRAV_CODE(source->ReadAll(DFK_CHAPTER, DFS_NONE, "past_end"), 1);
    EXPECT_DRAV_CODE(source->Open(DFK_CHAPTER, DFS_NONE, "past_end"), 1);
    EXPECT_DRAV_CODE(source->ReadAll(DFK_CHAPTER, DFS_NONE, "wraps"), 1);
    // Offset and size are added in 64 bits: wrapped in 32, they would pass the bound
    // and size a buffer from the entry (4 GB for a size near the top) before any read fails.
    const std::string wrapped = DRAV_MESSAGE(source->ReadAll(DFK_CHAPTER, DFS_NONE, "wraps"));
    EXPECT_NE(wrapped.find("\\wraps lies beyond the end"), std::string::npos) << wrapped;
    EXPECT_DRAV_CODE(source->ReadAll(DFK_CHAPTER, DFS_NONE, "offset_past_end"), 1);
    std::string message = DRAV_MESSAGE(source->ReadAll(DFK_CHAPTER, DFS_NONE, "past_end"));
    EXPECT_NE(message.find("past_end"), std::string::npos) << message;
}

TEST(PackedSource, NamesHoldAtMost63Characters) {
    TempDir dir;
    std::string name63(63, 'n');
    std::string fullField(64, 'f');  // no NUL at all: the 64th byte is ignored
    std::string afterNul = std::string("short") + '\0' + "garbage";
    ArchiveBytes archive(3);
    archive.Record(DFK_CHAPTER, DFS_NONE, name63, kIndex1 + 2 * 76, 1)
        .Record(DFK_CHAPTER, DFS_NONE, fullField, kIndex1 + 2 * 76 + 1, 1)
        .Record(DFK_CHAPTER, DFS_NONE, afterNul, kIndex1 + 2 * 76 + 2, 1)
        .Body("123");
    auto source = Open(dir, archive);
    EXPECT_EQ(AsText(*source->ReadAll(DFK_CHAPTER, DFS_NONE, name63)), "1");
    EXPECT_EQ(AsText(*source->ReadAll(DFK_CHAPTER, DFS_NONE, std::string(63, 'f'))), "2");
    EXPECT_DRAV_CODE(source->ReadAll(DFK_CHAPTER, DFS_NONE, fullField), 1);
    EXPECT_EQ(AsText(*source->ReadAll(DFK_CHAPTER, DFS_NONE, "short")), "3");
}

TEST(PackedSource, FirstOfDuplicateEntriesIsServed) {
    TempDir dir;
    ArchiveBytes archive(2);
    archive.Record(DFK_ITEM, DFS_TEX, "dup", kIndex2, 5)
        .Record(DFK_ITEM, DFS_TEX, "dup", kIndex2 + 5, 6)
        .Body("first")
        .Body("second");
    auto source = Open(dir, archive);
    EXPECT_EQ(AsText(*source->ReadAll(DFK_ITEM, DFS_TEX, "dup")), "first");
    EXPECT_EQ(&source->FindEntry(DFK_ITEM, DFS_TEX, "dup"), &source->GetIndex()[0]);
}

TEST(PackedSource, ArchiveShrunkAfterOpeningIsCode1) {
    TempDir dir;
    ArchiveBytes archive(1);
    archive.Record(DFK_CHAPTER, DFS_NONE, "a", kIndex1, 4).Body("data");
    auto source = Open(dir, archive);
    ByteVector shorter(archive.Bytes().begin(), archive.Bytes().end() - 2);
    dir.WriteBytes("test.drav", shorter);
    EXPECT_DRAV_CODE(source->ReadAll(DFK_CHAPTER, DFS_NONE, "a"), 1);
    std::filesystem::remove(dir / "test.drav");
    EXPECT_DRAV_CODE(source->Open(DFK_CHAPTER, DFS_NONE, "a"), 1);
}

TEST(PackedSource, AFolderIsNotAnArchive) {
    TempDir dir;
    dir.WriteFile("module1.drav/inside", "");
    EXPECT_DRAV_CODE(CDataFileFactoryPacked(dir.Path().string(), 1), 1);
}
