#pragma once
#include "component.h"
#include "handlers.h"
#include "layout.h"

#include <string>
#include <vector>

// One stored property on its way into a component: typed reads that throw an
// Exception naming the component and the property when the value does not fit.
class PropertyReader {
  public:
    // `handlers` are those of the form whose layout is read: event properties name them.
    PropertyReader(const LayoutProperty& property, const TComponent& target,
                   const HandlerTable& handlers)
        : PropertyReader(property, target, handlers, property.name) {}

    // The property's name below the sub-object being read ("Font.Color" reads as "Color").
    const std::string& name() const { return name_; }
    bool is(const char* name) const { return name_ == name; }
    // "Font.Color" → true for prefix "Font", and sub() then reads "Color".
    bool in(const char* prefix) const;
    PropertyReader sub() const;

    long long integer() const;
    int coordinate() const;
    std::string string() const;
    std::string identifier() const;
    bool boolean() const;
    TColor color() const;
    std::vector<std::string> set() const;
    // An identifier from `names`; returns its index.
    int oneOf(std::initializer_list<const char*> names) const;

    TNotifyEvent notifyEvent() const;
    TMouseMoveEvent mouseMoveEvent() const;

    [[noreturn]] void unknown() const;
    [[noreturn]] void fail(const std::string& what) const;

  private:
    PropertyReader(const LayoutProperty& property, const TComponent& target,
                   const HandlerTable& handlers, std::string name)
        : property_(property), target_(target), handlers_(handlers), name_(std::move(name)) {}
    const LayoutValue& value() const { return property_.value; }
    const LayoutProperty& property_;
    const TComponent& target_;
    const HandlerTable& handlers_;
    std::string name_;
};
