#pragma once
#include <string>

// The text of the stored layout resource `name` (RCDATA) of the program's own
// module; throws Exception when there is none.
std::string loadLayoutResource(const std::string& name);
