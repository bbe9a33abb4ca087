#pragma once
#include "component.h"

#include <string>

// Reaches the methods that a stored layout names as its event handlers.
class HandlerTable {
  public:
    virtual ~HandlerTable() = default;
    // The handler of that name, bound to its object; an empty event for none.
    virtual TNotifyEvent notify(const std::string& name) const = 0;
    virtual TMouseMoveEvent mouseMove(const std::string& name) const = 0;
};
