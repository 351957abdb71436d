#include "core/ClipboardKeeping.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

namespace ombrisk {
namespace {

using namespace clipformat;
using K = Keeping;

struct Case {
    const char* what;
    std::vector<uint32_t> formats;
    std::vector<Keeping> expected;
};

TEST(PlanClipboardKeepingTest, KeepsEveryMemoryFormatAndTheHandleKindsItCanCopy) {
    const uint32_t html = 0xC0F1, rtf = 0xC0A2, shellIds = 0xC00E;
    const Case cases[] = {
        {"nothing on the clipboard", {}, {}},
        {"files copied in a file browser", {shellIds, Hdrop, 0xC013, Locale}, {K::Memory, K::Memory, K::Memory, K::Memory}},
        {"rich text with HTML",
         {rtf, html, UnicodeText, Locale, Text, OemText},
         {K::Memory, K::Memory, K::Memory, K::Memory, K::Synthesized, K::Synthesized}},
        {"a locale alone", {Locale}, {K::Memory}},
        {"every predefined memory format",
         {Sylk, Dif, Tiff, PenData, Riff, Wave, DspText},
         {K::Memory, K::Memory, K::Memory, K::Memory, K::Memory, K::Memory, K::Memory}},
        {"the highest registered number", {RegisteredLast, RegisteredFirst}, {K::Memory, K::Memory}},
        {"metafiles and their display forms",
         {EnhMetafile, DspEnhMetafile, DspMetafilePict, DspBitmap},
         {K::EnhMetafile, K::EnhMetafile, K::MetafilePict, K::Bitmap}},
        {"owner-drawn, private, GDI-object and undefined numbers",
         {OwnerDisplay, PrivateFirst, PrivateLast, GdiObjFirst, GdiObjLast, 0, 18, 0x7F, 0x84, 0x1FF, 0x400, 0xBFFF},
         {K::NotKept, K::NotKept, K::NotKept, K::NotKept, K::NotKept, K::NotKept, K::NotKept, K::NotKept, K::NotKept,
          K::NotKept, K::NotKept, K::NotKept}},
        {"a format listed twice goes back once", {html, UnicodeText, html}, {K::Memory, K::Memory, K::NotKept}},
    };
    for (const Case& c : cases) EXPECT_EQ(PlanClipboardKeeping(c.formats), c.expected) << c.what;
}

// The system lists its conversions after everything placed on the clipboard: a later member of
// a family is left to the conversion only in that tail, so the list comes back as it was.
TEST(PlanClipboardKeepingTest, LeavesTheConversionsInTheTailToTheSystem) {
    const uint32_t png = 0xC1A0;
    const Case cases[] = {
        {"Unicode text with the 8-bit texts made from it",
         {UnicodeText, Locale, Text, OemText},
         {K::Memory, K::Memory, K::Synthesized, K::Synthesized}},
        {"8-bit text placed first: the others are made from it",
         {Text, Locale, OemText, UnicodeText},
         {K::Memory, K::Memory, K::Synthesized, K::Synthesized}},
        {"a DIB with the device bitmap and version 5 made from it",
         {Dib, Bitmap, DibV5},
         {K::Memory, K::Synthesized, K::Synthesized}},
        {"a device bitmap placed alone: copied, the DIBs are made from it",
         {Bitmap, Dib, DibV5},
         {K::Bitmap, K::Synthesized, K::Synthesized}},
        {"a device bitmap with its palette", {Bitmap, Palette, Dib}, {K::Bitmap, K::Synthesized, K::Synthesized}},
        {"a palette placed first", {Palette, Bitmap}, {K::Palette, K::Synthesized}},
        {"an enhanced metafile: the picture is made from it", {EnhMetafile, MetafilePict}, {K::EnhMetafile, K::Synthesized}},
        {"a metafile picture placed first", {MetafilePict, EnhMetafile}, {K::MetafilePict, K::Synthesized}},
        {"text, files, an image and a private format, with the system's tail",
         {UnicodeText, Hdrop, Dib, 0xC035, Locale, Text, OemText, Bitmap, DibV5},
         {K::Memory, K::Memory, K::Memory, K::Memory, K::Memory, K::Synthesized, K::Synthesized, K::Synthesized,
          K::Synthesized}},
        {"an image with alpha placed before its plain DIB and a PNG: both bitmaps were placed",
         {DibV5, Dib, png, Bitmap},
         {K::Memory, K::Memory, K::Memory, K::Synthesized}},
        {"8-bit and Unicode text both placed before files",
         {Text, UnicodeText, Hdrop, Locale, OemText},
         {K::Memory, K::Memory, K::Memory, K::Memory, K::Synthesized}},
        {"two families, each with its first member kept",
         {EnhMetafile, Dib, MetafilePict, Bitmap},
         {K::EnhMetafile, K::Memory, K::Synthesized, K::Synthesized}},
    };
    for (const Case& c : cases) EXPECT_EQ(PlanClipboardKeeping(c.formats), c.expected) << c.what;
}

TEST(BitmapBytesTest, MultipliesWithoutWrappingAndRejectsNegativeFigures) {
    constexpr uint64_t kNone = std::numeric_limits<uint64_t>::max();
    EXPECT_EQ(BitmapBytes(4, 2, 1), 8u);
    EXPECT_EQ(BitmapBytes(15360, 2160, 1), 33177600u);  // a 3840 x 2160 screen at 32 bits
    EXPECT_EQ(BitmapBytes(0, 100, 1), 0u);
    EXPECT_GT(BitmapBytes(65536, 4097, 1), kMaxKeptFormatBytes);
    EXPECT_LE(BitmapBytes(65536, 4096, 1), kMaxKeptFormatBytes);
    EXPECT_EQ(BitmapBytes(int64_t{1} << 40, int64_t{1} << 40, 1), kNone);
    EXPECT_EQ(BitmapBytes(int64_t{1} << 32, int64_t{1} << 31, int64_t{1} << 2), kNone);
    EXPECT_EQ(BitmapBytes(-4, 2, 1), kNone);
    EXPECT_EQ(BitmapBytes(4, -2, 1), kNone);
    EXPECT_EQ(BitmapBytes(4, 2, -1), kNone);
}

}  // namespace
}  // namespace ombrisk
