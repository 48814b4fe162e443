#include "process_window/windows/picture.h"

#include <cstring>

namespace frm::win {

namespace {

using OwnedStream = sys::Owned<IStream*, &ReleaseInterface>;

// The resource's bytes in a stream of their own, which frees them when it is released.
OwnedStream StreamOf(HINSTANCE instance, int resource) {
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(resource), RT_RCDATA);
    const HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return OwnedStream();
    }
    const DWORD size = SizeofResource(instance, found);
    sys::Owned<HGLOBAL, &::GlobalFree> memory(GlobalAlloc(GMEM_MOVEABLE, size));
    void* copy = memory ? GlobalLock(memory.get()) : nullptr;
    if (copy == nullptr) {
        return OwnedStream();
    }
    std::memcpy(copy, bytes, size);
    GlobalUnlock(memory.get());
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory.get(), TRUE, &stream))) {
        return OwnedStream();
    }
    static_cast<void>(memory.release());  // the stream owns it now
    return OwnedStream(stream);
}

}  // namespace

Picture::Picture(HINSTANCE instance, int resource) {
    using LoadPicture = HRESULT(WINAPI*)(LPSTREAM, LONG, BOOL, REFIID, LPVOID*);
    const auto load = automation_.Get<LoadPicture>("OleLoadPicture");
    const OwnedStream stream = load != nullptr ? StreamOf(instance, resource) : OwnedStream();
    IPicture* picture = nullptr;
    if (stream &&
        SUCCEEDED(load(stream.get(), 0, FALSE, IID_IPicture, reinterpret_cast<void**>(&picture)))) {
        picture_ = sys::Owned<IPicture*, &ReleaseInterface>(picture);
    }
}

void Picture::Draw(HDC dc, const RECT& area) const {
    if (!picture_) {
        return;
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_.get()->get_Width(&width);
    picture_.get()->get_Height(&height);
    // The source in HIMETRIC runs bottom-up: start at its height and go up by it.
    picture_.get()->Render(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                           0, height, width, -height, nullptr);
}

}  // namespace frm::win
