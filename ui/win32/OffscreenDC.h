// COffscreenDC: a drawing context that collects one paint in a bitmap and
// copies it to its target in one go, so controls do not flicker. With it
// live the small RAII wrappers for GDI objects and their selection.
#pragma once
#include <windows.h>

namespace tarnelix {

// Owns one GDI object (pen, brush, font, bitmap) and deletes it.
template <typename T>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(T handle) : handle(handle) {}
    ~GdiObject() { Reset(); }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    GdiObject(GdiObject&& other) noexcept : handle(other.Release()) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    T Get() const { return handle; }
    explicit operator bool() const { return handle != nullptr; }
    T Release() {
        T released = handle;
        handle = nullptr;
        return released;
    }
    void Reset(T replacement = nullptr) {
        if (handle != nullptr) {
            DeleteObject(handle);
        }
        handle = replacement;
    }

private:
    T handle = nullptr;
};

// Selects an object into a context and puts the previous one back, so that
// nothing we own is still selected when it is deleted.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object)
        : dc(dc), previous(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelectObject() {
        if (previous != nullptr) {
            SelectObject(dc, previous);
        }
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

class COffscreenDC {
public:
    // Paints into an off-screen copy of `rect` (logical units), or of the
    // target's clipping box when rect is null. A printer target, or a
    // failure to make the off-screen bitmap, draws straight into the target.
    explicit COffscreenDC(HDC target, const RECT* rect = nullptr);
    // Copies the painted rectangle to the same place on the target.
    ~COffscreenDC();
    COffscreenDC(const COffscreenDC&) = delete;
    COffscreenDC& operator=(const COffscreenDC&) = delete;

    HDC Get() const { return drawing; }
    operator HDC() const { return drawing; }
    const RECT& Rect() const { return area; }
    bool IsOffscreen() const { return offscreen; }

private:
    bool MakeOffscreen();
    void FillBackground();

    HDC target;
    HDC drawing;
    RECT area{};
    bool offscreen = false;
    HBITMAP bitmap = nullptr;
    HGDIOBJ replacedBitmap = nullptr;
};

}  // namespace tarnelix
