#pragma once

// The window's picture, a JPEG among the executable's resources, decoded by the system's own
// picture object (OLE Automation) and drawn stretched to any rectangle.

#include <olectl.h>

#include "process_window/windows/system_library.h"
#include "system/owned.h"
#include "system/windows/win32.h"

namespace frm::win {

inline ULONG ReleaseInterface(IUnknown* object) {
    return object->Release();
}

class Picture {
  public:
    // Nothing is drawn when the resource is missing or cannot be decoded.
    Picture(HINSTANCE instance, int resource);
    void Draw(HDC dc, const RECT& area) const;

  private:
    SystemLibrary automation_{L"oleaut32.dll"};  // the picture object's code lives here
    sys::Owned<IPicture*, &ReleaseInterface> picture_;
};

}  // namespace frm::win
