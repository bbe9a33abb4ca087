#include "component.h"

#include "properties.h"

COLORREF colorToRGB(TColor color) {
    if (color < 0)
        return GetSysColor(color & 0xFF);
    return static_cast<COLORREF>(color);
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() {
    while (!owned_.empty())
        owned_.pop_back();
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    for (const auto& c : owned_)
        if (c->Name() == name)
            return c.get();
    return nullptr;
}

void TComponent::insertComponent(std::unique_ptr<TComponent> component) {
    owned_.push_back(std::move(component));
}

void TComponent::setProperty(const PropertyReader& property) {
    property.unknown();
}
