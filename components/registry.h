#pragma once
#include "component.h"

#include <memory>
#include <string>

// The component classes a stored layout may name; null for any other name.
std::unique_ptr<TComponent> createComponent(const std::string& className, TComponent* owner);
