#pragma once
#include <windows.h>
#include <unknwn.h>
#include <utility>

// Owners for the few GDI, menu and COM handles the program holds, so that every
// path out of a function gives them back.
template <class Handle, BOOL(WINAPI* Free)(Handle)> class Owned {
  public:
    Owned() = default;
    explicit Owned(Handle h) : h_(h) {}
    Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        reset(std::exchange(other.h_, nullptr));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(Handle h = nullptr) {
        if (h_)
            Free(h_);
        h_ = h;
    }

  private:
    Handle h_ = nullptr;
};

inline BOOL WINAPI deleteGdiObject(HGDIOBJ h) {
    return DeleteObject(h);
}
template <class T> BOOL WINAPI deleteGdi(T h) {
    return deleteGdiObject(h);
}

using OwnedBitmap = Owned<HBITMAP, deleteGdi<HBITMAP>>;
using OwnedFont = Owned<HFONT, deleteGdi<HFONT>>;
using OwnedBrush = Owned<HBRUSH, deleteGdi<HBRUSH>>;
using OwnedIcon = Owned<HICON, DestroyIcon>;
using OwnedMenu = Owned<HMENU, DestroyMenu>;
using OwnedWindow = Owned<HWND, DestroyWindow>;

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
