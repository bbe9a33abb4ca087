#pragma once
#include <string>

class TForm;

// Builds a form from its stored layout: makes the components the layout names,
// hands each its properties, and resolves the properties that name other
// components. The only code that knows how a layout is nested.
class FormLoader {
  public:
    // Throws Exception naming the layout and the line for anything that does not fit.
    static void load(TForm& form, const std::string& layoutText, const std::string& layoutName);
};
