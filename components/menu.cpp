#include "menu.h"

#include "base/exception.h"
#include "properties.h"

void TMenuItem::setProperty(const PropertyReader& property) {
    if (property.is("Caption"))
        Caption = property.string();
    else if (property.is("OnClick"))
        OnClick = property.notifyEvent();
    else
        TComponent::setProperty(property);
}

bool TMainMenu::acceptChild(TComponent& child) {
    auto* item = dynamic_cast<TMenuItem*>(&child);
    if (item)
        items_.push_back(item);
    return item != nullptr;
}

HMENU TMainMenu::createHandle() const {
    HMENU menu = CreateMenu();
    if (!menu)
        throw Exception("Cannot create the menu " + Name());
    for (const TMenuItem* item : items_)
        AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(item->id()), item->Caption.c_str());
    return menu;
}
