#pragma once
#include <string>
#include <vector>

// A stored form layout, as text:
//
//   object frmMain: TfrmMain        one object per component, nested as owned
//     ClientWidth = 400             integer (decimal, or $hex)
//     Caption = 'E&xit'             string in single quotes, '' for a quote
//     Color = clBlack               identifier
//     BorderIcons = [biSystemMenu]  set of identifiers
//     Font.Name = 'MS Sans Serif'   dotted names reach a sub-object
//   end
//
// '#' starts a comment outside strings. The parser checks only the syntax; what a
// name means is the component's business.
struct LayoutValue {
    enum class Kind { Integer, String, Identifier, Set };
    Kind kind = Kind::Integer;
    long long integer = 0;
    std::string text;               // String and Identifier
    std::vector<std::string> items; // Set
};

struct LayoutProperty {
    std::string name;
    LayoutValue value;
    int line = 0;
};

struct LayoutObject {
    std::string name;
    std::string className;
    int line = 0;
    std::vector<LayoutProperty> properties;
    std::vector<LayoutObject> children;
};

// Throws Exception naming `layoutName` and the line when the text is malformed.
LayoutObject parseLayout(const std::string& source, const std::string& layoutName);
