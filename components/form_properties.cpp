#include "form.h"

#include "menu.h"
#include "properties.h"
#include "win_control.h"

#include <algorithm>

bool TForm::acceptChild(TComponent& child) {
    if (auto* control = dynamic_cast<TControl*>(&child)) {
        controls_.push_back(control);
        return true;
    }
    return dynamic_cast<TMainMenu*>(&child) != nullptr;
}

void TForm::setProperty(const PropertyReader& property) {
    if (property.is("Caption"))
        caption_ = property.string();
    else if (property.is("Left"))
        Left = property.coordinate();
    else if (property.is("Top"))
        Top = property.coordinate();
    else if (property.is("ClientWidth"))
        ClientWidth = property.coordinate();
    else if (property.is("ClientHeight"))
        ClientHeight = property.coordinate();
    else if (property.is("Color"))
        Color = property.color();
    else if (property.is("BorderStyle"))
        BorderStyle = static_cast<TFormBorderStyle>(
            property.oneOf({"bsNone", "bsSingle", "bsSizeable", "bsDialog"}));
    else if (property.is("BorderIcons")) {
        BorderIcons = 0;
        for (const std::string& item : property.set()) {
            static const char* const names[] = {"biSystemMenu", "biMinimize", "biMaximize",
                                                "biHelp"};
            auto it = std::find(std::begin(names), std::end(names), item);
            if (it == std::end(names))
                property.fail("there is no border icon " + item);
            BorderIcons |= 1u << (it - std::begin(names));
        }
    } else if (property.is("Position"))
        Position = static_cast<TPosition>(property.oneOf({"poDesigned", "poScreenCenter"}));
    else if (property.in("Font"))
        Font.setProperty(property.sub());
    else if (property.is("Icon")) {
        iconName_ = property.identifier();
        HINSTANCE module = GetModuleHandleA(nullptr);
        icon_.reset(static_cast<HICON>(LoadImageA(module, iconName_.c_str(), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXICON),
                                                  GetSystemMetrics(SM_CYICON), 0)));
        smallIcon_.reset(static_cast<HICON>(LoadImageA(module, iconName_.c_str(), IMAGE_ICON,
                                                       GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), 0)));
        if (!icon_)
            property.fail("there is no icon resource " + iconName_);
    } else if (property.is("Menu"))
        menuName_ = property.identifier();
    else if (property.is("ActiveControl"))
        activeControlName_ = property.identifier();
    else if (property.is("PixelsPerInch")) {
        // Every position and font height of the layout is divided by it.
        long long dpi = property.integer();
        if (dpi <= 0 || dpi > 10000)
            property.fail("the resolution must be a positive number of pixels per inch");
        designDpi_ = static_cast<int>(dpi);
        setDpi(dpi_);
    } else if (property.is("TextHeight"))
        property.integer(); // kept for the designer's record; nothing depends on it
    else if (property.is("Visible"))
        Visible = property.boolean();
    else if (property.is("OnCreate"))
        OnCreate = property.notifyEvent();
    else if (property.is("OnMouseMove"))
        OnMouseMove = property.mouseMoveEvent();
    else
        TComponent::setProperty(property);
}
