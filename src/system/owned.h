#pragma once

#include <utility>

#include "system/system.h"

namespace sys {

// Owns one system resource and releases it when it goes out of scope, so that every return path
// of the routine that obtained it gives it back: the seam's handles, item-id lists and libraries,
// and, in the Windows bindings, the system's own handles and GDI objects. A value of 0 (null) is
// "none" and is never released.
template <typename Id, auto Release>
class Owned {
  public:
    Owned() = default;
    explicit Owned(Id id) noexcept : id_(id) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : id_(std::exchange(other.id_, Id{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset();
            id_ = std::exchange(other.id_, Id{});
        }
        return *this;
    }
    ~Owned() { reset(); }

    Id get() const noexcept { return id_; }
    explicit operator bool() const noexcept { return id_ != Id{}; }
    // Hands the resource over to the caller, who then releases it.
    [[nodiscard]] Id release() noexcept { return std::exchange(id_, Id{}); }
    void reset() noexcept {
        if (id_ != Id{}) {
            static_cast<void>(Release(std::exchange(id_, Id{})));
        }
    }

  private:
    Id id_{};
};

using OwnedHandle = Owned<Handle, &CloseHandle>;
using OwnedLibrary = Owned<Module, &FreeLibrary>;
using OwnedItemIdList = Owned<ItemIdList, &CoTaskMemFree>;

}  // namespace sys
