#include "host/ClipboardSnapshot.h"

#include "chores/Clipboard.h"
#include "platform/Wine.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

namespace ombrisk {

namespace {

// Taking the user's clipboard and putting it back are worth waiting for: a clipboard history or
// manager holds the clipboard for a moment (100-300 ms) after every change.
constexpr DWORD kPatienceMs = 1000;

bool CopyMemoryBlock(HANDLE data, UniqueHglobal& out) {
    const SIZE_T size = GlobalSize(data);
    if (size == 0 || size > kMaxKeptFormatBytes) return false;
    GlobalLockGuard source(data);
    if (!source.get()) return false;
    UniqueHglobal copy(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!copy) return false;
    {
        GlobalLockGuard dest(copy.get());
        if (!dest.get()) return false;
        std::memcpy(dest.get(), source.get(), size);
    }
    out = std::move(copy);
    return true;
}

bool CopyEnhMetafile(HANDLE data, UniqueEnhMetafile& out) {
    auto emf = static_cast<HENHMETAFILE>(data);
    const UINT bytes = GetEnhMetaFileBits(emf, 0, nullptr);
    if (bytes == 0 || bytes > kMaxKeptFormatBytes) return false;
    out.reset(CopyEnhMetaFileW(emf, nullptr));
    return static_cast<bool>(out);
}

// The block holds a METAFILEPICT whose metafile handle the clipboard owns as well.
bool CopyMetafilePict(HANDLE data, METAFILEPICT& picture, UniqueMetafile& out) {
    if (GlobalSize(data) < sizeof(METAFILEPICT)) return false;
    GlobalLockGuard lock(data);
    const auto* source = static_cast<const METAFILEPICT*>(lock.get());
    if (!source) return false;
    const UINT bytes = GetMetaFileBitsEx(source->hMF, 0, nullptr);
    if (bytes == 0 || bytes > kMaxKeptFormatBytes) return false;
    out.reset(CopyMetaFileW(source->hMF, nullptr));
    if (!out) return false;
    picture = *source;
    picture.hMF = nullptr;
    return true;
}

bool CopyBitmap(HANDLE data, UniqueGdiObject& out) {
    BITMAP bm{};
    if (GetObjectW(data, sizeof(bm), &bm) == 0) return false;
    const int64_t rows = bm.bmHeight < 0 ? -int64_t{bm.bmHeight} : int64_t{bm.bmHeight};  // top-down: negative
    if (BitmapBytes(bm.bmWidthBytes, rows, bm.bmPlanes) > kMaxKeptFormatBytes) return false;
    out.reset(CopyImage(data, IMAGE_BITMAP, 0, 0, 0));
    return static_cast<bool>(out);
}

bool CopyPalette(HANDLE data, UniqueGdiObject& out) {
    auto palette = static_cast<HPALETTE>(data);
    WORD count = 0;
    if (GetObjectW(palette, sizeof(count), &count) != sizeof(count) || count == 0) return false;
    std::vector<unsigned char> buffer(offsetof(LOGPALETTE, palPalEntry) + count * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(buffer.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = count;
    if (GetPaletteEntries(palette, 0, count, logical->palPalEntry) != count) return false;
    out.reset(CreatePalette(logical));
    return static_cast<bool>(out);
}

}  // namespace

ClipboardSnapshot ClipboardSnapshot::Take() {
    ClipboardSnapshot snapshot;
    std::optional<ClipboardOpen> clipboard;
    if (!OpenClipboardSoon(nullptr, clipboard, kPatienceMs)) return snapshot;
    std::vector<uint32_t> formats;
    for (UINT f = EnumClipboardFormats(0); f != 0; f = EnumClipboardFormats(f)) formats.push_back(f);
    const std::vector<Keeping> plan = PlanClipboardKeeping(formats);
    for (size_t i = 0; i < formats.size(); ++i) {
        if (plan[i] == Keeping::Synthesized || plan[i] == Keeping::NotKept) continue;
        // A delayed-rendered format is rendered by its owner now; one it cannot render is not kept.
        HANDLE data = GetClipboardData(formats[i]);
        if (!data) continue;
        Kept kept;
        kept.format = formats[i];
        kept.how = plan[i];
        if (Copy(data, kept)) snapshot.kept_.push_back(std::move(kept));
    }
    return snapshot;
}

bool ClipboardSnapshot::Copy(HANDLE data, Kept& into) {
    switch (into.how) {
    case Keeping::Memory: return CopyMemoryBlock(data, into.memory);
    case Keeping::EnhMetafile: return CopyEnhMetafile(data, into.enhanced);
    case Keeping::MetafilePict: return CopyMetafilePict(data, into.picture, into.metafile);
    case Keeping::Bitmap: return CopyBitmap(data, into.gdi);
    case Keeping::Palette: return CopyPalette(data, into.gdi);
    default: return false;
    }
}

// Hands one kept format to the clipboard; what the system accepts is no longer ours to free.
bool ClipboardSnapshot::Restore(Kept& kept) {
    switch (kept.how) {
    case Keeping::Memory:
        if (!SetClipboardData(kept.format, kept.memory.get())) return false;
        kept.memory.release();
        return true;
    case Keeping::EnhMetafile:
        if (!SetClipboardData(kept.format, kept.enhanced.get())) return false;
        kept.enhanced.release();
        return true;
    case Keeping::MetafilePict: {
        UniqueHglobal block(GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT)));
        if (!block) return false;
        {
            GlobalLockGuard lock(block.get());
            auto* picture = static_cast<METAFILEPICT*>(lock.get());
            if (!picture) return false;
            *picture = kept.picture;
            picture->hMF = kept.metafile.get();
        }
        if (!SetClipboardData(kept.format, block.get())) return false;
        block.release();
        kept.metafile.release();
        return true;
    }
    case Keeping::Bitmap:
    case Keeping::Palette:
        if (!SetClipboardData(kept.format, kept.gdi.get())) return false;
        kept.gdi.release();
        return true;
    default: return false;
    }
}

bool ClipboardSnapshot::PutBack(HWND owner) {
    std::vector<Kept> kept = std::exchange(kept_, {});
    std::optional<ClipboardOpen> clipboard;
    if (!OpenClipboardSoon(ClipboardDataOwner(owner), clipboard, kPatienceMs)) return false;
    if (!EmptyClipboard()) return false;
    bool all = true;
    for (Kept& k : kept) all = Restore(k) && all;
    return all;
}

}  // namespace ombrisk
