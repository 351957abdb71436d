#include "core/ClipboardKeeping.h"

#include <cstddef>
#include <limits>

namespace ombrisk {

namespace {

using namespace clipformat;

// The kind of handle a format's data is, before looking at the other formats.
Keeping KindOf(uint32_t format) {
    switch (format) {
    case Text:
    case Sylk:
    case Dif:
    case Tiff:
    case OemText:
    case Dib:
    case PenData:
    case Riff:
    case Wave:
    case UnicodeText:
    case Hdrop:
    case Locale:
    case DibV5:
    case DspText: return Keeping::Memory;
    case Bitmap:
    case DspBitmap: return Keeping::Bitmap;
    case MetafilePict:
    case DspMetafilePict: return Keeping::MetafilePict;
    case EnhMetafile:
    case DspEnhMetafile: return Keeping::EnhMetafile;
    case Palette: return Keeping::Palette;
    default: break;
    }
    // Registered formats hold global memory; owner-drawn, private and GDI-object formats, and
    // numbers the system does not define, hold something that cannot be copied blindly.
    if (format >= RegisteredFirst && format <= RegisteredLast) return Keeping::Memory;
    return Keeping::NotKept;
}

// Formats the system converts into one another: 1 text, 2 pictures, 3 metafiles, 0 none.
int FamilyOf(uint32_t format) {
    switch (format) {
    case Text:
    case OemText:
    case UnicodeText: return 1;
    case Bitmap:
    case Dib:
    case DibV5:
    case Palette: return 2;
    case MetafilePict:
    case EnhMetafile: return 3;
    default: return 0;
    }
}

}  // namespace

std::vector<Keeping> PlanClipboardKeeping(const std::vector<uint32_t>& formats) {
    // The tail where conversions can stand: family members and the locale the system adds for text.
    std::size_t tail = formats.size();
    while (tail > 0 && (FamilyOf(formats[tail - 1]) != 0 || formats[tail - 1] == Locale)) --tail;

    std::vector<Keeping> plan;
    plan.reserve(formats.size());
    for (std::size_t i = 0; i < formats.size(); ++i) {
        const uint32_t f = formats[i];
        const int family = FamilyOf(f);
        bool repeated = false, familyBefore = false;
        for (std::size_t j = 0; j < i; ++j) {
            repeated = repeated || formats[j] == f;
            familyBefore = familyBefore || (family != 0 && FamilyOf(formats[j]) == family);
        }
        if (repeated) plan.push_back(Keeping::NotKept);  // listed twice: put back once
        else if (familyBefore && i >= tail) plan.push_back(Keeping::Synthesized);
        else plan.push_back(KindOf(f));
    }
    return plan;
}

uint64_t BitmapBytes(int64_t widthBytes, int64_t height, int64_t planes) {
    constexpr uint64_t kNone = std::numeric_limits<uint64_t>::max();
    if (widthBytes < 0 || height < 0 || planes < 0) return kNone;
    // Each factor fits 32 bits in practice; saturate rather than wrap for anything larger.
    const uint64_t w = static_cast<uint64_t>(widthBytes), h = static_cast<uint64_t>(height),
                   p = static_cast<uint64_t>(planes);
    if (h != 0 && w > kNone / h) return kNone;
    const uint64_t rows = w * h;
    if (p != 0 && rows > kNone / p) return kNone;
    return rows * p;
}

}  // namespace ombrisk
