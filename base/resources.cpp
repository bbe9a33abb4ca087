#include "resources.h"

#include "exception.h"

#include <windows.h>

std::string loadLayoutResource(const std::string& name) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(10)); // RT_RCDATA
    HGLOBAL data = info ? LoadResource(module, info) : nullptr;
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes)
        throw Exception("Resource " + name + " not found");
    return std::string(static_cast<const char*>(bytes), SizeofResource(module, info));
}
