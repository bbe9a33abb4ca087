#include "registry.h"

#include "bitbtn.h"
#include "button.h"
#include "image.h"
#include "label.h"
#include "menu.h"

namespace {

template <class T> std::unique_ptr<TComponent> make(TComponent* owner) {
    return std::make_unique<T>(owner);
}

struct ComponentClass {
    const char* name;
    std::unique_ptr<TComponent> (*make)(TComponent*);
};

constexpr ComponentClass componentClasses[] = {
    {"TButton", make<TButton>}, {"TBitBtn", make<TBitBtn>},     {"TImage", make<TImage>},
    {"TLabel", make<TLabel>},   {"TMainMenu", make<TMainMenu>}, {"TMenuItem", make<TMenuItem>},
};

} // namespace

std::unique_ptr<TComponent> createComponent(const std::string& className, TComponent* owner) {
    for (const auto& c : componentClasses)
        if (className == c.name)
            return c.make(owner);
    return nullptr;
}
