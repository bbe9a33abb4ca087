#include "font.h"

#include "properties.h"

void TFont::assign(const TFont& other) {
    name_ = other.name_;
    height_ = other.height_;
    charset_ = other.charset_;
    color_ = other.color_;
    bold_ = other.bold_;
    dpi_ = other.dpi_;
    designDpi_ = other.designDpi_;
    changed(true);
}

void TFont::changed(bool shape) {
    if (shape)
        handle_.reset();
    if (OnChange)
        OnChange();
}

void TFont::setName(std::string name) {
    if (name != name_) {
        name_ = std::move(name);
        changed(true);
    }
}

void TFont::setHeight(int height) {
    if (height != height_) {
        height_ = height;
        changed(true);
    }
}

void TFont::setCharset(int charset) {
    if (charset != charset_) {
        charset_ = charset;
        changed(true);
    }
}

void TFont::setColor(TColor color) {
    if (color != color_) {
        color_ = color;
        changed(false);
    }
}

void TFont::setScale(int dpi, int designDpi) {
    if (dpi != dpi_ || designDpi != designDpi_) {
        dpi_ = dpi;
        designDpi_ = designDpi;
        changed(true);
    }
}

HFONT TFont::Handle() const {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = MulDiv(height_, dpi_, designDpi_);
        lf.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = static_cast<BYTE>(charset_);
        // MS Sans Serif is a bitmap face in a few sizes only: scaled it would stay
        // as it was. At any other resolution than the layout's the dialog face that
        // replaced it, an outline face of the same metrics, takes its place.
        const char* face = name_.c_str();
        if (dpi_ != designDpi_ && lstrcmpiA(face, "MS Sans Serif") == 0)
            face = "MS Shell Dlg 2";
        lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
        handle_.reset(CreateFontIndirectA(&lf));
    }
    return handle_.get();
}

void TFont::setProperty(const PropertyReader& property) {
    if (property.is("Name")) {
        setName(property.string());
    } else if (property.is("Height")) {
        setHeight(static_cast<int>(property.integer()));
    } else if (property.is("Color")) {
        setColor(property.color());
    } else if (property.is("Charset")) {
        setCharset(property.oneOf({"ANSI_CHARSET", "DEFAULT_CHARSET"}) == 0 ? ANSI_CHARSET
                                                                            : DEFAULT_CHARSET);
    } else if (property.is("Style")) {
        bool bold = false;
        for (const auto& item : property.set()) {
            if (item != "fsBold")
                property.fail("only fsBold is known");
            bold = true;
        }
        if (bold != bold_) {
            bold_ = bold;
            changed(true);
        }
    } else {
        property.unknown();
    }
}
