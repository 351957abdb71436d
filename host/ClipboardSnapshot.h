// A copy of what the clipboard holds, taken before the clipboard is lent to another program and
// put back afterwards: every format that can be copied, in the clipboard's own order.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "core/ClipboardKeeping.h"
#include "platform/Raii.h"

namespace ombrisk {

class ClipboardSnapshot {
public:
    // Opens the clipboard (waiting up to 1 s for a program that holds it), copies every format
    // that can be kept (asking the owner to render delayed ones), and closes it again. A format
    // over kMaxKeptFormatBytes, one whose copy fails and the kinds PlanClipboardKeeping leaves
    // out are not kept. A clipboard that cannot be opened gives an empty snapshot.
    static ClipboardSnapshot Take();

    ClipboardSnapshot() = default;
    ClipboardSnapshot(ClipboardSnapshot&&) noexcept = default;
    ClipboardSnapshot& operator=(ClipboardSnapshot&&) noexcept = default;

    // Nothing was kept (the clipboard was empty, or held nothing that can be copied).
    bool empty() const noexcept { return kept_.empty(); }
    size_t size() const noexcept { return kept_.size(); }

    // Opens the clipboard with ClipboardDataOwner(owner) (waiting up to 1 s for a program that
    // holds it), empties it and puts every kept
    // format back in its original order; the system owns what it accepted, the rest is freed.
    // The snapshot is empty afterwards. False when the clipboard could not be opened and emptied
    // (it is then left as it is) or a format was refused.
    bool PutBack(HWND owner);

private:
    struct Kept {
        UINT format = 0;
        Keeping how = Keeping::NotKept;
        UniqueHglobal memory;        // Memory
        UniqueEnhMetafile enhanced;  // EnhMetafile
        UniqueMetafile metafile;     // MetafilePict: the metafile; picture holds its extents
        METAFILEPICT picture{};
        UniqueGdiObject gdi;  // Bitmap, Palette
    };

    static bool Copy(HANDLE data, Kept& into);
    static bool Restore(Kept& kept);

    std::vector<Kept> kept_;
};

}  // namespace ombrisk
