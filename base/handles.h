#pragma once
#include <windows.h>
#include <shtypes.h>
#include <unknwn.h>

#include <utility>

// Owns one handle and gives it back exactly once, on every path out of the
// function or object that holds it. `Free` is how this kind is given back; it
// may carry state, as an item-id list carries the allocator it came from.
template <class Handle, class Free> class Owned {
  public:
    Owned() = default;
    explicit Owned(Handle h, Free free = Free()) : h_(h), free_(std::move(free)) {}
    Owned(Owned&& other) noexcept
        : h_(std::exchange(other.h_, Handle())), free_(std::move(other.free_)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.h_, Handle()));
            free_ = std::move(other.free_);
        }
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != Handle(); }
    void reset(Handle h = Handle()) {
        if (h_ != Handle())
            free_(h_);
        h_ = h;
    }

  private:
    Handle h_ = Handle();
    Free free_;
};

// Gives a handle back through a fixed system call.
template <auto Function> struct FreeWith {
    template <class Handle> void operator()(Handle h) const { Function(h); }
};

// Gives a handle back through a call chosen at run time.
template <class Function> struct FreeThrough {
    Function function = nullptr;
    template <class Handle> void operator()(Handle h) const { function(h); }
};

using OwnedBitmap = Owned<HBITMAP, FreeWith<DeleteObject>>;
using OwnedFont = Owned<HFONT, FreeWith<DeleteObject>>;
using OwnedBrush = Owned<HBRUSH, FreeWith<DeleteObject>>;
using OwnedPen = Owned<HPEN, FreeWith<DeleteObject>>;
using OwnedMemoryDC = Owned<HDC, FreeWith<DeleteDC>>;
using OwnedIcon = Owned<HICON, FreeWith<DestroyIcon>>;
using OwnedMenu = Owned<HMENU, FreeWith<DestroyMenu>>;
using OwnedWindow = Owned<HWND, FreeWith<DestroyWindow>>;
// A buffer the system allocated for the caller, as FormatMessage does.
using OwnedLocal = Owned<HLOCAL, FreeWith<LocalFree>>;
// A shell item-id list, given back to the COM allocator it came from.
using OwnedIdList = Owned<PIDLIST_ABSOLUTE, FreeThrough<void(WINAPI*)(LPVOID)>>;

// A kernel handle of a file; INVALID_HANDLE_VALUE, which CreateFile gives for
// none, is held as none.
struct CloseKernelHandle {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
class OwnedFile : public Owned<HANDLE, CloseKernelHandle> {
  public:
    explicit OwnedFile(HANDLE h)
        : Owned(h == INVALID_HANDLE_VALUE ? nullptr : h, CloseKernelHandle()) {}
};

// Holds one reference to a COM interface and releases it exactly once.
template <class I> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        reset();
        p_ = std::exchange(other.p_, nullptr);
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    I* get() const { return p_; }
    I* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the out-parameter of CoCreateInstance and QueryInterface.
    void** out() {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    void reset() {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }

  private:
    I* p_ = nullptr;
};
