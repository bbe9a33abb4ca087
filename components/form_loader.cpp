#include "form_loader.h"

#include "form.h"
#include "layout.h"
#include "menu.h"
#include "properties.h"
#include "registry.h"
#include "win_control.h"

#include "base/startup_phases.h"

namespace {

void applyProperties(TForm& form, TComponent& target, const LayoutObject& object) {
    for (const LayoutProperty& property : object.properties)
        target.setProperty(PropertyReader(property, target, form.Handlers()));
}

std::string where(int line) {
    return "Layout line " + std::to_string(line) + ": ";
}

void build(TForm& form, TComponent& parent, const LayoutObject& object) {
    applyProperties(form, parent, object);
    for (const LayoutObject& child : object.children) {
        if (form.FindComponent(child.name) || child.name == form.Name())
            throw Exception(where(child.line) + "the name " + child.name + " is used twice");
        std::unique_ptr<TComponent> component = createComponent(child.className, &form);
        if (!component)
            throw Exception(where(child.line) + "there is no component class " + child.className);
        component->setName(child.name);
        TComponent& made = *component;
        form.insertComponent(std::move(component));
        if (!parent.acceptChild(made))
            throw Exception(where(child.line) + parent.Name() + " cannot hold " + child.name +
                            " (" + child.className + ")");
        if (auto* control = dynamic_cast<TControl*>(&made))
            control->parentFontChanged(form.Font);
        build(form, made, child);
        made.Loaded();
    }
}

} // namespace

void FormLoader::load(TForm& form, const std::string& layoutText, const std::string& layoutName) {
    LayoutObject root = parseLayout(layoutText, layoutName);
    markPhase("main-layout-read");
    if (root.className != form.className())
        throw Exception("Layout " + layoutName + " describes " + root.className + ", not " +
                        form.className());
    form.setName(root.name);
    build(form, form, root);

    if (!form.menuName_.empty()) {
        form.menu_ = dynamic_cast<TMainMenu*>(form.FindComponent(form.menuName_));
        if (!form.menu_)
            throw Exception("Layout " + layoutName + ": Menu names " + form.menuName_ +
                            ", which is no main menu of the form");
    }
    if (!form.activeControlName_.empty()) {
        form.activeControl_ =
            dynamic_cast<TWinControl*>(form.FindComponent(form.activeControlName_));
        if (!form.activeControl_)
            throw Exception("Layout " + layoutName + ": ActiveControl names " +
                            form.activeControlName_ +
                            ", which is no control of the form that can take the focus");
    }
}
