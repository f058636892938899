#include <gtest/gtest.h>

#include "engine/read/archive.h"
#include "tools/pack_writer.h"

using namespace orv;

namespace {

ArchiveEntry Named(std::string_view name)
{
    tools::Bytes record;
    tools::AppendRecord(record, name, 0x11223344, 0x0A0B0C0D);
    return ParseArchiveEntry(record.data());
}

}  // namespace

TEST(ArchiveEntry, RecordFieldsAreLittleEndianAndTheNameEndsAtItsNul)
{
    const ArchiveEntry entry = Named("title.bin");
    EXPECT_EQ(entry.Name(), "title.bin");
    EXPECT_EQ(entry.offset, 0x11223344u);
    EXPECT_EQ(entry.size, 0x0A0B0C0Du);
    // A name that fills all sixteen bytes has no NUL.
    EXPECT_EQ(Named("0123456789abcdef").Name(), "0123456789abcdef");
}

TEST(ArchiveEntry, KindByTheLastThreeBytesCaseSensitive)
{
    EXPECT_EQ(KindOf(Named("voice01.pcm")), EntryKind::Sound);
    EXPECT_EQ(KindOf(Named("pcm")), EntryKind::Sound);
    EXPECT_EQ(KindOf(Named("walk.ani")), EntryKind::Animation);
    EXPECT_EQ(KindOf(Named("xani")), EntryKind::Animation);
    EXPECT_EQ(KindOf(Named("bg01.cg")), EntryKind::Picture);
    EXPECT_EQ(KindOf(Named(".cg")), EntryKind::Picture);
    for (const char* other : {"voice.PCM", "bg.CG", "walk.ANI", "bgcg", "cg", "", "a.txt"})
        EXPECT_EQ(KindOf(Named(other)), EntryKind::Other) << other;
}

TEST(InputFiles, KindByLowerCasedExtension)
{
    EXPECT_EQ(InputKindOf("data01.dat"), InputKind::Archive);
    EXPECT_EQ(InputKindOf("walk.ani"), InputKind::Animation);
    EXPECT_EQ(InputKindOf("data01.dat.bak"), InputKind::Unsupported);
    EXPECT_EQ(InputKindOf("dat"), InputKind::Unsupported);
}
