// Which clipboard formats are kept while the clipboard is lent to another program, and how.
// Standard C++ only: formats are plain numbers, with the system's values.
#pragma once

#include <cstdint>
#include <vector>

namespace ombrisk {

namespace clipformat {
inline constexpr uint32_t Text = 1, Bitmap = 2, MetafilePict = 3, Sylk = 4, Dif = 5, Tiff = 6, OemText = 7, Dib = 8,
                          Palette = 9, PenData = 10, Riff = 11, Wave = 12, UnicodeText = 13, EnhMetafile = 14, Hdrop = 15,
                          Locale = 16, DibV5 = 17, OwnerDisplay = 0x80, DspText = 0x81, DspBitmap = 0x82,
                          DspMetafilePict = 0x83, DspEnhMetafile = 0x8E, PrivateFirst = 0x200, PrivateLast = 0x2FF,
                          GdiObjFirst = 0x300, GdiObjLast = 0x3FF, RegisteredFirst = 0xC000, RegisteredLast = 0xFFFF;
}  // namespace clipformat

// How one format's data is kept.
enum class Keeping {
    Memory,        // a global memory block, copied byte for byte
    EnhMetafile,   // an enhanced metafile handle: the metafile is copied
    MetafilePict,  // a memory block holding a metafile handle: both are copied
    Bitmap,        // a bitmap handle: the bitmap is copied
    Palette,       // a palette handle: the palette is copied
    Synthesized,   // not kept: the system makes it again from the kept member of its family
    NotKept,       // not kept: drawn by its owner, a private handle, or a format of unknown kind
};

// One entry per format of formatsInOrder (the clipboard's formats in the order the system lists
// them), saying how it is kept. Some formats convert into one another (the three texts; the
// device bitmap, the two device-independent bitmaps and the palette; the two metafiles), and the
// system lists the conversions it offers after everything that was placed on the clipboard. A
// later member of such a family is therefore left to the conversion when it stands in that tail
// (only family members and the locale after it); one with another format after it was placed on
// the clipboard itself and is kept.
std::vector<Keeping> PlanClipboardKeeping(const std::vector<uint32_t>& formatsInOrder);

// A single format larger than this is not kept: borrowing the clipboard must not exhaust memory.
inline constexpr uint64_t kMaxKeptFormatBytes = uint64_t{256} << 20;

// The bytes a bitmap of that size takes (rows of widthBytes, height rows, planes), or
// UINT64_MAX for a negative figure; compared with kMaxKeptFormatBytes before a copy.
uint64_t BitmapBytes(int64_t widthBytes, int64_t height, int64_t planes);

}  // namespace ombrisk
