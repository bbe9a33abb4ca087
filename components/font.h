#pragma once
#include "component.h"
#include "base/handles.h"

#include <functional>
#include <string>

// A font description with a lazily made GDI font. Its colour is part of it, as
// controls paint their text in their font's colour.
class TFont {
  public:
    TFont() = default;
    TFont(const TFont& other) { assign(other); }
    TFont& operator=(const TFont& other) {
        assign(other);
        return *this;
    }

    const std::string& Name() const { return name_; }
    int Height() const { return height_; }
    int Charset() const { return charset_; }
    TColor Color() const { return color_; }
    void setName(std::string name);
    void setHeight(int height);
    void setCharset(int charset);
    // Changing the colour repaints the owner; setting the one it has changes nothing.
    void setColor(TColor color);

    // The font is made for the form's resolution, `dpi`; heights are stored at the
    // layout's own, `designDpi`, by the same rule as every position of the layout.
    void setScale(int dpi, int designDpi);
    HFONT Handle() const;
    // Called after every change, by the control that shows this font.
    std::function<void()> OnChange;

    // Reads "Name", "Height", "Color", "Charset" and "Style" of a stored layout.
    void setProperty(const class PropertyReader& property);

  private:
    void assign(const TFont& other);
    void changed(bool shape);

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    int charset_ = DEFAULT_CHARSET;
    TColor color_ = clWindowText;
    bool bold_ = false;
    int dpi_ = 96;
    int designDpi_ = 96;
    mutable OwnedFont handle_;
};
